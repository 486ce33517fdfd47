// The rock-paper-scissors form run from the games menu on the headless backend:
// the introduction, its skips, the hover speech, the end button and reopening.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "tests/games/kamen_fixture.h"

namespace tq::testing {
namespace {

using namespace tlb;

// The boy's and the mouse's holders shown while each introduction file plays.
struct IntroPictures {
  int step;
  const char* boy;
  const char* mouse;
};
const IntroPictures kIntro[] = {
    {1, "dite_poz4", "mys_poz4"},  {2, "dite_poz1", "mys_poz1"},   {3, "dite_poz3", "mys_poz3"},
    {4, "dite_poz2", "mys_poz2"},  {5, "dite_poz4", "mys_poz4"},   {6, "dite_poz1", "mys_poz3a"},
    {7, "dite_poz3", "mys_poz2a"}, {8, "dite_poz1a", "mys_poz2"},  {9, "dite_poz1", "mys_poz1"},
};

bool PlayFieldShown(TFORM_kamen& f) {
  return !f.stit->Visible() && f.BTN_Konec->Visible() && f.oddeleni->Visible() && f.btn_kamen->Visible() &&
         f.btn_nuzky->Visible() && f.btn_papir->Visible() && f.lbl_spatne->Visible() && f.lbl_dobre->Visible() &&
         f.lbl_dvojtecka->Visible();
}

using KamenIntro = KamenRun;

TEST_F(KamenIntro, SpeaksNineFilesWithTheirPicturesThenShowsThePlayField) {
  Start();
  auto starts = IntroStarts();
  At(kOpen + 10, [](TFORM_kamen& f) {
    EXPECT_TRUE(f.stit->Visible());
    EXPECT_EQ(f.stit->BoundsRect(), Rect::FromSize(0, 0, 639, 479));
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "");
    EXPECT_EQ(f.lbl_dobre->Caption(), "0");
    EXPECT_EQ(Screen->Cursor(), crDefault);
  });
  At(kOpen + 60, [](TFORM_kamen& f) {
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "dite_poz4");
    EXPECT_EQ(Pose(f, f.hrdina_vlevo), "mys_poz4");
  });
  for (const auto& p : kIntro) {
    int64_t start = starts[size_t(p.step - 1)];
    At(start + 1, [p](TFORM_kamen& f) {
      EXPECT_EQ(KamenUnit().IntroStep, p.step);
      EXPECT_EQ(Pose(f, f.hrdina_vpravo), p.boy) << p.step;
      EXPECT_EQ(Pose(f, f.hrdina_vlevo), p.mouse) << p.step;
      EXPECT_TRUE(f.stit->Visible()) << p.step;
      EXPECT_FALSE(f.btn_kamen->Visible()) << p.step;
    });
  }
  const int64_t end = starts[8] + LengthMs("knp_uv9.wav");
  At(end - 1, [](TFORM_kamen& f) { EXPECT_TRUE(f.stit->Visible()); });
  At(end + 1, [](TFORM_kamen& f) {
    EXPECT_TRUE(PlayFieldShown(f));
    EXPECT_TRUE(f.uvodni_blikajici_ikony->Enabled());
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "dite_poz1");
    EXPECT_EQ(Pose(f, f.hrdina_vlevo), "mys_poz1");
  });
  // The buttons blink every 500 ms; the first tick keeps the icons, the second hides them.
  At(end + 501, [](TFORM_kamen& f) { EXPECT_EQ(f.btn_papir->DisplayMode(), dmGlyphOnly); });
  At(end + 1001, [](TFORM_kamen& f) { EXPECT_EQ(f.btn_papir->DisplayMode(), dmTextOnly); });
  At(end + 1501, [](TFORM_kamen& f) { EXPECT_EQ(f.btn_kamen->DisplayMode(), dmGlyphOnly); });
  EndAt(end + 2000);
  auto spoken = Sounds(SoundKind::Wave);
  ASSERT_EQ(spoken.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(spoken[size_t(i)].file, "knp_uv" + std::to_string(i + 1) + ".wav");
    EXPECT_EQ(spoken[size_t(i)].at, starts[size_t(i)]) << i + 1;
  }
  // The music starts at the first tick of its loop timer, 2 s after the introduction began.
  std::vector<int64_t> music;
  for (const auto& m : Sounds(SoundKind::Midi))
    if (m.file == "kamen.mid") music.push_back(m.at);
  ASSERT_FALSE(music.empty());
  EXPECT_EQ(music[0], kOpen + 50 + 2000);
  EXPECT_TRUE(backend().Dialogs().empty());
}

// Esc or a click on the shield ends the pictures at once and cuts the speech off; the
// closing file is still said unless it was the one playing.
TEST_F(KamenIntro, ASkipCutsTheIntroductionShortAndTheClosingWordsFollow) {
  enum How { Escape, Shield };
  struct Case {
    How how;
    int duringFile;
  } cases[] = {{Escape, 3}, {Shield, 3}, {Escape, 9}, {Shield, 1}};
  for (const auto& c : cases) {
    Start();
    auto starts = IntroStarts();
    // Between two ticks of the speech player.
    const int64_t skip = starts[size_t(c.duringFile - 1)] + 300;
    if (c.how == Escape) backend().PressEscape(skip);
    else At(skip - 1, [this, skip](TFORM_kamen& f) { backend().Click(skip, f.ClientToScreen({250, 430})); });
    At(skip + 1, [&](TFORM_kamen& f) {
      EXPECT_TRUE(PlayFieldShown(f)) << c.duringFile;
      EXPECT_TRUE(f.uvodni_blikajici_ikony->Enabled());
      EXPECT_FALSE(f.Speech().Speaking());
      EXPECT_EQ(Pose(f, f.hrdina_vpravo), "dite_poz1");
      EXPECT_EQ(Pose(f, f.hrdina_vlevo), "mys_poz1");
      EXPECT_FALSE(KamenUnit().SkipRequested);
    });
    EndAt(skip + 10000);
    std::vector<std::string> expected;
    for (int i = 1; i <= c.duringFile; ++i) expected.push_back("knp_uv" + std::to_string(i) + ".wav");
    if (c.duringFile < 9) expected.push_back("knp_uv9.wav");
    EXPECT_EQ(Names(SoundKind::Wave), expected) << c.how << " " << c.duringFile;
    if (c.duringFile < 9) {
      EXPECT_EQ(Sounds(SoundKind::Wave).back().at, skip + 100);
    }
  }
}

TEST_F(KamenIntro, TheEndButtonDuringTheIntroductionClosesTheFormBackToTheMenu) {
  Start();
  auto starts = IntroStarts();
  const int64_t end = starts[2] + 300;
  EndAt(end);
  EXPECT_EQ(Names(SoundKind::Wave), (std::vector<std::string>{"knp_uv1.wav", "knp_uv2.wav", "knp_uv3.wav"}));
  EXPECT_TRUE(KamenUnit().Closing);
  // The menu replays its reveal and its music.
  EXPECT_TRUE(FORM_Menu->wait_image->Visible());
  run_->RunUntil(end + 2000);
  EXPECT_TRUE(FORM_Menu->AVI_obr2->Visible());
  EXPECT_EQ(FORM_Menu->MIDIPlayer->Mode(), mpPlaying);
  EXPECT_TRUE(backend().Dialogs().empty());
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

// The form keeps nothing of its last opening but the seed: scores, the end flag and
// the introduction start again.
TEST_F(KamenIntro, ReopenedTheFormStartsAtNilNilWithTheIntroduction) {
  Start();
  backend().PressEscape(kOpen + 500);
  const int64_t round = kOpen + 3000;
  At(round - 1, [](TFORM_kamen&) { RandSeed().seed = SeedFor(2); });
  ClickAt(round, [](TFORM_kamen& f) { return f.btn_kamen; });
  At(round + 4200, [](TFORM_kamen& f) { EXPECT_EQ(f.lbl_dobre->Caption(), "1"); });
  EndAt(round + 8000);
  const int64_t again = round + 10000;
  backend().Click(again, Centre(FORM_Menu->AVI_obr2));
  At(again + 1, [](TFORM_kamen& f) {
    EXPECT_EQ(f.lbl_dobre->Caption(), "0");
    EXPECT_EQ(f.lbl_spatne->Caption(), "0");
    EXPECT_EQ(KamenUnit().PlayerWins, 0);
    EXPECT_FALSE(KamenUnit().Closing);
    EXPECT_EQ(KamenUnit().KeyCode, 65);
    EXPECT_TRUE(f.stit->Visible());
    EXPECT_FALSE(f.btn_kamen->Visible());
  });
  EndAt(again + 1000);
  auto spoken = Sounds(SoundKind::Wave);
  ASSERT_FALSE(spoken.empty());
  EXPECT_EQ(spoken.back().file, "knp_uv1.wav");
  EXPECT_EQ(spoken.back().at, again + 250);
}

// Resting on a button speaks its name on the sixth tick of the 100 ms hover timer;
// while the queue speaks the count pauses, and the name follows the speech.
TEST_F(KamenIntro, HoverNamesWaitForTheQueueAndOnlyChoicesStopTheBlinking) {
  Start();
  backend().PressEscape(kOpen + 550);  // knp_uv9 follows at the tick at kOpen + 650
  const int64_t uv9End = kOpen + 650 + LengthMs("knp_uv9.wav");
  MoveTo(kOpen + 1030, [](TFORM_kamen& f) { return f.BTN_Konec; });
  At(kOpen + 1200, [](TFORM_kamen& f) {
    EXPECT_EQ(KamenUnit().HoverHint, 9);
    EXPECT_TRUE(f.uvodni_blikajici_ikony->Enabled());
  });
  // The hover timer ticks at kOpen + 100 k; the first counted tick is the first after uv9 ends.
  const int64_t firstCounted = (uv9End - kOpen) / 100 * 100 + 100 + kOpen;
  const int64_t choice = firstCounted + 2030;
  MoveTo(choice, [](TFORM_kamen& f) { return f.btn_nuzky; });
  At(choice + 1, [](TFORM_kamen& f) {
    EXPECT_EQ(KamenUnit().HoverHint, 2);
    EXPECT_FALSE(f.uvodni_blikajici_ikony->Enabled());
    EXPECT_EQ(f.btn_kamen->DisplayMode(), dmGlyphOnly);
  });
  EndAt(choice + 2000);
  auto names = Sounds(SoundKind::Effect);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].file, "iko_kon.WAV");
  EXPECT_EQ(names[0].at, firstCounted + 500);
  EXPECT_EQ(names[0].flags, 17u);
  EXPECT_EQ(names[1].file, "knp_n.WAV");
  EXPECT_EQ(names[1].at, choice + 70 + 500);
}

TEST_F(KamenIntro, WithWaveSoundsOffNoNameIsSpokenButTheNarrationPlays) {
  Options o;
  o.afterStart = [] { Technic2().WaveOn = false; };
  Start(o);
  backend().PressEscape(kOpen + 550);
  MoveTo(kOpen + 5000, [](TFORM_kamen& f) { return f.btn_kamen; });
  EndAt(kOpen + 8000);
  EXPECT_TRUE(Names(SoundKind::Effect).empty());
  EXPECT_EQ(Names(SoundKind::Wave), (std::vector<std::string>{"knp_uv1.wav", "knp_uv9.wav"}));
}

TEST_F(KamenIntro, NarrowScreensHideTheTwoBottomCorners) {
  for (int width : {640, 641}) {
    Options o;
    o.screen = {width, 480};
    Start(o);
    At(kOpen + 10, [width](TFORM_kamen& f) {
      EXPECT_TRUE(f.roh_LH->Visible());
      EXPECT_TRUE(f.roh_PH->Visible());
      EXPECT_EQ(f.roh_LD->Visible(), width > 640);
      EXPECT_EQ(f.roh_PD->Visible(), width > 640);
    });
    EndAt(kOpen + 100);
  }
}

}  // namespace
}  // namespace tq::testing
