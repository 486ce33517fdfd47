#pragma once
// The songs program started as its main block does, on the headless backend, for the
// songs tests: the menu, the singing form and what the run played and said.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "songs/src/m_hudba.h"
#include "songs/src/melim32.h"
#include "songs/src/zpev_1.h"
#include "tests/support/program_run.h"

namespace tq::songs::testing {

class SongsRun : public tlb::testing::ProgramRun {
 protected:
  void TearDown() override {
    EXPECT_EQ(pendingChecks_, 0) << "a check did not run";
    ProgramRun::TearDown();
  }

  // Starts the program up to the message loop, with the data set less `omit` and with
  // the files in `damage` replaced by garbage.
  void Start(std::initializer_list<const char*> omit = {}, tlb::Size screen = {800, 600}, bool audio = true,
             std::initializer_list<const char*> damage = {}) {
    data_ = NewRun("melim32", screen, audio, omit, damage);
    StartSongsProgram();
    // A safety net: a form left open by a failing test ends the run instead of hanging it.
    run_->backend.At(kWatchdogMs, [] { tlb::Application->Terminate(); });
    // The message loop shows the main form first; the tests pump it themselves.
    FORM_Menu->Show();
  }
  static constexpr int64_t kWatchdogMs = 600000;

  tlb::testing::HeadlessRun& run() { return *run_; }
  // Replaces a file of the data copy (a path relative to the data folder) by `bytes`.
  void WriteDataFile(const char* rel, const std::string& bytes) {
    std::filesystem::remove(data_ / rel);
    std::ofstream(data_ / rel, std::ios::binary) << bytes;
  }
  // Points at song `song`'s tile 300 ms before `atMs` and clicks it then: the singing form
  // shows at once, its song 200 ms later.
  void OpenSong(int song, int64_t atMs) {
    run_->backend.At(atMs - 300, [this, song, atMs] {
      tlb::TControl* tiles[] = {FORM_Menu->AVI_obr1, FORM_Menu->AVI_obr2, FORM_Menu->AVI_obr3, FORM_Menu->AVI_obr4};
      run_->backend.MoveMouse(atMs - 300, Centre(tiles[song - 1]));
      run_->backend.Click(atMs, Centre(tiles[song - 1]));
    });
  }
  // Clicks a control of the singing form where it is at that time, and moves a pixel on it
  // 20 ms later, as a hand does: a glyph button takes up its hover tracking again only at
  // a move over it after its click.
  void ClickAt(int64_t atMs, tlb::TControl* control) {
    run_->backend.At(atMs, [this, atMs, control] {
      tlb::Point p = Centre(control);
      run_->backend.Click(atMs, p);
      run_->backend.MoveMouse(atMs + 20, {p.x + 1, p.y});
    });
  }
  // Moves the pointer off onto the song picture, then onto a control 150 ms later, as a hand
  // does: a button's exit comes after the next one's enter when the pointer jumps straight
  // from one to the other, and that exit would clear the hovered button.
  void MoveTo(int64_t atMs, tlb::TControl* control) {
    run_->backend.At(atMs, [this, atMs, control] {
      run_->backend.MoveMouse(atMs, FORM_Fumbamesi->ClientToScreen({320, 200}));
      run_->backend.MoveMouse(atMs + 150, Centre(control));
    });
  }
  // Runs `check` at `atMs`, inside the modal run of the singing form if it is shown then.
  void CheckAt(int64_t atMs, std::function<void()> check) {
    ++pendingChecks_;
    run_->backend.At(atMs, [this, check = std::move(check)] {
      --pendingChecks_;
      check();
    });
  }
  int pendingChecks_ = 0;
  // The recordings the media player started, with their virtual start times.
  std::vector<tlb::SoundRecord> Recordings() {
    std::vector<tlb::SoundRecord> out;
    for (const auto& r : Played())
      if (r.kind == tlb::SoundKind::Wave) out.push_back(r);
    return out;
  }
  // Display line k of the singing form.
  TBarevnyText* Line(int k) {
    return dynamic_cast<TBarevnyText*>(FORM_Fumbamesi->FindComponent("text_" + std::to_string(k)));
  }
  TFORM_Menu& menu() { return *FORM_Menu; }
  TFORM_Fumbamesi& singing() { return *FORM_Fumbamesi; }

  std::vector<std::string> Spoken() { return PlayedNames(tlb::SoundKind::Effect); }
  int MusicStarts() { return int(PlayedNames(tlb::SoundKind::Midi).size()); }
  // Clicks the singing form's end button where it is at that time: the form takes its
  // place on the screen only when it is shown.
  void ClickEndButton(int64_t atMs) {
    run_->backend.At(atMs, [this, atMs] { run_->backend.Click(atMs, Centre(FORM_Fumbamesi->btn_konec)); });
  }

  std::filesystem::path data_;
};

}  // namespace tq::songs::testing
