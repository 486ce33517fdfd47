// Ternary raster operations and the colour conversions of block transfers.
#include <gtest/gtest.h>

#include <functional>

#include "platform/core/exceptions.h"
#include "platform/graphics/raster.h"
#include "tests/raster/pictures.h"

using namespace tlb;
using namespace rastertest;

namespace {

const Legend kColors = {{'k', 0x000000}, {'w', 0xFFFFFF}, {'r', 0x0000FF}, {'g', 0x00FF00},
                        {'b', 0xFF0000}, {'s', 0xC0C0C0}, {'y', 0x00FFFF}};

}  // namespace

// The named operations have the truth tables their names say, read with the index
// P*4 + S*2 + D into bits 16-23 of the code.
TEST(RasterOperation, NamedCodesComputeTheirFunctions) {
  using F = std::function<uint32_t(uint32_t, uint32_t, uint32_t)>;
  struct Case {
    const char* name;
    uint32_t code;
    F f;
  } cases[] = {
      {"SRCCOPY", SRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return s; }},
      {"SRCPAINT", SRCPAINT, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }},
      {"SRCAND", SRCAND, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }},
      {"SRCINVERT", SRCINVERT, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }},
      {"SRCERASE", SRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return s & ~d; }},
      {"NOTSRCCOPY", NOTSRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return ~s; }},
      {"NOTSRCERASE", NOTSRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return ~(s | d); }},
      {"MERGECOPY", MERGECOPY, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }},
      {"MERGEPAINT", MERGEPAINT, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }},
      {"PATCOPY", PATCOPY, [](uint32_t p, uint32_t, uint32_t) { return p; }},
      {"PATPAINT", PATPAINT, [](uint32_t p, uint32_t s, uint32_t d) { return p | ~s | d; }},
      {"PATINVERT", PATINVERT, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }},
      {"DSTINVERT", DSTINVERT, [](uint32_t, uint32_t, uint32_t d) { return ~d; }},
      {"BLACKNESS", BLACKNESS, [](uint32_t, uint32_t, uint32_t) { return 0u; }},
      {"WHITENESS", WHITENESS, [](uint32_t, uint32_t, uint32_t) { return ~0u; }},
      {"DSna", 0x00220326, [](uint32_t, uint32_t s, uint32_t d) { return d & ~s; }},
      {"DSPDxax", 0x00E20746, [](uint32_t p, uint32_t s, uint32_t d) { return (p & s) | (d & ~s); }},
      {"PSDPxax", 0x00B8074A, [](uint32_t p, uint32_t s, uint32_t d) { return (p & ~s) | (d & s); }},
  };
  const uint32_t p = 0xF0F0F0F0, s = 0xCCCCCCCC, d = 0xAAAAAAAA;
  for (const Case& c : cases) EXPECT_EQ(ApplyRop3(RopTable(c.code), p, s, d), c.f(p, s, d)) << c.name;
  EXPECT_TRUE(RopUsesSource(RopTable(SRCCOPY)));
  EXPECT_FALSE(RopUsesPattern(RopTable(SRCCOPY)));
  EXPECT_FALSE(RopUsesDest(RopTable(SRCCOPY)));
  EXPECT_FALSE(RopUsesSource(RopTable(PATINVERT)));
  EXPECT_TRUE(RopUsesDest(RopTable(PATINVERT)));
}

// On a 1-bit surface, column i holds P = bit 2 of i, S = bit 1, D = bit 0; the
// result of every one of the 256 operations in column i must be bit i of its table.
TEST(RasterOperation, AllOperationsOnMonochromeSurfaces) {
  Dib dest = MakeMono({"01010101"});
  Dib source = MakeMono({"00110011"});
  Dib pattern = MakeMono({"00001111"});
  HBITMAP patternBitmap = CreateDIBitmap(pattern);
  for (int op = 0; op < 256; ++op) {
    MemoryDC dst(dest), src(source);
    Selected brush(dst.dc(), CreatePatternBrush(patternBitmap));
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 8, 1, src.dc(), 0, 0, uint32_t(op) << 16));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(dst.dib().rawPixel(i, 0), uint32_t((op >> i) & 1)) << "op " << op << " column " << i;
  }
  DeleteObject(patternBitmap);
}

// On a 32-bit surface the operation works bit by bit on the pixel values: with the
// pattern 0xF0F0F0, the source 0xCCCCCC and the destination 0xAAAAAA, each byte of
// the result is the operation's table itself.
TEST(RasterOperation, AllOperationsOnTrueColourSurfaces) {
  for (int op = 0; op < 256; ++op) {
    Dib dest(2, 1, 32), source(2, 1, 32);
    dest.fill(0xAAAAAA);
    source.fill(0xCCCCCC);
    MemoryDC dst(dest), src(source);
    Selected brush(dst.dc(), CreateSolidBrush(0xF0F0F0));
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, uint32_t(op) << 16));
    EXPECT_EQ(dst.dib().pixel(1, 0), RGB(uint8_t(op), uint8_t(op), uint8_t(op))) << "op " << op;
    EXPECT_EQ(dst.dib().row(0)[7], 0) << "the unused byte stays clear, op " << op;
  }
}

TEST(RasterOperation, PatBltRefusesSourceOperationsAndDrawsNothingWithAHollowBrush) {
  MemoryDC dst(MakeDib({"rrr"}, kColors));
  EXPECT_FALSE(PatBlt(dst.dc(), 0, 0, 3, 1, SRCCOPY));
  SelectObject(dst.dc(), GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(PatBlt(dst.dc(), 0, 0, 3, 1, PATCOPY));
  EXPECT_EQ(Render(dst.dib(), kColors), (std::vector<std::string>{"rrr"}));
  SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(PatBlt(dst.dc(), 1, 0, 1, 1, PATINVERT));  // white xor red is aqua
  EXPECT_EQ(dst.dib().pixel(1, 0), 0xFFFF00u);
  EXPECT_TRUE(PatBlt(dst.dc(), 3, 0, -1, 1, DSTINVERT));  // a negative width covers [2, 3)
  EXPECT_EQ(dst.dib().pixel(2, 0), 0xFFFF00u);
  EXPECT_EQ(dst.dib().pixel(0, 0), 0x0000FFu);
}

// Colour to monochrome: the pixels equal to the SOURCE context's background colour
// become 1, all others 0; the destination's colours play no part.
TEST(ColourConversion, ColourToMonochromeSetsTheSourceBackgroundColour) {
  struct Case {
    const char* what;
    int bpp;
    COLORREF background;
    const char* expected;
  } cases[] = {
      {"32-bit, silver", 32, 0xC0C0C0, "0101"},
      {"32-bit, white", 32, 0xFFFFFF, "0010"},
      {"24-bit, silver", 24, 0xC0C0C0, "0101"},
      {"16-bit matches the colour as 5-5-5 holds it", 16, 0xC0C0C0, "0101"},
      {"4-bit, through the palette", 4, 0xC0C0C0, "0101"},
      {"8-bit, red", 8, 0x0000FF, "1000"},
      {"no pixel of that colour", 32, 0x00FF00, "0000"},
  };
  for (const Case& c : cases) {
    MemoryDC src(MakeDib({"rsws"}, kColors, c.bpp));
    MemoryDC dst(MakeMono({"1010"}));
    SetBkColor(src.dc(), c.background);
    SetBkColor(dst.dc(), 0x0000FF);  // ignored: the source's colour counts
    SetTextColor(dst.dc(), 0xC0C0C0);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(RenderMono(dst.dib())[0], c.expected) << c.what;
  }
}

// Monochrome to colour: 0 takes the DESTINATION context's text colour, 1 its background.
TEST(ColourConversion, MonochromeToColourUsesTheDestinationTextAndBackground) {
  MemoryDC src(MakeMono({"0110"}));
  SetTextColor(src.dc(), 0x00FF00);  // the source's colours play no part
  SetBkColor(src.dc(), 0x00FFFF);
  for (int bpp : {32, 24, 16, 8, 4}) {
    MemoryDC dst(MakeDib({"ssss"}, kColors, bpp));
    SetTextColor(dst.dc(), 0x0000FF);
    SetBkColor(dst.dc(), 0xFF0000);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(Render(dst.dib(), kColors)[0], "rbbr") << bpp << " bits";
  }
}

TEST(ColourConversion, MonochromeToMonochromeCopiesTheBits) {
  Dib inverted = MakeMono({"0110"});
  inverted.palette() = {QuadFromRGB(0xFFFFFF), QuadFromRGB(0x000000)};  // the colours do not matter
  MemoryDC src(inverted), dst(MakeMono({"0000"}));
  SetTextColor(dst.dc(), 0xFFFFFF);
  SetBkColor(dst.dc(), 0x000000);
  ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(RenderMono(dst.dib())[0], "0110");
}

// Paletted surfaces with one palette exchange indexes, so duplicate entries survive
// and the operations combine indexes; other pairs go through the colours.
TEST(ColourConversion, PalettedSurfacesCombineIndexes) {
  std::vector<RGBQuad> palette = StandardPalette(8);
  palette[200] = QuadFromRGB(0x0000FF);  // a second red, besides index 9
  Dib source(2, 1, 8, palette), dest(2, 1, 8, palette);
  source.setRawPixel(0, 0, 200);
  source.setRawPixel(1, 0, 9);
  {
    MemoryDC src(source), dst(dest);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.dib().rawPixel(0, 0), 200u);
    EXPECT_EQ(dst.dib().rawPixel(1, 0), 9u);
  }
  {
    Dib d4(2, 1, 4, StandardPalette(4)), s4(2, 1, 4, StandardPalette(4));
    d4.setRawPixel(0, 0, 0x9);
    s4.setRawPixel(0, 0, 0x3);
    MemoryDC src(s4), dst(d4);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCINVERT));
    EXPECT_EQ(dst.dib().rawPixel(0, 0), 0xAu);  // 9 xor 3, an index
  }
  {
    MemoryDC src(source), dst(Dib(2, 1, 32));
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(Render(dst.dib(), kColors)[0], "rr");
  }
  {
    MemoryDC src(MakeDib({"gs"}, kColors)), dst(Dib(2, 1, 4, StandardPalette(4)));
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.dib().rawPixel(0, 0), 10u);  // the standard 16 colours hold lime at 10
    EXPECT_EQ(dst.dib().rawPixel(1, 0), 7u);   // and silver at 7
  }
}

// A monochrome pattern brush paints with the destination's text (0) and background (1) colours.
TEST(ColourConversion, MonochromePatternBrushUsesTextAndBackground) {
  HBITMAP pattern = CreateDIBitmap(MakeMono({"01", "10"}));
  MemoryDC dst(Dib(4, 2, 32));
  SetTextColor(dst.dc(), 0x0000FF);
  SetBkColor(dst.dc(), 0x00FF00);
  Selected brush(dst.dc(), CreatePatternBrush(pattern));
  DeleteObject(pattern);  // the brush holds its own copy
  ASSERT_TRUE(PatBlt(dst.dc(), 0, 0, 4, 2, PATCOPY));
  EXPECT_EQ(Render(dst.dib(), kColors), (std::vector<std::string>{"rgrg", "grgr"}));
}

TEST(BlitGeometry, DestinationOriginAndClip) {
  Dib surface = MakeDib({"kkkkkk", "kkkkkk", "kkkkkk"}, kColors);
  HDC dc = CreateSurfaceDC(&surface, {2, 1}, {0, 0, 4, 3});
  MemoryDC src(MakeDib({"rgb", "ysw"}, kColors));
  // Logical (0, 0) is surface (2, 1); surface column 4 lies outside the clip.
  ASSERT_TRUE(BitBlt(dc, 0, 0, 3, 2, src.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(Render(surface, kColors), (std::vector<std::string>{"kkkkkk", "kkrgkk", "kkyskk"}));
  DeleteDC(dc);
}

TEST(BlitGeometry, SourceBoundsLeaveTheRestAlone) {
  Dib surface = MakeDib({"kkkkk", "kkkkk"}, kColors);
  HDC dc = CreateSurfaceDC(&surface, {0, 0}, {0, 0, 4, 2});
  MemoryDC src(MakeDib({"rg", "by"}, kColors));
  // Two source columns to the left of the source do not exist: those destination pixels stay.
  ASSERT_TRUE(BitBlt(dc, 0, 0, 4, 2, src.dc(), -2, 0, SRCCOPY));
  EXPECT_EQ(Render(surface, kColors), (std::vector<std::string>{"kkrgk", "kkbyk"}));
  // The clip ends at column 4: column 4 stays black although the source covers it.
  ASSERT_TRUE(BitBlt(dc, 3, 0, 2, 1, src.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(Render(surface, kColors)[0], "kkrrk");
  DeleteDC(dc);
}

TEST(BlitGeometry, OverlappingCopyOnOneSurface) {
  MemoryDC dc(MakeDib({"rgbyk"}, kColors));
  ASSERT_TRUE(BitBlt(dc.dc(), 1, 0, 4, 1, dc.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(Render(dc.dib(), kColors)[0], "rrgby");
}

TEST(BlitGeometry, StretchScalesAndMirrors) {
  MemoryDC src(MakeDib({"rg", "by"}, kColors));
  {
    MemoryDC dst(Dib(4, 4, 32));
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Render(dst.dib(), kColors), (std::vector<std::string>{"rrgg", "rrgg", "bbyy", "bbyy"}));
  }
  {
    MemoryDC dst(Dib(2, 2, 32));
    ASSERT_TRUE(StretchBlt(dst.dc(), 2, 0, -2, 2, src.dc(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Render(dst.dib(), kColors), (std::vector<std::string>{"gr", "yb"}));
  }
  {
    MemoryDC dst(Dib(1, 1, 32));
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dst.dib().pixel(0, 0), 0x00FFFFu) << "the source pixel under the centre";
  }
}

TEST(BlitGeometry, MissingContextsFail) {
  MemoryDC dst(Dib(2, 2, 32));
  EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 2, 2, dst.dc(), 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 2, nullptr, 0, 0, BLACKNESS));  // no source needed
  EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 0, 2, dst.dc(), 0, 0, SRCCOPY));
}

TEST(BlitGeometry, FarCoordinatesNeitherOverflowNorDraw) {
  MemoryDC dst(MakeDib({"kk"}, kColors)), src(MakeDib({"rr"}, kColors));
  EXPECT_TRUE(BitBlt(dst.dc(), 2147483600, 0, 1000, 1, src.dc(), 0, 0, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst.dc(), -2147483600, 0, 2147483600, 1, src.dc(), 2147483000, 0, 2000000000, 1, SRCCOPY));
  EXPECT_TRUE(PatBlt(dst.dc(), -2147483647, 0, -2147483647, 1, WHITENESS));
  EXPECT_EQ(Render(dst.dib(), kColors)[0], "kk");
  // A stretch from far left still reaches the surface with the right source pixel.
  EXPECT_TRUE(StretchBlt(dst.dc(), -2000000000, 0, 2000000002, 1, src.dc(), 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(Render(dst.dib(), kColors)[0], "rr");
}
