#pragma once
// A backend that has an audio output and nothing else, for PlaySound on a real
// device without a window: no screen, no input, the steady clock.
#include <chrono>
#include <memory>
#include <thread>

#include "platform/media/audio_device.h"
#include "platform/ui/backend.h"

namespace tlb::testing {

class SoundOnlyBackend : public Backend {
 public:
  explicit SoundOnlyBackend(std::unique_ptr<AudioDevice> audio) : audio_(std::move(audio)) {}
  Size ScreenSize() const override { return {640, 480}; }
  void Present(const Dib&, const Rect&) override {}
  int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }
  bool PollInput(InputEvent&) override { return false; }
  void WaitUntil(int64_t untilMs) override {
    if (untilMs > NowMs()) std::this_thread::sleep_for(std::chrono::milliseconds(untilMs - NowMs()));
  }
  Point CursorPos() const override { return {0, 0}; }
  void SetCursor(const CursorImage*, int) override {}
  void SetTitle(const std::string&) override {}
  bool IsActive() const override { return true; }
  AudioDevice* Audio() override { return audio_.get(); }

 private:
  std::unique_ptr<AudioDevice> audio_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace tlb::testing
