#include "platform/ui/message_queue.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/hooks.h"

namespace tlb {

MessageQueue& MessageQueue::Instance() {
  static MessageQueue queue;
  return queue;
}

void MessageQueue::Reset() {
  posted_.clear();
  input_.clear();
  timers_.clear();
  quitPosted_ = false;
  exitCode_ = 0;
  wakeSources_.clear();
  nextDirty_ = nullptr;
  router_ = nullptr;
  keyTarget_ = nullptr;
  lastPressTime_ = -100000;
  lastPressWnd_ = nullptr;
  std::fill(std::begin(keysDown_), std::end(keysDown_), false);
}

void MessageQueue::Post(const MSG& msg) {
  MSG m = msg;
  m.time = HasBackend() ? CurrentBackend().NowMs() : 0;
  m.pt = HasBackend() ? CurrentBackend().CursorPos() : Point{};
  posted_.push_back(m);
}

void MessageQueue::PostQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
}

void MessageQueue::PullInput() {
  if (!HasBackend()) return;
  InputEvent e;
  while (CurrentBackend().PollInput(e)) ConvertInput(e);
}

void MessageQueue::ConvertInput(const InputEvent& e) {
  Backend& backend = CurrentBackend();
  MSG m;
  m.time = backend.NowMs();
  m.pt = e.pos;
  switch (e.kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp: {
      Point client;
      m.hwnd = router_ ? router_(e.pos, client) : nullptr;
      if (!m.hwnd) return;
      m.lParam = MakeLParam(client.x, client.y);
      m.wParam = e.shift;
      if (e.kind == InputKind::MouseMove) {
        m.message = WM_MOUSEMOVE;
        // Mouse moves are merged: a newer move replaces one not yet retrieved.
        if (!input_.empty() && input_.back().message == WM_MOUSEMOVE && input_.back().hwnd == m.hwnd) {
          input_.back() = m;
          return;
        }
        break;
      }
      UINT base = e.button == MouseButton::Left ? WM_LBUTTONDOWN
                  : e.button == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
      if (e.kind == InputKind::MouseUp) {
        m.message = base + 1;
        break;
      }
      bool dbl = lastPressMsg_ == base && lastPressWnd_ == m.hwnd && m.time - lastPressTime_ <= kDoubleClickMs &&
                 std::abs(e.pos.x - lastPressPos_.x) <= kDoubleClickDistance / 2 &&
                 std::abs(e.pos.y - lastPressPos_.y) <= kDoubleClickDistance / 2;
      m.message = dbl ? base + 2 : base;
      // A double click ends the pair: a third press starts a new one.
      lastPressTime_ = dbl ? -100000 : m.time;
      lastPressPos_ = e.pos;
      lastPressMsg_ = base;
      lastPressWnd_ = m.hwnd;
      break;
    }
    case InputKind::KeyDown:
    case InputKind::KeyUp:
    case InputKind::Char:
      m.hwnd = keyTarget_ ? keyTarget_() : nullptr;
      if (!m.hwnd) return;
      m.message = e.kind == InputKind::KeyDown ? WM_KEYDOWN : e.kind == InputKind::KeyUp ? WM_KEYUP : WM_CHAR;
      if (e.kind != InputKind::Char && e.key > 0 && e.key < 256) keysDown_[e.key] = e.kind == InputKind::KeyDown;
      m.wParam = e.kind == InputKind::Char ? WPARAM(e.chr) : WPARAM(e.key);
      break;
    case InputKind::Activate:
    case InputKind::Deactivate:
      m.hwnd = nullptr;
      m.message = WM_ACTIVATEAPP;
      m.wParam = e.kind == InputKind::Activate ? 1 : 0;
      break;
    case InputKind::Quit:
      m.hwnd = nullptr;
      m.message = WM_CLOSE;
      break;
    case InputKind::Nothing:
      m.hwnd = nullptr;
      m.message = WM_NULL;
      break;
  }
  input_.push_back(m);
}

bool MessageQueue::TakeFrom(std::deque<MSG>& q, MSG& out, HWND hwnd, UINT first, UINT last, bool remove) {
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (hwnd && it->hwnd != hwnd) continue;
    if ((first || last) && (it->message < first || it->message > last)) continue;
    out = *it;
    if (remove) q.erase(it);
    return true;
  }
  return false;
}

void MessageQueue::Timer::SkipTo(int64_t now, bool atNow) {
  int64_t behind = now - due + (atNow ? 1 : 0);
  if (behind > 0) due += (behind + interval - 1) / interval * interval;
}

MessageQueue::Timer* MessageQueue::DueTimer(int64_t now) {
  Timer* best = nullptr;
  for (Timer& t : timers_) {
    if (t.due > now) continue;
    // Everything before this point has been handled: a tick now would change nothing.
    if (t.Quiet()) {
      t.SkipTo(now, true);
      continue;
    }
    if (!best || t.due < best->due) best = &t;
  }
  return best;
}

void MessageQueue::SkipQuietTicks(int64_t now) {
  // Nothing ran during the sleep, so the timers quiet now were quiet at each of
  // their ticks before now. A tick at `now` itself waits for the input taken now.
  for (Timer& t : timers_)
    if (t.due < now && t.Quiet()) t.SkipTo(now, false);
}

bool MessageQueue::Peek(MSG& out, HWND hwnd, UINT first, UINT last, unsigned flags) {
  bool remove = (flags & PM_REMOVE) != 0;
  auto inRange = [&](UINT m) { return (!first && !last) || (m >= first && m <= last); };
  bool found = TakeFrom(posted_, out, hwnd, first, last, remove);
  if (!found) {
    PullInput();
    found = TakeFrom(input_, out, hwnd, first, last, remove);
  }
  // WM_QUIT comes back whatever range was asked for, once the posted messages are taken.
  if (!found && quitPosted_ && !hwnd) {
    out = MSG{};
    out.message = WM_QUIT;
    out.wParam = WPARAM(exitCode_);
    if (remove) quitPosted_ = false;
    found = true;
  }
  if (!found && inRange(WM_PAINT) && nextDirty_) {
    HWND dirty = nextDirty_();
    if (dirty && (!hwnd || hwnd == dirty)) {
      out = MSG{};
      out.hwnd = dirty;
      out.message = WM_PAINT;
      found = true;
    }
  }
  if (!found && inRange(WM_TIMER) && !hwnd && HasBackend()) {
    int64_t now = CurrentBackend().NowMs();
    if (Timer* t = DueTimer(now)) {
      out = MSG{};
      out.message = WM_TIMER;
      out.wParam = t->id;
      out.time = now;
      // A late timer ticks once: the next period starts now.
      if (remove) t->due = now + t->interval;
      found = true;
    }
  }
  if (found) {
    out.pt = HasBackend() ? (out.pt.x || out.pt.y ? out.pt : CurrentBackend().CursorPos()) : out.pt;
    CallGetMessageHooks(out, remove);
  }
  return found;
}

bool MessageQueue::HasPending() {
  PullInput();
  return !posted_.empty() || !input_.empty() || quitPosted_;
}

int64_t MessageQueue::NextWake() const {
  int64_t next = -1;
  for (const Timer& t : timers_)
    if ((next < 0 || t.due < next) && !t.Quiet()) next = t.due;
  for (const auto& source : wakeSources_) {
    int64_t w = source();
    if (w >= 0 && (next < 0 || w < next)) next = w;
  }
  return next;
}

void MessageQueue::WaitForWork() {
  if (!HasBackend()) return;
  if (HasPending()) return;
  if (nextDirty_ && nextDirty_()) return;
  int64_t now = CurrentBackend().NowMs();
  for (const Timer& t : timers_)
    if (t.due <= now && !t.Quiet()) return;
  CurrentBackend().WaitUntil(NextWake());
  SkipQuietTicks(CurrentBackend().NowMs());
}

bool MessageQueue::Get(MSG& out) {
  while (!Peek(out, nullptr, 0, 0, PM_REMOVE)) WaitForWork();
  return out.message != WM_QUIT;
}

unsigned MessageQueue::SetTimer(unsigned id, int intervalMs, std::function<void()> callback,
                               std::function<bool()> quiet) {
  int64_t now = HasBackend() ? CurrentBackend().NowMs() : 0;
  int interval = std::max(intervalMs, 10);  // Windows raises tiny intervals to its minimum
  for (Timer& t : timers_)
    if (t.id == id) {
      t.interval = interval;
      t.due = now + interval;
      t.callback = std::move(callback);
      t.quiet = std::move(quiet);
      return id;
    }
  timers_.push_back({id, interval, now + interval, std::move(callback), std::move(quiet)});
  return id;
}

void MessageQueue::SetTimerQuiet(unsigned id, std::function<bool()> quiet) {
  for (Timer& t : timers_)
    if (t.id == id) t.quiet = quiet;
}

void MessageQueue::KillTimer(unsigned id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; }),
                timers_.end());
}

bool MessageQueue::TimerExists(unsigned id) const {
  return std::any_of(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
}

void MessageQueue::DispatchTimer(unsigned id) {
  for (Timer& t : timers_)
    if (t.id == id) {
      // Copy: the callback may kill or change its own timer.
      auto callback = t.callback;
      if (callback) callback();
      return;
    }
}

void MessageQueue::PurgeWindow(HWND hwnd) {
  auto drop = [hwnd](std::deque<MSG>& q) {
    q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), q.end());
  };
  drop(posted_);
  drop(input_);
  if (lastPressWnd_ == hwnd) lastPressWnd_ = nullptr;
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  MessageQueue::Instance().Post(m);
  return true;
}

void PostQuitMessage(int exitCode) { MessageQueue::Instance().PostQuit(exitCode); }

bool PeekMessage(MSG& msg, HWND hwnd, UINT first, UINT last, unsigned flags) {
  return MessageQueue::Instance().Peek(msg, hwnd, first, last, flags);
}

int16_t GetKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= 256) return 0;
  return MessageQueue::Instance().keysDown_[virtualKey] ? int16_t(-128) : int16_t(0);
}

int64_t GetTickCount() { return HasBackend() ? CurrentBackend().NowMs() : 0; }

Point GetCursorPos() { return HasBackend() ? CurrentBackend().CursorPos() : Point{}; }

}  // namespace tlb
