// The mask sequences of the glyph pictures, done with blits and with DIB bits, and the
// exchange of pixels through device-independent buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/exceptions.h"
#include "platform/graphics/raster.h"
#include "tests/raster/pictures.h"

using namespace tlb;
using namespace rastertest;

namespace {

const Legend kColors = {{'k', 0x000000}, {'w', 0xFFFFFF}, {'r', 0x0000FF}, {'g', 0x008000},
                        {'s', 0xC0C0C0}, {'d', 0x808080}};
const Legend kFace = {{'F', 0xC0C0C0}, {'H', 0xFFFFFF}, {'S', 0x808080}, {'k', 0x000000}, {'r', 0x0000FF}};

const std::vector<std::string> kGlyph = {
    "wsrk",
    "gwsd",
    "kkgs",
};

// A mask of the pixels of `colors`: SRCCOPY for the first colour, SRCPAINT for the others,
// each with the source's background colour set to it.
std::vector<std::string> MaskByBlits(const Dib& picture, std::initializer_list<COLORREF> colors) {
  MemoryDC src(picture);
  HBITMAP mask = CreateBitmap(picture.width(), picture.height(), 1, 1, nullptr);
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(maskDC, mask);
  bool first = true;
  for (COLORREF c : colors) {
    COLORREF previous = SetBkColor(src.dc(), c);
    BitBlt(maskDC, 0, 0, picture.width(), picture.height(), src.dc(), 0, 0, first ? SRCCOPY : SRCPAINT);
    SetBkColor(src.dc(), previous);
    first = false;
  }
  SelectObject(maskDC, old);
  DeleteDC(maskDC);
  std::vector<std::string> rows = RenderMono(mask->dib);
  DeleteObject(mask);
  return rows;
}

BITMAPINFO Header(int width, int height, int bpp) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = uint16_t(bpp);
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiColors[0] = QuadFromRGB(0x000000);
  info.bmiColors[1] = QuadFromRGB(0xFFFFFF);
  return info;
}

}  // namespace

TEST(MaskSequences, ColourMaskByBlitsOnTheBlitPathFormats) {
  for (int bpp : {4, 32}) {
    Dib picture = MakeDib(kGlyph, kColors, bpp);
    EXPECT_EQ(MaskByBlits(picture, {0xFFFFFF}), (std::vector<std::string>{"1000", "0100", "0000"})) << bpp;
    EXPECT_EQ(MaskByBlits(picture, {0xFFFFFF, 0xC0C0C0}), (std::vector<std::string>{"1100", "0110", "0001"})) << bpp;
    EXPECT_EQ(MaskByBlits(picture, {0x000000, 0xFFFFFF, 0xC0C0C0}),
              (std::vector<std::string>{"1101", "0110", "1101"}))
        << bpp;
  }
}

// DSna then SRCPAINT of a monochrome mask onto a colour picture (text black, background
// white): the pixels the mask marks become white, the others keep their colour.
TEST(MaskSequences, DsnaThenSrcPaintWhitensTheMaskedPixels) {
  MemoryDC picture(MakeDib(kGlyph, kColors));
  MemoryDC mask(MakeMono({"0011", "0001", "1000"}));
  ASSERT_TRUE(BitBlt(picture.dc(), 0, 0, 4, 3, mask.dc(), 0, 0, 0x00220326));
  EXPECT_EQ(Render(picture.dib(), kColors), (std::vector<std::string>{"wskk", "gwsk", "kkgs"}));
  ASSERT_TRUE(BitBlt(picture.dc(), 0, 0, 4, 3, mask.dc(), 0, 0, SRCPAINT));
  EXPECT_EQ(Render(picture.dib(), kColors), (std::vector<std::string>{"wsww", "gwsw", "wkgs"}));
}

// DSPDxax with a solid brush, text black and background white: the brush colour where
// the mask is set, the picture elsewhere.
TEST(MaskSequences, PaintThroughMask) {
  MemoryDC picture(MakeDib(kGlyph, kColors));
  MemoryDC mask(MakeMono({"1000", "0100", "0000"}));
  HBRUSH brush = CreateSolidBrush(0x0000FF);
  HGDIOBJ old = SelectObject(picture.dc(), brush);
  SetTextColor(picture.dc(), 0x000000);
  SetBkColor(picture.dc(), 0xFFFFFF);
  ASSERT_TRUE(BitBlt(picture.dc(), 0, 0, 4, 3, mask.dc(), 0, 0, 0x00E20746));
  SelectObject(picture.dc(), old);
  DeleteObject(brush);
  EXPECT_EQ(Render(picture.dib(), kColors), (std::vector<std::string>{"rsrk", "grsd", "kkgs"}));
}

// The emboss: a face-coloured picture one pixel larger than the mask, the highlight brush
// blitted at (1, 1) and the shadow brush at (0, 0). PSDPxax paints where the mask is
// clear; DSPDxax (the old style) where it is set.
TEST(MaskSequences, EmbossInBothStyles) {
  struct Case {
    const char* style;
    uint32_t rop;
    std::vector<std::string> mask;
  } cases[] = {
      {"new style, PSDPxax", 0x00B8074A, {"101", "101", "111"}},
      {"old style, DSPDxax", 0x00E20746, {"010", "010", "000"}},
  };
  for (const Case& c : cases) {
    MemoryDC picture(Dib(4, 4, 32));
    MemoryDC mask(MakeMono(c.mask));
    HBRUSH face = CreateSolidBrush(0xC0C0C0);
    FillRect(picture.dc(), {0, 0, 4, 4}, face);
    DeleteObject(face);
    for (auto [at, color] : {std::pair{1, COLORREF(0xFFFFFF)}, std::pair{0, COLORREF(0x808080)}}) {
      Selected brush(picture.dc(), CreateSolidBrush(color));
      SetTextColor(picture.dc(), 0x000000);
      SetBkColor(picture.dc(), 0xFFFFFF);
      ASSERT_TRUE(BitBlt(picture.dc(), at, at, 3, 3, mask.dc(), 0, 0, c.rop));
    }
    EXPECT_EQ(Render(picture.dib(), kFace), (std::vector<std::string>{"FSFF", "FSHF", "FFHF", "FFFF"})) << c.style;
  }
}

// A 32-bit read with a negative height gives the top row first, each pixel a word with
// blue in its lowest byte; a positive height gives the bottom row first.
TEST(DibBits, ReadThirtyTwoBitsTopDownAndBottomUp) {
  Dib picture = MakeDib({"rgk", "wsd"}, kColors);
  HBITMAP bitmap = CreateDIBitmap(picture);
  HDC dc = CreateCompatibleDC(nullptr);
  uint32_t words[6] = {};
  BITMAPINFO info = Header(3, -2, 32);
  EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, words, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(words[0], 0xFF0000u) << "red: 0x00RRGGBB with blue lowest";
  EXPECT_EQ(words[1], 0x008000u);
  EXPECT_EQ(words[3], 0xFFFFFFu);
  EXPECT_EQ(words[4], 0xC0C0C0u);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 24u);

  info = Header(3, 2, 32);
  EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, words, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(words[0], 0xFFFFFFu) << "bottom row first";
  EXPECT_EQ(words[3], 0xFF0000u);
  // One scan line from scan 1 of a bottom-up buffer is the top row.
  EXPECT_EQ(GetDIBits(dc, bitmap, 1, 5, words, &info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(words[0], 0xFF0000u);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// The mask of pixels of a colour, computed from the 32-bit words, stored in a 1-bit
// buffer with rows padded to 4 bytes and set into a CreateBitmap bitmap.
TEST(DibBits, MaskFromWordsThroughAPaddedOneBitBuffer) {
  const int w = 10, h = 2;
  Dib picture(w, h, 32);
  picture.fill(0x008000);
  for (int x : {0, 3, 9}) picture.setPixel(x, 0, 0xC0C0C0);
  picture.setPixel(8, 1, 0xC0C0C0);
  HBITMAP source = CreateDIBitmap(picture);
  HDC dc = CreateCompatibleDC(nullptr);
  std::vector<uint32_t> words(size_t(w) * h);
  BITMAPINFO info = Header(w, -h, 32);
  ASSERT_EQ(GetDIBits(dc, source, 0, h, words.data(), &info, DIB_RGB_COLORS), h);

  const int stride = ((w + 7) / 8 + 3) / 4 * 4;
  ASSERT_EQ(stride, 4);
  std::vector<uint8_t> buffer(size_t(stride) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((words[size_t(y) * w + size_t(x)] & 0xFFFFFF) == 0xC0C0C0) buffer[size_t(y) * stride + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
  buffer[2] = buffer[3] = 0xFF;  // the padding is never read as pixels
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  BITMAPINFO monoInfo = Header(w, -h, 1);
  EXPECT_EQ(SetDIBits(dc, mask, 0, h, buffer.data(), &monoInfo, DIB_RGB_COLORS), h);
  EXPECT_EQ(RenderMono(mask->dib), (std::vector<std::string>{"1001000001", "0000000010"}));
  DeleteObject(mask);
  DeleteObject(source);
  DeleteDC(dc);
}

// Learning the format (bit count 0), reading every row in it and setting them into a
// new bitmap with the same palette keeps the indexes, duplicate colours included.
TEST(DibBits, CopyThroughBitsInTheBitmapsOwnFormat) {
  std::vector<RGBQuad> palette = StandardPalette(8);
  palette[77] = palette[9];  // a second red
  Dib picture(5, 3, 8, palette);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture.setRawPixel(x, y, uint32_t(x * 50 + y + 2));
  picture.setRawPixel(1, 1, 77);
  HBITMAP source = CreateDIBitmap(picture);
  HBITMAP copy = CreateDIBitmap(Dib(5, 3, 8, palette));
  HPALETTE logical = CreatePalette(palette);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectPalette(dc, logical, false);
  EXPECT_EQ(RealizePalette(dc), 256u);

  BITMAPINFO info{};
  info.bmiHeader.biSize = 40;
  ASSERT_NE(GetDIBits(dc, source, 0, 3, nullptr, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(info.bmiHeader.biBitCount, 8);
  EXPECT_EQ(info.bmiHeader.biWidth, 5);
  EXPECT_EQ(info.bmiHeader.biHeight, 3);
  ASSERT_EQ(info.bmiHeader.biSizeImage, 24u);
  std::vector<uint8_t> bits(info.bmiHeader.biSizeImage);
  ASSERT_EQ(GetDIBits(dc, source, 0, 3, bits.data(), &info, DIB_RGB_COLORS), 3);
  EXPECT_EQ(info.bmiColors[77], palette[77]);
  ASSERT_EQ(SetDIBits(dc, copy, 0, 3, bits.data(), &info, DIB_RGB_COLORS), 3);
  EXPECT_EQ(copy->dib.bits(), picture.bits());
  DeleteDC(dc);
  DeleteObject(logical);
  DeleteObject(copy);
  DeleteObject(source);
}

TEST(DibBits, ConvertsToSmallerDepthsWithATable) {
  HBITMAP source = CreateDIBitmap(MakeDib({"rwk", "sgd"}, kColors));
  BITMAPINFO info = Header(3, -2, 4);
  std::vector<uint8_t> bits(8);
  ASSERT_EQ(GetDIBits(nullptr, source, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(RGBFromQuad(info.bmiColors[9]), 0x0000FFu) << "the standard 16-colour table";
  EXPECT_EQ(bits[0], 0x9F) << "red at index 9, white at 15";
  EXPECT_EQ(bits[1] >> 4, 0);
  EXPECT_EQ(bits[4], 0x72) << "silver 7, green 2";
  EXPECT_EQ(bits[5] >> 4, 8);
  DeleteObject(source);
}

TEST(DibBits, BadRequestsFailAndUnsupportedOnesRaise) {
  HBITMAP source = CreateDIBitmap(MakeDib({"rw"}, kColors));
  uint32_t words[2];
  BITMAPINFO info = Header(2, -1, 7);
  EXPECT_EQ(GetDIBits(nullptr, source, 0, 1, words, &info, DIB_RGB_COLORS), 0) << "7 bits per pixel";
  info = Header(0, -1, 32);
  EXPECT_EQ(GetDIBits(nullptr, source, 0, 1, words, &info, DIB_RGB_COLORS), 0) << "no width";
  info = Header(2, -1, 32);
  EXPECT_EQ(GetDIBits(nullptr, source, 3, 1, words, &info, DIB_RGB_COLORS), 0) << "start beyond the rows";
  EXPECT_EQ(GetDIBits(nullptr, nullptr, 0, 1, words, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(nullptr, source, 0, 1, nullptr, &info, DIB_RGB_COLORS), 0);
  info.bmiHeader.biCompression = BI_RLE8;
  EXPECT_THROW(SetDIBits(nullptr, source, 0, 1, words, &info, DIB_RGB_COLORS), EUnsupported);
  info = Header(2, -1, 32);
  EXPECT_THROW(GetDIBits(nullptr, source, 0, 1, words, &info, DIB_PAL_COLORS), EUnsupported);
  info.bmiHeader.biSize = 12;
  EXPECT_THROW(GetDIBits(nullptr, source, 0, 1, words, &info, DIB_RGB_COLORS), EUnsupported);
  DeleteObject(source);
}
