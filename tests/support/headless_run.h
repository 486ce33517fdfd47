#pragma once
// A program run on the headless backend for a test: a fresh application, screen
// and queue, a private registry folder, and helpers that advance the virtual clock.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"

namespace tlb::testing {

// A temporary folder removed with the object.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tulimbo-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

class HeadlessRun {
 public:
  explicit HeadlessRun(Size screen = {800, 600}) : backend(screen) {
    setenv("XDG_CONFIG_HOME", config.str().c_str(), 1);
    StartProgramRun(&backend);
  }
  ~HeadlessRun() { EndProgramRun(); }

  // Pumps messages until the virtual clock reaches `ms` (or the program ends).
  void RunUntil(int64_t ms) {
    // A scripted no-op makes the clock stop exactly there instead of at the next timer.
    backend.At(ms, [] {});
    PumpUntil([&] { return backend.NowMs() >= ms; });
  }
  void RunFor(int64_t ms) { RunUntil(backend.NowMs() + ms); }
  // Runs until `fromMs`, then until `toMs`, and tells how often the program's
  // queue went to sleep (found nothing to do) in between.
  int SleepsBetween(int64_t fromMs, int64_t toMs) {
    auto sleeps = std::make_shared<int>(0);
    MessageQueue::Instance().AddWakeSource([sleeps] {
      ++*sleeps;
      return int64_t(-1);
    });
    RunUntil(fromMs);
    *sleeps = 0;
    RunUntil(toMs);
    return *sleeps;
  }
  // Pumps until `done` holds; fails the run (returns false) if it does not within `limitMs`.
  bool RunUntil(const std::function<bool()>& done, int64_t limitMs = 600000) {
    int64_t end = backend.NowMs() + limitMs;
    backend.At(end, [] {});
    PumpUntil([&] { return done() || backend.NowMs() >= end; });
    return done();
  }

  TempDir config;
  HeadlessBackend backend;
};

// Saves the screen as `name` (a PNG) in the folder TULIMBO_TEST_SCREENSHOTS
// names, so that a test's screens can be looked at; nothing when it is not set.
inline void SaveTestScreenshot(const HeadlessBackend& backend, const std::string& name) {
  if (const char* folder = std::getenv("TULIMBO_TEST_SCREENSHOTS")) backend.SaveScreenshot(std::string(folder) + "/" + name);
}

}  // namespace tlb::testing
