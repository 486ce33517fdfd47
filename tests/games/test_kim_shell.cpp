// The shell both memory games share, run from the games menu on the headless
// backend at exact virtual times: the introduction and its skips, the level
// buttons and their hover speech, the countdown, the clock and the close.
#include "tests/games/kim_fixture.h"

namespace tq::testing {
namespace {

struct Game {
  int tile;
  const char* intro;
  const char* music;
  TKimShell* (*form)();
};
const Game kGames[] = {
    {1, "k1_uvod.wav", "kim1.mid", [] { return static_cast<TKimShell*>(form_kim1); }},
    {3, "k2_uvod.wav", "kim2.mid", [] { return static_cast<TKimShell*>(form_kim2); }},
};

class KimShellRun : public KimRun {
 protected:
  // The end of the introduction when nothing skips it.
  static int64_t IntroEnd(const Game& g) { return kIntroAt + WaveMs(std::string("zvuky/") + g.intro); }
};

TEST_F(KimShellRun, TheIntroductionSpeaksThenTheLevelButtonsBlinkAndTheMusicStarts) {
  for (const Game& g : kGames) {
    Start();
    OpenGame(g.tile);
    int64_t end = IntroEnd(g);
    Check(kIntroAt - 1, [&] {
      ASSERT_NE(g.form(), nullptr);
      EXPECT_TRUE(g.form()->Modal());
      EXPECT_FALSE(g.form()->stit->Visible());
    });
    Check(kIntroAt + 1, [&] {
      TKimShell* f = g.form();
      EXPECT_TRUE(f->stit->Visible());
      EXPECT_EQ(f->WavPlayer->Mode(), mpPlaying);
      EXPECT_TRUE(f->mluvici_mys->Active());
      EXPECT_FALSE(f->btn_hra2x2->Visible());
      EXPECT_EQ(Screen->Cursor(), crDefault);
    });
    Check(end - 1, [&] { EXPECT_FALSE(g.form()->BTN_Konec->Visible()); });
    Check(end + 1, [&] {
      TKimShell* f = g.form();
      EXPECT_FALSE(f->stit->Visible());
      for (TControl* c : {static_cast<TControl*>(f->btn_hra2x2), static_cast<TControl*>(f->btn_hra3x3),
                          static_cast<TControl*>(f->btn_hra4x4), static_cast<TControl*>(f->BTN_Konec),
                          static_cast<TControl*>(f->oddeleni)})
        EXPECT_TRUE(c->Visible()) << c->Name;
      EXPECT_FALSE(f->btn_help->Visible());
      EXPECT_FALSE(f->mluvici_mys->Active());
      EXPECT_EQ(f->lbl_dobre->Caption(), "0");
      EXPECT_EQ(f->lbl_cas->Caption(), "00:00");
    });
    // The icons blink 400 ms on, 400 ms off.
    Check(end + 401, [&] { EXPECT_EQ(g.form()->btn_hra3x3->DisplayMode(), dmGlyphOnly); });
    Check(end + 801, [&] { EXPECT_EQ(g.form()->btn_hra3x3->DisplayMode(), dmTextOnly); });
    EndAt(end + 2500);
    EXPECT_EQ(StartOf(g.intro), kIntroAt) << g.intro;
    EXPECT_EQ(StartOf(g.music), end + 2000) << g.music;
    EXPECT_TRUE(backend().Dialogs().empty());
  }
}

TEST_F(KimShellRun, EscOrAClickOnTheShieldOrTheMouseEndsTheIntroductionAtOnce) {
  enum How { Esc, Shield, Mouse };
  for (const Game& g : kGames)
    for (How how : {Esc, Shield, Mouse}) {
      Start();
      OpenGame(g.tile);
      const int64_t skip = kIntroAt + 3000;
      At(skip, [&] {
        if (how == Esc) backend().PressEscape(skip);
        else if (how == Shield) backend().Click(skip, g.form()->ClientToScreen({450, 250}));
        else backend().Click(skip, Centre(g.form()->mluvici_mys));
      });
      Check(skip, [&] { EXPECT_FALSE(g.form()->btn_hra2x2->Visible()) << how; });
      Check(skip + 1, [&] {
        EXPECT_TRUE(g.form()->btn_hra2x2->Visible()) << how;
        EXPECT_TRUE(g.form()->uvodni_blikajici_ikony->Enabled()) << how;
        EXPECT_NE(g.form()->WavPlayer->Mode(), mpPlaying) << how;
      });
      EndAt(skip + 100);
    }
}

TEST_F(KimShellRun, RestingOnAButtonSpeaksItsNameOnceAfterSixTicks) {
  Start();
  OpenGame(1);
  const int64_t idle = IntroEnd(kGames[0]);
  // Timer ticks fall on whole hundreds from the form's creation at 2000 ms.
  const int64_t enter = (idle / 100 + 10) * 100 + 50;
  auto f = [] { return form_kim1; };
  At(enter, [&] { backend().MoveMouse(enter, Centre(f()->btn_hra3x3)); });
  Check(enter + 1, [&] {
    EXPECT_FALSE(f()->uvodni_blikajici_ikony->Enabled());  // touching a level button stops the blinking
    EXPECT_EQ(f()->btn_hra2x2->DisplayMode(), dmGlyphOnly);
  });
  // Leaving the end button before its sixth tick says nothing.
  const int64_t second = enter + 3000;
  At(second, [&] { backend().MoveMouse(second, Centre(f()->BTN_Konec)); });
  At(second + 400, [&] { backend().MoveMouse(second + 400, f()->ClientToScreen({500, 440})); });
  // The help button is not shown before a round; the end button spoken after a full rest.
  const int64_t third = enter + 6000;
  At(third, [&] { backend().MoveMouse(third, Centre(f()->BTN_Konec)); });
  EndAt(enter + 9000);
  EXPECT_EQ(StartOf("k1_med.WAV"), enter + 550);
  EXPECT_EQ(StartOf("iko_kon.WAV"), third + 550);
  EXPECT_EQ(Effects(idle), (std::vector<std::string>{"k1_med.WAV", "iko_kon.WAV"}));
}

TEST_F(KimShellRun, WithoutWaveSoundsNoNameIsSpokenButTheNarrationStillPlays) {
  Start();
  At(100, [] { Technic2().WaveOn = false; });
  OpenGame(1);
  const int64_t idle = IntroEnd(kGames[0]);
  At(idle + 150, [&] { backend().MoveMouse(idle + 150, Centre(form_kim1->btn_hra2x2)); });
  EndAt(idle + 3000);
  EXPECT_EQ(StartOf("k1_uvod.wav"), kIntroAt);
  EXPECT_TRUE(Effects(idle).empty());
}

TEST_F(KimShellRun, CornerPicturesHideOnScreensUpTo640PixelsWide) {
  for (int width : {640, 641}) {
    Start({}, {}, true, {width, 480});
    OpenGame(1);
    Check(kIntroAt, [&] {
      for (TImage* corner : {form_kim1->roh_LH, form_kim1->roh_PH, form_kim1->roh_LD, form_kim1->roh_PD})
        EXPECT_EQ(corner->Visible(), width > 640) << width << " " << corner->Name;
    });
    EndAt(kIntroAt + 1);
  }
}

}  // namespace
}  // namespace tq::testing

namespace tq::testing {
namespace {

int PlayingNow(HeadlessBackend& b) {
  HeadlessAudio* a = AsHeadlessAudio(b.Audio());
  return a ? a->PlayingCount() : 0;
}

// The end button is hidden while these waits run; its handler stands in for any close request.
TEST_F(KimShellRun, AClosingCountdownStopsAtItsNextTickAndANarrationPlaysToItsEnd) {
  struct Case {
    int tile;
    int64_t closeAt;   // when the close is asked for
    int64_t closedBy;  // when the form is gone at the latest
  } cases[] = {
      {1, 3000 + 5050, 3000 + 5900 + 100},  // in the countdown of a 2x2 round started at 3000
      {3, 3000 + 5050, 3000 + 5900 + 100},
      {1, kIntroAt + 1000, kIntroAt + WaveMs("zvuky/k1_uvod.wav") + 100},  // in the introduction
  };
  for (const auto& c : cases) {
    Start();
    OpenGame(c.tile);
    bool inRound = c.closeAt > 3000;
    if (inRound) {
      backend().PressEscape(kIntroAt + 100);
      ClickAt(3000, [&] {
        TKimShell* f = c.tile == 1 ? static_cast<TKimShell*>(form_kim1) : form_kim2;
        return static_cast<TControl*>(f->btn_hra2x2);
      });
    }
    At(c.closeAt, [&] {
      TKimShell* f = c.tile == 1 ? static_cast<TKimShell*>(form_kim1) : form_kim2;
      f->BTN_KonecClick(nullptr);
    });
    Check(c.closedBy, [&] {
      EXPECT_EQ(c.tile == 1 ? static_cast<TKimShell*>(form_kim1) : form_kim2, nullptr) << c.closeAt;
      EXPECT_TRUE(FORM_Menu->postupne_vykresleni->Enabled() || FORM_Menu->AVI_obr1->Visible());
      EXPECT_EQ(PlayingNow(backend()), 1) << "only the menu's music";
    });
    RunUntilMenuBack(c.closedBy + 100);
    EXPECT_TRUE(backend().Dialogs().empty());
  }
}

// What a form opened again keeps: the unit's state outlives the form, and the
// introduction resets the rest.
TEST_F(KimShellRun, AFormOpenedAgainKeepsTheUnitStateAndStartsAFreshIntroduction) {
  Start();
  OpenGame(1);
  backend().PressEscape(kIntroAt + 100);
  ClickAt(3000, [] { return static_cast<TControl*>(form_kim1->btn_hra4x4); });
  const int64_t S = 3000 + 900 + 45000;
  ClickAt(S + 1000, [] { return static_cast<TControl*>(form_kim1->BTN_Konec); });
  const int64_t again = S + 3000;
  OpenGame(1, again);
  Check(again + 1, [&] {
    EXPECT_EQ(Kim1Unit().GridSize, 4);
    EXPECT_TRUE(Kim1Unit().GameRunning);  // until the introduction clears it
    EXPECT_FALSE(Kim1Unit().Closing);
    EXPECT_EQ(Kim1Unit().TargetPos, 0);
    EXPECT_FALSE(form_kim1->btn_hra2x2->Visible());
  });
  backend().PressEscape(again + 600);
  Check(again + 601, [&] {
    EXPECT_FALSE(Kim1Unit().GameRunning);
    EXPECT_FALSE(Kim1Unit().RoundBusy);
    EXPECT_EQ(form_kim1->lbl_dobre->Caption(), "0");
  });
  ClickAt(again + 1000, [] { return static_cast<TControl*>(form_kim1->btn_hra2x2); });
  Check(again + 1000 + 15900 + 1, [&] { EXPECT_TRUE(Kim1Unit().GameRunning); });
  EndAt(again + 20000);
}

TEST_F(KimShellRun, TheClockCountsMinutesAndSecondsAndGrowsPastNinetyNineMinutes) {
  Start();
  OpenGame(1);
  backend().PressEscape(kIntroAt + 100);
  ClickAt(3000, [] { return static_cast<TControl*>(form_kim1->btn_hra2x2); });
  const int64_t S = 3000 + 15900;
  Check(S + 60001, [] { EXPECT_EQ(form_kim1->lbl_cas->Caption(), "01:00"); });
  At(S + 60002, [] { Kim1Unit().ElapsedSeconds = 5999; });
  Check(S + 61001, [] { EXPECT_EQ(form_kim1->lbl_cas->Caption(), "100:00"); });
  EndAt(S + 61100);
}

}  // namespace
}  // namespace tq::testing
