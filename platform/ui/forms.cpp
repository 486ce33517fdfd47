#include "platform/ui/forms.h"

#include <algorithm>

#include "platform/core/cp1250.h"
#include "platform/core/resources.h"
#include "platform/graphics/dib_blit.h"
#include "platform/media/audio_device.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/hooks.h"
#include "platform/ui/message_queue.h"

namespace tlb {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

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

TCustomForm::~TCustomForm() {
  SetState(csDestroying, true);
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      if (Application) Application->HandleException(e);
    }
  }
  if (Screen) Screen->RemoveForm(this);
  // Components go first, while the form is still a form.
  DestroyComponents();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  bool resized = width != width_ || height != height_;
  if (visible_ && Screen) Screen->Compose(BoundsRect());
  bool moved = left != left_ || top != top_ || resized;
  TWinControl::SetBounds(left, top, width, height);
  if (resized) InvalidateArea({0, 0, width_, height_});
  if (visible_ && Screen) Screen->Compose(BoundsRect());
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

void TCustomForm::KeyDown(TMessage& m) {
  uint16_t key = uint16_t(m.WParam);
  if (KeyPreview && OnKeyDown) OnKeyDown(this, key, 0);
  if (key == 0) return;
  if (!KeyPreview && OnKeyDown) OnKeyDown(this, key, 0);
  if (key == 0) return;
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
      delete this;
      return;
    default:
      TWinControl::WndProc(m);
  }
}

// ---- TScreen ----

int TScreen::Width() const { return HasBackend() ? CurrentBackend().ScreenSize().cx : 640; }
int TScreen::Height() const { return HasBackend() ? CurrentBackend().ScreenSize().cy : 480; }

void TScreen::SetCursor(TCursor c) {
  cursor_ = c;
  UpdateCursor();
}

void TScreen::SetCursorImage(TCursor index, std::shared_ptr<CursorImage> image) {
  if (image) cursors_[index] = std::move(image);
  else cursors_.erase(index);
  UpdateCursor();
}

const CursorImage* TScreen::CursorImageAt(TCursor index) const {
  auto it = cursors_.find(index);
  return it == cursors_.end() ? nullptr : it->second.get();
}

TCustomForm* TScreen::ActiveForm() const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it)
    if ((*it)->Visible() && (*it)->Enabled()) return *it;
  return nullptr;
}

void TScreen::AddForm(TCustomForm* f) {
  if (std::find(zOrder_.begin(), zOrder_.end(), f) == zOrder_.end()) zOrder_.push_back(f);
}

void TScreen::RemoveForm(TCustomForm* f) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), f);
  if (it == zOrder_.end()) return;
  zOrder_.erase(it);
  Compose(f->BoundsRect());
}

void TScreen::BringToFront(TCustomForm* f) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), f);
  if (it == zOrder_.end() || it + 1 == zOrder_.end()) return;
  zOrder_.erase(it);
  zOrder_.push_back(f);
  Compose(f->BoundsRect());
}

void TScreen::UpdateCursor() {
  if (!HasBackend()) return;
  TCursor shown = cursor_;
  if (shown == crDefault) {
    TControl* c = FindDragTarget(CurrentBackend().CursorPos(), true);
    while (c && c->Cursor() == crDefault) c = c->Parent();
    shown = c ? c->Cursor() : crDefault;
  }
  if (shown == crDefault) shown = crArrow;
  if (shown == shownCursor_) return;
  shownCursor_ = shown;
  CurrentBackend().SetCursor(CursorImageAt(shown), shown);
}

void TScreen::Compose(const Rect& dirty) {
  if (!HasBackend()) return;
  Size size = CurrentBackend().ScreenSize();
  bool fresh = screen_.width() != size.cx || screen_.height() != size.cy;
  if (fresh) screen_ = Dib(size.cx, size.cy, 32);
  Rect area = fresh ? Rect{0, 0, size.cx, size.cy} : dirty.Intersect({0, 0, size.cx, size.cy});
  area = area.Union(pendingCompose_);
  if (area.empty()) return;
  // Nothing is shown while a form there waits for its first paint: the screen
  // never shows a form unpainted; its paint composes the area again.
  for (TCustomForm* f : zOrder_)
    if (f->Visible() && !f->BoundsRect().Intersect(area).empty() &&
        (f->Surface().width() != f->Width() || f->Surface().height() != f->Height())) {
      pendingCompose_ = area;
      return;
    }
  pendingCompose_ = {};
  FillDib(screen_, area, area, 0x000000);
  for (TCustomForm* f : zOrder_) {
    if (!f->Visible()) continue;
    Rect r = f->BoundsRect().Intersect(area);
    if (r.empty()) continue;
    CopyDib(screen_, r.left, r.top, f->Surface(), r.Offset(-f->Left(), -f->Top()), r);
  }
  CurrentBackend().Present(screen_, area);
}

void TScreen::Reset() {
  cursor_ = crDefault;
  cursors_.clear();
  zOrder_.clear();
  screen_ = Dib();
  pendingCompose_ = {};
  shownCursor_ = 1;
}

// ---- TApplication ----

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  SetState(csDestroying, true);
  DestroyComponents();
}

void TApplication::ForgetControl(TControl* c) {
  if (mouseControl_ == c) mouseControl_ = nullptr;
  if (CaptureControl == c) CaptureControl = nullptr;
  if (mainForm_ == c) mainForm_ = nullptr;
}

bool TApplication::Active() const { return active_; }

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(this, e);
    return;
  }
  const auto* ex = dynamic_cast<const Exception*>(&e);
  ShowExceptionDialog(ex ? ex->Message : std::string(e.what()));
}

void TApplication::Dispatch(MSG& msg) {
  try {
    if (msg.message == WM_TIMER && !msg.hwnd) {
      MessageQueue::Instance().DispatchTimer(unsigned(msg.wParam));
      return;
    }
    if (msg.message == WM_ACTIVATEAPP && !msg.hwnd) {
      active_ = msg.wParam != 0;
      if (Screen)
        for (TCustomForm* f : std::vector<TCustomForm*>(Screen->Forms())) SendMessage(f, WM_ACTIVATEAPP, msg.wParam, 0);
      return;
    }
    if (msg.message == WM_CLOSE && !msg.hwnd) {
      if (mainForm_) mainForm_->Close();
      else Terminate();
      return;
    }
    if (!msg.hwnd) return;
    TMessage m{msg.message, msg.wParam, msg.lParam, 0};
    // A disabled window takes no input.
    if (((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) || msg.message == WM_KEYDOWN ||
         msg.message == WM_CHAR) && !msg.hwnd->Enabled())
      return;
    msg.hwnd->WndProc(m);
    if (msg.message == WM_MOUSEMOVE && Screen) Screen->UpdateCursor();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  Dispatch(msg);
  return true;
}

void TApplication::Idle() {
  // The control under the pointer changed: tell the old one it was left.
  Point p = GetCursorPos();
  TControl* c = FindDragTarget(p, true);
  if (c != mouseControl_) {
    TControl* old = mouseControl_;
    mouseControl_ = c;
    try {
      if (old) old->Perform(CM_MOUSELEAVE);
      if (c && c == mouseControl_) c->Perform(CM_MOUSEENTER);
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
  if (OnIdle) OnIdle(this);
}

void TApplication::ProcessMessages() {
  auto& queue = MessageQueue::Instance();
  if (!queue.HasPending()) queue.WaitForWork();
  while (ProcessMessage()) {
  }
  Idle();
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) {
    Idle();
    MessageQueue::Instance().WaitForWork();
  }
}

void TApplication::Run() {
  // Without a main form there is nothing to run: the program ends after its start-up.
  if (!mainForm_) return;
  mainForm_->Show();
  while (!terminated_ && mainForm_) HandleMessage();
}

// ---- program runs ----

namespace {

HWND RouteMouse(Point screen, Point& client) {
  if (!Screen || !Application) return nullptr;
  if (TControl* cap = Application->CaptureControl) {
    TWinControl* w = cap->IsWindowed() ? static_cast<TWinControl*>(cap) : cap->Parent();
    if (w) {
      client = w->ScreenToClient(screen);
      return w;
    }
  }
  const auto& forms = Screen->Forms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    TCustomForm* f = *it;
    if (!f->Visible() || !f->BoundsRect().Contains(screen)) continue;
    TWinControl* w = f;
    Point p{screen.x - f->Left(), screen.y - f->Top()};
    for (;;) {
      TWinControl* child = nullptr;
      for (int i = w->ControlCount() - 1; i >= 0; --i) {
        TControl* c = w->Controls(i);
        if (c->IsWindowed() && c->Visible() && c->BoundsRect().Contains(p)) {
          child = static_cast<TWinControl*>(c);
          break;
        }
      }
      if (!child) break;
      p = {p.x - child->Left(), p.y - child->Top()};
      w = child;
    }
    client = p;
    return w;
  }
  return nullptr;
}

HWND DirtyForm() {
  if (!Screen) return nullptr;
  for (TCustomForm* f : Screen->Forms())
    if (f->Visible() && f->Dirty()) return f;
  return nullptr;
}

HWND KeyTarget() { return Screen ? Screen->ActiveForm() : nullptr; }

}  // namespace

void EndProgramRun() {
  delete Application;
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  MessageQueue::Instance().Reset();
}

void StartProgramRun(Backend* backend) {
  EndProgramRun();
  SetBackend(backend);
  Screen = new TScreen();
  Application = new TApplication();
  auto& q = MessageQueue::Instance();
  q.SetMouseRouter(RouteMouse);
  q.SetPaintSource(DirtyForm);
  q.SetKeyTarget(KeyTarget);
  // An idle headless program jumps to the next end of a sound as it jumps to timers.
  InstallMediaWakeSource();
}

void PumpUntil(const std::function<bool()>& done) {
  while (!done()) {
    if (!Application || Application->Terminated()) return;
    Application->ProcessMessages();
  }
}

std::shared_ptr<CursorImage> LoadCursorResource(const std::string& resourceName) {
  const ResourceEntry* r = FindResource(resourceName);
  if (!r) return nullptr;
  try {
    return std::make_shared<CursorImage>(ReadCursor(r->data, r->size));
  } catch (const Exception&) {
    return nullptr;
  }
}

void BroadcastSysColorChange() {
  if (!Screen) return;
  for (TCustomForm* f : std::vector<TCustomForm*>(Screen->Forms())) {
    TMessage m{CM_SYSCOLORCHANGE, 0, 0, 0};
    f->Broadcast(m);
    f->Invalidate();
  }
}

HWND GetActiveWindow() {
  if (!Application || !Application->Active() || !Screen) return nullptr;
  return Screen->ActiveForm();
}

}  // namespace tlb
