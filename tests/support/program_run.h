#pragma once
// The set-up the program tests share: a program of the suite started on the
// headless backend over a fresh copy of the sample data, torn down after each
// test, with the sounds it started to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "tests/support/headless_run.h"
#include "tests/support/sample_data.h"

namespace tlb::testing {

class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveSampleData()) GTEST_SKIP() << "no sample data set (TULIMBO_SAMPLE_DATA)";
  }
  void TearDown() override {
    run_.reset();
    SetParamStr0ForTest("");
  }

  // A new headless run of `screen` (with or without a sound device) over a new copy of
  // the sample data less `omit` and with `damage` damaged, and the program's own path
  // set to `program` in that copy, as its main block would find it. Returns the copy's
  // folder; the program itself is started by the caller.
  std::filesystem::path NewRun(const char* program, Size screen, bool audio,
                               std::initializer_list<const char*> omit = {},
                               std::initializer_list<const char*> damage = {}) {
    run_.reset();
    dir_ = std::make_unique<TempDir>();
    run_ = std::make_unique<HeadlessRun>(screen);
    run_->backend.SetAudioEnabled(audio);
    std::filesystem::path data = MakeDataCopy(*dir_, omit, damage);
    SetParamStr0ForTest((data / program).string());
    return data;
  }

  // Every sound started since the run began; none without a sound device.
  std::vector<SoundRecord> Played() {
    HeadlessAudio* a = AsHeadlessAudio(run_->backend.Audio());
    return a ? a->Played() : std::vector<SoundRecord>{};
  }
  // The file names of the sounds started of one kind, in order.
  std::vector<std::string> PlayedNames(SoundKind kind) {
    std::vector<std::string> names;
    for (const auto& r : Played())
      if (r.kind == kind) names.push_back(ExtractFileName(r.file));
    return names;
  }
  static Point Centre(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<HeadlessRun> run_;
};

}  // namespace tlb::testing
