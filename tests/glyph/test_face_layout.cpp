// The face of a glyph button: where glyph, caption and arrow go, and how they are drawn.
#include <gtest/gtest.h>

#include <optional>

#include "platform/graphics/imagelist_wrapper.h"
#include "platform/graphics/text/draw_text.h"
#include "tests/glyph/glyph_fixtures.h"
#include "tests/support/headless_run.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;
using tlb::testing::HeadlessRun;

// A caption of exactly `width` pixels in the canvas font, made of characters of
// several widths (so that any width is reachable).
std::string CaptionOfWidth(TCanvas& canvas, int width) {
  const std::string chars = "Wmxoil.";
  std::vector<std::optional<std::string>> best(size_t(width) + 1);
  best[0] = "";
  for (int w = 0; w <= width; ++w) {
    if (!best[size_t(w)]) continue;
    for (char c : chars) {
      int cw = canvas.TextWidth(std::string(1, c));
      if (cw > 0 && w + cw <= width && !best[size_t(w + cw)]) best[size_t(w + cw)] = *best[size_t(w)] + c;
    }
  }
  return best[size_t(width)].value_or("");
}

struct LayoutCase {
  const char* name;
  Size glyph;          // 0 x 0: no glyph
  int captionWidth;    // 0: no caption
  Rect client;
  TButtonLayout layout;
  int margin, spacing;
  Point glyphPos;      // expected
  int textLeft;        // expected TextBounds.left (when there is a caption)
};

struct FaceLayoutTest : ::testing::Test {
  HeadlessRun run;
  TBitmap surface = Solid(200, 120, kWhite);
  TButtonGlyph glyph;

  void SetGlyphSize(Size s) {
    if (s.cx == 0) {
      glyph.AssignGlyph(nullptr);
      return;
    }
    TBitmap b = Solid(s.cx, s.cy, kRed);
    b.Pixels().setPixel(0, s.cy - 1, kWhite);
    glyph.AssignGlyph(&b);
    ASSERT_EQ(glyph.GlyphCount, 1);
  }
};

TEST_F(FaceLayoutTest, LayoutFollowsTheArithmeticToThePixel) {
  const LayoutCase cases[] = {
      {"glyph only, top, centred", {60, 50}, 0, {0, 0, 100, 80}, blGlyphTop, -1, 0, {20, 15}, 0},
      {"an odd leftover goes before the glyph", {60, 50}, 0, {0, 0, 101, 81}, blGlyphTop, -1, 0, {21, 16}, 0},
      {"glyph right: the extra pixel goes after", {60, 50}, 0, {0, 0, 101, 81}, blGlyphRight, -1, 0, {20, 16}, 0},
      {"wider than the face, top: truncated toward zero", {30, 30}, 0, {0, 0, 20, 40}, blGlyphTop, -1, 0, {-4, 5}, 0},
      {"wider than the face, left", {30, 30}, 0, {0, 0, 20, 40}, blGlyphLeft, -1, 0, {-4, 5}, 0},
      {"equal thirds", {16, 16}, 30, {0, 0, 100, 40}, blGlyphLeft, -1, -1, {18, 12}, 52},
      {"equal thirds, one pixel more stays right", {16, 16}, 30, {0, 0, 101, 40}, blGlyphLeft, -1, -1, {18, 12}, 52},
      {"margin given, caption centred beside the glyph", {16, 16}, 30, {0, 0, 100, 40}, blGlyphLeft, 5, -1, {5, 12},
       45},
      {"spacing given, block centred", {16, 16}, 30, {0, 0, 100, 40}, blGlyphLeft, -1, 6, {24, 12}, 46},
      {"glyph right of the caption", {16, 16}, 30, {0, 0, 100, 40}, blGlyphRight, -1, -1, {66, 12}, 18},
      {"no caption: spacing counts 0", {16, 16}, 0, {0, 0, 100, 40}, blGlyphLeft, -1, -1, {42, 12}, 0},
      {"no glyph, top layout is laid out as left", {0, 0}, 30, {0, 0, 100, 40}, blGlyphTop, -1, -1, {35, 20}, 35},
      {"glyph bottom", {16, 16}, 30, {0, 0, 60, 100}, blGlyphBottom, 10, 2, {22, 74}, 15},
      {"the client's corner moves everything", {60, 50}, 0, {7, 3, 107, 83}, blGlyphTop, -1, 0, {27, 18}, 0},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetGlyphSize(c.glyph);
    std::string caption = c.captionWidth ? CaptionOfWidth(surface.Canvas(), c.captionWidth) : "";
    if (c.captionWidth) {
      ASSERT_EQ(surface.Canvas().TextWidth(caption), c.captionWidth);
    }
    Point glyphPos, arrowPos;
    Rect text;
    glyph.ComputeLayout(surface.Canvas(), c.client, {0, 0}, true, true, caption, false, c.layout, c.margin, c.spacing,
                        false, 9, glyphPos, arrowPos, text);
    if (c.glyph.cx) {
      EXPECT_EQ(glyphPos, c.glyphPos);
    }
    if (c.captionWidth) {
      EXPECT_EQ(text.left, c.textLeft);
      EXPECT_EQ(text.width(), c.captionWidth);
    } else {
      EXPECT_TRUE(text.empty());
    }
  }
}

TEST_F(FaceLayoutTest, AcrossTheLayoutTheCaptionIsCentredHalfUp) {
  SetGlyphSize({16, 16});
  std::string caption = CaptionOfWidth(surface.Canvas(), 30);
  int lineHeight = surface.Canvas().TextHeight(caption);
  Point g, a;
  Rect text;
  glyph.ComputeLayout(surface.Canvas(), {0, 0, 100, 41}, {0, 0}, true, true, caption, false, blGlyphLeft, -1, -1,
                      false, 9, g, a, text);
  EXPECT_EQ(g.y, (41 - 16 + 1) / 2);
  EXPECT_EQ(text.top, (41 - lineHeight + 1) / 2);
  EXPECT_EQ(text.height(), lineHeight);
}

TEST_F(FaceLayoutTest, AnImageListReservesItsPictureSizeEvenWhenItShowsNothing) {
  TImageList images(24, 24);
  auto link = std::make_unique<TChangeLink>();
  images.RegisterChanges(link.get());
  glyph.Images = &images;
  glyph.ImageListLink = std::move(link);
  glyph.ImageIndex = -1;
  Point g, a;
  Rect text;
  glyph.ComputeLayout(surface.Canvas(), {0, 0, 100, 40}, {0, 0}, true, false, "", false, blGlyphLeft, -1, 0, false, 9,
                      g, a, text);
  EXPECT_EQ(g, (Point{38, 8}));
  glyph.ImageListLink.reset();
  glyph.Images = nullptr;
}

TEST_F(FaceLayoutTest, TheArrowFollowsTheGlyphAndIsAFiveByThreeTriangle) {
  SetGlyphSize({16, 16});
  Point g, a;
  Rect text;
  glyph.ComputeLayout(surface.Canvas(), {0, 0, 100, 40}, {0, 0}, true, true, "", false, blGlyphLeft, -1, -1, true, 9,
                      g, a, text);
  EXPECT_EQ(g.x, 38);  // (100 - 16 - 9) half-up
  EXPECT_EQ(a.x, g.x + 16 + 1);
  EXPECT_EQ(a.y, g.y + (16 - 3) / 2);
  TBitmap face = Solid(100, 40, kWhite);
  face.Canvas().Font.SetColor(clBlue);
  glyph.DrawDropArrow(face.Canvas(), a.x, a.y, 9, vsUp);
  Dib d = face.Pixels();
  EXPECT_EQ(Differences(d, [&](int x, int y) {
              int row = y - a.y, cx = a.x + 4;
              bool ink = row >= 0 && row < 3 && x >= cx - 2 + row && x <= cx + 2 - row;
              return ink ? kBlue : kWhite;
            }),
            "");
  // Disabled: a highlight copy one pixel down and right under the shadow-coloured one.
  TBitmap off = Solid(100, 40, kWhite);
  SetSysColorForTest(COLOR_BTNHIGHLIGHT, kYellow);
  SetSysColorForTest(COLOR_BTNSHADOW, kGray);
  glyph.DrawDropArrow(off.Canvas(), a.x, a.y, 9, vsDisabled);
  ResetSysColors();
  EXPECT_EQ(Differences(off.Pixels(), [&](int x, int y) {
              auto in = [&](int x, int y, int ox, int oy) {
                int row = y - a.y - oy, cx = a.x + 4 + ox;
                return row >= 0 && row < 3 && x >= cx - 2 + row && x <= cx + 2 - row;
              };
              return in(x, y, 0, 0) ? kGray : in(x, y, 1, 1) ? kYellow : kWhite;
            }),
            "");
}

TEST_F(FaceLayoutTest, ALineBreakCountsWhenMeasuredAndTheDrawingIsOneCentredLine) {
  std::string caption = "Hra\r\nHra";
  int lineHeight = surface.Canvas().TextHeight("Hra");
  Point g, a;
  Rect text;
  glyph.ComputeLayout(surface.Canvas(), {0, 0, 100, 60}, {0, 0}, false, true, caption, false, blGlyphLeft, -1, -1,
                      false, 9, g, a, text);
  EXPECT_EQ(text.height(), 2 * lineHeight);
  TBitmap face = Solid(100, 60, kWhite);
  face.Canvas().Font.SetColor(clBlack);
  glyph.DrawCaption(face.Canvas(), caption, text, false, taCenter, vsUp);
  // One line, in the middle of the two-line rectangle.
  int top = -1, bottom = -1;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x)
      if (face.Pixels().pixel(x, y) != kWhite) {
        if (top < 0) top = y;
        bottom = y;
      }
  ASSERT_GE(top, 0);
  EXPECT_GE(top, text.top + lineHeight / 2 - 1);
  EXPECT_LE(bottom, text.bottom - lineHeight / 2 + 1);
}

TEST_F(FaceLayoutTest, AnAmpersandUnderlinesTheNextCharacter) {
  Point g, a;
  Rect marked, plain;
  glyph.ComputeLayout(surface.Canvas(), {0, 0, 100, 40}, {0, 0}, false, true, "&Hra", false, blGlyphLeft, -1, -1,
                      false, 9, g, a, marked);
  glyph.ComputeLayout(surface.Canvas(), {0, 0, 100, 40}, {0, 0}, false, true, "Hra", false, blGlyphLeft, -1, -1, false,
                      9, g, a, plain);
  EXPECT_EQ(marked, plain);  // the "&" takes no room
  TBitmap withUnderline = Solid(100, 40, kWhite), without = Solid(100, 40, kWhite);
  withUnderline.Canvas().Font.SetColor(clBlack);
  without.Canvas().Font.SetColor(clBlack);
  glyph.DrawCaption(withUnderline.Canvas(), "&Hra", marked, false, taCenter, vsUp);
  glyph.DrawCaption(without.Canvas(), "Hra", plain, false, taCenter, vsUp);
  int extra = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (withUnderline.Pixels().pixel(x, y) != without.Pixels().pixel(x, y)) ++extra;
  EXPECT_GE(extra, 3);  // the underline below the H
}

TEST_F(FaceLayoutTest, ADisabledCaptionIsAShadowOverAHighlightCopyOnePixelDownAndRight) {
  SetSysColorForTest(COLOR_BTNHIGHLIGHT, kYellow);
  SetSysColorForTest(COLOR_BTNSHADOW, kGray);
  Rect r{10, 5, 90, 35};
  TBitmap disabled = Solid(100, 40, kWhite);
  glyph.DrawCaption(disabled.Canvas(), "Hra", r, false, taLeftJustify, vsDisabled);
  TBitmap expected = Solid(100, 40, kWhite);
  TCanvas& c = expected.Canvas();
  c.Brush.Style = bsClear;
  Rect shifted = r.Offset(1, 1), same = r;
  c.Font.SetColor(clBtnHighlight);
  c.DrawText("Hra", shifted, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  c.Font.SetColor(clBtnShadow);
  c.DrawText("Hra", same, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  ResetSysColors();
  EXPECT_EQ(Differences(disabled.Pixels(), [&](int x, int y) { return expected.Pixels().pixel(x, y); }), "");
  bool anyHighlight = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) anyHighlight |= disabled.Pixels().pixel(x, y) == kYellow;
  EXPECT_TRUE(anyHighlight);
}

TEST_F(FaceLayoutTest, APressedFaceMovesEveryElementOnePixelRightAndDown) {
  SetGlyphSize({16, 16});
  auto draw = [&](Point offset) {
    TBitmap face = Solid(100, 40, kWhite);
    face.Canvas().Font.SetColor(clBlack);
    Rect text;
    glyph.DrawFace(face.Canvas(), {0, 0, 99, 39}, offset, true, true, "Hra", false, taCenter, blGlyphLeft, -1, -1,
                   true, 9, vsDown, text);
    return face.Pixels();
  };
  Dib up = draw({0, 0}), pressed = draw({1, 1});
  EXPECT_EQ(Differences(pressed, [&](int x, int y) { return x == 0 || y == 0 ? kWhite : up.pixel(x - 1, y - 1); }),
            "");
}

TEST_F(FaceLayoutTest, AGlyphOnlyFaceDrawsTheStatePictureAtItsPlace) {
  SetGlyphSize({16, 16});
  TBitmap face = Solid(100, 40, kWhite);
  face.Canvas().Font.SetColor(clBlue);
  Rect text;
  // No caption shown, the glyph only: the red square with its corner transparent.
  glyph.DrawFace(face.Canvas(), {0, 0, 100, 40}, {0, 0}, true, false, "Hra", false, taCenter, blGlyphLeft, -1, 0,
                 false, 9, vsUp, text);
  EXPECT_EQ(Differences(face.Pixels(), [](int x, int y) {
              bool in = x >= 42 && x < 58 && y >= 12 && y < 28 && !(x == 42 && y == 27);
              return in ? kRed : kWhite;
            }),
            "");
}

}  // namespace
}  // namespace tq
