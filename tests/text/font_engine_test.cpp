#include "platform/graphics/text/font_engine.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/text/text_test_support.h"

namespace tlb {
namespace {

using test::Ink;
using test::InkBetween;
using test::PatternCanvas;
using test::SamePixels;
using test::WhiteCanvas;

FontEngine& Engine() { return FontEngine::Instance(); }

FontSpec Font(std::string name, int height, bool bold = false) {
  FontSpec f;
  f.name = std::move(name);
  f.height = height;
  f.bold = bold;
  return f;
}

// Draws one run in black on white at (x, y) and returns the canvas.
Dib Drawn(const FontSpec& font, std::string_view text, int width = 200, int height = 60, int x = 4, int y = 4,
          int bpp = 32) {
  Dib d = WhiteCanvas(width, height, bpp);
  Engine().DrawTextRun(d, x, y, font, text, RGB(0, 0, 0), {0, 0, width, height});
  return d;
}

TEST(FontMetrics, PositiveHeightIsTheCellHeight) {
  for (const FontSpec& f : {Font("Arial", 13), Font("Arial", 16, true), Font("Arial", 27), Font("Arial", 37, true),
                            Font("Times New Roman", 20), Font("Courier New", 11), Font("MS Sans Serif", 13),
                            Font("System", 13)}) {
    SCOPED_TRACE(f.name + " " + std::to_string(f.height));
    FontMetrics m = Engine().Metrics(f);
    EXPECT_EQ(m.ascent + m.descent, f.height);
    EXPECT_EQ(m.height, f.height);
    EXPECT_GT(m.ascent, 2 * m.descent);
    EXPECT_GT(m.descent, 0);
    EXPECT_GT(m.internalLeading, 0);
    EXPECT_GT(m.averageCharWidth, 0);
  }
}

TEST(FontMetrics, NegativeHeightIsTheEmAndLeadingComesOnTop) {
  FontMetrics m = Engine().Metrics(Font("Arial", -11));
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_EQ(m.internalLeading, m.height - 11);
  // Arial's cell is about 1.12 em: 12 or 13 pixels at an 11-pixel em.
  EXPECT_GE(m.height, 12);
  EXPECT_LE(m.height, 13);
  EXPECT_EQ(m.ascent, 10);
  EXPECT_GE(m.averageCharWidth, 4);
  EXPECT_LE(m.averageCharWidth, 6);

  FontMetrics big = Engine().Metrics(Font("Arial", -27, true));
  EXPECT_EQ(big.internalLeading, big.height - 27);
  EXPECT_GT(big.internalLeading, 0);
}

TEST(FontMetrics, ZeroHeightIsTheDefaultThirteenPixelCell) {
  FontMetrics zero = Engine().Metrics(Font("Arial", 0));
  FontMetrics thirteen = Engine().Metrics(Font("Arial", 13));
  EXPECT_EQ(zero.height, 13);
  EXPECT_EQ(zero.ascent, thirteen.ascent);
  EXPECT_EQ(Engine().TextWidth(Font("Arial", 0), "Ahoj"), Engine().TextWidth(Font("Arial", 13), "Ahoj"));
}

TEST(FontMetrics, AbsurdHeightsStillGiveAUsableFont) {
  for (int h : {INT_MIN, -100000, -1, 1, 100000, INT_MAX}) {
    SCOPED_TRACE(h);
    FontMetrics m = Engine().Metrics(Font("Arial", h));
    EXPECT_GT(m.height, 0);
    Dib d = WhiteCanvas(40, 20);
    Engine().DrawTextRun(d, -5, -5, Font("Arial", h), "Wy", RGB(0, 0, 0), {0, 0, 40, 20});
  }
}

TEST(FontNames, ClassLibraryNamesResolveToMetricCompatibleFaces) {
  struct Case {
    const char* name;
    const char* family;
  } cases[] = {
      {"Arial", "Liberation Sans"},          {"arial", "Liberation Sans"},
      {"Arial CE", "Liberation Sans"},       {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},    {"MS Sans Serif", "Liberation Sans"},
      {"System", "Liberation Sans"},
  };
  for (const Case& c : cases) EXPECT_EQ(Engine().ResolvedFamily(Font(c.name, -12)), c.family) << c.name;
}

TEST(FontNames, UnknownNamesFallBackToTheDefaultSans) {
  std::string fallback = Engine().ResolvedFamily(Font("sans-serif", -12));
  EXPECT_FALSE(fallback.empty());
  EXPECT_EQ(Engine().ResolvedFamily(Font("No Such Typeface Qx", -12)), fallback);
  EXPECT_EQ(Engine().ResolvedFamily(Font("", -12)), fallback);
  EXPECT_GT(Engine().TextWidth(Font("No Such Typeface Qx", -12), "abc"), 0);
}

TEST(FontNames, SystemIsAlwaysBold) {
  const std::string text = "Tulimbo";
  FontSpec system = Font("System", 13);
  FontSpec regular = Font("MS Sans Serif", 13);
  FontSpec bold = Font("MS Sans Serif", 13, true);
  EXPECT_EQ(Engine().TextWidth(system, text), Engine().TextWidth(bold, text));
  EXPECT_NE(Engine().TextWidth(system, text), Engine().TextWidth(regular, text));
  EXPECT_TRUE(SamePixels(Drawn(system, text), Drawn(bold, text)));
  Dib white = WhiteCanvas(200, 60);
  EXPECT_GT(InkBetween(white, Drawn(system, text)).count, InkBetween(white, Drawn(regular, text)).count);
}

TEST(TextWidth, IsTheSumOfCharacterAdvancesWithoutKerning) {
  // Pairs such as AV, To and Wa would be tightened by kerning.
  const std::string text = "AVAVA To Wa y\xBEluou\xE8k\xFD k\xF9\xF2 \xC8\x8A\x8E";
  for (const FontSpec& f : {Font("Arial", -11), Font("Arial", 16, true), Font("Times New Roman", -20)}) {
    SCOPED_TRACE(f.name + " " + std::to_string(f.height));
    int sum = 0, previous = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      sum += Engine().CharWidth(f, uint8_t(text[i]));
      int prefix = Engine().TextWidth(f, std::string_view(text).substr(0, i + 1));
      EXPECT_GT(prefix, previous) << "at " << i;  // every printable character takes room
      previous = prefix;
    }
    EXPECT_EQ(Engine().TextWidth(f, text), sum);
  }
}

TEST(TextWidth, EmptyTextAndControlCharactersTakeNoRoom) {
  FontSpec f = Font("Arial", -13);
  EXPECT_EQ(Engine().TextWidth(f, ""), 0);
  EXPECT_EQ(Engine().TextWidth(f, std::string_view("\0\t\r\n\x7F", 5)), 0);
  EXPECT_EQ(Engine().TextWidth(f, "a\tb"), Engine().TextWidth(f, "ab"));
}

TEST(TextWidth, GrowsWithTheFontSize) {
  int previous = 0;
  for (int h : {-8, -11, -13, -16, -20, -27, -37}) {
    int w = Engine().TextWidth(Font("Arial", h), "Mama mele maso");
    EXPECT_GT(w, previous) << h;
    previous = w;
  }
}

TEST(DrawTextRun, BlendsAntialiasedInkInsideTheCell) {
  FontSpec f = Font("Arial", -16);
  FontMetrics m = Engine().Metrics(f);
  Dib white = WhiteCanvas(200, 60);
  Dib d = Drawn(f, "Ahoj", 200, 60, 10, 20);
  Ink ink = InkBetween(white, d);
  ASSERT_GT(ink.count, 20);
  EXPECT_GE(ink.box.top, 20);
  EXPECT_LE(ink.box.bottom, 20 + m.height);
  EXPECT_GE(ink.box.left, 10 - 1);
  EXPECT_LE(ink.box.right, 10 + Engine().TextWidth(f, "Ahoj") + 1);
  int partial = 0, full = 0;
  for (int y = 0; y < d.height(); ++y)
    for (int x = 0; x < d.width(); ++x) {
      COLORREF c = d.pixel(x, y);
      if (c == RGB(0, 0, 0)) ++full;
      else if (c != RGB(255, 255, 255)) ++partial;
    }
  EXPECT_GT(full, 0);
  EXPECT_GT(partial, 0);  // grayscale edges, not a one-bit rendering
}

TEST(DrawTextRun, SixteenAndTwentyFourBitTargetsBlendAsThirtyTwoBitOnes) {
  FontSpec f = Font("Times New Roman", -18);
  const std::string text = "P\xF8\xEDli\x9A";
  Dib reference = Drawn(f, text, 120, 40, 3, 3, 32);
  EXPECT_TRUE(SamePixels(Drawn(f, text, 120, 40, 3, 3, 24), reference));
  // 5-5-5 pixels hold the same blend, rounded to their five bits.
  EXPECT_TRUE(SamePixels(Drawn(f, text, 120, 40, 3, 3, 16), reference.converted(16)));
}

TEST(DrawTextRun, PalettedTargetsTakeTheColourWhereCoverageIsAtLeastHalf) {
  const std::string text = "\x8Elu\x9Dou\xE8k\xFD";
  FontSpec f = Font("Arial", -15);
  // The thresholded blend on 32 bits: black over white is at most 127 exactly where coverage >= 128.
  Dib reference = Drawn(f, text, 120, 30, 2, 2, 32);

  std::vector<RGBQuad> palette = {{255, 255, 255, 0}, {0, 0, 0, 0}, {0, 0, 255, 0}, {128, 128, 128, 0}};
  for (int bpp : {8, 4, 1}) {
    SCOPED_TRACE(bpp);
    Dib d(120, 30, bpp, palette);
    d.fill(RGB(255, 255, 255));
    Engine().DrawTextRun(d, 2, 2, f, text, RGB(10, 10, 10), {0, 0, 120, 30});
    int ink = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) {
        bool dark = GetRValue(reference.pixel(x, y)) <= 127;
        ASSERT_EQ(d.rawPixel(x, y), dark ? 1u : 0u) << x << "," << y;
        ink += dark;
      }
    EXPECT_GT(ink, 30);
  }
}

TEST(DrawTextRun, ChangesNoPixelOutsideTheClip) {
  FontSpec f = Font("Arial", -24, true);
  f.underline = true;
  f.strikeOut = true;
  struct Case {
    Rect clip;
    int x, y;
  } cases[] = {
      {{30, 12, 70, 25}, 5, 5},       // a window through the middle of the run
      {{-50, -50, 40, 30}, -10, -8},  // a clip reaching beyond the bitmap, text starting off it
      {{60, 0, 200, 60}, 100, 40},    // text running off the right and bottom edges
  };
  for (const Case& c : cases) {
    Dib before = PatternCanvas(120, 50);
    Dib d = before;
    Engine().DrawTextRun(d, c.x, c.y, f, "Wybuchl\xFD \xE8\xE1p", RGB(255, 0, 0), c.clip);
    Ink ink = InkBetween(before, d);
    EXPECT_GT(ink.count, 0);
    Rect inside = c.clip.Intersect({0, 0, 120, 50});
    EXPECT_GE(ink.box.left, inside.left);
    EXPECT_GE(ink.box.top, inside.top);
    EXPECT_LE(ink.box.right, inside.right);
    EXPECT_LE(ink.box.bottom, inside.bottom);
  }
  Dib before = PatternCanvas(40, 20), d = before;
  Engine().DrawTextRun(d, 0, 0, f, "Ahoj", RGB(0, 0, 0), {10, 10, 10, 20});  // an empty clip
  EXPECT_TRUE(SamePixels(before, d));
}

TEST(DrawTextRun, CzechLettersHaveTheirOwnGlyphs) {
  FontSpec f = Font("Arial", -20);
  Dib white = WhiteCanvas(40, 40);
  Dib missing = Drawn(f, "\x81", 40, 40);  // unassigned in code page 1250: the missing-glyph box
  ASSERT_GT(InkBetween(white, missing).count, 0);
  struct Case {
    const char* letter;
    const char* base;
  } cases[] = {{"\xE8", "c"}, {"\xF8", "r"}, {"\x9E", "z"}, {"\xF9", "u"},
               {"\xC8", "C"}, {"\xD8", "R"}, {"\x8E", "Z"}, {"\xD9", "U"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base);
    Dib letter = Drawn(f, c.letter, 40, 40), base = Drawn(f, c.base, 40, 40);
    Ink ink = InkBetween(white, letter);
    EXPECT_GT(ink.count, 0);
    EXPECT_FALSE(SamePixels(letter, missing));
    // The caron or ring sits above the plain letter.
    EXPECT_LT(ink.box.top, InkBetween(white, base).box.top);
  }
}

TEST(DrawTextRun, UnderlineAndStrikeOutAreFullRowsAcrossTheRun) {
  const std::string text = "a b c";
  FontSpec plain = Font("Arial", -20);
  FontMetrics m = Engine().Metrics(plain);
  int width = Engine().TextWidth(plain, text);
  Dib base = Drawn(plain, text, 100, 40, 5, 5);
  struct Case {
    bool underline;
    int fromRow, toRow;  // cell rows where the line must be
  } cases[] = {{true, m.ascent, m.height}, {false, m.ascent / 3, m.ascent}};
  for (const Case& c : cases) {
    FontSpec f = plain;
    (c.underline ? f.underline : f.strikeOut) = true;
    Dib d = Drawn(f, text, 100, 40, 5, 5);
    Ink extra = InkBetween(base, d);
    ASSERT_GT(extra.count, 0);
    EXPECT_GE(extra.box.top, 5 + c.fromRow);
    EXPECT_LE(extra.box.bottom, 5 + c.toRow);
    EXPECT_EQ(extra.box.left, 5);
    EXPECT_EQ(extra.box.right, 5 + width);
    for (int x = 5; x < 5 + width; ++x) EXPECT_EQ(d.pixel(x, extra.box.top), RGB(0, 0, 0)) << x;
  }
}

}  // namespace
}  // namespace tlb
