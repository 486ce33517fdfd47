#include "platform/ui/dialogs.h"

#include <algorithm>
#include <cmath>

#include "platform/core/cp1250.h"
#include "platform/graphics/text/draw_text.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"

namespace tlb {
namespace {

enum class Icon { None, Stop, Information };

// A one-line text field: typed characters are appended, Backspace removes one.
class TEditField : public TWinControl {
 public:
  explicit TEditField(TComponent* owner) : TWinControl(owner) { color_ = clWindow; }
  void PaintBackground(TCanvas& canvas) override {
    canvas.Brush.Color = clWindow;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(ClientRect());
    DrawClassicFrame(canvas, ClientRect(), true);
    canvas.Font.Assign(font_);
    canvas.Brush.Style = bsClear;
    Rect r{4, 0, width_ - 4, height_};
    canvas.DrawText(caption_ + "|", r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
};

// The dialog window: caption bar, icon, text, optional edit field, buttons.
class TDialogForm : public TForm {
 public:
  TDialogForm(const std::string& caption, const std::string& text, Icon icon, bool input,
              const std::string& defaultText)
      : TForm(nullptr), icon_(icon), text_(text) {
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    KeyPreview = true;
    SetCaption(caption);
    TCanvas measure;
    Rect r{0, 0, 360, 0};
    MeasureTextCp(text, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX, font_.Spec());
    int textLeft = icon == Icon::None ? 14 : 60;
    int w = std::max(220, std::min(560, textLeft + r.width() + 24));
    textRect_ = {textLeft, kCaptionHeight + 16, w - 14, kCaptionHeight + 16 + std::max(r.height(), 32)};
    int y = textRect_.bottom + 12;
    if (input) {
      edit_ = new TEditField(this);
      edit_->SetParent(this);
      edit_->SetBounds(14, y, w - 28, 22);
      edit_->Font().Assign(font_);
      edit_->SetCaption(defaultText);
      y += 34;
    }
    auto* ok = new TButton(this);
    ok->SetParent(this);
    ok->SetCaption("OK");
    ok->ModalResult = mrOk;
    ok->Default = true;
    if (input) {
      auto* cancel = new TButton(this);
      cancel->SetParent(this);
      cancel->SetCaption(Cz("Zrušit"));
      cancel->ModalResult = mrCancel;
      cancel->Cancel = true;
      ok->SetBounds(w / 2 - 80, y, 75, 25);
      cancel->SetBounds(w / 2 + 5, y, 75, 25);
    } else {
      ok->Cancel = true;
      ok->SetBounds((w - 75) / 2, y, 75, 25);
    }
    SetBounds(0, 0, w, y + 37);
    // The typed text goes to the field; without one, the OK button has the focus.
    SetActiveControl(edit_ ? static_cast<TWinControl*>(edit_) : ok);
    OnKeyPress = [this](TObject*, char& key) {
      if (!edit_) return;
      if (key == 8) {
        std::string t = edit_->Caption();
        if (!t.empty()) t.pop_back();
        edit_->SetCaption(t);
        key = 0;
      } else if (uint8_t(key) >= 32) {
        edit_->SetCaption(edit_->Caption() + key);
        key = 0;
      }
    };
  }

  std::string EditText() const { return edit_ ? edit_->Caption() : std::string(); }
  void SetEditText(const std::string& t) { if (edit_) edit_->SetCaption(t); }

  void PaintBackground(TCanvas& canvas) override {
    canvas.Brush.Color = clBtnFace;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(ClientRect());
    DrawClassicFrame(canvas, ClientRect(), false);
    canvas.Brush.Color = clActiveCaption;
    canvas.FillRect({2, 2, width_ - 2, kCaptionHeight});
    canvas.Font.Assign(font_);
    canvas.Font.SetColor(clCaptionText);
    canvas.Font.SetStyle({fsBold});
    canvas.Brush.Style = bsClear;
    Rect cap{8, 2, width_ - 8, kCaptionHeight};
    canvas.DrawText(caption_, cap, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (icon_ != Icon::None) {
      canvas.Brush.Style = bsSolid;
      canvas.Brush.Color = icon_ == Icon::Stop ? clRed : clBlue;
      canvas.Pen.Color = clBlack;
      std::vector<Point> circle;
      for (int k = 0; k < 24; ++k) {
        double a = k * 3.14159265 * 2 / 24;
        circle.push_back({30 + int(15 * std::cos(a)), textRect_.top + 15 + int(15 * std::sin(a))});
      }
      canvas.Polygon(circle);
      canvas.Font.SetColor(clWhite);
      canvas.Brush.Style = bsClear;
      Rect glyph{15, textRect_.top, 46, textRect_.top + 31};
      canvas.DrawText(icon_ == Icon::Stop ? "X" : "i", glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    canvas.Font.Assign(font_);
    canvas.Brush.Style = bsClear;
    Rect t = textRect_;
    canvas.DrawText(text_, t, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }

 private:
  static constexpr int kCaptionHeight = 20;
  Icon icon_;
  std::string text_;
  Rect textRect_;
  TEditField* edit_ = nullptr;
};

struct DialogResult {
  int button = IDOK;
  std::string text;
};

DialogResult RunDialog(const std::string& kind, const std::string& caption, const std::string& text, Icon icon,
                       bool input, const std::string& defaultText) {
  DialogResult result{IDOK, defaultText};
  std::optional<DialogAnswer> scripted;
  if (HasBackend()) scripted = CurrentBackend().ScriptedDialog({kind, caption, text, 0});
  if (!Application || !Screen) return result;
  TDialogForm dialog(caption, text, icon, input, defaultText);
  std::unique_ptr<TTimer> answerTimer;
  if (scripted) {
    if (scripted->afterMs <= 0) {
      // Answered at once: nothing runs while it is open.
      result.button = scripted->button;
      if (scripted->text && scripted->button == IDOK) result.text = *scripted->text;
      return result;
    }
    answerTimer = std::make_unique<TTimer>(nullptr);
    answerTimer->SetInterval(int(scripted->afterMs));
    DialogAnswer answer = *scripted;
    answerTimer->SetOnTimer([&dialog, answer, &answerTimer](TObject*) {
      answerTimer->SetEnabled(false);
      if (answer.text) dialog.SetEditText(*answer.text);
      dialog.ModalResult = answer.button == IDOK ? mrOk : mrCancel;
    });
  }
  TModalResult r = dialog.ShowModal();
  result.button = r == mrOk ? IDOK : IDCANCEL;
  if (input && r == mrOk) result.text = dialog.EditText();
  return result;
}

std::string AppTitle() { return Application ? Application->Title : std::string(); }

}  // namespace

void ShowErrorDialog(const std::string& text) { RunDialog("error", "Error", text, Icon::Stop, false, ""); }

void ShowMessage(const std::string& text) { RunDialog("message", AppTitle(), text, Icon::None, false, ""); }

void ShowExceptionDialog(const std::string& text) { RunDialog("exception", AppTitle(), text, Icon::Stop, false, ""); }

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultText) {
  DialogResult r = RunDialog("input", caption, prompt, Icon::None, true, defaultText);
  return r.button == IDOK ? r.text : defaultText;
}

}  // namespace tlb
