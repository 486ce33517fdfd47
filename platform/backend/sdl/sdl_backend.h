#pragma once
// The real backend: one SDL window at the desktop's size (or TULIMBO_SCREEN's),
// mouse and keyboard, the wall clock, cursors and audio. The window shows the
// screen enlarged a whole number of times (TULIMBO_SCALE, by default as many as
// a 640x480 form fits the desktop): the program sees a screen of the window's
// size divided by that scale, and the pointer in the screen's pixels.
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/ui/backend.h"

namespace tlb {

class SdlBackend : public Backend {
 public:
  // Opens the window; throws EOutOfResources when no display can be opened.
  SdlBackend();
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  Size ScreenSize() const override { return size_; }
  // Window pixels a screen pixel takes each way.
  int Scale() const;
  void Present(const Dib& screen, const Rect& dirty) override;
  int64_t NowMs() const override;
  int64_t MillisecondsSinceMidnight() const override;
  bool PollInput(InputEvent& event) override;
  void WaitUntil(int64_t untilMs) override;
  Point CursorPos() const override { return cursor_; }
  void SetCursor(const CursorImage* image, int index) override;
  void SetTitle(const std::string& utf8) override;
  void SetIcon(const CursorImage* icon) override;
  bool IsActive() const override { return active_; }
  AudioDevice* Audio() override { return audio_.get(); }

  void ScreenGone() override;
  // Writes what the window shows (the screen enlarged) to a PNG file.
  void SaveScreenshot(const std::string& pngPath) const;

 private:
  struct Native;
  std::unique_ptr<Native> native_;
  Size size_;
  Point cursor_{-1, -1};
  bool active_ = true;
  std::unique_ptr<AudioDevice> audio_;
  std::deque<InputEvent> pending_;
  // Asking the display for events costs a round of calls to it. It is done once
  // after each wait and at most once a millisecond otherwise; the polls in
  // between take what that brought.
  bool pumpDue_ = true;
  // The longest sleep: input wakes the program earlier, and what it waits for
  // otherwise (a sound's end among them) it looks at from its timers. The limit
  // guards against anything that reaches SDL without showing on the display's
  // connection.
  static constexpr int64_t kLongestWaitMs = 1000;
  bool displayTouched_ = false;  // a request went to the display since it was last asked
  int64_t lastPumpMs_ = -1;
};

}  // namespace tlb
