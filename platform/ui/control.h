#pragma once
// Controls: windowless (graphic) controls painted by their parent window, and
// windowed controls that are windows of their own. Windowed controls always lie
// above the graphic controls of the same parent; graphic controls paint in
// creation order, so later ones cover earlier ones.
#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/ui/component.h"
#include "platform/ui/messages.h"

namespace tlb {

class TWinControl;
class TCustomForm;

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeAll = -22,
                  crHourGlass = -11, crHandPoint = -21;

enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1u << 0,
  csCaptureMouse = 1u << 1,
  csDesignInteractive = 1u << 2,
  csClickEvents = 1u << 3,
  csFramed = 1u << 4,
  csSetCaption = 1u << 5,
  csOpaque = 1u << 6,
  csDoubleClicks = 1u << 7,
  csFixedWidth = 1u << 8,
  csFixedHeight = 1u << 9,
  csNoDesignVisible = 1u << 10,
  csReplicatable = 1u << 11,
  csNoStdEvents = 1u << 12,
  csDisplayDragImage = 1u << 13,
  csReflector = 1u << 14,
  csActionClient = 1u << 15,
  csMenuEvents = 1u << 16,
};
using TControlStyle = unsigned;

enum TControlStateFlag : unsigned { csLButtonDown = 1u << 0, csClicked = 1u << 1, csPalette = 1u << 2 };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  const char* ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  Rect BoundsRect() const { return Rect::FromSize(left_, top_, width_, height_); }
  virtual Rect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().width(); }
  int ClientHeight() const { return ClientRect().height(); }
  virtual void SetClientSize(int w, int h) { SetBounds(left_, top_, w, h); }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and all parents up to a shown form visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  const std::string& Text() const { return caption_; }
  void SetText(const std::string& text) { SetCaption(text); }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  std::string Hint;
  bool ShowHint = false;

  TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  unsigned ControlState = 0;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  // Asks for a repaint of the control's rectangle; the background is erased
  // exactly when the control is not opaque.
  virtual void Invalidate();
  // Invalidates and paints at once.
  virtual void Repaint();
  void Update();
  virtual void BringToFront();

  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;
  // The control's top-left in the coordinates of the window it paints in.
  Point OriginInWindow() const;

  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& message);
  virtual bool IsWindowed() const { return false; }

  virtual void Click();
  virtual void DblClick();

  // The last Invalidate's erase request (for tests of the erase rule).
  bool LastInvalidateErased() const { return lastErase_; }

 protected:
  friend class TWinControl;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Draws the control into `canvas`, whose origin is the control's top-left.
  virtual void PaintTo(TCanvas& canvas) {}
  virtual void VisibleChanging() {}
  void InvalidateOnParent(bool erase);
  void FontChanged();

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TCursor cursor_ = crDefault;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  std::string caption_;
  TAlign align_ = alNone;
  bool lastErase_ = false;

 private:
  void HandleMouse(TMessage& m);
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
  const char* ClassName() const override { return "TGraphicControl"; }
  TCanvas& Canvas() { return canvas_; }
  // Paints the control; the canvas is set up by the parent's paint.
  virtual void Paint() {}

 protected:
  void PaintTo(TCanvas& canvas) override;

 private:
  TCanvas canvas_;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  const char* ClassName() const override { return "TWinControl"; }
  bool IsWindowed() const override { return true; }

  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(size_t(i)); }
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);

  // The graphic child at a client point, topmost first; hidden controls never, disabled only if allowed.
  TControl* ControlAtPos(Point p, bool allowDisabled) const;
  // The windowed child at a client point (visible, enabled), topmost first.
  TWinControl* WindowAtPos(Point p) const;
  // Arranges aligned children (alTop, alClient ...) inside the client area.
  void Realign();

  // The form that holds this window.
  TCustomForm* ParentFormOf() const;
  virtual bool CanFocus() const;
  bool DoubleBuffered = false;
  bool Ctl3D = true;

  void WndProc(TMessage& message) override;
  void Broadcast(TMessage& message);

  // Paints this window and its children into `canvas` (origin at this window).
  virtual void PaintWindow(TCanvas& canvas);
  // Paints the window's own background and face, before its children.
  virtual void PaintBackground(TCanvas& canvas);

 protected:
  std::vector<TControl*> controls_;
};

TCustomForm* GetParentForm(const TControl* control);
// The shift state of a key message: Alt from the key data (bit 29), Shift and Ctrl from the key state.
TShiftState KeyDataToShiftState(LPARAM keyData);

// The control under a screen point: the innermost one, windowless ones included.
TControl* FindDragTarget(Point screenPos, bool allowDisabled);
// Sends a message to a window through the WH_CALLWNDPROC hooks.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tlb
