// The application: the message loop, dispatch with its one catch, idle-time mouse tracking, and program runs.
#include "platform/ui/forms.h"

#include "platform/core/resources.h"
#include "platform/media/audio_device.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/message_queue.h"

namespace tlb {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

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
    MessageQueue::Instance().WaitForWork();  // returns at once when something is pending
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

void RegisterCursor(TCursor index, const std::string& name) {
  Screen->SetCursorImage(index, LoadCursorResource("cursor." + name + ".cur"));
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
