// The glyph button's painting: background, border, dither fill and face, pixel by pixel.
#include <gtest/gtest.h>

#include "tests/glyph/button_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;

constexpr COLORREF kFace = 0x30A0A0, kHighlight = 0xA0FFFF, kShadow = 0x402020, kLight = 0xD0E0E0,
                   kDark = 0x101030;

// The ink squares of the fixture strip's cells.
const COLORREF kInk[5] = {kRed, kGray, kLime, kBlue, kYellow};

struct ButtonPaintTest : ButtonFixture {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(100, 100, 40, 30));

  ButtonPaintTest() {
    SetSysColorForTest(COLOR_BTNFACE, kFace);
    SetSysColorForTest(COLOR_BTNHIGHLIGHT, kHighlight);
    SetSysColorForTest(COLOR_BTNSHADOW, kShadow);
    SetSysColorForTest(COLOR_3DLIGHT, kLight);
    SetSysColorForTest(COLOR_3DDKSHADOW, kDark);
  }
  ~ButtonPaintTest() override { ResetSysColors(); }

  // The button's rectangle as the form paints it now.
  Dib Shot() {
    form->InvalidateArea({0, 0, form->Width(), form->Height()});
    form->PaintNow();
    Dib out(b->Width(), b->Height(), 32);
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) out.setPixel(x, y, form->Surface().pixel(b->Left() + x, b->Top() + y));
    return out;
  }

  // Cell `k` of the strip with its top-left at (gx, gy); `background` elsewhere.
  static std::function<COLORREF(int, int)> CellOn(int k, int gx, int gy, std::function<COLORREF(int, int)> background) {
    return [=](int x, int y) {
      int cx = x - gx, cy = y - gy;
      if (cx >= 4 && cx < 16 && cy >= 4 && cy < 16) return kInk[k];
      return background(x, y);
    };
  }
  static std::function<COLORREF(int, int)> Plain(COLORREF c) {
    return [c](int, int) { return c; };
  }
};

TEST_F(ButtonPaintTest, TheFormsButtonsAreAGreenRectangleCarryingTheStatesCell) {
  // Up: cell 0 centred, (40 - 20) / 2 and (30 - 20) / 2.
  EXPECT_EQ(Differences(Shot(), CellOn(0, 10, 5, Plain(kGreen))), "");
  run.backend.MoveMouse(10, Inside(b));
  run.RunUntil(20);
  ASSERT_EQ(b->VisualState(), vsHot);
  EXPECT_EQ(Differences(Shot(), CellOn(4, 10, 5, Plain(kGreen))), "");
  run.backend.Press(30, Inside(b));
  run.RunUntil(40);
  ASSERT_EQ(b->VisualState(), vsDown);
  // Pressed: the down cell, one pixel right and down. No border ever.
  EXPECT_EQ(Differences(Shot(), CellOn(2, 11, 6, Plain(kGreen))), "");
  run.backend.Release(50, Inside(b));
  run.RunUntil(60);
  b->SetEnabled(false);
  EXPECT_EQ(Shot().pixel(20, 15), kShadow);  // the disabled cell: its grey takes the shadow colour
  b->SetEnabled(true);
  b->SetDisplayMode(dmTextOnly);  // the forms' blinking: no cell, and no caption to show
  EXPECT_EQ(Differences(Shot(), Plain(kGreen)), "");
}

TEST_F(ButtonPaintTest, AFlatButtonsFaceSitsInsideItsBorderWhetherOrNotTheBorderIsDrawn) {
  b->SetNoBorder(false);
  b->SetMargin(2);
  // Up and not hot: no border, the glyph two pixels inside the one-pixel inset.
  EXPECT_EQ(Differences(Shot(), CellOn(0, 3, 5, Plain(kGreen))), "");
  run.backend.MoveMouse(10, Inside(b));
  run.RunUntil(20);
  // Hot: a thin raised border, and the glyph has not moved.
  auto raisedInner = [](int x, int y) {
    if (x == 39 || y == 29) return kShadow;
    if (x == 0 || y == 0) return (x == 0 && y == 29) || (x == 39 && y == 0) ? kShadow : kHighlight;
    return kGreen;
  };
  EXPECT_EQ(Differences(Shot(), CellOn(4, 3, 5, raisedInner)), "");
}

TEST_F(ButtonPaintTest, NoBorderMeansNoBorderAndNoInset) {
  b->SetMargin(2);
  run.backend.MoveMouse(10, Inside(b));
  run.RunUntil(20);
  EXPECT_EQ(Differences(Shot(), CellOn(4, 2, 5, Plain(kGreen))), "");
}

TEST_F(ButtonPaintTest, ARaisedButtonAlwaysShowsItsBorderAndTheSystemFaceInside) {
  b->SetNoBorder(false);
  b->SetFlat(false);
  b->SetMargin(2);
  auto raisedSoft = [](int x, int y) {
    // Outer ring: highlight top-left (soft), dark shadow bottom-right; inner ring:
    // 3-D light top-left, shadow bottom-right; the middle is the system face colour.
    if (x == 39 || y == 29) return kDark;
    if (x == 0 || y == 0) return (x == 0 && y == 29) || (x == 39 && y == 0) ? kDark : kHighlight;
    if (x == 38 || y == 28) return kShadow;
    if (x == 1 || y == 1) return (x == 1 && y == 28) || (x == 38 && y == 1) ? kShadow : kLight;
    return kFace;
  };
  EXPECT_EQ(Differences(Shot(), CellOn(0, 4, 5, raisedSoft)), "");
}

TEST_F(ButtonPaintTest, AHeldDownFlatButtonIsDitheredWhileTheMouseIsAway) {
  b->SetNoBorder(false);
  b->SetGroupIndex(1);
  b->SetDown(true);
  ASSERT_EQ(b->VisualState(), vsExclusive);
  auto sunkenDither = [](int x, int y) {
    if (x == 39 || y == 29) return kHighlight;
    if (x == 0 || y == 0) return (x == 0 && y == 29) || (x == 39 && y == 0) ? kHighlight : kShadow;
    return (x + y) % 2 == 0 ? kHighlight : kFace;
  };
  EXPECT_EQ(Differences(Shot(), CellOn(3, 11, 6, sunkenDither)), "");
  // Hot: the plain face.
  run.backend.MoveMouse(10, Inside(b));
  run.RunUntil(20);
  Dib hot = Shot();
  EXPECT_EQ(hot.pixel(1, 1), kGreen);
  EXPECT_EQ(hot.pixel(2, 1), kGreen);
  // Without HighlightWhenDown: never dithered.
  run.backend.MoveMouse(30, {400, 400});
  run.RunUntil(40);
  b->SetHighlightWhenDown(false);
  EXPECT_EQ(Shot().pixel(1, 1), kGreen);
}

TEST_F(ButtonPaintTest, AHeldDownRaisedButtonIsAlwaysDithered) {
  b->SetNoBorder(false);
  b->SetFlat(false);
  b->SetGroupIndex(1);
  b->SetDown(true);
  run.backend.MoveMouse(10, Inside(b));
  run.RunUntil(20);
  Dib shot = Shot();
  EXPECT_EQ(shot.pixel(2, 2), kHighlight);
  EXPECT_EQ(shot.pixel(3, 2), kFace);
  // Sunken and soft: the dark shadow outside at the top-left, the shadow inside it.
  EXPECT_EQ(shot.pixel(0, 5), kDark);
  EXPECT_EQ(shot.pixel(1, 5), kShadow);
}

TEST_F(ButtonPaintTest, AComboButtonFramesItsTwoPartsAndDrawsItsArrow) {
  b->SetNoBorder(false);
  b->SetFlat(false);
  b->SetDisplayMode(dmBoth);
  b->SetDropdownAlways(true);
  b->SetDropdownCombo(true);
  b->SetWidth(60);
  b->Font().SetColor(clBlack);
  Dib shot = Shot();
  int h = b->Height();
  EXPECT_EQ(shot.pixel(0, 10), kHighlight);  // main part: 0 .. 49
  EXPECT_EQ(shot.pixel(48, 10), kDark);
  EXPECT_EQ(shot.pixel(49, 10), kHighlight);  // arrow part: 49 .. 58
  EXPECT_EQ(shot.pixel(57, 10), kDark);
  EXPECT_EQ(shot.pixel(58, 10), kGreen);  // the rightmost two pixels lie outside both borders
  EXPECT_EQ(shot.pixel(59, 10), kGreen);
  int y = h / 2 - 1, cx = 49 + 9 / 2;
  for (int x = cx - 2; x <= cx + 2; ++x) EXPECT_EQ(shot.pixel(x, y), kBlack) << x;
  EXPECT_EQ(shot.pixel(cx, y + 2), kBlack);
  EXPECT_EQ(shot.pixel(cx - 1, y + 2), kFace);
  EXPECT_EQ(shot.pixel(50, y), kLight);  // the arrow part's inner border
}

TEST_F(ButtonPaintTest, ASystemColourChangeRebuildsTheDitherWithTheNewColours) {
  b->SetNoBorder(false);
  b->SetGroupIndex(1);
  b->SetDown(true);
  Shot();
  ASSERT_NE(DitherPattern, nullptr);
  SetSysColorForTest(COLOR_BTNHIGHLIGHT, kAqua);
  b->Perform(CM_SYSCOLORCHANGE);
  EXPECT_EQ(DitherPattern, nullptr);
  // The current state's picture was built again at once.
  EXPECT_NE(b->ButtonGlyph()->SlotIndex[1][vsExclusive], -1);
  Dib shot = Shot();
  EXPECT_EQ(shot.pixel(1, 1), kAqua);
  EXPECT_EQ(shot.pixel(2, 1), kFace);
  // An unrelated change keeps the pattern.
  SetSysColorForTest(COLOR_WINDOW, kRed);
  b->Perform(CM_SYSCOLORCHANGE);
  EXPECT_NE(DitherPattern, nullptr);
}

TEST_F(ButtonPaintTest, ATransparentButtonDrawsStraightOverItsParent) {
  b->SetColor(clRed);
  EXPECT_EQ(Shot().pixel(0, 0), kRed);  // opaque: its own colour
  b->SetOpaque(false);
  EXPECT_EQ(Differences(Shot(), CellOn(0, 10, 5, Plain(kGreen))), "");  // the form shows through
}

}  // namespace
}  // namespace tq
