// Forms: showing, modal runs, closing, release and painting.
#include "platform/ui/forms.h"

#include "platform/core/cp1250.h"
#include "platform/ui/message_queue.h"

namespace tlb {

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  visible_ = false;
  color_ = clBtnFace;
  width_ = 320;
  height_ = 240;
  font_.OnChange = nullptr;
  font_.SetName("MS Sans Serif");
  font_.SetHeight(-11);
  font_.OnChange = [this] { FontChanged(); };
  parentFont_ = false;
}

void TCustomForm::BeforeDestruction() {
  if (destroyHandled_) return;
  destroyHandled_ = true;
  SetState(csDestroying, true);
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      if (Application) Application->HandleException(e);
    }
  }
}

TCustomForm::~TCustomForm() {
  // A form deleted directly, not freed, still has its OnDestroy run.
  BeforeDestruction();
  if (Screen) Screen->RemoveForm(this);
  // Components go first, while the form is still a form.
  DestroyComponents();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  bool resized = width != width_ || height != height_;
  const Rect before = BoundsRect();
  bool moved = left != left_ || top != top_ || resized;
  TWinControl::SetBounds(left, top, width, height);
  if (resized) InvalidateArea({0, 0, width_, height_});
  // The place the form left shows again what lies there now, then the form its new place.
  if (visible_ && Screen) {
    Screen->Compose(before);
    Screen->Compose(BoundsRect());
  }
  if (moved && visible_) SendMessage(this, WM_WINDOWPOSCHANGED, 0, 0);
}

void TCustomForm::InvalidateArea(const Rect& r) {
  Rect clipped = r.Intersect({0, 0, width_, height_});
  dirty_ = dirty_.Union(clipped);
}

void TCustomForm::PaintBackground(TCanvas& canvas) {
  canvas.Brush.Color = color_;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Bitmap = nullptr;
  canvas.FillRect(ClientRect());
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintNow() {
  Rect area = dirty_;
  dirty_ = {};
  if (area.empty() || width_ <= 0 || height_ <= 0) return;
  if (surface_.width() != width_ || surface_.height() != height_) {
    surface_ = Dib(width_, height_, 32);
    area = {0, 0, width_, height_};
  }
  TCanvas canvas;
  canvas.Attach(&surface_, {0, 0}, area);
  PaintWindow(canvas);
  canvas.Detach();
  if (visible_ && Screen) Screen->Compose(area.Offset(left_, top_));
}

void TCustomForm::PlaceOnScreen() {
  if (!Screen) return;
  if (Position == poScreenCenter || Position == poDesktopCenter || Position == poMainFormCenter ||
      Position == poOwnerFormCenter)
    SetBounds((Screen->Width() - width_) / 2, (Screen->Height() - height_) / 2, width_, height_);
}

void TCustomForm::VisibleChanging() {}

void TCustomForm::Show() {
  if (!visible_) {
    if (!shownOnce_) PlaceOnScreen();
    shownOnce_ = true;
    visible_ = true;
    // The window title is the main form's caption, or the first form's until there is one.
    if (HasBackend() && Application && (!Application->MainForm() || Application->MainForm() == this)) {
      CurrentBackend().SetTitle(Cp1250ToUtf8(caption_));
      // A missing or damaged icon leaves the window's icon as it is.
      if (!IconResource.empty())
        if (auto icon = LoadCursorResource(IconResource)) CurrentBackend().SetIcon(icon.get());
    }
    if (Screen) Screen->AddForm(this);
    InvalidateArea({0, 0, width_, height_});
    DoShow();
  }
  if (Screen) Screen->BringToFront(this);
}

void TCustomForm::Hide() {
  if (!visible_) return;
  visible_ = false;
  if (Application && Application->CaptureControl && GetParentForm(Application->CaptureControl) == this)
    Application->CaptureControl = nullptr;
  if (Screen) Screen->RemoveForm(this);
  DoHide();
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    // A modal form only records the result; the modal loop closes it.
    ModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  if (action == caHide) Hide();
  else if (action == caFree) Release();
}

void TCustomForm::Release() {
  if (releasePending_) return;
  releasePending_ = true;
  PostMessage(this, CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal() {
  if (visible_ || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  if (!Application || !Screen) return mrCancel;
  TCursor savedCursor = Screen->Cursor();
  Screen->SetCursor(crDefault);
  // Every other form is disabled while this one runs.
  // Forms freed during the run are skipped when they are enabled again.
  std::vector<std::pair<TCustomForm*, std::weak_ptr<void>>> disabled;
  for (TCustomForm* f : Screen->Forms())
    if (f != this && f->Enabled()) {
      f->enabled_ = false;
      disabled.emplace_back(f, f->AliveToken());
    }
  auto enableAgain = [&disabled] {
    for (auto& [f, token] : disabled)
      if (!token.expired()) f->enabled_ = true;
  };
  modal_ = true;
  ModalResult = mrNone;
  TModalResult result = mrCancel;
  auto alive = AliveToken();
  try {
    Show();
    for (;;) {
      Application->HandleMessage();
      if (alive.expired()) break;
      if (Application->Terminated()) {
        ModalResult = mrCancel;
        break;
      }
      if (ModalResult != mrNone) {
        if (CloseQuery()) break;
        ModalResult = mrNone;
      }
    }
    if (!alive.expired()) {
      result = ModalResult;
      Hide();
    }
  } catch (...) {
    if (!alive.expired()) modal_ = false;
    enableAgain();
    throw;
  }
  if (!alive.expired()) modal_ = false;
  enableAgain();
  // The saved cursor comes back unless the run set one of its own.
  if (Screen->Cursor() == crDefault) Screen->SetCursor(savedCursor);
  else Screen->SetCursor(crDefault);
  return result;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  activeAlive_ = control ? control->AliveToken() : std::weak_ptr<void>();
}

bool TCustomForm::OfferToActiveControl(TMessage& m) {
  TWinControl* control = ActiveControl();
  if (control == nullptr || !control->Showing() || !control->CanFocus()) return false;
  m.Result = 0;
  control->WndProc(m);
  return m.Result != 0;
}

void TCustomForm::KeyDown(TMessage& m) {
  uint16_t key = uint16_t(m.WParam);
  if (KeyPreview && OnKeyDown) OnKeyDown(this, key, 0);
  if (key == 0) return;
  if (!KeyPreview && OnKeyDown) OnKeyDown(this, key, 0);
  if (key == 0) return;
  TMessage focused{WM_KEYDOWN, key, m.LParam, 0};
  if (OfferToActiveControl(focused)) return;
  if (key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN)) {
    TMessage dialogKey{CM_DIALOGKEY, key, 0, 0};
    Broadcast(dialogKey);
  }
}

void TCustomForm::KeyPress(TMessage& m) {
  char key = char(m.WParam);
  if (OnKeyPress) OnKeyPress(this, key);
  if (key == 0) return;
  TMessage dialogChar{CM_DIALOGCHAR, WPARAM(uint8_t(key)), 0, 0};
  Broadcast(dialogChar);
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      KeyDown(m);
      return;
    case WM_KEYUP:
      OfferToActiveControl(m);
      return;
    case WM_CHAR:
      KeyPress(m);
      return;
    case WM_PAINT:
      PaintNow();
      return;
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      BeforeDestruction();
      delete this;
      return;
    default:
      TWinControl::WndProc(m);
  }
}

}  // namespace tlb
