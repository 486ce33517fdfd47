// Rounds of rock-paper-scissors on the headless backend: the shaking to claps, the
// mouse's draw, the poses, the score, the spoken verdict, the cups and the help click.
#include <gtest/gtest.h>

#include "tests/games/kamen_fixture.h"

namespace tq::testing {
namespace {

using namespace tlb;

using KamenRound = KamenRun;

TGlyphButton* ChoiceButton(TFORM_kamen& f, int sign) {
  return sign == 1 ? f.btn_kamen : sign == 2 ? f.btn_nuzky : f.btn_papir;
}
TPanel* ChoicePanel(TFORM_kamen& f, int sign) { return sign == 1 ? f.pan_kamen : sign == 2 ? f.pan_nuzky : f.pan_papir; }
const char* const kSignName[4] = {"", "1", "2", "3"};

TEST(KamenDraw, FollowsTheRuntimeGeneratorFromItsSeed) {
  // Random(29999) div 10000 + 1, seed by seed: 0 gives 0 (rock); the others were
  // worked out by hand from seed * 134775813 + 1.
  struct Case {
    uint32_t seed;
    int sign;
  } cases[] = {{0, 1}, {1, 1}, {11, 2}, {22, 3}, {12345, 2}, {4000000000u, 1}};
  for (const auto& c : cases) {
    RandSeed().seed = c.seed;
    EXPECT_EQ(DrawComputerSign(), c.sign) << c.seed;
  }
  // Each draw moves the generator on.
  RandSeed().seed = 2024;
  std::vector<int> run;
  for (int i = 0; i < 6; ++i) run.push_back(DrawComputerSign());
  EXPECT_EQ(run, (std::vector<int>{2, 1, 1, 2, 1, 1}));
  RandSeed().seed = 7;
  int counts[4] = {};
  for (int i = 0; i < 30000; ++i) ++counts[DrawComputerSign()];
  EXPECT_EQ(counts[0], 0);
  for (int s = 1; s <= 3; ++s) EXPECT_NEAR(counts[s], 10000, 400) << s;
}

// The nine pairs, one round each in one opening of the form; the rounds follow each
// other 8 s apart, each with its poses, claps, score, verdict and cups.
TEST_F(KamenRound, EachPairOfSignsPlaysAFullRound) {
  struct Case {
    int child, computer;
    int result;  // 1 the child wins, -1 the mouse wins, 0 a draw
    const char* explanation;
  } cases[] = {
      {1, 1, 0, nullptr},        {1, 2, 1, "knp_kn.wav"},  {1, 3, -1, "knp_pk.wav"},
      {2, 1, -1, "knp_kn.wav"},  {2, 2, 0, nullptr},       {2, 3, 1, "knp_np.wav"},
      {3, 1, 1, "knp_pk.wav"},   {3, 2, -1, "knp_np.wav"}, {3, 3, 0, nullptr},
  };
  Start();
  backend().PressEscape(kOpen + 550);
  int childWins = 0, mouseWins = 0;
  std::vector<int64_t> clicks;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case c = cases[i];
    const int64_t t = kOpen + 4000 + int64_t(i) * 8000;
    clicks.push_back(t);
    At(t - 1, [c](TFORM_kamen& f) {
      EXPECT_EQ(KamenUnit().PlayerChoice, 0);
      EXPECT_TRUE(f.btn_kamen->Enabled());
      RandSeed().seed = SeedFor(c.computer);
    });
    ClickAt(t, [c](TFORM_kamen& f) { return ChoiceButton(f, c.child); });
    backend().MoveMouse(t + 10, {5, 5});
    At(t + 20, [c](TFORM_kamen& f) {
      for (int s = 1; s <= 3; ++s) {
        EXPECT_FALSE(ChoiceButton(f, s)->Enabled());
        EXPECT_EQ(ChoicePanel(f, s)->Color(), s == c.child ? TColor(0x00C800) : clGreen) << s;
        EXPECT_EQ(ChoiceButton(f, s)->Cursor(), s == c.child ? crArrow : 7) << s;
      }
      EXPECT_EQ(KamenUnit().PlayerChoice, c.child);
      EXPECT_EQ(KamenUnit().KeyCode, 0);
    });
    // Fists up and down three times: rock pose, then the fist.
    struct PoseAt {
      int64_t after;
      std::string boy, mouse;
    };
    const std::string cb = kSignName[c.child], cm = kSignName[c.computer];
    const bool childWon = c.result > 0, mouseWon = c.result < 0;
    std::vector<PoseAt> poses = {
        {150, "dite_poz1", "mys_poz1"},  {500, "dite_poz4", "mys_poz4"},  {1000, "dite_poz1", "mys_poz1"},
        {1500, "dite_poz4", "mys_poz4"}, {2000, "dite_poz1", "mys_poz1"}, {2500, "dite_poz4", "mys_poz4"},
        {2799, "dite_poz4", "mys_poz4"}, {2801, "dite_poz" + cb, "mys_poz" + cm},
        {3399, "dite_poz" + cb, "mys_poz" + cm},
        {3401, "dite_poz" + cb + (childWon ? "a" : ""), "mys_poz" + cm + (mouseWon ? "a" : "")},
    };
    for (const auto& p : poses)
      At(t + p.after, [p, i](TFORM_kamen& f) {
        EXPECT_EQ(Pose(f, f.hrdina_vpravo), p.boy) << "round " << i << " +" << p.after;
        EXPECT_EQ(Pose(f, f.hrdina_vlevo), p.mouse) << "round " << i << " +" << p.after;
      });
    const int before[2] = {childWins, mouseWins};
    childWins += childWon;
    mouseWins += mouseWon;
    const int after[2] = {childWins, mouseWins};
    At(t + 4099, [before](TFORM_kamen& f) {
      EXPECT_EQ(f.lbl_dobre->Caption(), std::to_string(before[0]));
      EXPECT_EQ(f.lbl_spatne->Caption(), std::to_string(before[1]));
    });
    At(t + 4101, [after, c](TFORM_kamen& f) {
      EXPECT_EQ(f.lbl_dobre->Caption(), std::to_string(after[0]));
      EXPECT_EQ(f.lbl_spatne->Caption(), std::to_string(after[1]));
      EXPECT_EQ(KamenUnit().PlayerWon, c.result > 0);
      EXPECT_EQ(KamenUnit().ComputerWon, c.result < 0);
      EXPECT_TRUE(f.blikatko_s_poharem->Enabled());
    });
    // Seven cup ticks: the winner's cup on the even ones, the winner's score on the odd ones.
    for (int tick = 1; tick <= 7; ++tick)
      At(t + 4100 + 500 * tick + 1, [tick, c, i](TFORM_kamen& f) {
        bool even = tick % 2 == 0;
        EXPECT_EQ(f.pohar_dite->Visible(), c.result > 0 && even) << "round " << i << " tick " << tick;
        EXPECT_EQ(f.pohar_tumfik->Visible(), c.result < 0 && even) << "round " << i << " tick " << tick;
        EXPECT_EQ(f.lbl_dobre->Visible(), c.result <= 0 || !even) << "round " << i << " tick " << tick;
        EXPECT_EQ(f.lbl_spatne->Visible(), c.result >= 0 || !even) << "round " << i << " tick " << tick;
        EXPECT_EQ(f.btn_kamen->Enabled(), tick == 7);
      });
    At(t + 7601, [](TFORM_kamen& f) {
      EXPECT_EQ(KamenUnit().PlayerChoice, 0);
      for (int s = 1; s <= 3; ++s) {
        EXPECT_TRUE(ChoiceButton(f, s)->Enabled());
        EXPECT_EQ(ChoicePanel(f, s)->Color(), clGreen);
        EXPECT_EQ(ChoiceButton(f, s)->Cursor(), 7);
      }
    });
  }
  EndAt(kOpen + 4000 + 9 * 8000);
  // Three claps a round, after each shake; each cuts the sound before it.
  std::vector<int64_t> claps, expectedClaps;
  for (const auto& s : Sounds(SoundKind::Effect))
    if (s.file == "tlesk.wav") {
      claps.push_back(s.at);
      EXPECT_EQ(s.flags, 1u);
    }
  for (int64_t t : clicks)
    for (int64_t d : {800, 1800, 2800}) expectedClaps.push_back(t + d);
  EXPECT_EQ(claps, expectedClaps);
  // The verdict at the speech player's first tick after the round, then the explanation.
  auto spoken = Sounds(SoundKind::Wave);
  size_t k = 2;  // knp_uv1 and knp_uv9 of the skipped introduction
  ASSERT_GE(spoken.size(), k);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    ASSERT_LT(k, spoken.size()) << i;
    EXPECT_EQ(spoken[k].file, c.result > 0 ? "knp_v1.wav" : c.result < 0 ? "knp_v2.wav" : "knp_v0.wav") << i;
    EXPECT_EQ(spoken[k].at, QueueTickAtOrAfter(clicks[i] + 4100)) << i;
    ++k;
    if (c.explanation) {
      ASSERT_LT(k, spoken.size()) << i;
      EXPECT_EQ(spoken[k].file, c.explanation) << i;
      ++k;
    }
  }
  EXPECT_EQ(k, spoken.size());
  EXPECT_EQ(KamenUnit().PlayerWins, 3);
  EXPECT_EQ(KamenUnit().ComputerWins, 3);
}

TEST_F(KamenRound, EscapeRushesTheRestOfTheRoundButEscapeBeforeARoundDoesNothing) {
  Start();
  backend().PressEscape(kOpen + 550);
  const int64_t first = kOpen + 4000, second = first + 8000;
  At(first - 1, [](TFORM_kamen&) { RandSeed().seed = SeedFor(3); });
  ClickAt(first, [](TFORM_kamen& f) { return f.btn_kamen; });
  backend().PressEscape(first + 500);
  At(first + 501, [](TFORM_kamen& f) {
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "dite_poz1");
    EXPECT_EQ(Pose(f, f.hrdina_vlevo), "mys_poz3a");
    EXPECT_EQ(f.lbl_spatne->Caption(), "1");
    EXPECT_TRUE(f.blikatko_s_poharem->Enabled());
    EXPECT_FALSE(f.btn_kamen->Enabled());
  });
  At(first + 501 + 3500, [](TFORM_kamen& f) { EXPECT_TRUE(f.btn_kamen->Enabled()); });
  backend().PressEscape(second - 500);
  At(second - 1, [](TFORM_kamen&) { RandSeed().seed = SeedFor(1); });
  ClickAt(second, [](TFORM_kamen& f) { return f.btn_nuzky; });
  At(second + 4101, [](TFORM_kamen& f) { EXPECT_EQ(f.lbl_spatne->Caption(), "2"); });
  EndAt(second + 8000);
  std::vector<int64_t> claps;
  for (const auto& s : Sounds(SoundKind::Effect))
    if (s.file == "tlesk.wav") claps.push_back(s.at);
  EXPECT_EQ(claps, (std::vector<int64_t>{first + 500, first + 500, first + 500, second + 800, second + 1800,
                                         second + 2800}));
}

// The end button in the middle of a round: no further pose or clap, the score still
// counts, and the form closes without speaking the verdict.
TEST_F(KamenRound, TheEndButtonDuringARoundClosesWithoutTheVerdict) {
  Start();
  backend().PressEscape(kOpen + 550);
  const int64_t t = kOpen + 4000;
  At(t - 1, [](TFORM_kamen&) { RandSeed().seed = SeedFor(2); });
  ClickAt(t, [](TFORM_kamen& f) { return f.btn_kamen; });
  ClickAt(t + 1000, [](TFORM_kamen& f) { return f.BTN_Konec; });
  run_->RunUntil(t + 1100);
  EXPECT_EQ(FORM_kamen, nullptr);
  EXPECT_EQ(KamenUnit().PlayerWins, 1);
  std::vector<std::string> expected{"knp_uv1.wav", "knp_uv9.wav"};
  EXPECT_EQ(Names(SoundKind::Wave), expected);
  std::vector<int64_t> claps;
  for (const auto& s : Sounds(SoundKind::Effect))
    if (s.file == "tlesk.wav") claps.push_back(s.at);
  EXPECT_EQ(claps, (std::vector<int64_t>{t + 800}));
  run_->RunUntil(t + 3000);
  EXPECT_TRUE(FORM_Menu->AVI_obr9->Visible());
}

// A choice click while the verdict is being said cuts it off; a score past nine is
// written out in full.
TEST_F(KamenRound, ANewRoundCutsTheVerdictOffAndScoresGoPastNine) {
  Start();
  backend().PressEscape(kOpen + 550);
  const int kRounds = 11;
  int64_t t = kOpen + 4000;
  for (int i = 0; i < kRounds; ++i, t += 7700) {
    At(t - 1, [i](TFORM_kamen& f) {
      RandSeed().seed = SeedFor(1);
      // From the second round on, the last round's explanation is still being said.
      if (i > 0) {
        EXPECT_TRUE(f.Speech().Speaking()) << i;
      }
    });
    ClickAt(t, [](TFORM_kamen& f) { return f.btn_papir; });  // paper wraps rock
    At(t + 1, [](TFORM_kamen& f) {
      EXPECT_FALSE(f.Speech().Speaking());
      EXPECT_EQ(f.playlist->Items().Count(), 0);
    });
  }
  At(t - 7700 + 4101, [](TFORM_kamen& f) { EXPECT_EQ(f.lbl_dobre->Caption(), "11"); });
  EndAt(t + 500);
  // Each verdict is followed by its explanation unless the next round cut it off.
  int verdicts = 0;
  for (const auto& s : Sounds(SoundKind::Wave)) verdicts += s.file == "knp_v1.wav";
  EXPECT_EQ(verdicts, kRounds);
  EXPECT_EQ(KamenUnit().PlayerWins, kRounds);
}

TEST_F(KamenRound, HelpOnTheFiguresAndScoresOnlyWhenTheQueueIsSilent) {
  Start();
  const int64_t uv9 = kOpen + 650;
  backend().PressEscape(kOpen + 550);
  // During the introduction the shield takes the click; while speech plays nothing happens.
  ClickAt(uv9 + 100, [](TFORM_kamen& f) { return f.hrdina_vlevo; });
  const int64_t quiet = uv9 + LengthMs("knp_uv9.wav") + 300;
  MoveTo(quiet - 200, [](TFORM_kamen& f) { return f.btn_kamen; });  // stops the blinking
  ClickAt(quiet, [](TFORM_kamen& f) { return f.lbl_dvojtecka; });
  At(quiet + 1, [](TFORM_kamen& f) {
    EXPECT_TRUE(f.uvodni_blikajici_ikony->Enabled());
    EXPECT_EQ(f.playlist->Items().Count(), 1);
  });
  ClickAt(quiet + 500, [](TFORM_kamen& f) { return f.hrdina_vpravo; });  // the help is playing
  EndAt(quiet + 5000);
  EXPECT_EQ(Names(SoundKind::Wave), (std::vector<std::string>{"knp_uv1.wav", "knp_uv9.wav", "knp_help.wav"}));
  EXPECT_EQ(Sounds(SoundKind::Wave).back().at, QueueTickAtOrAfter(quiet));
}

}  // namespace
}  // namespace tq::testing
