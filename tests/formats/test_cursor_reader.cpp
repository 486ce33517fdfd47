#include "platform/formats/cursor_reader.h"
#include "tests/support/damaged_copies.h"
#include "tests/support/le_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/graphics/dib.h"

namespace tlb {
namespace {

using testing::Append;
using testing::Put16;
using testing::Put32;
using testing::PutId;


// One picture of a cursor or icon file, described top-down.
struct Picture {
  int width = 0, height = 0, bpp = 1;
  std::vector<RGBQuad> palette;
  std::vector<uint32_t> pixels;   // palette indexes, or B G R A packed as in the file for 32 bits
  std::vector<std::string> mask;  // '#' marks an AND bit of 1: transparent
  uint16_t hotX = 0, hotY = 0;
};

// The packed DIB of a picture: header with doubled height, palette, colour
// bits and AND mask, both bottom-up.
std::vector<uint8_t> PackDib(const Picture& p) {
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, uint32_t(p.width));
  Put32(out, uint32_t(p.height * 2));
  Put16(out, 1);
  Put16(out, uint32_t(p.bpp));
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // compression, image size, resolution
  Put32(out, uint32_t(p.palette.size()));
  Put32(out, 0);
  for (const RGBQuad& q : p.palette) {
    out.push_back(q.blue);
    out.push_back(q.green);
    out.push_back(q.red);
    out.push_back(0);
  }
  Dib colour(p.width, p.height, p.bpp);
  Dib mask(p.width, p.height, 1);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      colour.setRawPixel(x, y, p.pixels[size_t(y * p.width + x)]);
      mask.setRawPixel(x, y, p.mask[size_t(y)][size_t(x)] == '#' ? 1 : 0);
    }
  for (const Dib* d : {&colour, &mask})
    for (int y = d->height() - 1; y >= 0; --y) out.insert(out.end(), d->row(y), d->row(y) + d->stride());
  return out;
}

std::vector<uint8_t> BuildFile(uint16_t type, const std::vector<Picture>& pictures,
                               const std::vector<std::vector<uint8_t>>& images = {}) {
  std::vector<std::vector<uint8_t>> dibs = images;
  if (dibs.empty())
    for (const Picture& p : pictures) dibs.push_back(PackDib(p));
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, type);
  Put16(out, uint32_t(pictures.size()));
  size_t offset = 6 + 16 * pictures.size();
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    out.push_back(uint8_t(p.width));
    out.push_back(uint8_t(p.height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, p.hotX);
    Put16(out, p.hotY);
    Put32(out, uint32_t(dibs[i].size()));
    Put32(out, uint32_t(offset));
    offset += dibs[i].size();
  }
  for (const auto& d : dibs) out.insert(out.end(), d.begin(), d.end());
  return out;
}

CursorImage Read(const std::vector<uint8_t>& bytes) { return ReadCursor(bytes.data(), bytes.size()); }

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kClear = 0;

// A 10x3 arrow-like cursor: black and white on a transparent ground; ten
// pixels wide so that the mask's second byte counts.
Picture Arrow() {
  Picture p;
  p.width = 10;
  p.height = 3;
  p.palette = {RGBQuad{0, 0, 0, 0}, RGBQuad{255, 255, 255, 0}};
  p.pixels = {0, 1, 1, 0, 0, 0, 0, 0, 0, 1,
              0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
              0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
  p.mask = {"......####", "#...######", "########.."};
  p.hotX = 1;
  p.hotY = 2;
  return p;
}

TEST(CursorReader, MonochromeCursorTakesMaskColoursAndHotSpot) {
  CursorImage c = Read(BuildFile(2, {Arrow()}));
  EXPECT_EQ(c.width, 10);
  EXPECT_EQ(c.height, 3);  // the header's doubled height holds the mask too
  EXPECT_EQ(c.hotX, 1);
  EXPECT_EQ(c.hotY, 2);
  const std::vector<uint32_t> expected = {
      kBlack, kWhite, kWhite, kBlack, kBlack, kBlack, kClear, kClear, kClear, kClear,
      kClear, kBlack, kWhite, kBlack, kClear, kClear, kClear, kClear, kClear, kClear,
      kClear, kClear, kClear, kClear, kClear, kClear, kClear, kClear, kWhite, kWhite};
  EXPECT_EQ(c.argb, expected);
}

TEST(CursorReader, PalettedPicturesGiveOpaqueArgb) {
  Picture p;
  p.width = 3;
  p.height = 1;
  p.bpp = 4;
  p.palette = {RGBQuad{}, RGBQuad{0x30, 0x20, 0x10, 0}, RGBQuad{0, 0, 0xFF, 0}};
  p.pixels = {1, 2, 2};
  p.mask = {"..#"};
  CursorImage c = Read(BuildFile(2, {p}));
  EXPECT_EQ(c.argb, (std::vector<uint32_t>{0xFF102030, 0xFFFF0000, kClear}));
}

TEST(CursorReader, AlphaChannelOverridesTheMaskOnlyWhenPresent) {
  Picture p;
  p.width = 2;
  p.height = 1;
  p.bpp = 32;
  p.mask = {"#."};
  p.pixels = {0x80102030, 0xFF405060};
  EXPECT_EQ(Read(BuildFile(2, {p})).argb, (std::vector<uint32_t>{0x80102030, 0xFF405060}));
  p.pixels = {0x00102030, 0x00405060};  // no alpha anywhere: the mask decides
  EXPECT_EQ(Read(BuildFile(2, {p})).argb, (std::vector<uint32_t>{kClear, 0xFF405060}));
}

TEST(CursorReader, IconHotSpotIsTheCentre) {
  Picture p = Arrow();
  p.hotX = 1;  // an icon's planes
  p.hotY = 1;  // and bit count
  CursorImage c = Read(BuildFile(1, {p}));
  EXPECT_EQ(c.hotX, 5);
  EXPECT_EQ(c.hotY, 1);
}

TEST(CursorReader, HotSpotOutsideThePictureIsKeptOnItsEdge) {
  Picture p = Arrow();
  p.hotX = 40;
  p.hotY = 7;
  CursorImage c = Read(BuildFile(2, {p}));
  EXPECT_EQ(c.hotX, 9);
  EXPECT_EQ(c.hotY, 2);
}

TEST(CursorReader, LargestEntryIsChosenAndTheFirstOfEqualOnes) {
  Picture big;
  big.width = 8;
  big.height = 8;
  big.palette = Arrow().palette;
  big.pixels.assign(64, 1);
  big.mask.assign(8, "........");
  big.hotX = 5;
  Picture twin = big;
  twin.hotX = 6;
  CursorImage c = Read(BuildFile(2, {Arrow(), big, twin}));
  EXPECT_EQ(c.width, 8);
  EXPECT_EQ(c.hotX, 5);
  EXPECT_EQ(c.argb.front(), kWhite);
}

TEST(CursorReader, MalformedFilesThrowInvalidGraphic) {
  const std::vector<uint8_t> valid = BuildFile(2, {Arrow()});
  auto patched = [&](size_t pos, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> b = valid;
    std::copy(bytes.begin(), bytes.end(), b.begin() + long(pos));
    return b;
  };
  auto withDib = [](std::function<void(std::vector<uint8_t>&)> change) {
    std::vector<uint8_t> dib = PackDib(Arrow());
    change(dib);
    return BuildFile(2, {Arrow()}, {dib});
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"directory cut short", std::vector<uint8_t>(valid.begin(), valid.begin() + 4)},
      {"reserved word set", patched(0, {1})},
      {"type 3", patched(2, {3})},
      {"no entries", patched(4, {0})},
      {"more entries than the file holds", patched(4, {9})},
      {"entry offset past the end", patched(18, {0xFF, 0xFF, 0, 0})},
      {"entry size past the end", patched(14, {0xFF, 0xFF, 0, 0})},
      {"PNG picture", withDib([](std::vector<uint8_t>& d) {
         const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
         std::copy(png, png + 8, d.begin());
       })},
      {"picture that is not a bitmap", withDib([](std::vector<uint8_t>& d) { d[14] = 2; })},
      {"doubled height of 1 leaves no rows", withDib([](std::vector<uint8_t>& d) { d[8] = 1; })},
      {"picture wider than 256", withDib([](std::vector<uint8_t>& d) { d[4] = 0x01; d[5] = 0x01; })},
      {"mask cut off", withDib([](std::vector<uint8_t>& d) { d.resize(d.size() - 4); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Read(c.bytes);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message, "Icon image is not valid");
    }
  }
}

TEST(CursorReader, TruncatedAndCorruptedFilesNeverCrash) {
  Picture colour;
  colour.width = 3;
  colour.height = 2;
  colour.bpp = 8;
  colour.palette = {RGBQuad{}, RGBQuad{1, 2, 3, 0}};
  colour.pixels = {0, 1, 0, 1, 1, 0};
  colour.mask = {"#..", ".#."};
  Picture alpha = colour;
  alpha.bpp = 32;
  alpha.palette.clear();
  alpha.pixels = {0x80FFFFFF, 0, 0x10203040, 0xFF000000, 0x01010101, 0};
  const std::pair<const char*, std::vector<uint8_t>> samples[] = {
      {"monochrome", BuildFile(2, {Arrow()})},
      {"two entries", BuildFile(1, {colour, Arrow()})},
      {"alpha", BuildFile(2, {alpha})},
  };
  std::mt19937 random(7321);
  for (const auto& [name, valid] : samples) {
    ASSERT_NO_THROW(Read(valid)) << name;
    auto check = [&](const std::vector<uint8_t>& bytes, const std::string& what) {
      try {
        CursorImage c = Read(bytes);
        ASSERT_EQ(c.argb.size(), size_t(c.width) * size_t(c.height)) << what;
        ASSERT_TRUE(c.hotX >= 0 && c.hotX < c.width && c.hotY >= 0 && c.hotY < c.height) << what;
      } catch (const Exception&) {
      } catch (const std::exception& e) {
        ADD_FAILURE() << what << ": " << e.what();
      }
    };
    testing::ForEachDamagedCopy(valid, 3000, 7321, [&, name = name](const std::vector<uint8_t>& bytes, const std::string& what) {
      check(bytes, std::string(name) + " " + what);
    });
  }
}

}  // namespace
}  // namespace tlb
