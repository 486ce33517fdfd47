// The songs menu run end to end on the headless backend, at exact virtual times.
#include <algorithm>

#include "platform/core/cp1250.h"
#include "platform/graphics/graphics.h"
#include "platform/core/registry.h"
#include "tests/songs/songs_run.h"

namespace tq::songs::testing {
namespace {

using namespace tlb;

using MenuRun = SongsRun;

TEST_F(MenuRun, RevealsTheFiveTilesInStagesAndThenStartsTheMusic) {
  Start();
  // The load timer's 6th tick (0.6 s) starts the reveal; its ticks come every 200 ms.
  struct Step {
    int64_t at;
    bool tile1, tile2, tile3, tile4, exit, clock;
  } steps[] = {
      {999, false, false, false, false, false, true}, {1000, true, false, false, false, false, true},
      {1200, true, true, false, false, false, true},  {1599, true, true, false, false, false, true},
      {1600, true, true, true, false, false, true},   {1799, true, true, true, false, false, true},
      {1800, true, true, true, true, false, true},    {1999, true, true, true, true, false, true},
      {2000, true, true, true, true, true, false},
  };
  for (const auto& s : steps) {
    run().RunUntil(s.at);
    EXPECT_EQ(menu().AVI_obr1->Visible(), s.tile1) << s.at;
    EXPECT_EQ(menu().AVI_obr2->Visible(), s.tile2) << s.at;
    EXPECT_EQ(menu().AVI_obr3->Visible(), s.tile3) << s.at;
    EXPECT_EQ(menu().AVI_obr4->Visible(), s.tile4) << s.at;
    EXPECT_EQ(menu().AVI_obr9->Visible(), s.exit) << s.at;
    EXPECT_EQ(menu().wait_image->Visible(), s.clock) << s.at;
  }
  // The 8th tick (2.2 s) stops the reveal.
  run().RunUntil(2199);
  EXPECT_TRUE(menu().postupne_vykresleni->Enabled());
  run().RunUntil(2200);
  EXPECT_FALSE(menu().postupne_vykresleni->Enabled());
  // The music loop plays once every clip is open and no reveal runs: its first tick (0.5 s)
  // comes before the load wait has started the reveal, as in the games menu.
  std::vector<SoundRecord> music;
  for (const auto& r : Played())
    if (r.kind == SoundKind::Midi) music.push_back(r);
  ASSERT_EQ(music.size(), 1u);
  EXPECT_EQ(ExtractFileName(music[0].file), "z_menu.mid");
  EXPECT_EQ(music[0].startMs, 500);
  EXPECT_TRUE(run().backend.Dialogs().empty());
  EXPECT_EQ(run().backend.Title(), "Trilanky - hlavní menu");
}

TEST_F(MenuRun, EachSongTileShowsItsOwnLabelAndSpeaksItsName) {
  Start();
  run().RunUntil(2500);
  TAVI_orvo1* tiles[] = {menu().AVI_obr1, menu().AVI_obr2, menu().AVI_obr3, menu().AVI_obr4};
  TLabel* labels[] = {menu().pop1, menu().pop2, menu().pop3, menu().pop4};
  int64_t t = 2500;
  for (int k = 0; k < 4; ++k, t += 2000) {
    // Straight from one tile to the next, the old tile's exit comes after the new one's
    // enter and clears the hovered tile; the next move over the new tile sets it again.
    run().backend.MoveMouse(t, Centre(tiles[k]));
    run().backend.MoveMouse(t + 20, {Centre(tiles[k]).x + 2, Centre(tiles[k]).y});
    run().RunUntil(t + 200);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(labels[j]->Visible(), j == k) << k << " " << j;
    EXPECT_TRUE(tiles[k]->Active()) << k;
  }
  run().RunUntil(t);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"iko_z1.WAV", "iko_z2.WAV", "iko_z3.WAV", "iko_z4.WAV"}));
  // The exit tile shows no label.
  run().backend.MoveMouse(t, Centre(menu().AVI_obr9));
  run().backend.MoveMouse(t + 20, {Centre(menu().AVI_obr9).x + 2, Centre(menu().AVI_obr9).y});
  run().RunUntil(t + 1500);
  for (TLabel* l : labels) EXPECT_FALSE(l->Visible());
  EXPECT_EQ(Spoken().back(), "iko_kon.WAV");
}

TEST_F(MenuRun, ARestOfOnePointThreeSecondsSaysNothingAndOnePointFourSpeaksOnce) {
  Start();
  run().RunUntil(2500);
  Point onTile3 = Centre(menu().AVI_obr3);
  run().backend.MoveMouse(2500, onTile3);
  run().backend.MoveMouse(3800, {5, 5});
  run().RunUntil(5000);
  EXPECT_TRUE(Spoken().empty());
  run().backend.MoveMouse(5000, onTile3);
  run().RunUntil(6400);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"iko_z3.WAV"}));
  // Resting there again, after leaving, says nothing more.
  run().backend.MoveMouse(7000, {5, 5});
  run().backend.MoveMouse(7200, onTile3);
  run().RunUntil(10000);
  EXPECT_EQ(Spoken(), (std::vector<std::string>{"iko_z3.WAV"}));
}

TEST_F(MenuRun, ATileLeftFinishesItsClipAndStaysStill) {
  Start();
  run().RunUntil(2500);
  run().backend.MoveMouse(2500, Centre(menu().AVI_obr3));
  run().backend.MoveMouse(3000, Centre(menu().AVI_obr4));
  run().backend.MoveMouse(3020, {Centre(menu().AVI_obr4).x + 2, Centre(menu().AVI_obr4).y});
  run().backend.MoveMouse(3500, Centre(menu().AVI_obr9));
  run().backend.MoveMouse(3520, {Centre(menu().AVI_obr9).x + 2, Centre(menu().AVI_obr9).y});
  run().RunUntil(8000);
  EXPECT_FALSE(menu().AVI_obr3->Active());
  EXPECT_FALSE(menu().AVI_obr4->Active());
  EXPECT_TRUE(menu().AVI_obr9->Active());
  EXPECT_EQ(MenuUnit().HoveredTile, 9);
}

// A click on a song's tile or on its name label opens the singing form for that song;
// the end button brings the menu back, which replays its reveal and restarts its music.
TEST_F(MenuRun, TilesAndLabelsOpenTheirSongAndTheMenuComesBack) {
  Start();
  run().RunUntil(3000);
  struct Open {
    bool label;
    int song;
  } opens[] = {{false, 1}, {false, 2}, {false, 3}, {false, 4}, {true, 1}, {true, 2}, {true, 3}, {true, 4}};
  TAVI_orvo1* tiles[] = {menu().AVI_obr1, menu().AVI_obr2, menu().AVI_obr3, menu().AVI_obr4};
  TLabel* labels[] = {menu().pop1, menu().pop2, menu().pop3, menu().pop4};
  int64_t t = 3000;
  for (const Open& o : opens) {
    TAVI_orvo1* tile = tiles[o.song - 1];
    run().backend.MoveMouse(t, Centre(tile));
    t += 300;
    run().RunUntil(t);
    ASSERT_TRUE(labels[o.song - 1]->Visible());
    bool checked = false;
    run().backend.Click(t, Centre(o.label ? static_cast<TControl*>(labels[o.song - 1]) : tile));
    run().backend.At(t + 500, [&, song = o.song] {
      checked = true;
      EXPECT_TRUE(singing().Visible());
      EXPECT_EQ(SingingUnit().ChosenSong, song);
      EXPECT_EQ(SingingUnit().CurrentSong, song);
      EXPECT_FALSE(tile->Visible());
      EXPECT_TRUE(menu().wait_image->Visible());
      EXPECT_NE(menu().MIDIPlayer->Mode(), mpPlaying);
    });
    ClickEndButton(t + 1000);
    run().RunUntil(t + 1100);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(singing().Visible());
    // Back: the music at once from its beginning, the tiles again by the reveal table.
    EXPECT_EQ(menu().MIDIPlayer->Mode(), mpPlaying);
    EXPECT_LT(menu().MIDIPlayer->Position(), 200);
    EXPECT_FALSE(menu().AVI_obr9->Visible());
    t += 3000;
    run().RunUntil(t);
    EXPECT_TRUE(menu().AVI_obr9->Visible());
    EXPECT_TRUE(tile->Visible());
  }
  EXPECT_EQ(PlayedNames(SoundKind::Wave),
            (std::vector<std::string>{"pis1.wav", "pis2.wav", "pis3.wav", "pis4.wav", "pis1.wav", "pis2.wav",
                                      "pis3.wav", "pis4.wav"}));
  EXPECT_TRUE(run().backend.Dialogs().empty());
}

TEST_F(MenuRun, AfterASongTheLastSpokenTileIsSpokenAgain) {
  Start();
  run().RunUntil(2500);
  run().backend.MoveMouse(2500, Centre(menu().AVI_obr2));
  run().RunUntil(4000);
  ASSERT_EQ(Spoken(), (std::vector<std::string>{"iko_z2.WAV"}));
  run().backend.Click(4000, Centre(menu().AVI_obr2));
  ClickEndButton(5000);
  run().RunUntil(8000);
  run().backend.MoveMouse(8000, Centre(menu().AVI_obr2));
  run().RunUntil(9500);
  // (The singing form's end button, under the pointer when it was clicked, is also named
  // once the form has gone: its hover state outlives the hide.)
  auto spoken = Spoken();
  EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "iko_z2.WAV"), 2);
  EXPECT_EQ(spoken.back(), "iko_z2.WAV");
}

TEST_F(MenuRun, EscapeOrADoubleClickOnTheClockQuitsWhileLoading) {
  for (bool escape : {true, false}) {
    Start();
    if (escape) run().backend.PressEscape(300);
    else {
      run().backend.Click(300, Centre(menu().wait_image));
      run().backend.At(320, [&] { run().backend.Click(320, Centre(menu().wait_image)); });
    }
    run().RunUntil(1000);
    EXPECT_TRUE(Application->Terminated()) << escape;
  }
}

TEST_F(MenuRun, F12ShowsTheCreditsEveryThreeSecondsAndEachFitsItsLabel) {
  Start();
  run().backend.KeyDown(2000, 123);
  run().backend.KeyDown(3000, 123);
  run().RunUntil(4999);
  EXPECT_FALSE(menu().Labeleggs2->Visible());
  run().RunUntil(5000);
  EXPECT_TRUE(menu().Labeleggs1->Visible());
  EXPECT_EQ(menu().Labeleggs1->Caption(), "Trilanky - Tulimbo");
  EXPECT_EQ(menu().Labeleggs2->Caption(), CreditsLine(1));
  run().RunUntil(8000);
  EXPECT_EQ(menu().Labeleggs2->Caption(), CreditsLine(2));
  run().RunUntil(20000);
  EXPECT_EQ(menu().Labeleggs2->Caption(), CreditsLine(1));  // the 6th line is the first again
  EXPECT_EQ(std::string(CreditsLine(4)).rfind(Cz("Díky pro: "), 0), 0u);
  // Drawn centred in a fixed-width label, a wider line would show cut on both sides.
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
    for (TImage* corner : {menu().roh_LH, menu().roh_PH, menu().roh_PD, menu().roh_LD})
      EXPECT_EQ(corner->Visible(), width > 640) << width;
    EXPECT_EQ(singing().Image1->Visible(), width > 640) << width;
    EXPECT_EQ(singing().Image2->Visible(), width > 640) << width;
  }
}

TEST_F(MenuRun, WithoutAWaveDeviceNoMusicIsOpenedAndNothingIsSaid) {
  Start({}, {800, 600}, false);
  run().backend.MoveMouse(2500, Centre(menu().AVI_obr1));
  run().RunUntil(6000);
  EXPECT_TRUE(Played().empty());
  EXPECT_TRUE(run().backend.Dialogs().empty());
  EXPECT_FALSE(menu().MIDIPlayer->DeviceOpen());
  EXPECT_TRUE(menu().pop1->Visible());
}

// A missing clip: its message, the clock for 20.1 s, no music loop; after a song the
// music plays once from its start.
TEST_F(MenuRun, AMissingClipDelaysTheRevealAndTheMusicPlaysOnlyAfterASong) {
  Start({"animace/zp_03.avi"});
  ASSERT_EQ(run().backend.DialogTexts(), (std::vector<std::string>{Cz("Animace č. 3 nebyla nalezena!")}));
  run().RunUntil(20099);
  EXPECT_FALSE(menu().postupne_vykresleni->Enabled());
  run().RunUntil(20100);
  EXPECT_TRUE(menu().postupne_vykresleni->Enabled());
  run().RunUntil(22000);
  EXPECT_TRUE(menu().AVI_obr3->Visible());
  EXPECT_EQ(MusicStarts(), 0);
  run().backend.Click(22000, Centre(menu().AVI_obr3));
  ClickEndButton(23000);
  run().RunUntil(24000);
  EXPECT_EQ(MusicStarts(), 1);
  EXPECT_EQ(SingingUnit().CurrentSong, 3);
}

TEST(SongsProgram, RunsToTheEndWithoutTouchingTheRegistry) {
  if (!tlb::testing::HaveSampleData()) GTEST_SKIP() << "no sample data set";
  tlb::testing::TempDir dir;
  auto data = tlb::testing::MakeDataCopy(dir);
  tlb::testing::HeadlessRun run;
  SetParamStr0ForTest((data / "melim32").string());
  run.backend.PressEscape(2500);
  RunSongsProgram();
  SetParamStr0ForTest("");
  EXPECT_TRUE(Application->Terminated());
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", false));
}

}  // namespace
}  // namespace tq::songs::testing
