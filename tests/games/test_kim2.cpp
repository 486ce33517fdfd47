// The second memory game on the headless backend: a seeded round pinned whole
// (choice, held-back pictures, places before and after the exchanges), the verdicts,
// the wrong-click sounds in turn, and the skips by card, panel and Esc.
#include "tests/games/kim_fixture.h"

namespace tq::testing {
namespace {

class Kim2Run : public KimRun {
 protected:
  void OpenAndSkip() {
    Start();
    OpenGame(3);
    backend().PressEscape(kIntroAt + 100);
  }
  static Tform_kim2& F() { return *form_kim2; }
  void ClickCard(int64_t ms, int c, int r) {
    ClickAt(ms, [c, r] { return static_cast<TControl*>(form_kim2->Card(c, r)); });
  }
  void ClickLevel(int64_t ms, int n) {
    ClickAt(ms, [n] {
      return static_cast<TControl*>(n == 2 ? form_kim2->btn_hra2x2 : n == 3 ? form_kim2->btn_hra3x3 : form_kim2->btn_hra4x4);
    });
  }
  static std::vector<std::string> Column(int c, int n) {
    std::vector<std::string> v;
    for (int r = 1; r <= n; ++r) v.push_back(Kim2Unit().GridNames[c][r]);
    return v;
  }
  static std::vector<int> Flags(int c, int n) {
    std::vector<int> v;
    for (int r = 1; r <= n; ++r) v.push_back(Kim2Unit().GridShown[c][r]);
    return v;
  }
  // When the search of a round started at T begins, the mouse's task not skipped.
  static int64_t SearchAt(int64_t T, int n) { return T + 900 + 15000 * (n - 1) + WaveMs("zvuky/k2_ukol2.wav"); }
};

using Texts = std::vector<std::string>;
using Ints = std::vector<int>;

// The round is seeded from the clock when it starts: at 40000 ms the pictures are
// 4, 16, 17 / 12, 3, 10 / 18, 20, 8 by column, five are held back, and 2040
// exchanges leave 12, 10, 20 / 8, 17, 4 / 18, 3, 16.
TEST_F(Kim2Run, ASeededThreeByThreeRoundPinnedWhole) {
  OpenAndSkip();
  const int64_t T = 40000;
  ClickLevel(T, 3);
  Check(T + 1, [&] {
    EXPECT_EQ(Kim2Unit().RemovedCount, 5);
    EXPECT_EQ(Column(1, 3), (Texts{"4", "16", "17"}));
    EXPECT_EQ(Column(2, 3), (Texts{"12", "3", "10"}));
    EXPECT_EQ(Column(3, 3), (Texts{"18", "20", "8"}));
    EXPECT_EQ(Flags(1, 3), (Ints{1, 1, 1}));
    EXPECT_EQ(Flags(2, 3), (Ints{1, 0, 0}));
    EXPECT_EQ(Flags(3, 3), (Ints{0, 0, 0}));
    // Only the shown pictures are on the panel, in the places of the 3x3 layout.
    EXPECT_TRUE(F().podklad->Visible());
    EXPECT_TRUE(F().oddeleni2->Visible());
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) EXPECT_EQ(F().Card(c, r)->Visible(), Kim2Unit().GridShown[c][r] == 1) << c << r;
    EXPECT_EQ(F().kim_12->BoundsRect(), Rect::FromSize(66, 153, 125, 125));
    EXPECT_EQ(F().kim_33->BoundsRect(), Rect::FromSize(395, 284, 125, 125));
    EXPECT_EQ(F().kim_11->Cursor(), crArrow);
    EXPECT_TRUE(SamePicture(F().kim_13->Picture(), *DataPicture("obrazky/k_17.bmp")));
  });
  const int64_t S = SearchAt(T, 3);
  Check(S - 1, [&] {
    EXPECT_TRUE(F().stit->Visible());
    EXPECT_TRUE(F().mluvici_mys->Visible());
    EXPECT_FALSE(F().podklad->Visible());
  });
  Check(S + 1, [&] {
    EXPECT_EQ(Column(1, 3), (Texts{"12", "10", "20"}));
    EXPECT_EQ(Column(2, 3), (Texts{"8", "17", "4"}));
    EXPECT_EQ(Column(3, 3), (Texts{"18", "3", "16"}));
    EXPECT_EQ(Flags(1, 3), (Ints{1, 0, 0}));
    EXPECT_EQ(Flags(2, 3), (Ints{0, 1, 1}));
    EXPECT_EQ(Flags(3, 3), (Ints{0, 0, 1}));
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(F().Card(c, r)->Visible(), c <= 3 && r <= 3) << c << r;
        EXPECT_EQ(F().Card(c, r)->Cursor(), 7) << c << r;
      }
    EXPECT_TRUE(SamePicture(F().kim_11->Picture(), *DataPicture("obrazky/k_12.bmp")));
    EXPECT_TRUE(Kim2Unit().GameRunning);
    EXPECT_FALSE(F().btn_hra3x3->Enabled());
    EXPECT_FALSE(F().mluvici_mys->Visible());
    EXPECT_FALSE(F().uvodni_blikajici_ikony->Enabled());
  });
  // One wrong card (10 was held back), then the four seen before.
  const int64_t W = S + 500;
  ClickCard(W, 1, 2);
  Check(W + 1, [&] {
    EXPECT_TRUE(F().kim_12->Visible());
    EXPECT_EQ(F().kim_12->Cursor(), crArrow);
    EXPECT_TRUE(SamePicture(F().kim_12->Picture(), *DataPicture("obrazky/nk_10.bmp")));
    EXPECT_EQ(F().lbl_spatne->Caption(), "1");
  });
  ClickCard(W + 200, 1, 2);  // marked: only stops the sound
  const int64_t R = W + 1000;
  ClickCard(R, 1, 1);
  ClickCard(R + 500, 2, 2);
  ClickCard(R + 1000, 2, 3);
  ClickCard(R + 1500, 3, 3);
  Check(R + 1501, [&] {
    EXPECT_FALSE(F().kim_33->Visible());
    EXPECT_FALSE(Kim2Unit().GameRunning);
    EXPECT_EQ(Kim2Unit().FoundCount, 4);
    EXPECT_TRUE(SamePicture(F().kim_31->Picture(), *DataPicture("obrazky/nk_18.bmp")));
    EXPECT_FALSE(F().btn_hra2x2->Visible());
    EXPECT_TRUE(F().BTN_Konec->Visible());
  });
  const int64_t words = R + 1500 + 2100;
  const int64_t over = words + WaveMs("zvuky/k1_end.WAV");
  Check(over - 1, [&] { EXPECT_FALSE(F().uvodni_blikajici_ikony->Enabled()); });
  Check(over + 1, [&] {
    EXPECT_TRUE(F().uvodni_blikajici_ikony->Enabled());
    EXPECT_TRUE(F().btn_hra3x3->Visible());
    EXPECT_TRUE(F().mluvici_mys->Visible());  // the mouse stays until the next round
    EXPECT_EQ(F().lbl_dobre->Caption(), "4");
  });
  EndAt(over + 500);
  const std::string bad = "k2_bad" + std::to_string(Kim2Unit().BadSoundIndex) + ".WAV";
  EXPECT_EQ(StartOf("k2_ukol2.wav", T), T + 30900);
  EXPECT_EQ(StartOf("k2_help.WAV", T), S);
  EXPECT_EQ(StartOf(bad, T), W + 700);
  EXPECT_EQ(Effects(R, words + 1),
            (Texts{"kim_ok.wav", "kim_ok.wav", "kim_ok.wav", "kim_brav.WAV"}));
  EXPECT_EQ(StartOf("k1_end.wav", T), words);
  EXPECT_TRUE(backend().Dialogs().empty());
}

TEST_F(Kim2Run, WrongClickSoundsRiseByOneAndWrapFromFiveToOne) {
  OpenAndSkip();
  uint8_t first = 0;
  Check(kIntroAt + 200, [&] { first = Kim2Unit().BadSoundIndex; });
  const int64_t T = 3000;
  ClickLevel(T, 4);
  const int64_t S = SearchAt(T, 4);
  // Every held-back picture once, 1 s apart.
  for (int i = 0; i < 8; ++i)
    At(S + 100 + 1000 * i, [this, i, at = S + 100 + 1000 * i] {
      int seen = 0;
      for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 4; ++r)
          if (Kim2Unit().GridShown[c][r] == 0 && seen++ == i) backend().Click(at, Centre(form_kim2->Card(c, r)));
    });
  Check(S + 50, [&] { EXPECT_LE(Kim2Unit().RemovedCount, 8); });
  EndAt(S + 100 + 8000);
  ASSERT_GE(first, 1);
  ASSERT_LE(first, 4);
  std::vector<std::string> heard;
  for (const auto& name : Effects(S))
    if (name.rfind("k2_bad", 0) == 0) heard.push_back(name);
  ASSERT_EQ(int(heard.size()), int(Kim2Unit().RemovedCount));
  for (size_t i = 0; i < heard.size(); ++i)
    EXPECT_EQ(heard[i], "k2_bad" + std::to_string((first + i) % 5 + 1) + ".WAV") << i;
  EXPECT_EQ(Kim2Unit().BadCount, Kim2Unit().RemovedCount);
}

TEST_F(Kim2Run, ACardOrThePanelDuringTheCountdownOnlySkipsIt) {
  enum What { Card, Panel, Esc };
  for (What what : {Card, Panel, Esc}) {
    OpenAndSkip();
    const int64_t T = 3000;
    ClickLevel(T, 2);
    const int64_t skip = T + 5050;
    At(skip, [&] {
      TControl* shown = nullptr;
      for (int c = 1; c <= 2 && !shown; ++c)
        for (int r = 1; r <= 2 && !shown; ++r)
          if (F().Card(c, r)->Visible()) shown = F().Card(c, r);
      if (what == Card) backend().Click(skip, Centre(shown));
      else if (what == Panel) backend().Click(skip, F().podklad->ClientToScreen({530, 410}));
      else backend().PressEscape(skip);
    });
    const int64_t speech = T + 5900;  // the next tick of the countdown
    Check(speech - 1, [&] { EXPECT_TRUE(F().odpocet_timer->Enabled()) << what; });
    Check(speech + 1, [&] {
      EXPECT_FALSE(F().odpocet_timer->Enabled()) << what;
      EXPECT_EQ(Kim2Unit().BadCount + Kim2Unit().GoodCount, 0) << what;
    });
    // Esc during the mouse's task ends it: the search begins at once.
    backend().PressEscape(speech + 1000);
    Check(speech + 1001, [&] { EXPECT_TRUE(Kim2Unit().GameRunning) << what; });
    EndAt(speech + 1100);
    EXPECT_EQ(StartOf("k2_help.WAV", T), speech + 1000) << what;
  }
}

}  // namespace
}  // namespace tq::testing
