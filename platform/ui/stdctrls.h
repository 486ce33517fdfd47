#pragma once
// The class library's standard controls the forms are made of: picture, label,
// panel, paint box, list box, memo and push button.
#include <memory>

#include "platform/core/strings.h"
#include "platform/ui/control.h"

namespace tlb {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  const char* ClassName() const override { return "TImage"; }
  TPicture& Picture() { return picture_; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  void Paint() override;

 private:
  void PictureChanged();
  TPicture picture_;
  bool autoSize_ = false, stretch_ = false, center_ = false, transparent_ = false;
};

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);
  const char* ClassName() const override { return "TLabel"; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  void Paint() override;
  void WndProc(TMessage& m) override;

 protected:
  // Draws (or with DT_CALCRECT measures) the caption; the two-colour label replaces it.
  virtual void DoDrawText(Rect& rect, unsigned flags);
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

class TPaintBox : public TGraphicControl {
 public:
  explicit TPaintBox(TComponent* AOwner);
  const char* ClassName() const override { return "TPaintBox"; }
  TNotifyEvent OnPaint;
  void Paint() override;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* AOwner);
  const char* ClassName() const override { return "TPanel"; }
  TBevelCut BevelOuter = bvRaised;
  TBevelCut BevelInner = bvNone;
  int BevelWidth = 1;
  void PaintBackground(TCanvas& canvas) override;
};

class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* AOwner);
  const char* ClassName() const override { return "TListBox"; }
  TStringList& Items() { return items_; }
  void PaintBackground(TCanvas& canvas) override;

 private:
  TStringList items_;
};

class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* AOwner);
  const char* ClassName() const override { return "TMemo"; }
  TStringList& Lines() { return lines_; }
  void PaintBackground(TCanvas& canvas) override;

 private:
  TStringList lines_;
};

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  const char* ClassName() const override { return "TButton"; }
  int ModalResult = 0;
  bool Default = false;
  bool Cancel = false;
  void Click() override;
  void PaintBackground(TCanvas& canvas) override;
  void WndProc(TMessage& m) override;

 protected:
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;

 private:
  bool pressed_ = false;
  bool spaceDown_ = false;
};

// A classic raised or sunken frame of the button colours.
void DrawClassicFrame(TCanvas& canvas, const Rect& r, bool sunken);

}  // namespace tlb
