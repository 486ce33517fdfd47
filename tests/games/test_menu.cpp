// The games menu run end to end on the headless backend, at exact virtual times.
#include <gtest/gtest.h>

#include <algorithm>

#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/core/cp1250.h"
#include "platform/core/paths.h"
#include "platform/core/registry.h"
#include "platform/core/sysutils.h"
#include "platform/graphics/graphics.h"
#include "platform/media/audio_device.h"
#include "platform/ui/message_queue.h"
#include "resources/resources.h"
#include "shared/Technic2.h"
#include "shared/pozadi.h"
#include "tests/support/program_run.h"

namespace tq {
namespace {

using namespace tlb;
using tlb::testing::HeadlessRun;
using tlb::testing::TempDir;

class MenuRun : public tlb::testing::ProgramRun {
 protected:
  void TearDown() override {
    ProgramRun::TearDown();
    SetGameFormFactory(1, nullptr);
    SetGameFormFactory(2, nullptr);
    SetGameFormFactory(3, nullptr);
  }

  // Starts the program as its main block does, up to the message loop.
  void Start(std::initializer_list<const char*> omit = {}, Size screen = {800, 600}, bool audio = true,
             std::initializer_list<const char*> damage = {}) {
    NewRun("tq2_hry", screen, audio, omit, damage);
    StartGamesProgram();
    // The message loop shows the main form first; the tests pump it themselves.
    menu_ = FORM_Menu;
    menu_->Show();
  }
  HeadlessRun& run() { return *run_; }
  TFORM_Menu& menu() { return *menu_; }
  std::vector<std::string> Spoken() { return PlayedNames(SoundKind::Effect); }
  int MusicStarts() {
    int n = 0;
    for (const auto& r : Played()) n += r.kind == SoundKind::Midi;
    return n;
  }

  TFORM_Menu* menu_ = nullptr;
};

TEST_F(MenuRun, RevealsTheTilesInStagesOnceAllClipsHaveOpened) {
  Start();
  struct Step {
    int64_t at;
    bool tile1, tile2, tile3, exit, clock;
  } steps[] = {
      {999, false, false, false, false, true},  {1000, true, false, false, false, true},
      {1199, true, false, false, false, true},  {1200, true, true, false, false, true},
      {1599, true, true, false, false, true},   {1600, true, true, true, false, true},
      {1799, true, true, true, false, true},    {1800, true, true, true, true, false},
  };
  for (const auto& s : steps) {
    run().RunUntil(s.at);
    EXPECT_EQ(menu().AVI_obr1->Visible(), s.tile1) << s.at;
    EXPECT_EQ(menu().AVI_obr2->Visible(), s.tile2) << s.at;
    EXPECT_EQ(menu().AVI_obr3->Visible(), s.tile3) << s.at;
    EXPECT_EQ(menu().AVI_obr9->Visible(), s.exit) << s.at;
    EXPECT_EQ(menu().wait_image->Visible(), s.clock) << s.at;
  }
  EXPECT_TRUE(run().backend.Dialogs().empty());
  // The music starts at the first loop tick after the reveal, and loops.
  run().RunUntil(2600);
  EXPECT_EQ(MusicStarts(), 1);
  EXPECT_EQ(menu().MIDIPlayer->Mode(), mpPlaying);
}

TEST_F(MenuRun, AMissingClipGivesOneMessageALongWaitAndNoMusic) {
  Start({"animace/h_03.avi"});
  ASSERT_EQ(run().backend.DialogTexts(), (std::vector<std::string>{Cz("Animace č. 3 nebyla nalezena!")}));
  run().RunUntil(20099);
  EXPECT_TRUE(menu().wait_image->Visible());
  EXPECT_TRUE(menu().postupne_vykresleni->Enabled() == false);
  run().RunUntil(20100);
  EXPECT_TRUE(menu().postupne_vykresleni->Enabled());
  run().RunUntil(30000);
  EXPECT_TRUE(menu().AVI_obr2->Visible());
  EXPECT_EQ(MusicStarts(), 0);
}

TEST_F(MenuRun, RestingOnATileSpeaksItsNameOnceAfterOnePointFourSeconds) {
  Start();
  run().RunUntil(2000);
  run().backend.MoveMouse(2000, Centre(menu().AVI_obr2));
  run().RunUntil(2000 + 1399);
  EXPECT_TRUE(Spoken().empty());
  EXPECT_TRUE(menu().pop2->Visible());
  run().RunUntil(2000 + 1400);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"iko_knp.WAV"}));
  // Leaving and coming back says nothing more.
  run().backend.MoveMouse(4000, {5, 5});
  run().backend.MoveMouse(4500, Centre(menu().AVI_obr2));
  run().RunUntil(8000);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"iko_knp.WAV"}));
}

TEST_F(MenuRun, TileOneThenTileTwoSpeaksEachOnce) {
  Start();
  run().backend.MoveMouse(2000, Centre(menu().AVI_obr1));
  // Straight from tile 1 to tile 2, the exit of tile 1 comes after the enter of tile 2 and
  // clears the hovered tile; the next move over tile 2 sets it again.
  run().backend.MoveMouse(4000, Centre(menu().AVI_obr2));
  Point onTile2 = Centre(menu().AVI_obr2);
  run().backend.MoveMouse(4020, {onTile2.x + 3, onTile2.y});
  run().RunUntil(7000);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"iko_kim1.WAV", "iko_knp.WAV"}));
}

TEST_F(MenuRun, HoveredTileAnimatesAndShowsItsCaption) {
  Start();
  run().backend.MoveMouse(2000, Centre(menu().AVI_obr1));
  run().RunUntil(2100);
  EXPECT_TRUE(menu().AVI_obr1->Active());
  EXPECT_TRUE(menu().pop1->Visible());
  EXPECT_FALSE(menu().pop2->Visible());
  // The hand over what is clickable, the registered arrow elsewhere.
  EXPECT_EQ(run().backend.CursorIndex(), 7);
  EXPECT_NE(Screen->CursorImageAt(7), nullptr);
  run().backend.MoveMouse(2200, menu().ClientToScreen({150, 200}));
  run().RunUntil(2300);
  EXPECT_EQ(run().backend.CursorIndex(), crArrow);
  EXPECT_NE(Screen->CursorImageAt(crArrow), nullptr);
  EXPECT_EQ(Screen->CursorImageAt(9), nullptr);  // "pastelka" is not among the resources
}

// At rest the menu sleeps through the ticks of its clip and caption timers; a
// child coming back after a minute is answered on the same beats as ever.
TEST_F(MenuRun, AfterAMinuteAtRestTheMenuSleepsAndAnswersOnItsTimersBeats) {
  Start();
  const int sleeps = run().SleepsBetween(10000, 60000);
  // The music timer's 100 ticks and the song's ends, not the 5,000 ticks of the clip timer.
  EXPECT_LT(sleeps, 150);
  run().backend.MoveMouse(61237, Centre(menu().AVI_obr2));
  run().RunUntil(61239);
  EXPECT_FALSE(menu().AVI_obr2->Active());
  run().RunUntil(61240);
  EXPECT_TRUE(menu().AVI_obr2->Active());
  run().RunUntil(61299);
  EXPECT_FALSE(menu().pop2->Visible());
  run().RunUntil(61300);
  EXPECT_TRUE(menu().pop2->Visible());
  run().RunUntil(63000);
  auto played = Played();
  ASSERT_FALSE(played.empty());
  EXPECT_EQ(played.back().file.substr(played.back().file.rfind('\\') + 1), "iko_knp.WAV");
  EXPECT_EQ(played.back().startMs, 62600);
}

TEST_F(MenuRun, WithoutAWaveDeviceThereIsNoSpeechAndNoMusicButTheTilesWork) {
  Start({}, {800, 600}, false);
  run().backend.MoveMouse(2000, Centre(menu().AVI_obr2));
  run().RunUntil(6000);
  EXPECT_TRUE(Played().empty());
  EXPECT_TRUE(menu().AVI_obr2->Visible());
  EXPECT_TRUE(menu().pop2->Visible());
}

TEST_F(MenuRun, EscapeWhileTheClockShowsEndsTheProgramAtOnce) {
  Start();
  run().backend.PressEscape(300);
  run().RunUntil(1000);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(menu().wait_image->Visible());
}

TEST_F(MenuRun, F12TwiceRunsOneCreditsCycle) {
  Start();
  run().backend.KeyDown(2000, 123);
  run().backend.KeyDown(3000, 123);
  run().RunUntil(4999);
  EXPECT_FALSE(menu().Labeleggs2->Visible());
  run().RunUntil(5000);
  EXPECT_TRUE(menu().Labeleggs1->Visible());
  EXPECT_EQ(menu().Labeleggs2->Caption(), CreditsLine(1));
  run().RunUntil(8000);
  EXPECT_EQ(menu().Labeleggs2->Caption(), CreditsLine(2));
  EXPECT_EQ(std::string(CreditsLine(4)).rfind(Cz("Díky pro: "), 0), 0u);
}

// Each credits line is drawn centred in its fixed-width label: one wider than the label
// shows cut on both sides.
TEST_F(MenuRun, EveryCreditsLineFitsItsLabel) {
  Start();
  Dib surface(400, 40, 32);
  TCanvas canvas;
  canvas.Attach(&surface, {0, 0}, {0, 0, 400, 40});
  canvas.Font.Assign(menu().Labeleggs2->Font());
  for (int line = 1; line <= 5; ++line)
    EXPECT_LE(canvas.TextWidth(CreditsLine(line)), menu().Labeleggs2->Width()) << line;
  canvas.Font.Assign(menu().Labeleggs1->Font());
  EXPECT_LE(canvas.TextWidth(menu().Labeleggs1->Caption()), menu().Labeleggs1->Width());
}

TEST_F(MenuRun, CornerPicturesHideOnScreensUpTo640PixelsWide) {
  for (int width : {640, 641}) {
    Start({}, {width, 480});
    EXPECT_EQ(menu().roh_LH->Visible(), width > 640) << width;
    EXPECT_EQ(menu().roh_PD->Visible(), width > 640) << width;
  }
}

TEST_F(MenuRun, ReturningFromAGameReplaysTheRevealAndRestartsTheMusic) {
  Start();
  int opened = 0;
  SetGameFormFactory(2, [&](TComponent* owner) {
    ++opened;
    auto* f = new TForm(owner);
    f->SetBounds(0, 0, 640, 480);
    f->Position = poScreenCenter;
    auto* t = new TTimer(f);
    t->SetInterval(1000);
    t->SetOnTimer([f](TObject*) { f->Close(); });
    return f;
  });
  run().RunUntil(3000);
  run().backend.Click(3000, Centre(menu().AVI_obr2));
  run().backend.At(3500, [&] {
    EXPECT_FALSE(menu().AVI_obr2->Visible());
    EXPECT_TRUE(menu().wait_image->Visible());
    EXPECT_NE(menu().MIDIPlayer->Mode(), mpPlaying);
  });
  run().RunUntil(4000 + 100);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(menu().MIDIPlayer->Mode(), mpPlaying);
  EXPECT_LT(menu().MIDIPlayer->Position(), 200);
  EXPECT_FALSE(menu().AVI_obr1->Visible());
  run().RunUntil(4000 + 1500);
  EXPECT_TRUE(menu().AVI_obr9->Visible());
}

TEST_F(MenuRun, TheMemoryTilesOpenTheirGamesAndTheEndButtonBringsTheMenuBack) {
  struct Case {
    TControl* (*tile)(TFORM_Menu&);
    const char* caption;
  } cases[] = {
      {[](TFORM_Menu& m) -> TControl* { return m.AVI_obr1; }, "Kimova hra 1"},
      {[](TFORM_Menu& m) -> TControl* { return m.AVI_obr3; }, "Kimova hra 2"},
  };
  for (const auto& c : cases) {
    Start();
    run().RunUntil(2500);
    run().backend.Click(2500, Centre(c.tile(menu())));
    std::string shown;
    // The end button shows once the introduction is over; Esc cuts it short.
    run().backend.PressEscape(3500);
    run().backend.At(3600, [&] {
      TCustomForm* game = Screen->ActiveForm();
      ASSERT_NE(game, &menu());
      shown = game->Caption();
      EXPECT_TRUE(game->Modal());
      EXPECT_FALSE(menu().AVI_obr1->Visible());
    });
    run().backend.At(3700, [&] {
      TControl* end = dynamic_cast<TControl*>(Screen->ActiveForm()->FindComponent("BTN_Konec"));
      ASSERT_NE(end, nullptr);
      run().backend.Click(3700, Centre(end));
    });
    run().RunUntil(6000);
    EXPECT_EQ(shown, c.caption);
    EXPECT_TRUE(run().backend.Dialogs().empty());
    EXPECT_TRUE(menu().AVI_obr1->Visible());
    EXPECT_EQ(menu().MIDIPlayer->Mode(), mpPlaying);
  }
}

TEST_F(MenuRun, AGameThatCannotBeMadeIsReportedAndTheMenuGoesOn) {
  Start();
  SetGameFormFactory(1, [](TComponent*) -> TCustomForm* { throw EOutOfResources("no memory for the form"); });
  run().RunUntil(2500);
  run().backend.Click(2500, Centre(menu().AVI_obr1));
  run().RunUntil(5000);
  EXPECT_EQ(run().backend.DialogTexts(),
            (std::vector<std::string>{"Nepovedlo se inicializovat nadstavbu. Malo pameti."}));
  EXPECT_TRUE(menu().AVI_obr1->Visible());
}

TEST_F(MenuRun, TheCaptionUnderTheFirstTileOpensTheSecondMemoryGame) {
  Start();
  int game = 0;
  for (int g : {1, 2, 3})
    SetGameFormFactory(g, [&, g](TComponent*) -> TCustomForm* {
      game = g;
      throw EOutOfResources("test");
    });
  run().backend.MoveMouse(2500, Centre(menu().AVI_obr1));
  run().RunUntil(2700);
  ASSERT_TRUE(menu().pop1->Visible());
  run().backend.Click(2700, Centre(menu().pop1));
  run().RunUntil(3000);
  EXPECT_EQ(game, 3);
}

// Damaged or missing files of the menu: the message the menu gives for each, and the menu goes on.
TEST_F(MenuRun, BadFilesGiveTheirMessagesAndTheMenuStaysUsable) {
  struct Case {
    const char* file;
    bool damaged;  // false: the file is missing
    std::vector<std::string> messages;
    bool music;
  } cases[] = {
      {"animace/konec.avi", true, {Cz("Animace č. 9 nebyla nalezena!")}, false},
      {"animace/h_01.avi", false, {Cz("Animace č. 1 nebyla nalezena!")}, false},
      {"hudba/h_menu.mid", true, {"Nenalez soubor s hudbou:"}, false},
      {"hudba/h_menu.mid", false, {"Nenalez soubor s hudbou:"}, false},
      {"zvuky/iko_kim1.WAV", false, {}, true},
  };
  for (const auto& c : cases) {
    if (c.damaged) Start({}, {800, 600}, true, {c.file});
    else Start({c.file});
    auto texts = run().backend.DialogTexts();
    // The music message ends in the path, which differs per run.
    for (auto& t : texts)
      if (t.rfind("Nenalez soubor s hudbou:", 0) == 0) t = "Nenalez soubor s hudbou:";
    EXPECT_EQ(texts, c.messages) << c.file;
    run().RunUntil(25000);
    EXPECT_TRUE(menu().AVI_obr1->Visible()) << c.file;
    EXPECT_EQ(MusicStarts() > 0, c.music) << c.file;
  }
}

TEST(GamesProgram, RunsToTheEndAndCountsTheLaunch) {
  if (!tlb::testing::HaveSampleData()) GTEST_SKIP() << "no sample data set";
  TempDir dir;
  auto data = tlb::testing::MakeDataCopy(dir);
  HeadlessRun run;
  SetParamStr0ForTest((data / "tq2_hry").string());
  run.backend.PressEscape(2500);
  RunGamesProgram();
  SetParamStr0ForTest("");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", false));
  EXPECT_EQ(reg.ReadInteger("Hry_starty"), 1);
  EXPECT_EQ(run.backend.Title(), "Hry - hlavní menu");  // the window title is UTF-8
}

}  // namespace
}  // namespace tq
