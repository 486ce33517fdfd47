#include "platform/graphics/text/draw_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
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

FontSpec Arial(int height) {
  FontSpec f;
  f.name = "Arial";
  f.height = height;
  return f;
}

int W(const FontSpec& f, std::string_view s) { return Engine().TextWidth(f, s); }

// Draws text in black on a white canvas.
Dib Drawn(std::string_view text, Rect rect, unsigned format, const FontSpec& font, int width = 200,
          int height = 80) {
  Dib d = WhiteCanvas(width, height);
  DrawTextCp(d, text, rect, format, font, RGB(0, 0, 0), {0, 0, width, height});
  return d;
}

TEST(DrawTextCalcRect, MeasuresLinesAndSetsTheExtent) {
  const FontSpec f = Arial(-13);
  const int lineHeight = Engine().Metrics(f).height;
  const int tab = 8 * Engine().Metrics(f).averageCharWidth;
  const int pair = W(f, "jedna dva");
  struct Case {
    const char* why;
    std::string text;
    unsigned format;
    int width;  // of the rectangle handed in
    int expectWidth;
    int expectLines;
  } cases[] = {
      {"one line", "Ahoj", 0, 10, W(f, "Ahoj"), 1},
      {"empty text is 0 x 0", "", 0, 50, 0, 0},
      {"CR LF breaks", "Ahoj\r\nsv\xECte", 0, 0, std::max(W(f, "Ahoj"), W(f, "sv\xECte")), 2},
      {"LF and CR alone break too", "a\nbbbb\rcc", 0, 0, W(f, "bbbb"), 3},
      {"LF CR is two breaks", "a\n\rb", 0, 0, W(f, "a"), 3},
      {"a closing break opens no line", "radek\r\n", 0, 0, W(f, "radek"), 1},
      {"empty lines count", "\r\n\r\n", 0, 0, 0, 2},
      {"single line ignores breaks", "a\r\nb", DT_SINGLELINE, 0, W(f, "ab"), 1},
      {"prefix is not measured", "&Soubor", 0, 0, W(f, "Soubor"), 1},
      {"double prefix is one ampersand", "a&&b", 0, 0, W(f, "a&b"), 1},
      {"no-prefix keeps ampersands", "a&&b", DT_NOPREFIX, 0, W(f, "a&&b"), 1},
      {"tabs take no room unexpanded", "a\tb", 0, 0, W(f, "ab"), 1},
      {"tabs expand to the next stop", "a\tb", DT_EXPANDTABS, 0, tab + W(f, "b"), 1},
      {"leading spaces are kept", "  ab", 0, 0, W(f, "  ab"), 1},
      {"word break: two words fit", "jedna dva t\xF8i", DT_WORDBREAK, pair, pair, 2},
      {"word break: one pixel short", "jedna dva t\xF8i", DT_WORDBREAK, pair - 1,
       std::max(W(f, "jedna"), W(f, "dva t\xF8i")), 2},
      {"word break narrows to the widest line", "kratky", DT_WORDBREAK, 300, W(f, "kratky"), 1},
      {"a long word stays whole and widens", "nejdel\x9A\xED a b", DT_WORDBREAK, 10, W(f, "nejdel\x9A\xED"), 3},
      {"spaces at a break are dropped", "aaa     bbb", DT_WORDBREAK, W(f, "aaa "), W(f, "aaa"), 2},
      {"word break keeps hard breaks", "a b\nc", DT_WORDBREAK, 300, W(f, "a b"), 2},
      {"single line wins over word break", "jedna dva t\xF8i", DT_WORDBREAK | DT_SINGLELINE, 10,
       W(f, "jedna dva t\xF8i"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Rect r{5, 7, 5 + c.width, 9};
    Dib d = WhiteCanvas(20, 20), before = d;
    int h = DrawTextCp(d, c.text, r, c.format | DT_CALCRECT, f, 0, {0, 0, 20, 20});
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.right, 5 + c.expectWidth);
    EXPECT_EQ(r.bottom, 7 + c.expectLines * lineHeight);
    EXPECT_EQ(h, c.expectLines * lineHeight);
    EXPECT_TRUE(SamePixels(d, before));  // measuring draws nothing

    Rect measured{5, 7, 5 + c.width, 9};
    EXPECT_EQ(MeasureTextCp(c.text, measured, c.format, f), h);
    EXPECT_EQ(measured, r);
  }
}

TEST(DrawTextPrefix, UnderlinesTheMarkedCharacterOnly) {
  const FontSpec f = Arial(-20);
  const FontMetrics m = Engine().Metrics(f);
  const Rect rect{10, 10, 190, 60};
  Dib plain = Drawn("abc", rect, DT_NOPREFIX, f);
  Dib marked = Drawn("a&bc", rect, 0, f);
  Ink extra = InkBetween(plain, marked);
  ASSERT_GT(extra.count, 0);
  int bLeft = rect.left + W(f, "a"), bRight = rect.left + W(f, "ab");
  EXPECT_EQ(extra.box.left, bLeft);
  EXPECT_EQ(extra.box.right, bRight);
  EXPECT_GE(extra.box.top, rect.top + m.ascent);  // below the baseline
  EXPECT_LE(extra.box.bottom, rect.top + m.height);
  for (int x = bLeft; x < bRight; ++x) EXPECT_EQ(marked.pixel(x, extra.box.top), RGB(0, 0, 0)) << x;
}

TEST(DrawTextPrefix, AmpersandFormsDrawAsExpected) {
  const FontSpec f = Arial(-16);
  const Rect rect{4, 4, 190, 40};
  struct Case {
    const char* why;
    const char* text;
    unsigned format;
    const char* same;  // drawn with DT_NOPREFIX
  } cases[] = {
      {"a double ampersand is one", "a&&b", 0, "a&b"},
      {"no-prefix draws every ampersand", "a&&b&c", DT_NOPREFIX, "a&&b&c"},
      {"hidden prefix draws no underline", "a&bc", DT_HIDEPREFIX, "abc"},
      {"a closing ampersand draws nothing", "abc&", 0, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_TRUE(SamePixels(Drawn(c.text, rect, c.format, f), Drawn(c.same, rect, DT_NOPREFIX, f)));
  }
}

TEST(DrawTextAlign, CentresTheInkInTheRectangle) {
  const FontSpec f = Arial(-20);
  const int lineHeight = Engine().Metrics(f).height;
  struct Case {
    const char* why;
    Rect rect;
    unsigned format;
  } cases[] = {
      {"single line", {10, 10, 191, 71}, DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {"even-sized rectangle", {20, 5, 120, 45}, DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {"a one-line result is centred too", {10, 10, 191, 71}, DT_CENTER | DT_VCENTER | DT_WORDBREAK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Rect r = c.rect;
    Dib d = WhiteCanvas(200, 80);
    int h = DrawTextCp(d, "HOH", r, c.format, f, RGB(0, 0, 0), {0, 0, 200, 80});
    Ink ink = InkBetween(WhiteCanvas(200, 80), d);
    ASSERT_GT(ink.count, 0);
    EXPECT_NEAR(ink.centreX(), (r.left + r.right - 1) / 2.0, 1.0);
    EXPECT_NEAR(ink.centreY(), (r.top + r.bottom - 1) / 2.0, 1.0);
    // The result reaches from the rectangle's top to the bottom of the text.
    EXPECT_EQ(h, (r.height() - lineHeight) / 2 + lineHeight);
    EXPECT_EQ(r, c.rect);
  }
}

TEST(DrawTextAlign, RightAndBottomAndTheMultiLineRule) {
  const FontSpec f = Arial(-20);
  const FontMetrics m = Engine().Metrics(f);
  const Rect rect{10, 10, 180, 75};
  const Dib white = WhiteCanvas(200, 80);

  Ink corner = InkBetween(white, Drawn("HH", rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, f));
  EXPECT_LE(corner.box.right, rect.right);
  EXPECT_GE(corner.box.right, rect.right - 3);
  EXPECT_EQ(corner.box.bottom, rect.bottom - m.descent);  // capitals stand on the baseline

  Rect r = rect;
  Dib d = white;
  EXPECT_EQ(DrawTextCp(d, "HH", r, DT_BOTTOM | DT_SINGLELINE, f, 0, {0, 0, 200, 80}), rect.height());

  Ink right = InkBetween(white, Drawn("HH", rect, DT_RIGHT, f));
  EXPECT_GE(right.box.right, rect.right - 3);
  EXPECT_LT(right.box.top, rect.top + m.ascent);  // top-aligned without DT_VCENTER

  // Vertical centring applies to one line only: two lines stay at the top.
  Ink two = InkBetween(white, Drawn("H\nH", rect, DT_VCENTER, f));
  EXPECT_EQ(two.box.top, InkBetween(white, Drawn("H", rect, DT_TOP, f)).box.top);
}

TEST(DrawTextWordBreak, DrawsEachPieceOnItsOwnLine) {
  const FontSpec f = Arial(-16);
  const int lineHeight = Engine().Metrics(f).height;
  Rect rect{10, 5, 10 + W(f, "jedna dva"), 75};
  Dib white = WhiteCanvas(200, 80);
  Dib d = Drawn("jedna dva t\xF8i", rect, DT_WORDBREAK, f);
  Dib first = Drawn("jedna dva", rect, DT_NOPREFIX, f);
  Rect second = rect.Offset(0, lineHeight);
  Dib both = first;
  DrawTextCp(both, "t\xF8i", second, DT_NOPREFIX, f, RGB(0, 0, 0), {0, 0, 200, 80});
  EXPECT_TRUE(SamePixels(d, both));
  EXPECT_GT(InkBetween(first, d).count, 0);
}

TEST(DrawTextClip, TouchesNothingOutsideTheRectangleOrTheClip) {
  const FontSpec f = Arial(-22);
  const std::string text = "P\xF8\xEDli\x9A \xBEluou\xE8k\xFD k\xF9\xF2";
  const Rect rect{20, 10, 90, 30};
  const Rect clip{0, 0, 150, 40};
  Dib before = PatternCanvas(160, 50);

  Dib clipped = before;
  Rect r = rect;
  DrawTextCp(clipped, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, f, RGB(0, 0, 255), clip);
  Ink ink = InkBetween(before, clipped);
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.box.left, rect.left);
  EXPECT_GE(ink.box.top, rect.top);
  EXPECT_LE(ink.box.right, rect.right);
  EXPECT_LE(ink.box.bottom, rect.bottom);

  Dib unclipped = before;
  r = rect;
  DrawTextCp(unclipped, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, f, RGB(0, 0, 255), clip);
  Ink wide = InkBetween(before, unclipped);
  EXPECT_LT(wide.box.left, rect.left);  // the text is wider than the rectangle
  EXPECT_GT(wide.box.right, rect.right);
  EXPECT_GE(wide.box.left, clip.left);
  EXPECT_LE(wide.box.right, clip.right);  // the clip still holds
  EXPECT_LE(wide.box.bottom, clip.bottom);
}

TEST(DrawTextClip, RandomTextAndFlagsStayInsideTheirArea) {
  // Prefixes, breaks, tabs and spaces in any order, with any flags and rectangles.
  const std::string alphabet = "&&  \r\n\t\x01" "aWj\xE8\xF8\x9E\xF9\x81\xA0-";
  const unsigned flags[] = {DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM, DT_WORDBREAK, DT_SINGLELINE,
                            DT_EXPANDTABS, DT_NOCLIP, DT_NOPREFIX, DT_HIDEPREFIX};
  std::mt19937 random(1250);
  FontSpec f = Arial(-13);
  f.underline = true;
  for (int round = 0; round < 300; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    unsigned format = 0;
    for (unsigned flag : flags)
      if (random() % 3 == 0) format |= flag;
    int left = int(random() % 80) - 20, top = int(random() % 60) - 20;
    Rect rect{left, top, left + int(random() % 90) - 10, top + int(random() % 50) - 5};
    Rect clip{int(random() % 30), int(random() % 20), 60 + int(random() % 40), 30 + int(random() % 20)};
    SCOPED_TRACE(testing::Message() << "round " << round << " format " << std::hex << format);

    Dib before = PatternCanvas(100, 50), d = before;
    Rect r = rect;
    int h = DrawTextCp(d, text, r, format, f, RGB(0, 0, 0), clip);
    EXPECT_EQ(r, rect);
    Rect allowed = clip.Intersect({0, 0, 100, 50});
    if (!(format & DT_NOCLIP)) allowed = allowed.Intersect(rect);
    Ink ink = InkBetween(before, d);
    if (ink.count > 0) {
      EXPECT_GE(ink.box.left, allowed.left);
      EXPECT_GE(ink.box.top, allowed.top);
      EXPECT_LE(ink.box.right, allowed.right);
      EXPECT_LE(ink.box.bottom, allowed.bottom);
    }
    Rect measured = rect;
    int measuredHeight = MeasureTextCp(text, measured, format, f);
    EXPECT_GE(measured.right, measured.left);
    EXPECT_EQ(measured.bottom - measured.top, measuredHeight);
    if (!(format & (DT_VCENTER | DT_BOTTOM))) {
      EXPECT_EQ(h, measuredHeight);
    }
  }
}

TEST(DrawTextPaletted, DrawsTextAndPrefixOnAnEightBitBitmap) {
  const FontSpec f = Arial(-16);
  std::vector<RGBQuad> palette(256);
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  palette[7] = {0, 0, 255, 0};  // red
  Dib d(120, 30, 8, palette);
  d.fill(RGB(255, 255, 255));
  Dib before = d;
  Rect rect{2, 2, 118, 28};
  int h = DrawTextCp(d, "&Kon\xEC\x63", rect, DT_LEFT, f, RGB(250, 0, 0), {0, 0, 120, 30});
  EXPECT_EQ(h, Engine().Metrics(f).height);
  Ink ink = InkBetween(before, d);
  ASSERT_GT(ink.count, 20);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) ASSERT_TRUE(d.rawPixel(x, y) == 255 || d.rawPixel(x, y) == 7) << x << "," << y;
  // The underline under K: a full row across its advance.
  int underlineRow = -1;
  for (int y = 2 + Engine().Metrics(f).ascent; y < 2 + Engine().Metrics(f).height && underlineRow < 0; ++y) {
    bool full = true;
    for (int x = 2; x < 2 + W(f, "K"); ++x) full = full && d.rawPixel(x, y) == 7;
    if (full) underlineRow = y;
  }
  EXPECT_GE(underlineRow, 0);
}

}  // namespace
}  // namespace tlb
