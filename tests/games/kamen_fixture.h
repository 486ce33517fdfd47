#pragma once
// The games program run headless up to the rock-paper-scissors form, opened from
// the menu's tile at a fixed virtual time. The form runs in the menu's modal
// loop, so the tests observe it from scripted actions at exact times.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "games/src/kamen.h"
#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "shared/Technic2.h"
#include "tests/support/program_run.h"

namespace tq::testing {

using tlb::testing::HeadlessRun;
using tlb::testing::TempDir;

struct Sound {
  std::string file;
  int64_t at;
  unsigned flags;
};

class KamenRun : public tlb::testing::ProgramRun {
 public:
  using ProgramRun::Centre;
  // A seed of the runtime's generator after which the mouse shows `sign`.
  static uint32_t SeedFor(int sign, uint32_t from = 1);

 protected:
  // The click on the menu's tile, once the menu's reveal has ended; the form and
  // its timers start here.
  static constexpr int64_t kOpen = 2500;

  struct Options {
    std::vector<const char*> omit;
    std::vector<const char*> damage;
    tlb::Size screen{800, 600};
    bool audio = true;
    // Runs after the program's start-up, before the menu shows.
    std::function<void()> afterStart;
  };
  // Starts the program and clicks the tile of rock-paper-scissors at kOpen.
  void Start(const Options& o);
  void Start() { Start(Options{}); }
  void Start(std::initializer_list<const char*> omit) {
    Options o;
    o.omit = omit;
    Start(o);
  }

  tlb::HeadlessBackend& backend() { return run_->backend; }
  // Runs `check` when the clock reaches `ms`, with the form (which must be open).
  void At(int64_t ms, std::function<void(TFORM_kamen&)> check);
  // Clicks the end button at `ms` and runs until the form has closed.
  void EndAt(int64_t ms);
  // Clicks the centre of a control of the form at `ms`.
  void ClickAt(int64_t ms, std::function<tlb::TControl*(TFORM_kamen&)> control);
  void MoveTo(int64_t ms, std::function<tlb::TControl*(TFORM_kamen&)> control);

  // Sounds started: the speech player's files, PlaySound's, or the music.
  std::vector<Sound> Sounds(tlb::SoundKind kind);
  std::vector<std::string> Names(tlb::SoundKind kind);
  // The length of a sample file of "zvuky" in milliseconds.
  int LengthMs(const std::string& name);
  // The speech player's ticks fall at kOpen + 50 + 200 k: the first at or after `ms`.
  static int64_t QueueTickAtOrAfter(int64_t ms);
  // The start times of knp_uv1 to knp_uv9 when the introduction runs undisturbed.
  std::vector<int64_t> IntroStarts();
  // The holder whose picture the figure shows ("" for none).
  static std::string Pose(TFORM_kamen& f, tlb::TImage* figure);
  std::filesystem::path data_;
};

}  // namespace tq::testing
