// The shared glyph lists: slots reused lowest first, the lists by size, and the dither pattern.
#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "tests/glyph/glyph_fixtures.h"
#include "tests/support/headless_run.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;
using tlb::testing::HeadlessRun;

struct GlyphListTest : ::testing::Test {
  HeadlessRun run;
  ~GlyphListTest() override { ResetSysColors(); }
};

TEST_F(GlyphListTest, SlotsAreReusedLowestFirstAndTheListGrowsOnlyWhenFull) {
  TGlyphList list(4, 3);
  COLORREF colours[5] = {kRed, kLime, kBlue, kYellow, kAqua};
  for (int i = 0; i < 5; ++i) {
    TBitmap b = Solid(4, 3, colours[i]);
    b.Pixels().setPixel(0, 2, kBlack);  // the bottom-left pixel: transparent
    EXPECT_EQ(list.AddWithMaskColor(&b, clDefault), i);
  }
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.LiveCount(), 5);
  list.FreeSlot(2);
  EXPECT_EQ(list.LiveCount(), 4);
  list.FreeSlot(2);  // already free: nothing changes
  EXPECT_EQ(list.LiveCount(), 4);
  // The freed slot keeps its old picture until it is handed out again.
  EXPECT_EQ(ReadSlot(list, 2).pixel(1, 1), kBlue);
  TBitmap fresh = Solid(4, 3, kFuchsia);
  fresh.Pixels().setPixel(0, 2, kBlack);
  EXPECT_EQ(list.AddWithMaskColor(&fresh, clDefault), 2);
  EXPECT_EQ(list.Count(), 5);
  Dib slot2 = ReadSlot(list, 2);
  EXPECT_EQ(slot2.pixel(1, 1), kFuchsia);
  EXPECT_EQ(ReadSlot(list, 0).pixel(0, 2), kSentinel);
  // Every slot taken: the next one grows the list by one image.
  EXPECT_EQ(list.TakeFreeSlot(), 5);
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(list.LiveCount(), 5);  // taking a slot alone counts nothing
}

TEST_F(GlyphListTest, AMaskMarksTransparentPixelsWithWhite) {
  TGlyphList list(3, 2);
  TBitmap image = Solid(3, 2, kRed);
  TBitmap mask = Painted(3, 2, [](int x, int y) { return x == 1 ? kWhite : kBlack; });
  mask.SetMonochrome(true);
  int slot = list.AddWithMask(&image, &mask);
  Dib d = ReadSlot(list, slot);
  EXPECT_EQ(Differences(d, [](int x, int) { return x == 1 ? kSentinel : kRed; }), "");
}

TEST_F(GlyphListTest, AMaskColourIsTheDefaultCornerOrASystemColourAtItsCurrentValue) {
  TGlyphList list(2, 2);
  TBitmap image = Painted(2, 2, [](int x, int y) { return x == 0 ? kSilver : kGreen; });
  Dib byFace = ReadSlot(list, list.AddWithMaskColor(&image, clBtnFace));
  EXPECT_EQ(byFace.pixel(0, 0), kSentinel);
  EXPECT_EQ(byFace.pixel(1, 0), kGreen);
  SetSysColorForTest(COLOR_BTNFACE, kGreen);
  Dib byNewFace = ReadSlot(list, list.AddWithMaskColor(&image, clBtnFace));
  EXPECT_EQ(byNewFace.pixel(0, 0), kSilver);
  EXPECT_EQ(byNewFace.pixel(1, 0), kSentinel);
  TBitmap corner = Painted(2, 2, [](int x, int y) { return y == 1 && x == 0 ? kNavy : x == 1 ? kNavy : kRed; });
  Dib byCorner = ReadSlot(list, list.AddWithMaskColor(&corner, clDefault));
  EXPECT_EQ(byCorner.pixel(0, 0), kRed);
  EXPECT_EQ(byCorner.pixel(1, 0), kSentinel);
  EXPECT_EQ(byCorner.pixel(0, 1), kSentinel);
}

TEST_F(GlyphListTest, AnImageSmallerThanTheListIsRefusedAndTheFailureKeepsNothing) {
  TGlyphList list(4, 4);
  TBitmap ok = Solid(4, 4, kRed);
  list.AddWithMaskColor(&ok, clDefault);
  for (TBitmap small : {Solid(3, 4, kLime), Solid(4, 3, kLime)}) {
    try {
      list.AddWithMaskColor(&small, clDefault);
      FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message, "Invalid image size");
    }
  }
  EXPECT_EQ(list.LiveCount(), 1);
  // The slot taken for the failed add is free again, and no temporary image stays behind.
  EXPECT_EQ(list.TakeFreeSlot(), 1);
  EXPECT_EQ(list.Count(), 2);
}

TEST_F(GlyphListTest, ReplacingAPictureTellsTheList) {
  TGlyphList list(2, 2);
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  TBitmap b = Solid(2, 2, kRed);
  int slot = list.AddWithMaskColor(&b, clNone);
  EXPECT_GT(changes, 0);
  changes = 0;
  list.ReplaceMaskedSlot(slot, &b, clNone);
  EXPECT_GT(changes, 0);
  EXPECT_EQ(ReadSlot(list, slot).pixel(0, 0), kRed);
}

TEST_F(GlyphListTest, TheCacheKeepsOneListPerSize) {
  TGlyphCache cache;
  TGlyphList* a = cache.ListForSize(16, 15);
  TGlyphList* b = cache.ListForSize(15, 16);
  EXPECT_NE(a, b);
  EXPECT_EQ(cache.ListForSize(16, 15), a);
  EXPECT_EQ(cache.ListCount(), 2);
  cache.ReleaseList(nullptr);
  EXPECT_EQ(cache.ListCount(), 2);
  // Held twice (two requests): the first release leaves it, the second frees it.
  cache.ReleaseList(a);
  EXPECT_EQ(cache.ListCount(), 2);
  cache.ReleaseList(a);
  EXPECT_EQ(cache.ListCount(), 1);
  cache.ReleaseList(b);
  EXPECT_TRUE(cache.IsEmpty());
}

TEST_F(GlyphListTest, AListWithPicturesStaysInTheCache) {
  TGlyphCache cache;
  TGlyphList* list = cache.ListForSize(2, 2);
  TBitmap b = Solid(2, 2, kRed);
  int slot = list->AddWithMaskColor(&b, clDefault);
  cache.ReleaseList(list);
  EXPECT_EQ(cache.ListCount(), 1);
  list->FreeSlot(slot);
  cache.ReleaseList(list);
  EXPECT_TRUE(cache.IsEmpty());
}

TEST_F(GlyphListTest, ASizeTheImageListRefusesIsAnInvalidImageSize) {
  TGlyphCache cache;
  for (auto [w, h] : {std::pair{0, 20}, std::pair{20, 0}, std::pair{4, 32769}}) {
    try {
      cache.ListForSize(w, h);
      FAIL() << w << "x" << h;
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message, "Invalid image size");
    }
  }
  EXPECT_TRUE(cache.IsEmpty());
  TGlyphList* tall = cache.ListForSize(1, 32768);
  EXPECT_EQ(cache.ListCount(), 1);
  cache.ReleaseList(tall);
}

TEST_F(GlyphListTest, TheDitherPatternAlternatesHighlightAndFaceFromTheTopLeft) {
  SetSysColorForTest(COLOR_BTNFACE, kTeal);
  SetSysColorForTest(COLOR_BTNHIGHLIGHT, kYellow);
  BuildDitherPattern();
  ASSERT_NE(DitherPattern, nullptr);
  EXPECT_EQ(DitherFaceColor, TColor(kTeal));
  EXPECT_EQ(DitherHighlightColor, TColor(kYellow));
  Dib first = DitherPattern->Pixels();
  ASSERT_EQ(first.width(), 8);
  ASSERT_EQ(first.height(), 8);
  EXPECT_EQ(Differences(first, [](int x, int y) { return (x + y) % 2 == 0 ? kYellow : kTeal; }), "");
  EXPECT_EQ(first.pixel(1, 1), kYellow);
  EXPECT_EQ(first.pixel(1, 0), kTeal);
  BuildDitherPattern();
  EXPECT_EQ(Differences(DitherPattern->Pixels(), [&](int x, int y) { return first.pixel(x, y); }), "");
  FreeDitherPattern();
  EXPECT_EQ(DitherPattern, nullptr);
}

}  // namespace
}  // namespace tq
