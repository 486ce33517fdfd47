#include "platform/formats/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "tests/support/damaged_copies.h"
#include "tests/support/le_bytes.h"

namespace tlb {
namespace {

using testing::Append;
using testing::Put16;
using testing::Put32;
using testing::PutId;


// The fields of a bitmap, assembled into bytes by Build().
struct Fields {
  uint32_t headerSize = 40;
  int32_t width = 1, height = 1;
  uint16_t bpp = 8;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t clrUsed = 0;
  std::vector<uint32_t> masks;   // after a 40-byte header, inside a longer one
  std::vector<RGBQuad> palette;  // 4-byte entries, 3-byte ones after a core header
  std::vector<uint8_t> gap;      // bytes between the colour table and the bits
  std::vector<uint8_t> bits;
  bool fileHeader = true;
  int64_t offBits = -1;  // -1: where the bits really start
};

std::vector<uint8_t> Build(const Fields& f) {
  std::vector<uint8_t> dib;
  if (f.headerSize == 12) {
    Put32(dib, 12);
    Put16(dib, uint32_t(f.width));
    Put16(dib, uint32_t(f.height));
    Put16(dib, 1);
    Put16(dib, f.bpp);
  } else {
    Put32(dib, f.headerSize);
    Put32(dib, uint32_t(f.width));
    Put32(dib, uint32_t(f.height));
    Put16(dib, 1);
    Put16(dib, f.bpp);
    Put32(dib, f.compression);
    Put32(dib, f.sizeImage);
    Put32(dib, 2835);
    Put32(dib, 2835);
    Put32(dib, f.clrUsed);
    Put32(dib, 0);
    if (f.headerSize > 40) {
      for (uint32_t m : f.masks) Put32(dib, m);
      dib.resize(f.headerSize, 0);
    } else {
      for (uint32_t m : f.masks) Put32(dib, m);
    }
  }
  for (const RGBQuad& q : f.palette) {
    dib.push_back(q.blue);
    dib.push_back(q.green);
    dib.push_back(q.red);
    if (f.headerSize != 12) dib.push_back(0);
  }
  dib.insert(dib.end(), f.gap.begin(), f.gap.end());
  size_t bitsStart = dib.size();
  dib.insert(dib.end(), f.bits.begin(), f.bits.end());
  if (!f.fileHeader) return dib;

  std::vector<uint8_t> file = {'B', 'M'};
  Put32(file, uint32_t(14 + dib.size()));
  Put32(file, 0);
  Put32(file, f.offBits >= 0 ? uint32_t(f.offBits) : uint32_t(14 + bitsStart));
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

Dib Read(const std::vector<uint8_t>& bytes) { return ReadBmp(bytes.data(), bytes.size()); }

// Palette indexes or packed pixels, top-down.
std::vector<std::vector<uint32_t>> RawRows(const Dib& dib) {
  std::vector<std::vector<uint32_t>> rows(size_t(dib.height()));
  for (int y = 0; y < dib.height(); ++y)
    for (int x = 0; x < dib.width(); ++x) rows[size_t(y)].push_back(dib.rawPixel(x, y));
  return rows;
}

const std::vector<RGBQuad> kSixteen = [] {
  std::vector<RGBQuad> p;
  for (int i = 0; i < 16; ++i) p.push_back(RGBQuad{uint8_t(i * 16), uint8_t(255 - i), uint8_t(i), 0});
  return p;
}();

TEST(BmpReader, PalettedDepthsKeepDepthPaletteAndLeftmostHighBit) {
  struct Case {
    const char* name;
    uint16_t bpp;
    int width;
    std::vector<uint8_t> bits;  // two rows as stored: bottom row first, each padded to 4 bytes
    std::vector<std::vector<uint32_t>> expected;  // top-down indexes
  };
  const Case cases[] = {
      {"1 bpp over two bytes", 1, 10, {0xB0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0},
       {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {1, 0, 1, 1, 0, 0, 0, 0, 0, 1}}},
      {"4 bpp odd width", 4, 3, {0x12, 0x30, 0, 0, 0xFE, 0xD0, 0, 0}, {{15, 14, 13}, {1, 2, 3}}},
      {"8 bpp width 5 pads 3 bytes", 8, 5, {1, 2, 3, 4, 5, 0, 0, 0, 9, 8, 7, 6, 15, 0, 0, 0},
       {{9, 8, 7, 6, 15}, {1, 2, 3, 4, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fields f;
    f.width = c.width;
    f.height = 2;
    f.bpp = c.bpp;
    f.palette.assign(kSixteen.begin(), kSixteen.begin() + (c.bpp == 1 ? 2 : 16));
    f.clrUsed = c.bpp == 8 ? 16 : 0;
    f.bits = c.bits;
    Dib dib = Read(Build(f));
    EXPECT_EQ(dib.bpp(), c.bpp);
    EXPECT_EQ(dib.width(), c.width);
    ASSERT_EQ(dib.palette().size(), size_t(1) << c.bpp);
    for (size_t i = 0; i < f.palette.size(); ++i) EXPECT_EQ(dib.palette()[i], f.palette[i]) << i;
    EXPECT_EQ(RawRows(dib), c.expected);
  }
}

TEST(BmpReader, DirectColourDepthsGiveTheirColours) {
  struct Case {
    const char* name;
    uint16_t bpp;
    std::vector<uint8_t> bits;  // one row of three pixels
    int expectedBpp;
    COLORREF expected[3];
  };
  const Case cases[] = {
      {"16 bpp is 5-5-5", 16, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}, 16,
       {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}},
      {"24 bpp is blue green red, padded", 24, {0x10, 0x20, 0x30, 0xFF, 0, 0, 1, 2, 3, 0, 0, 0}, 24,
       {RGB(0x30, 0x20, 0x10), RGB(0, 0, 255), RGB(3, 2, 1)}},
      {"32 bpp is blue green red unused", 32, {0x10, 0x20, 0x30, 0x99, 0, 0xFF, 0, 0, 7, 8, 9, 0}, 32,
       {RGB(0x30, 0x20, 0x10), RGB(0, 255, 0), RGB(9, 8, 7)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fields f;
    f.width = 3;
    f.bpp = c.bpp;
    f.bits = c.bits;
    Dib dib = Read(Build(f));
    EXPECT_EQ(dib.bpp(), c.expectedBpp);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dib.pixel(x, 0), c.expected[x]) << x;
  }
}

TEST(BmpReader, BottomUpAndTopDownFilesGiveTheSameTopDownDib) {
  Fields f;
  f.width = 2;
  f.height = 2;
  f.bpp = 24;
  f.bits = {0, 0, 0xFF, 0, 0, 0, 0, 0, /* bottom: red, black */ 0xFF, 0, 0, 0, 0, 0, 0, 0 /* top: blue */};
  Dib bottomUp = Read(Build(f));
  f.height = -2;
  f.bits = {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0};
  Dib topDown = Read(Build(f));
  EXPECT_EQ(bottomUp.pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(bottomUp.pixel(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(topDown.height(), 2);
  EXPECT_EQ(topDown.bits(), bottomUp.bits());
}

TEST(BmpReader, CoreHeaderWithThreeBytePaletteEntries) {
  Fields f;
  f.headerSize = 12;
  f.width = 3;
  f.height = 2;
  f.bpp = 1;
  f.palette = {RGBQuad{1, 2, 3, 0}, RGBQuad{200, 100, 50, 0}};
  f.bits = {0x40, 0, 0, 0, 0xA0, 0, 0, 0};
  Dib dib = Read(Build(f));
  EXPECT_EQ(dib.bpp(), 1);
  EXPECT_EQ(RawRows(dib), (std::vector<std::vector<uint32_t>>{{1, 0, 1}, {0, 1, 0}}));
  EXPECT_EQ(dib.pixel(0, 0), RGB(50, 100, 200));
  EXPECT_EQ(dib.pixel(1, 0), RGB(3, 2, 1));

  Fields truecolour;
  truecolour.headerSize = 12;
  truecolour.bpp = 24;
  truecolour.bits = {0x11, 0x22, 0x33, 0};
  EXPECT_EQ(Read(Build(truecolour)).pixel(0, 0), RGB(0x33, 0x22, 0x11));
}

TEST(BmpReader, ColourTableLengthFollowsClrUsed) {
  // Three entries stored; the bits start right after them, and the rest of the
  // palette is black.
  Fields f;
  f.width = 4;
  f.clrUsed = 3;
  f.palette = {RGBQuad{0, 0, 10, 0}, RGBQuad{0, 20, 0, 0}, RGBQuad{30, 0, 0, 0}};
  f.bits = {2, 1, 0, 200};
  Dib dib = Read(Build(f));
  ASSERT_EQ(dib.palette().size(), 256u);
  EXPECT_EQ(dib.pixel(0, 0), RGB(0, 0, 30));
  EXPECT_EQ(dib.pixel(1, 0), RGB(0, 20, 0));
  EXPECT_EQ(dib.pixel(3, 0), RGB(0, 0, 0));
  EXPECT_EQ(dib.rawPixel(3, 0), 200u);
}

TEST(BmpReader, BitsAreTakenFromTheFileHeaderOffset) {
  Fields f;
  f.bpp = 24;
  f.gap = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  f.bits = {1, 2, 3, 0};
  EXPECT_EQ(Read(Build(f)).pixel(0, 0), RGB(3, 2, 1));
  f.offBits = 0;  // written by some tools: the bits follow the colour table
  f.gap.clear();
  EXPECT_EQ(Read(Build(f)).pixel(0, 0), RGB(3, 2, 1));
}

TEST(BmpReader, BitFieldsAreKeptOrConverted) {
  struct Case {
    const char* name;
    uint32_t headerSize;
    uint16_t bpp;
    std::vector<uint32_t> masks;
    uint32_t value;
    int expectedBpp;
    COLORREF expected;
    uint32_t expectedAlpha;
  };
  const Case cases[] = {
      {"5-5-5 stays 16 bit", 40, 16, {0x7C00, 0x03E0, 0x001F}, 0x7C00, 16, RGB(255, 0, 0), 0},
      {"5-6-5 green", 40, 16, {0xF800, 0x07E0, 0x001F}, 0x07E0, 32, RGB(0, 255, 0), 0},
      {"5-6-5 mid blue rounds", 40, 16, {0xF800, 0x07E0, 0x001F}, 0x0010, 32, RGB(0, 0, 132), 0},
      {"5-6-5 red in a V5 header", 124, 16, {0xF800, 0x07E0, 0x001F}, 0xF800, 32, RGB(255, 0, 0), 0},
      {"32 bit with swapped red and blue", 108, 32, {0xFF, 0xFF00, 0xFF0000}, 0x0000FF, 32, RGB(255, 0, 0), 0},
      {"32 bit 10-10-10", 56, 32, {0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FF00000, 32, RGB(255, 0, 0), 0},
      {"standard masks keep the fourth byte", 124, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 0x80123456, 32,
       RGB(0x12, 0x34, 0x56), 0x80},
      {"alpha mask of a converted pixel", 124, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, 0x40000080, 32,
       RGB(0x80, 0, 0), 0x40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fields f;
    f.headerSize = c.headerSize;
    f.bpp = c.bpp;
    f.compression = 3;
    f.masks = c.masks;
    f.bits.clear();
    Put32(f.bits, c.value);  // a 16-bit pixel is followed by its row padding
    Dib dib = Read(Build(f));
    EXPECT_EQ(dib.bpp(), c.expectedBpp);
    EXPECT_EQ(dib.pixel(0, 0), c.expected);
    if (dib.bpp() == 32) {
      EXPECT_EQ(dib.rawPixel(0, 0) >> 24, c.expectedAlpha);
    }
  }
}

TEST(BmpReader, Rle8RunsLiteralsJumpsAndEndMarks) {
  Fields f;
  f.width = 6;
  f.height = 4;
  f.compression = 1;
  f.palette = kSixteen;
  f.clrUsed = 16;
  f.sizeImage = 1000;  // more than the file holds: the stream itself is complete
  f.bits = {
      0x03, 0x05,                          // row 0: three of 5
      0x00, 0x03, 0x07, 0x08, 0x09, 0x00,  // literal 7 8 9, padded to a word
      0x00, 0x00,                          // end of line
      0x02, 0x01,                          // row 1: two of 1
      0x00, 0x02, 0x02, 0x01,              // jump 2 right, 1 up: row 2, x 4
      0x02, 0x04,                          // two of 4
      0x00, 0x00,                          // end of line
      0x00, 0x04, 0x06, 0x07, 0x06, 0x07,  // row 3: even literal, no padding
      0x00, 0x01,                          // end of bitmap
  };
  Dib dib = Read(Build(f));
  EXPECT_EQ(dib.bpp(), 8);
  EXPECT_EQ(RawRows(dib), (std::vector<std::vector<uint32_t>>{
                              {6, 7, 6, 7, 0, 0},
                              {0, 0, 0, 0, 4, 4},
                              {1, 1, 0, 0, 0, 0},
                              {5, 5, 5, 7, 8, 9},
                          }));
}

TEST(BmpReader, Rle4RunsAlternateNibblesAndLiteralsArePadded) {
  Fields f;
  f.width = 7;
  f.height = 3;
  f.bpp = 4;
  f.compression = 2;
  f.palette = kSixteen;
  f.bits = {
      0x00, 0x05, 0x12, 0x34, 0x50, 0x00,  // row 0: literal 1 2 3 4 5 in 3 bytes, padded
      0x02, 0x66,                          // two of 6
      0x00, 0x00,                          // end of line
      0x03, 0x78,                          // row 1: 7 8 7
      0x00, 0x02, 0x01, 0x01,              // jump to row 2, x 4
      0x00, 0x03, 0xAB, 0xC0,              // literal A B C in 2 bytes
      0x00, 0x01,                          // end of bitmap
  };
  Dib dib = Read(Build(f));
  EXPECT_EQ(dib.bpp(), 4);
  EXPECT_EQ(RawRows(dib), (std::vector<std::vector<uint32_t>>{
                              {0, 0, 0, 0, 10, 11, 12},
                              {7, 8, 7, 0, 0, 0, 0},
                              {1, 2, 3, 4, 5, 6, 6},
                          }));
}


TEST(BmpReader, PackedDibsSkipTheirColourTableAndMasks) {
  Fields paletted;
  paletted.fileHeader = false;
  paletted.width = 2;
  paletted.clrUsed = 2;
  paletted.palette = {RGBQuad{0, 0, 0, 0}, RGBQuad{0, 0, 255, 0}};
  paletted.bits = {1, 0, 0, 0};
  std::vector<uint8_t> bytes = Build(paletted);
  Dib dib = ReadDibInfo(bytes.data(), bytes.size());
  EXPECT_EQ(dib.bpp(), 8);
  EXPECT_EQ(dib.pixel(0, 0), RGB(255, 0, 0));

  Fields truecolour = paletted;  // 24 bit with an optional colour table before the bits
  truecolour.bpp = 24;
  truecolour.bits = {0x10, 0x20, 0x30, 0, 0, 0, 0, 0};
  bytes = Build(truecolour);
  EXPECT_EQ(ReadDibInfo(bytes.data(), bytes.size()).pixel(0, 0), RGB(0x30, 0x20, 0x10));

  Fields fields;
  fields.fileHeader = false;
  fields.bpp = 16;
  fields.compression = 3;
  fields.masks = {0xF800, 0x07E0, 0x001F};
  fields.bits = {0xE0, 0x07, 0, 0};
  bytes = Build(fields);
  EXPECT_EQ(ReadDibInfo(bytes.data(), bytes.size()).pixel(0, 0), RGB(0, 255, 0));
}

TEST(BmpReader, PackedDibWithStackedPicturesReportsWhereTheNextStarts) {
  Fields f;
  f.fileHeader = false;
  f.width = 8;
  f.height = 4;  // two pictures of two rows
  f.bpp = 1;
  f.palette = {RGBQuad{}, RGBQuad{255, 255, 255, 0}};
  f.bits = {0x80, 0, 0, 0, 0x01, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  std::vector<uint8_t> bytes = Build(f);
  PackedDib packed = ReadPackedDib(bytes.data(), bytes.size(), 2);
  EXPECT_EQ(packed.image.height(), 2);
  EXPECT_TRUE(packed.bottomUp);
  EXPECT_EQ(packed.bitsEnd, 40u + 8u + 8u);
  EXPECT_EQ(RawRows(packed.image),
            (std::vector<std::vector<uint32_t>>{{0, 0, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST(BmpReader, LoadBmpFileReadsTheFileAndNamesAMissingOne) {
  Fields f;
  f.bpp = 24;
  f.bits = {1, 2, 3, 0};
  std::vector<uint8_t> bytes = Build(f);
  std::string path = ::testing::TempDir() + "tulimbo_bmp_reader_test.bmp";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  EXPECT_EQ(LoadBmpFile(path).pixel(0, 0), RGB(3, 2, 1));
  std::remove(path.c_str());

  for (const std::string& missing : {std::string("/nonexistent/k_7.bmp"), ::testing::TempDir()}) {
    try {
      LoadBmpFile(missing);
      ADD_FAILURE() << "no exception for " << missing;
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.Message, "Cannot open file \"" + missing + "\"");
    }
  }
}

// A valid 8-bit 2x2 picture and ways of breaking it.
Fields Base() {
  Fields f;
  f.width = 2;
  f.height = 2;
  f.clrUsed = 2;
  f.palette = {RGBQuad{}, RGBQuad{255, 255, 255, 0}};
  f.bits = {0, 1, 0, 0, 1, 0, 0, 0};
  return f;
}

Fields Rle(std::vector<uint8_t> stream, int width = 2, int height = 2) {
  Fields f = Base();
  f.compression = 1;
  f.width = width;
  f.height = height;
  f.bits = std::move(stream);
  return f;
}

TEST(BmpReader, RleStreamThatStopsAfterTheLastRowNeedsNoEndMark) {
  EXPECT_EQ(Read(Build(Rle({0x01, 0x05, 0x00, 0x00}, 1, 1))).rawPixel(0, 0), 5u);
}

TEST(BmpReader, MalformedFilesThrowInvalidGraphic) {
  auto with = [](std::function<void(Fields&)> change) {
    Fields f = Base();
    change(f);
    return Build(f);
  };
  auto cut = [](std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const std::vector<uint8_t> valid = Build(Base());
  const Case cases[] = {
      {"empty", {}},
      {"magic only", {'B', 'M'}},
      {"wrong magic", [&] { auto b = valid; b[1] = 'A'; return b; }()},
      {"file header only", cut(valid, 14)},
      {"header cut short", cut(valid, 30)},
      {"unknown header size", with([](Fields& f) { f.headerSize = 20; })},
      {"width 0", with([](Fields& f) { f.width = 0; })},
      {"negative width", with([](Fields& f) { f.width = -2; })},
      {"height 0", with([](Fields& f) { f.height = 0; })},
      {"height that cannot be negated", with([](Fields& f) { f.height = INT32_MIN; })},
      // The size limits are met by RLE pictures that end at once, which would
      // otherwise be valid: the limit alone must refuse them.
      {"width over 32768", Build(Rle({0x00, 0x01}, 32769, 1))},
      {"height over 32768", Build(Rle({0x00, 0x01}, 1, 32769))},
      {"top-down height over 32768", with([](Fields& f) { f.width = 1; f.height = -32769;
                                                           f.bits.assign(32769 * 4, 0); })},
      // 32768 x 8193 bytes is just over 256 MiB.
      {"pixel buffer over 256 MiB", Build(Rle({0x00, 0x01}, 32768, 8193))},
      {"2 bits a pixel", with([](Fields& f) { f.bpp = 2; })},
      {"0 bits a pixel", with([](Fields& f) { f.bpp = 0; })},
      {"64 bits a pixel", with([](Fields& f) { f.bpp = 64; })},
      {"JPEG compression", with([](Fields& f) { f.compression = 4; })},
      {"PNG compression", with([](Fields& f) { f.compression = 5; })},
      {"alpha bit fields", with([](Fields& f) { f.compression = 6; })},
      {"RLE8 at 4 bits", with([](Fields& f) { f.compression = 1; f.bpp = 4; })},
      {"RLE4 at 8 bits", with([](Fields& f) { f.compression = 2; })},
      {"top-down RLE", with([](Fields& f) { f.compression = 1; f.height = -2; f.bits = {0, 1}; })},
      {"bit fields at 24 bits", with([](Fields& f) { f.compression = 3; f.bpp = 24; f.masks = {1, 2, 4}; })},
      {"bit-field masks missing", with([](Fields& f) { f.compression = 3; f.bpp = 16; f.clrUsed = 0;
                                                      f.palette.clear(); f.bits.clear(); })},
      {"mask with a hole", with([](Fields& f) { f.compression = 3; f.bpp = 16; f.masks = {0x7C01, 0x03E0, 0x001F}; })},
      {"16-bit mask above 16 bits", with([](Fields& f) { f.compression = 3; f.bpp = 16; f.masks = {0x10000, 0x03E0, 0x1F}; })},
      {"colour table past the end", with([](Fields& f) { f.clrUsed = 200; })},
      {"huge colour table", with([](Fields& f) { f.clrUsed = 0xFFFFFFFF; })},
      {"24-bit colour table past the end", with([](Fields& f) { f.bpp = 24; f.clrUsed = 1000; })},
      {"full palette missing", with([](Fields& f) { f.clrUsed = 0; })},
      {"bits offset past the end", with([](Fields& f) { f.offBits = 10000; })},
      {"bits offset inside the header", with([](Fields& f) { f.offBits = 20; })},
      {"pixel rows cut short", cut(valid, valid.size() - 3)},
      {"core header at 16 bits", with([](Fields& f) { f.headerSize = 12; f.bpp = 16; })},
      {"core header width 0", with([](Fields& f) { f.headerSize = 12; f.width = 0; })},
      {"RLE run past the row end", Build(Rle({0x03, 0x01, 0x00, 0x01}))},
      {"RLE literal past the row end", Build(Rle({0x00, 0x03, 1, 2, 3, 0, 0x00, 0x01}))},
      {"RLE4 run past the row end", [] { Fields f = Rle({0x04, 0x11, 0x00, 0x01}, 3); f.bpp = 4; f.compression = 2; return Build(f); }()},
      {"RLE jump past the right edge", Build(Rle({0x00, 0x02, 0x03, 0x00, 0x00, 0x01}))},
      {"RLE jump past the last row", Build(Rle({0x00, 0x02, 0x00, 0x02, 0x00, 0x01}))},
      {"RLE pixels after the last row", Build(Rle({0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x01}))},
      {"RLE data ends inside the picture", Build(Rle({0x02, 0x01, 0x00, 0x00}))},
      {"RLE literal cut off", Build(Rle({0x00, 0x05, 0x01, 0x02}, 8))},
      {"RLE jump cut off", Build(Rle({0x00, 0x02, 0x01}))},
      {"RLE with no data", Build(Rle({}))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Read(c.bytes);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message, "Bitmap image is not valid");
    }
  }
}

// Reading may succeed or throw the class library's exception; nothing else.
void ExpectReturnsOrThrowsLibraryException(const std::vector<uint8_t>& bytes, const std::string& what) {
  auto check = [&](const uint8_t* data, size_t size, bool file) {
    try {
      Dib dib = file ? ReadBmp(data, size) : ReadDibInfo(data, size);
      ASSERT_FALSE(dib.empty()) << what;
      ASSERT_EQ(dib.bits().size(), size_t(dib.stride()) * size_t(dib.height())) << what;
    } catch (const Exception&) {
    } catch (const std::exception& e) {
      ADD_FAILURE() << what << ": " << e.what();
    }
  };
  check(bytes.data(), bytes.size(), true);
  if (bytes.size() > 14) check(bytes.data() + 14, bytes.size() - 14, false);
}

TEST(BmpReader, TruncatedAndCorruptedFilesNeverCrash) {
  Fields rle8 = Rle({0x02, 0x01, 0x00, 0x03, 1, 0, 1, 0, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x01}, 5, 3);
  Fields rle4 = Rle({0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x00, 0x00, 0x03, 0x11, 0x00, 0x01}, 5, 2);
  rle4.bpp = 4;
  rle4.compression = 2;
  Fields bitfields;
  bitfields.headerSize = 124;
  bitfields.width = 3;
  bitfields.height = -2;
  bitfields.bpp = 16;
  bitfields.compression = 3;
  bitfields.masks = {0xF800, 0x07E0, 0x001F};
  bitfields.bits.assign(16, 0x5A);
  Fields core;
  core.headerSize = 12;
  core.width = 3;
  core.bpp = 4;
  core.palette = kSixteen;
  core.bits = {0x12, 0x30, 0, 0};
  const std::pair<const char*, Fields> samples[] = {
      {"8 bit", Base()}, {"RLE8", rle8}, {"RLE4", rle4}, {"bit fields", bitfields}, {"core", core}};

  for (const auto& [name, fields] : samples) {
    const std::vector<uint8_t> valid = Build(fields);
    ASSERT_NO_THROW(Read(valid)) << name;
    testing::ForEachDamagedCopy(valid, 3000, 20240611, [&, name = name](const std::vector<uint8_t>& bytes, const std::string& what) {
      ExpectReturnsOrThrowsLibraryException(bytes, std::string(name) + " " + what);
    });
  }
}

}  // namespace
}  // namespace tlb
