// Objects, contexts, selection and the per-pixel calls of the drawing layer.
#include <gtest/gtest.h>

#include "platform/graphics/raster.h"
#include "tests/raster/pictures.h"

using namespace tlb;
using namespace rastertest;

namespace {

const Legend kColors = {{'k', 0x000000}, {'w', 0xFFFFFF}, {'r', 0x0000FF}, {'g', 0x00FF00},
                        {'F', 0xC0C0C0}};

}  // namespace

TEST(MemoryContext, StartsWithAOneByOneMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc->bitmap, nullptr);
  EXPECT_EQ(dc->bitmap->dib.width(), 1);
  EXPECT_EQ(dc->bitmap->dib.bpp(), 1);
  // So a bitmap "compatible" with a fresh memory DC is monochrome, as in Windows.
  HBITMAP mono = CreateCompatibleBitmap(dc, 5, 3);
  EXPECT_EQ(mono->dib.bpp(), 1);
  HBITMAP colour = CreateCompatibleBitmap(nullptr, 5, 3);
  EXPECT_EQ(colour->dib.bpp(), 32);
  HGDIOBJ stock = SelectObject(dc, colour);
  EXPECT_EQ(dc->surface, &colour->dib);
  HBITMAP second = CreateCompatibleBitmap(dc, 2, 2);
  EXPECT_EQ(second->dib.bpp(), 32) << "once a colour bitmap is selected";
  EXPECT_EQ(SelectObject(dc, stock), colour) << "SelectObject returns the previous bitmap";
  DeleteObject(second);
  DeleteObject(colour);
  DeleteObject(mono);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc)) << "a context is deleted once";
}

TEST(Selection, ReturnsThePreviousObjectOfEachKind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH red = CreateSolidBrush(0x0000FF);
  HPEN pen = CreatePen(PS_DASH, 1, 0x00FF00);
  HFONT font = CreateFontFromSpec(FontSpec{"Arial", -11});
  EXPECT_EQ(SelectObject(dc, red), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, font), nullptr);
  EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), red);
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  // A bitmap goes into a memory context only.
  Dib surface(2, 2, 32);
  HDC window = CreateSurfaceDC(&surface, {0, 0}, {0, 0, 2, 2});
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(window, bitmap), nullptr);
  EXPECT_EQ(window->surface, &surface);
  DeleteObject(bitmap);
  DeleteDC(window);
  DeleteObject(red);
  DeleteObject(pen);
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(font)) << "still the caller's to free once its context is gone";
}

TEST(Selection, ColoursAndModesReturnThePreviousValues) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetTextColor(dc, 0x0000FF), 0x000000u);
  EXPECT_EQ(SetTextColor(dc, 0x00FF00), 0x0000FFu);
  EXPECT_EQ(SetBkColor(dc, 0xC0C0C0), 0xFFFFFFu);
  EXPECT_EQ(GetBkColor(dc), 0xC0C0C0u);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0) << "an unknown mode is refused";
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
  DeleteDC(dc);
}

// Deleting an object a context still holds frees it once the context lets go, so the
// context never draws into freed memory (the sanitizers check the rest).
TEST(Ownership, DeletingASelectedObjectWaitsForTheContext) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(3, 1, 1, 32, nullptr);
  HBRUSH brush = CreateSolidBrush(0x0000FF);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(PatBlt(dc, 0, 0, 3, 1, PATCOPY));
  EXPECT_EQ(dc->surface->pixel(2, 0), 0x0000FFu);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
}

TEST(Ownership, ForeignAndStockObjectsAreNotFreed) {
  GdiBitmap mine{Dib(1, 1, 32)};
  EXPECT_FALSE(DeleteObject(&mine)) << "not made by the layer";
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))->color, 0x000000u);
  HBRUSH brush = CreateSolidBrush(0);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "a second delete is refused";
  EXPECT_EQ(GetStockBrush(BS_NULL)->style, BS_NULL);
}

TEST(Bitmaps, CreateBitmapTakesWordAlignedRows) {
  // 10 pixels of 1 bit: 2 bytes a row in the caller's buffer (not 4).
  const uint8_t bits[] = {0b10000000, 0b01000000, 0b00000001, 0b10000000};
  HBITMAP bitmap = CreateBitmap(10, 2, 1, 1, bits);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(RenderMono(bitmap->dib), (std::vector<std::string>{"1000000001", "0000000110"}));
  EXPECT_EQ(bitmap->dib.pixel(0, 0), 0xFFFFFFu) << "palette black, white";
  EXPECT_EQ(bitmap->dib.pixel(1, 0), 0x000000u);
  DeleteObject(bitmap);
  EXPECT_EQ(CreateBitmap(4, 4, 2, 1, nullptr), nullptr) << "one plane only";
  EXPECT_EQ(CreateBitmap(4, 4, 1, 3, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 1, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(40000, 4, 1, 1, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(30000, 30000, 1, 32, nullptr), nullptr) << "too much memory";
  HBITMAP empty = CreateBitmap(0, 5, 1, 1, bits);
  ASSERT_NE(empty, nullptr) << "an empty request gives an empty bitmap of its own";
  EXPECT_TRUE(empty->dib.empty());
  EXPECT_TRUE(DeleteObject(empty));
}

TEST(Pixels, GetNearestColourFollowsTheSelectedBitmap) {
  struct Case {
    int bpp;
    COLORREF asked, expected;
  } cases[] = {
      {32, 0xC8C8C8, 0xC8C8C8}, {4, 0xC8C8C8, 0xC0C0C0}, {4, 0xFFFFFF, 0xFFFFFF},
      {1, 0xC8C8C8, 0xFFFFFF},  {1, 0x303030, 0x000000}, {32, 0x02C8C8C8, 0xC8C8C8},
      {16, 0xC8C8C8, 0xC8C8C8},
  };
  for (const Case& c : cases) {
    MemoryDC dc(Dib(1, 1, c.bpp, StandardPalette(c.bpp)));
    EXPECT_EQ(GetNearestColor(dc.dc(), c.asked), c.expected) << c.bpp << " bits, " << std::hex << c.asked;
  }
}

TEST(Pixels, LogicalCoordinatesAndTheClip) {
  Dib surface(6, 4, 32);
  HDC dc = CreateSurfaceDC(&surface, {2, 1}, {1, 1, 5, 4});
  EXPECT_EQ(SetPixel(dc, 1, 2, 0x0000FF), 0x0000FFu);
  EXPECT_EQ(surface.pixel(3, 3), 0x0000FFu);
  EXPECT_EQ(GetPixel(dc, 1, 2), 0x0000FFu);
  EXPECT_EQ(GetPixel(dc, 3, 0), CLR_INVALID) << "surface column 5 is outside the clip";
  EXPECT_EQ(SetPixel(dc, -2, 0, 0x0000FF), CLR_INVALID);
  EXPECT_EQ(surface.pixel(0, 1), 0x000000u);
  DeleteDC(dc);
  MemoryDC paletted(Dib(1, 1, 4, StandardPalette(4)));
  EXPECT_EQ(SetPixel(paletted.dc(), 0, 0, 0x0000F0), 0x0000FFu) << "the colour really set";
}

// The 8x8 dither: a pattern brush aligned to the surface's (0, 0), whatever the
// context's origin and the rectangle filled.
TEST(Brushes, PatternBrushAlignsToTheSurface) {
  Dib dither(8, 8, 32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) dither.setPixel(x, y, (x + y) % 2 == 0 ? 0xFFFFFF : 0xC0C0C0);
  HBITMAP pattern = CreateDIBitmap(dither);
  HBRUSH brush = CreatePatternBrush(pattern);
  Dib surface(12, 12, 32);
  HDC dc = CreateSurfaceDC(&surface, {3, 2}, {0, 0, 12, 12});
  EXPECT_EQ(FillRect(dc, {1, 1, 9, 8}, brush), 1);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      bool inside = x >= 4 && x < 12 && y >= 3 && y < 10;
      COLORREF expected = !inside ? 0x000000 : (x + y) % 2 == 0 ? 0xFFFFFF : 0xC0C0C0;
      ASSERT_EQ(surface.pixel(x, y), expected) << x << "," << y;
    }
  DeleteDC(dc);
  DeleteObject(brush);
  DeleteObject(pattern);
}

TEST(Brushes, FillRectHonoursTheClipAndTheHollowBrush) {
  Dib surface = MakeDib({"kkkk", "kkkk"}, kColors);
  HDC dc = CreateSurfaceDC(&surface, {0, 0}, {1, 0, 3, 2});
  HBRUSH red = CreateSolidBrush(0x0000FF);
  EXPECT_EQ(FillRect(dc, {0, 0, 4, 1}, red), 1);
  EXPECT_EQ(FillRect(dc, {0, 1, 4, 2}, GetStockBrush(BS_NULL)), 1);
  EXPECT_EQ(FillRect(dc, {0, 1, 4, 2}, nullptr), 0);
  EXPECT_EQ(Render(surface, kColors), (std::vector<std::string>{"krrk", "kkkk"}));
  DeleteObject(red);
  DeleteDC(dc);
}

TEST(Palettes, PaletteIndexColoursComeFromTheSelectedPalette) {
  HPALETTE palette = CreatePalette({QuadFromRGB(0x112233), QuadFromRGB(0x445566)});
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectPalette(dc, palette, false), nullptr);
  EXPECT_EQ(ResolveColor(dc, PALETTEINDEX(1)), 0x445566u);
  EXPECT_EQ(ResolveColor(dc, 0x02C0C0C0), 0xC0C0C0u);
  EXPECT_EQ(SelectPalette(dc, palette, false), palette);
  DeleteDC(dc);
  DeleteObject(palette);
  EXPECT_EQ(CreatePalette({}), nullptr);
}
