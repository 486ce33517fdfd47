// Every data file of the rock-paper-scissors form missing or damaged in turn: the
// form's message where it gives one, silence otherwise, and a form that still
// plays and closes back to the menu.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "platform/ui/timer.h"
#include "tests/games/kamen_fixture.h"

namespace tq::testing {
namespace {

using namespace tlb;

// Plays the form as a child would, from a 100 ms timer that runs inside every wait:
// waits for the play field, rests on each of the four buttons, plays a round (rock
// against scissors), asks for help and ends the game.
class Walker {
 public:
  explicit Walker(HeadlessBackend& backend) : backend_(backend), timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetInterval(100);
    timer_->SetOnTimer([this](TObject*) { Step(); });
  }
  bool Done() const { return phase_ == kDone; }

 private:
  static constexpr int kDone = 9;
  void Next() {
    ++phase_;
    since_ = backend_.NowMs();
  }
  void ClickOn(TControl* c) { backend_.Click(backend_.NowMs() + 1, KamenRun::Centre(c)); }
  void Step() {
    if (!FORM_kamen || Done()) return;
    TFORM_kamen& f = *FORM_kamen;
    const int64_t waited = backend_.NowMs() - since_;
    switch (phase_) {
      case 0:
        if (f.lbl_dvojtecka->Visible()) Next();
        break;
      case 1: case 2: case 3: case 4: {
        if (phase_ > 1 && waited < 1500) break;
        TControl* over[4] = {f.btn_kamen, f.btn_nuzky, f.btn_papir, f.BTN_Konec};
        backend_.MoveMouse(backend_.NowMs() + 1, KamenRun::Centre(over[phase_ - 1]));
        Next();
        break;
      }
      case 5:
        if (waited < 1500) break;
        RandSeed().seed = KamenRun::SeedFor(2);
        ClickOn(f.btn_kamen);
        Next();
        break;
      case 6:
        if (waited > 500 && f.btn_kamen->Enabled() && KamenUnit().PlayerChoice == 0) {
          backend_.MoveMouse(backend_.NowMs() + 1, f.ClientToScreen({100, 430}));
          Next();
        }
        break;
      case 7:
        if (waited < 4000) break;  // the verdict has been said
        ClickOn(f.hrdina_vlevo);
        Next();
        break;
      case 8:
        if (waited < 1000) break;
        ClickOn(f.BTN_Konec);
        Next();
        break;
    }
  }

  HeadlessBackend& backend_;
  std::unique_ptr<TTimer> timer_;
  int phase_ = 0;
  int64_t since_ = 0;
};

using KamenFiles = KamenRun;

// The dialogs of a run, the path of a missing sound cut to its file name.
std::vector<std::string> Messages(const HeadlessBackend& backend) {
  std::vector<std::string> out;
  const std::string missing = Cz("Nenalezen zvuk: ");
  for (std::string t : backend.DialogTexts()) {
    if (t.rfind(missing, 0) == 0) t = "Nenalezen zvuk: " + ExtractFileName(t.substr(missing.size()));
    out.push_back(t);
  }
  return out;
}

TEST_F(KamenFiles, EveryFileMissingOrDamagedInTurnLeavesAPlayableFormThatCloses) {
  const std::string music = "Nelze nalezt hudbu pro kamen, nuzky, papir...";
  struct Case {
    std::string file;
    std::vector<std::string> ifMissing, ifDamaged;
  };
  std::vector<Case> cases = {{"hudba/kamen.mid", {music}, {music}}};
  for (const char* who : {"kluk_", "mysak_"})
    for (const char* pose : {"1", "1a", "2", "2a", "3", "3a", "4"})
      cases.push_back({std::string("obrazky/") + who + pose + ".bmp", {}, {}});
  for (int i = 1; i <= 9; ++i) cases.push_back({"zvuky/knp_uv" + std::to_string(i) + ".wav", {}, {}});
  // The hover names and the clap are PlaySound's: a missing one is reported each time.
  for (const char* name : {"knp_k.WAV", "knp_n.WAV", "knp_p.WAV", "iko_kon.WAV"})
    cases.push_back({std::string("zvuky/") + name, {std::string("Nenalezen zvuk: ") + name}, {}});
  const std::string clap = "Nenalezen zvuk: tlesk.wav";
  cases.push_back({"zvuky/tlesk.wav", {clap, clap, clap}, {}});
  for (const char* name : {"knp_v1.wav", "knp_v2.wav", "knp_v0.wav", "knp_pk.wav", "knp_np.wav", "knp_kn.wav",
                           "knp_help.wav"})
    cases.push_back({std::string("zvuky/") + name, {}, {}});

  for (const auto& c : cases)
    for (bool damaged : {false, true}) {
      Options o;
      if (damaged) o.damage = {c.file.c_str()};
      else o.omit = {c.file.c_str()};
      Start(o);
      Walker walker(backend());
      run_->RunUntil([&] { return walker.Done() && !FORM_kamen; }, 180000);
      EXPECT_TRUE(walker.Done()) << c.file << (damaged ? " damaged" : " missing");
      EXPECT_EQ(FORM_kamen, nullptr) << c.file << (damaged ? " damaged" : " missing");
      EXPECT_EQ(Messages(backend()), damaged ? c.ifDamaged : c.ifMissing) << c.file << (damaged ? " damaged" : " missing");
      // The bad file is never heard; the round was still counted.
      const std::string name = ExtractFileName(c.file);
      for (const auto& s : Sounds(SoundKind::Wave)) EXPECT_NE(s.file, name) << c.file;
      EXPECT_EQ(KamenUnit().PlayerWins, 1) << c.file;
      run_->RunUntil(backend().NowMs() + 2000);
      EXPECT_TRUE(FORM_Menu->AVI_obr9->Visible()) << c.file;
    }
}

// A message box about the music at creation stays up a second: the introduction waits
// for the form to show instead of running behind the box.
TEST_F(KamenFiles, TheIntroductionWaitsForTheMusicMessageToBeAnswered) {
  Options o;
  o.omit = {"hudba/kamen.mid"};
  o.afterStart = [this] { backend().AnswerDialog({1, std::nullopt, 1000}); };
  Start(o);
  At(kOpen + 1249, [](TFORM_kamen& f) { EXPECT_TRUE(f.Showing()); });
  EndAt(kOpen + 3000);
  EXPECT_EQ(backend().DialogTexts(), (std::vector<std::string>{"Nelze nalezt hudbu pro kamen, nuzky, papir..."}));
  auto spoken = Sounds(SoundKind::Wave);
  ASSERT_EQ(spoken.size(), 1u);
  EXPECT_EQ(spoken[0].file, "knp_uv1.wav");
  EXPECT_EQ(spoken[0].at, kOpen + 1250);
}

// The box about a missing hover name stays up two seconds while the hover timer ticks
// on: the name is asked for once, not again from inside the box.
TEST_F(KamenFiles, AMissingHoverNameIsReportedOnceWhileItsBoxIsOpen) {
  Options o;
  o.omit = {"zvuky/knp_p.WAV"};
  o.afterStart = [this] { backend().AnswerDialog({1, std::nullopt, 2000}); };
  Start(o);
  backend().PressEscape(kOpen + 550);
  const int64_t quiet = kOpen + 650 + LengthMs("knp_uv9.wav") + 100;
  MoveTo(quiet, [](TFORM_kamen& f) { return f.btn_papir; });
  EndAt(quiet + 4000);
  EXPECT_EQ(Messages(backend()), (std::vector<std::string>{"Nenalezen zvuk: knp_p.WAV"}));
}

TEST_F(KamenFiles, WithoutAWaveDeviceTheIntroductionEndsAndTheGameIsPlayableInSilence) {
  Options o;
  o.audio = false;
  Start(o);
  // Nine files given up, one a tick from kOpen + 250.
  At(kOpen + 1849, [](TFORM_kamen& f) { EXPECT_TRUE(f.stit->Visible()); });
  At(kOpen + 1851, [](TFORM_kamen& f) {
    EXPECT_FALSE(f.stit->Visible());
    EXPECT_TRUE(f.btn_kamen->Visible());
  });
  At(kOpen + 2999, [](TFORM_kamen&) { RandSeed().seed = SeedFor(3); });
  ClickAt(kOpen + 3000, [](TFORM_kamen& f) { return f.btn_nuzky; });
  At(kOpen + 7101, [](TFORM_kamen& f) { EXPECT_EQ(f.lbl_dobre->Caption(), "1"); });
  MoveTo(kOpen + 8000, [](TFORM_kamen& f) { return f.btn_kamen; });
  EndAt(kOpen + 12000);
  EXPECT_TRUE(backend().Dialogs().empty());
}

}  // namespace
}  // namespace tq::testing
