// The first memory game on the headless backend: whole rounds on each grid, the
// verdicts and their timings, help, the refusals while a target is being shown,
// and a card face that fails to load.
#include <algorithm>

#include "tests/games/kim_fixture.h"

namespace tq::testing {
namespace {

class Kim1Run : public KimRun {
 protected:
  // Opens the game and cuts its introduction short at 2600 ms.
  void OpenAndSkip() {
    Start();
    OpenGame(1);
    backend().PressEscape(kIntroAt + 100);
  }
  static Tform_kim1& F() { return *form_kim1; }
  void ClickCard(int64_t ms, int c, int r) {
    ClickAt(ms, [c, r] { return static_cast<TControl*>(form_kim1->Card(c, r)); });
  }
  void ClickLevel(int64_t ms, int n) {
    ClickAt(ms, [n] {
      return static_cast<TControl*>(n == 2 ? form_kim1->btn_hra2x2 : n == 3 ? form_kim1->btn_hra3x3 : form_kim1->btn_hra4x4);
    });
  }
  // The card that hides the picture asked for now.
  static std::pair<int, int> TargetCard() {
    const Kim1State& u = Kim1Unit();
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r)
        if (u.GridNames[c][r] == u.ShuffledNames[u.TargetPos]) return {c, r};
    return {0, 0};
  }
  std::vector<Heard> EffectsWithTimes(int64_t from) const {
    std::vector<Heard> out;
    for (const auto& h : Sounds())
      if (h.kind == SoundKind::Effect && h.at >= from) out.push_back(h);
    return out;
  }
};

// The form is made at 2000 ms, when it seeds the generator: seed 2000 gives the
// pictures 16, 8, 19, 18 on kim_11, kim_12, kim_21, kim_22 and asks for 16, 19, 18, 8.
TEST_F(Kim1Run, ASeededTwoByTwoRoundWithRightAndWrongClicks) {
  OpenAndSkip();
  const int64_t T = 3000;
  ClickLevel(T, 2);
  Check(T + 1, [&] {
    EXPECT_TRUE(Kim1Unit().RoundBusy);
    EXPECT_TRUE(F().stit->Visible());
    EXPECT_EQ(F().stit->Height(), 479);
    EXPECT_FALSE(F().btn_hra2x2->Visible());
    EXPECT_FALSE(F().BTN_Konec->Visible());
    EXPECT_FALSE(F().panel_vzor->Visible());
    EXPECT_EQ(F().lbl_cas->Caption(), "15");
    struct Card {
      int c, r, left, top;
      const char* picture;
    } cards[] = {{1, 1, 62, 42, "16"}, {1, 2, 62, 244, "8"}, {2, 1, 261, 42, "19"}, {2, 2, 261, 244, "18"}};
    for (const auto& k : cards) {
      TImage* card = F().Card(k.c, k.r);
      EXPECT_TRUE(card->Visible()) << card->Name;
      EXPECT_EQ(card->BoundsRect(), Rect::FromSize(k.left, k.top, 125, 125)) << card->Name;
      EXPECT_TRUE(SamePicture(card->Picture(), *DataPicture(std::string("obrazky/k_") + k.picture + ".bmp")))
          << card->Name;
    }
    EXPECT_FALSE(F().kim_13->Visible());
    EXPECT_FALSE(F().kim_33->Visible());
    const std::string targets[] = {"16", "19", "18", "8"};
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(Kim1Unit().ShuffledNames[i], targets[i - 1]);
  });
  // The countdown: one frame a second from 14 down.
  Check(T + 1901, [&] {
    EXPECT_EQ(F().lbl_cas->Caption(), "14");
    EXPECT_TRUE(SamePicture(F().img_time->Picture(), dynamic_cast<TImage*>(F().FindComponent("Image14"))->Picture()));
  });
  Check(T + 15899, [&] { EXPECT_EQ(F().lbl_cas->Caption(), "1"); });
  const int64_t S = T + 15900;  // the search begins
  Check(S + 1, [&] {
    EXPECT_FALSE(Kim1Unit().RoundBusy);
    EXPECT_TRUE(Kim1Unit().GameRunning);
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r)
        EXPECT_TRUE(SamePicture(F().Card(c, r)->Picture(), F().img_rub->Picture())) << c << r;  // hidden ones too
    EXPECT_TRUE(F().vzor->Visible());
    EXPECT_TRUE(SamePicture(F().vzor->Picture(), *DataPicture("obrazky/k_16.bmp")));
    EXPECT_FALSE(F().btn_hra2x2->Enabled());
    EXPECT_TRUE(F().btn_hra3x3->Enabled());
    EXPECT_TRUE(F().btn_help->Visible());
    EXPECT_FALSE(F().lbl_cas->Visible() && F().lbl_cas->Caption() != "");
  });
  Check(S + 1001, [&] {
    EXPECT_EQ(F().lbl_cas->Caption(), "00:01");
    EXPECT_EQ(F().panel_vzor->Color(), TColor(0x1EC81E));
  });
  Check(S + 2001, [&] { EXPECT_EQ(F().panel_vzor->Color(), TColor(0x00FF00)); });
  // A wrong card: face up 0.6 s, named after 1.1 s more, turned back 1.6 s later.
  const int64_t W = S + 2050;
  ClickCard(W, 1, 2);
  Check(W + 1, [&] { EXPECT_TRUE(SamePicture(F().kim_12->Picture(), *DataPicture("obrazky/k_8.bmp"))); });
  Check(W + 601, [&] { EXPECT_EQ(F().lbl_spatne->Caption(), "1"); });
  Check(W + 1701, [&] {
    EXPECT_TRUE(F().stit->Visible());
    EXPECT_EQ(F().stit->Height(), 430);
  });
  Check(W + 3299, [&] { EXPECT_FALSE(SamePicture(F().kim_12->Picture(), F().img_rub->Picture())); });
  Check(W + 3301, [&] {
    EXPECT_TRUE(SamePicture(F().kim_12->Picture(), F().img_rub->Picture()));
    EXPECT_EQ(F().kim_12->Cursor(), 7);
    EXPECT_EQ(Kim1Unit().TargetPos, 1);
  });
  // Four right cards in the order asked for; help names the target again; a found card counts nothing.
  const int64_t R1 = W + 3500, R2 = R1 + 5000, R3 = R2 + 5000, R4 = R3 + 5000;
  ClickCard(R1, 1, 1);
  ClickAt(R1 + 4900, [] { return static_cast<TControl*>(form_kim1->btn_help); });
  ClickCard(R1 + 4950, 1, 1);
  ClickCard(R2, 2, 1);
  ClickCard(R3, 2, 2);
  ClickCard(R4, 1, 2);
  Check(R4 + 8399, [&] { EXPECT_FALSE(F().uvodni_blikajici_ikony->Enabled()); });
  Check(R4 + 8401, [&] {
    EXPECT_TRUE(F().uvodni_blikajici_ikony->Enabled());
    EXPECT_FALSE(Kim1Unit().GameRunning);
    EXPECT_EQ(Kim1Unit().TargetPos, 5);
    EXPECT_EQ(F().lbl_dobre->Caption(), "4");
    EXPECT_EQ(F().lbl_spatne->Caption(), "1");
    EXPECT_FALSE(F().vzor->Visible());
    EXPECT_EQ(F().kim_11->Cursor(), crArrow);
  });
  ClickAt(R4 + 9000, [] { return static_cast<TControl*>(form_kim1->btn_help); });
  EndAt(R4 + 9500);

  const std::vector<Heard> expected = {
      {"kim_go.wav", SoundKind::Effect, T},        {"k1_ukol.wav", SoundKind::Effect, T + 900},
      {"k_z16.WAV", SoundKind::Effect, S},         {"kim_otoc.wav", SoundKind::Effect, W},
      {"kim_bad.wav", SoundKind::Effect, W + 600}, {"k_bad16.WAV", SoundKind::Effect, W + 1700},
      {"kim_otoc.wav", SoundKind::Effect, R1},     {"kim_ok.wav", SoundKind::Effect, R1 + 600},
      {"k_ok16.WAV", SoundKind::Effect, R1 + 1700}, {"k_z19.WAV", SoundKind::Effect, R1 + 4800},
      {"k_z19.WAV", SoundKind::Effect, R1 + 4900}, {"kim_otoc.wav", SoundKind::Effect, R2},
      {"kim_ok.wav", SoundKind::Effect, R2 + 600}, {"k_ok19.WAV", SoundKind::Effect, R2 + 1700},
      {"k_z18.WAV", SoundKind::Effect, R2 + 4800}, {"kim_otoc.wav", SoundKind::Effect, R3},
      {"kim_ok.wav", SoundKind::Effect, R3 + 600}, {"k_ok18.WAV", SoundKind::Effect, R3 + 1700},
      {"k_z8.WAV", SoundKind::Effect, R3 + 4800},  {"kim_otoc.wav", SoundKind::Effect, R4},
      {"kim_ok.wav", SoundKind::Effect, R4 + 600}, {"k_ok8.WAV", SoundKind::Effect, R4 + 1700},
      {"kim_brav.WAV", SoundKind::Effect, R4 + 4800}, {"k1_end.WAV", SoundKind::Effect, R4 + 6300},
      {"k1_help.WAV", SoundKind::Effect, R4 + 9000},
  };
  auto heard = EffectsWithTimes(T);
  EXPECT_EQ(heard.size(), expected.size());
  for (size_t i = 0; i < std::min(heard.size(), expected.size()); ++i)
    EXPECT_EQ(heard[i].name + "@" + std::to_string(heard[i].at), expected[i].name + "@" + std::to_string(expected[i].at))
        << i;
  EXPECT_TRUE(backend().Dialogs().empty());
}

}  // namespace
}  // namespace tq::testing

namespace tq::testing {
namespace {

TEST_F(Kim1Run, EveryPictureOfTheGridIsAskedForOnceAndTheRoundEndsAfterTheLast) {
  for (int n : {3, 4}) {
    OpenAndSkip();
    const int64_t T = 3000;
    ClickLevel(T, n);
    const int64_t S = T + 900 + 15000 * (n - 1);  // the countdown runs 15, 30 or 45 s
    std::vector<std::string> asked;
    for (int i = 0; i < n * n; ++i)
      ClickAt(S + 100 + 5000 * i, [&asked] {
        asked.push_back(Kim1Unit().ShuffledNames[Kim1Unit().TargetPos]);
        auto [c, r] = TargetCard();
        return static_cast<TControl*>(form_kim1 && c ? form_kim1->Card(c, r) : nullptr);
      });
    const int64_t last = S + 100 + 5000 * (n * n - 1);
    Check(S - 1, [&] { EXPECT_TRUE(Kim1Unit().RoundBusy) << n; });
    Check(S + 1, [&, n] {
      int shown = 0;
      for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 4; ++r) {
          TImage* card = F().Card(c, r);
          shown += card->Visible();
          if (c <= n && r <= n) {
            EXPECT_EQ(card->Width(), n == 4 ? 95 : 125);
          }
        }
      EXPECT_EQ(shown, n * n);
    });
    Check(last + 4799, [&] { EXPECT_TRUE(Kim1Unit().GameRunning) << n; });
    Check(last + 4801, [&] { EXPECT_FALSE(Kim1Unit().GameRunning) << n; });
    EndAt(last + 9000);
    std::vector<std::string> grid;
    for (int c = 1; c <= n; ++c)
      for (int r = 1; r <= n; ++r) grid.push_back(Kim1Unit().GridNames[c][r]);
    std::sort(grid.begin(), grid.end());
    EXPECT_EQ(std::unique(grid.begin(), grid.end()), grid.end()) << "a picture twice in the grid";
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, grid) << n;
    EXPECT_EQ(Kim1Unit().GoodCount, n * n);
    EXPECT_EQ(Kim1Unit().BadCount, 0);
    EXPECT_EQ(StartOf("kim_brav.WAV", T), last + 4800);
  }
}

// During the end-of-round waits the 2x2 button refuses while the target is chosen;
// 3x3 starts its round inside those waits, and the old round's end still follows.
TEST_F(Kim1Run, TheTwoByTwoButtonRefusesWhileTheNextTargetIsChosen) {
  OpenAndSkip();
  const int64_t T = 3000, S = T + 15900;
  ClickLevel(T, 2);
  for (int i = 0; i < 4; ++i)
    ClickAt(S + 100 + 5000 * i, [] {
      auto [c, r] = TargetCard();
      return static_cast<TControl*>(form_kim1->Card(c, r));
    });
  const int64_t endWaits = S + 100 + 5000 * 3 + 4800;  // the last target found: NextTarget waits 1.5 s + 2.1 s
  Check(endWaits + 200, [&] {
    EXPECT_TRUE(Kim1Unit().TargetBusy);
    EXPECT_TRUE(F().btn_hra2x2->Visible());
  });
  ClickLevel(endWaits + 300, 2);
  ClickLevel(endWaits + 2000, 3);
  Check(endWaits + 2001, [&] {
    EXPECT_EQ(Kim1Unit().GridSize, 3);
    EXPECT_TRUE(Kim1Unit().RoundBusy);
  });
  EndAt(endWaits + 40000);
  EXPECT_EQ(Effects(endWaits + 1, endWaits + 2000), std::vector<std::string>{"k1_end.WAV"});  // no kim_go: refused
  EXPECT_EQ(StartOf("kim_go.wav", endWaits), endWaits + 2000);
  EXPECT_FALSE(Kim1Unit().TargetBusy);
}

// A card face that cannot be read when the card is turned up: the stop box, and the
// next clicks are judged again (the judge does not stay busy).
TEST_F(Kim1Run, ACardFaceThatFailsInTheJudgeLeavesTheGamePlayable) {
  OpenAndSkip();
  const int64_t T = 3000, S = T + 15900;
  ClickLevel(T, 2);
  At(S + 50, [&] { Damage("obrazky/k_8.bmp"); });  // on kim_12, not the first target
  ClickCard(S + 100, 1, 2);
  Check(S + 200, [&] { EXPECT_FALSE(Kim1Unit().ClickBusy); });
  ClickCard(S + 300, 1, 1);  // the first target, 16
  EndAt(S + 6000);
  ASSERT_EQ(backend().Dialogs().size(), 1u);
  EXPECT_EQ(Kim1Unit().GoodCount, 1);
  EXPECT_EQ(StartOf("k_ok16.WAV", S), S + 300 + 1700);
}

TEST_F(Kim1Run, EscEndsThePauseOnlyOrTheCountdownAtItsNextTick) {
  struct Case {
    int64_t esc;     // after the level click
    int64_t search;  // when the search begins, after the level click
  } cases[] = {
      {300, 15300},  // the pause: the task is spoken at once and the full countdown runs
      {5050, 5900},  // the countdown: it stops at its next tick
  };
  for (const auto& c : cases) {
    OpenAndSkip();
    const int64_t T = 3000;
    ClickLevel(T, 2);
    backend().PressEscape(T + c.esc);
    Check(T + c.search - 1, [&] { EXPECT_TRUE(Kim1Unit().RoundBusy) << c.esc; });
    Check(T + c.search + 1, [&] { EXPECT_TRUE(Kim1Unit().GameRunning) << c.esc; });
    EndAt(T + c.search + 100);
    EXPECT_EQ(StartOf("k1_ukol.wav"), c.esc < 900 ? T + c.esc : T + 900) << c.esc;
  }
}

}  // namespace
}  // namespace tq::testing
