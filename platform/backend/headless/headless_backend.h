#pragma once
// The headless backend: an in-memory screen, a virtual clock that jumps to the
// next due event when the program is idle, scripted input at virtual times, a
// record of dialogs, and screenshots to PNG. Tests and tools drive programs with it.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/backend.h"

namespace tlb {

class HeadlessBackend : public Backend {
 public:
  // The screen size comes from TULIMBO_SCREEN ("WxH") unless given.
  HeadlessBackend();
  explicit HeadlessBackend(Size screen);
  ~HeadlessBackend() override;

  Size ScreenSize() const override { return size_; }
  void Present(const Dib& screen, const Rect& dirty) override;
  int64_t NowMs() const override { return now_; }
  bool PollInput(InputEvent& event) override;
  void WaitUntil(int64_t untilMs) override;
  Point CursorPos() const override { return cursor_; }
  void SetCursor(const CursorImage* image, int index) override { cursorIndex_ = index; }
  void SetTitle(const std::string& utf8) override { title_ = utf8; }
  bool IsActive() const override { return active_; }
  AudioDevice* Audio() override { return audioEnabled_ ? audio_ : nullptr; }
  std::optional<DialogAnswer> ScriptedDialog(const DialogRecord& record) override;

  // ---- script ----
  // Input at a virtual time (ms); events at equal times keep their order.
  void MoveMouse(int64_t atMs, Point p);
  void Click(int64_t atMs, Point p, MouseButton button = MouseButton::Left);
  void Press(int64_t atMs, Point p, MouseButton button = MouseButton::Left);
  void Release(int64_t atMs, Point p, MouseButton button = MouseButton::Left);
  void KeyDown(int64_t atMs, int key);
  void Char(int64_t atMs, uint8_t chr);
  // Esc as Windows delivers it: key down 27, then character #27.
  void PressEscape(int64_t atMs);
  void SetActive(int64_t atMs, bool active);
  // Runs `action` inside the message loop when the clock reaches `atMs`.
  void At(int64_t atMs, std::function<void()> action);
  // Answers for the next dialogs, in order; the default is OK with the default text.
  void AnswerDialog(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }
  std::vector<std::string> DialogTexts() const;

  // ---- observation ----
  const Dib& ScreenPixels() const { return screen_; }
  COLORREF PixelAt(int x, int y) const { return screen_.pixel(x, y); }
  void SaveScreenshot(const std::string& pngPath) const;
  int CursorIndex() const { return cursorIndex_; }
  const std::string& Title() const { return title_; }
  int PresentCount() const { return presents_; }
  // True once the scripted events are all delivered.
  bool ScriptDone() const { return script_.empty(); }

  // ---- machine ----
  void SetAudioDevice(AudioDevice* device) { audio_ = device; }
  // No wave-output device: the audio device reads as missing.
  void SetAudioEnabled(bool enabled) { audioEnabled_ = enabled; }
  // Idle waits with nothing scheduled move the clock by this much.
  static constexpr int64_t kIdleStepMs = 10;
  // A program that stays idle with nothing scheduled for this long is stuck.
  int64_t stuckLimitMs = 24LL * 3600 * 1000;

 private:
  struct Scripted {
    int64_t at;
    long order;
    InputEvent event;
    std::function<void()> action;
  };
  void Add(int64_t at, InputEvent e, std::function<void()> action = nullptr);

  Size size_;
  Dib screen_;
  int64_t now_ = 0;
  int64_t idleSince_ = -1;
  Point cursor_{-1, -1};
  int cursorIndex_ = 0;
  std::string title_;
  bool active_ = true;
  bool audioEnabled_ = true;
  AudioDevice* audio_ = nullptr;
  std::unique_ptr<AudioDevice> ownAudio_;  // the device over the virtual clock
  std::deque<Scripted> script_;
  long order_ = 0;
  std::deque<DialogAnswer> answers_;
  std::vector<DialogRecord> dialogs_;
  int presents_ = 0;
};

}  // namespace tlb
