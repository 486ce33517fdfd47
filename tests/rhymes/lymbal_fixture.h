#pragma once
// The rhymes program started as its main block starts it, on the headless
// backend over a copy of the sample data, with helpers to drive and watch it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "platform/ui/form_reader.h"
#include "rhymes/src/lym_main.h"
#include "rhymes/src/lymbal.h"
#include "shared/Technic2.h"
#include "tests/support/program_run.h"

namespace tq::testing {

class LymbalRun : public tlb::testing::ProgramRun {
 protected:
  // Starts the program up to its message loop and shows the form, as the loop would.
  void Start(std::initializer_list<const char*> omit = {}, tlb::Size screen = {800, 600}, bool audio = true,
             std::initializer_list<const char*> damage = {}) {
    NewRun("lymbal", screen, audio, omit, damage);
    StartRhymesProgram();
    form_ = FORM_Lymbal;
    form_->Show();
  }
  // Esc during the introduction: everything is on the form by `ms` + 100.
  void SkipIntroduction(int64_t ms = 300) {
    run().backend.PressEscape(ms);
    run().RunUntil(ms + 100);
  }

  tlb::testing::HeadlessRun& run() { return *run_; }
  TFORM_Lymbal& form() { return *form_; }
  LymbalState& unit() { return LymbalUnit(); }

  // The file names of the sounds started, in order, of one kind.
  std::vector<std::string> Sounds(tlb::SoundKind kind) { return PlayedNames(kind); }
  // A point of the form where no control but the shield lies.
  tlb::Point EmptySpot() { return form().ClientToScreen({440, 40}); }
  // Clicks a control, then takes the pointer off it.
  void ClickAt(int64_t ms, tlb::TControl* c) {
    run().backend.Click(ms, Centre(c));
    run().backend.MoveMouse(ms + 10, EmptySpot());
  }

  static bool SamePicture(tlb::TImage* a, tlb::TImage* b) {
    auto* ga = dynamic_cast<tlb::TBitmap*>(a->Picture().Graphic());
    auto* gb = dynamic_cast<tlb::TBitmap*>(b->Picture().Graphic());
    if (!ga || !gb || ga->Empty() || gb->Empty()) return false;
    const tlb::Dib& da = ga->Pixels();
    const tlb::Dib& db = gb->Pixels();
    if (da.width() != db.width() || da.height() != db.height()) return false;
    for (int y = 0; y < da.height(); ++y)
      for (int x = 0; x < da.width(); ++x)
        if (da.pixel(x, y) != db.pixel(x, y)) return false;
    return true;
  }
  tlb::TImage* Store(const std::string& name) { return tlb::FindAs<tlb::TImage>(form_, name); }
  // The face at position k shows its plain (false) or counted-out (true) picture.
  bool FaceShows(int k, bool countedOut) {
    return SamePicture(form().ksicht[k], Store("swp_ksicht" + tlb::IntToStr(k) + (countedOut ? "a" : "")));
  }

  TFORM_Lymbal* form_ = nullptr;
};

}  // namespace tq::testing
