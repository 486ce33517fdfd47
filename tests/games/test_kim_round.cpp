// The round data both memory games draw: different pictures, the first game's
// order of targets, and the grid filled column by column, for any seed.
#include <gtest/gtest.h>

#include <algorithm>

#include "games/src/kim_round.h"
#include "platform/core/sysutils.h"

namespace tq {
namespace {

TEST(KimRound, AnySeedGivesDifferentPicturesAndAPermutationOfThemAsTargets) {
  for (int n : {2, 3, 4})
    for (uint32_t seed : {0u, 1u, 2000u, 86399999u, 0xFFFFFFFFu}) {
      tlb::RandSeed().seed = seed;
      KimRoundData d;
      ChoosePictures(d, n);
      std::string shuffled[17];
      ShuffleTargets(d, n, shuffled);
      FillGridNames(d, n);
      std::vector<int> chosen;
      for (int i = 1; i <= n * n; ++i) chosen.push_back(tlb::StrToInt(d.PictureNames[i]));
      std::vector<int> sorted = chosen;
      std::sort(sorted.begin(), sorted.end());
      EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << n << " " << seed;
      EXPECT_GE(sorted.front(), 1);
      EXPECT_LE(sorted.back(), 20);
      EXPECT_EQ(std::count(std::begin(d.PictureUsed), std::end(d.PictureUsed), 1), n * n);
      std::vector<std::string> a(d.PictureNames + 1, d.PictureNames + 1 + n * n), b(shuffled + 1, shuffled + 1 + n * n);
      std::sort(a.begin(), a.end());
      std::sort(b.begin(), b.end());
      EXPECT_EQ(a, b) << n << " " << seed;
      // Column by column in the order of choice.
      EXPECT_EQ(d.GridNames[1][n], d.PictureNames[n]);
      EXPECT_EQ(d.GridNames[2][1], d.PictureNames[n + 1]);
      EXPECT_EQ(d.GridNames[n][n], d.PictureNames[n * n]);
    }
}

TEST(KimRound, ASeededDrawIsPinned) {
  tlb::RandSeed().seed = 12345;
  KimRoundData d;
  ChoosePictures(d, 3);
  std::string shuffled[17];
  ShuffleTargets(d, 3, shuffled);
  const char* names[] = {"8", "6", "2", "12", "13", "7", "9", "1", "19"};
  const char* targets[] = {"6", "19", "1", "2", "7", "12", "9", "8", "13"};
  for (int i = 1; i <= 9; ++i) {
    EXPECT_EQ(d.PictureNames[i], names[i - 1]) << i;
    EXPECT_EQ(shuffled[i], targets[i - 1]) << i;
  }
  EXPECT_EQ(CardFaceFile("7"), "\\obrazky\\k_7.bmp");
  EXPECT_EQ(MarkedFaceFile("20"), "\\obrazky\\nk_20.bmp");
  EXPECT_EQ(CardName(3, 4), "kim_34");
}

}  // namespace
}  // namespace tq
