#pragma once
// The thread's message queue, with Windows' order of retrieval: posted messages,
// then input, then paint requests, then timer ticks made up from due timers (a
// late timer ticks once). Mouse moves are merged; a destroyed window's messages
// and timers are dropped.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/messages.h"

namespace tlb {

enum PeekFlags : unsigned { PM_NOREMOVE = 0, PM_REMOVE = 1, PM_NOYIELD = 2 };

class MessageQueue {
 public:
  static MessageQueue& Instance();
  // Forgets every message and timer: a new program run (tests start one per case).
  void Reset();

  void Post(const MSG& msg);
  void PostQuit(int exitCode);

  // PeekMessage: the first message for `hwnd` (nullptr: any) in [first, last] (0, 0: all).
  bool Peek(MSG& out, HWND hwnd, UINT first, UINT last, unsigned flags);
  // Waits until a message is there (GetMessage without the return code). False on WM_QUIT.
  bool Get(MSG& out);
  // Blocks until something can be retrieved: input, a posted message, a due timer or paint.
  void WaitForWork();
  // True if a message other than a due timer or paint is waiting.
  bool HasPending();

  // Timers. `callback` runs on the tick; the timer lives until KillTimer.
  // Changing the interval or the callback restarts the period. While `quiet`
  // (when given) holds, a tick would change nothing: the timer is not due and
  // the thread sleeps through its ticks instead of waking for them, keeping
  // the period, so that the ticks which do something come when they would have
  // come. `quiet` may read only state this thread changes.
  unsigned SetTimer(unsigned id, int intervalMs, std::function<void()> callback,
                    std::function<bool()> quiet = {});
  // Gives a running timer its `quiet` test; the period goes on.
  void SetTimerQuiet(unsigned id, std::function<bool()> quiet);
  void KillTimer(unsigned id);
  unsigned NewTimerId() { return nextTimerId_++; }
  bool TimerExists(unsigned id) const;

  // Windows whose paint is pending; the composer registers the check.
  void SetPaintSource(std::function<HWND()> nextDirty) { nextDirty_ = std::move(nextDirty); }
  // Maps a screen point to the window that takes mouse input there (with capture).
  void SetMouseRouter(std::function<HWND(Point, Point&)> router) { router_ = std::move(router); }
  // Where key input goes (the active form).
  void SetKeyTarget(std::function<HWND()> target) { keyTarget_ = std::move(target); }
  // A wake-up time other than timers (media ends, scripted events); -1 none.
  void AddWakeSource(std::function<int64_t()> source) { wakeSources_.push_back(std::move(source)); }

  // Drops every queued message for `hwnd` (the window is being destroyed).
  void PurgeWindow(HWND hwnd);

  // Runs a due timer's callback (from WM_TIMER dispatch).
  void DispatchTimer(unsigned id);

  bool QuitPosted() const { return quitPosted_; }
  int ExitCode() const { return exitCode_; }

  // Double clicks: the second press within this time and distance.
  static constexpr int kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 4;

 private:
  struct Timer {
    unsigned id;
    int interval;
    int64_t due;
    std::function<void()> callback;
    std::function<bool()> quiet;
    bool Quiet() const { return quiet && quiet(); }
    // Moves the next tick past the ticks up to `now` (and at `now` too when
    // `atNow`), on the timer's period: a quiet timer's ticks there are skipped.
    void SkipTo(int64_t now, bool atNow);
  };

  void PullInput();
  void ConvertInput(const InputEvent& e);
  bool TakeFrom(std::deque<MSG>& q, MSG& out, HWND hwnd, UINT first, UINT last, bool remove);
  Timer* DueTimer(int64_t now);
  int64_t NextWake() const;
  // After a sleep: the quiet timers' ticks that fell inside it are skipped.
  void SkipQuietTicks(int64_t now);

  std::deque<MSG> posted_;
  std::deque<MSG> input_;
  std::vector<Timer> timers_;
  unsigned nextTimerId_ = 1;
  bool quitPosted_ = false;
  int exitCode_ = 0;
  std::function<HWND()> nextDirty_;
  std::function<HWND(Point, Point&)> router_;
  std::function<HWND()> keyTarget_;
  std::vector<std::function<int64_t()>> wakeSources_;
  friend int16_t GetKeyState(int virtualKey);
  bool keysDown_[256] = {};
  // Double-click detection.
  int64_t lastPressTime_ = -100000;
  Point lastPressPos_;
  UINT lastPressMsg_ = 0;
  HWND lastPressWnd_ = nullptr;
};

// The Windows calls over the queue.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
bool PeekMessage(MSG& msg, HWND hwnd, UINT first, UINT last, unsigned flags);
int64_t GetTickCount();
// The state of a key as of the input taken so far: negative while it is held down.
int16_t GetKeyState(int virtualKey);
Point GetCursorPos();

}  // namespace tlb
