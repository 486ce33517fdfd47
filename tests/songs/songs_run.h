#pragma once
// The songs program started as its main block does, on the headless backend, for the
// songs tests: the menu, the singing form and what the run played and said.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "songs/src/m_hudba.h"
#include "songs/src/melim32.h"
#include "songs/src/zpev_1.h"
#include "tests/support/sample_data.h"

namespace tq::songs::testing {

class SongsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tlb::testing::HaveSampleData()) GTEST_SKIP() << "no sample data set (TULIMBO_SAMPLE_DATA)";
  }
  void TearDown() override {
    run_.reset();
    tlb::SetParamStr0ForTest("");
  }

  // Starts the program up to the message loop, with the data set less `omit` and with
  // the files in `damage` replaced by garbage.
  void Start(std::initializer_list<const char*> omit = {}, tlb::Size screen = {800, 600}, bool audio = true,
             std::initializer_list<const char*> damage = {}) {
    run_.reset();
    dir_ = std::make_unique<tlb::testing::TempDir>();
    run_ = std::make_unique<tlb::testing::HeadlessRun>(screen);
    run_->backend.SetAudioEnabled(audio);
    data_ = tlb::testing::MakeDataCopy(*dir_, omit, damage);
    tlb::SetParamStr0ForTest((data_ / "melim32").string());
    StartSongsProgram();
    // The message loop shows the main form first; the tests pump it themselves.
    FORM_Menu->Show();
  }
  tlb::testing::HeadlessRun& run() { return *run_; }
  TFORM_Menu& menu() { return *FORM_Menu; }
  TFORM_Fumbamesi& singing() { return *FORM_Fumbamesi; }

  std::vector<tlb::SoundRecord> Played() {
    tlb::HeadlessAudio* a = tlb::AsHeadlessAudio(run_->backend.Audio());
    return a ? a->Played() : std::vector<tlb::SoundRecord>{};
  }
  // The file names of the sounds played of one kind, in order.
  std::vector<std::string> PlayedNames(tlb::SoundKind kind) {
    std::vector<std::string> names;
    for (const auto& r : Played())
      if (r.kind == kind) names.push_back(tlb::ExtractFileName(r.file));
    return names;
  }
  std::vector<std::string> Spoken() { return PlayedNames(tlb::SoundKind::Effect); }
  int MusicStarts() { return int(PlayedNames(tlb::SoundKind::Midi).size()); }
  tlb::Point Centre(tlb::TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  // Clicks the singing form's end button where it is at that time: the form takes its
  // place on the screen only when it is shown.
  void ClickEndButton(int64_t atMs) {
    run_->backend.At(atMs, [this, atMs] { run_->backend.Click(atMs, Centre(FORM_Fumbamesi->btn_konec)); });
  }

  std::unique_ptr<tlb::testing::TempDir> dir_;
  std::unique_ptr<tlb::testing::HeadlessRun> run_;
  std::filesystem::path data_;
};

}  // namespace tq::songs::testing
