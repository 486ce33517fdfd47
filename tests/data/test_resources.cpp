// The compiled-in resources made beside the data set (../res): glyph strips
// the buttons can cut into five cells, cursors with their hot spots, and the
// form pictures at the sizes the forms lay out.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "sample_set.h"

namespace {

constexpr uint32_t kGreen = 0x008000, kWhite = 0xFFFFFF, kGrey = 0x808080;

#define REQUIRE_RESOURCES(resVar)                                                          \
  REQUIRE_SAMPLE_SET(data_);                                                               \
  std::string resVar = data_ + "/../res";                                                  \
  if (!sample::isFolder(resVar)) GTEST_SKIP() << "no resource folder beside the data set"

sample::BmpInfo resPicture(const std::string& res, const std::string& name) {
  auto path = sample::resolve(res, name);
  if (!path) throw std::runtime_error("missing res/" + name);
  return sample::readBmp(sample::readFile(*path));
}

struct Strip {
  std::string file;
  int w, h;
};

std::vector<Strip> strips() {
  std::vector<Strip> v;
  for (const char* form : {"form_kim1", "form_kim2"}) {
    for (const char* b : {"btn_hra2x2", "btn_hra3x3", "btn_hra4x4"})
      v.push_back({std::string("games/") + form + "." + b + ".Glyph.bmp", 69, 58});
    v.push_back({std::string("games/") + form + ".btn_help.Glyph.bmp", 75, 58});
    v.push_back({std::string("games/") + form + ".BTN_Konec.Glyph.bmp", 72, 60});
  }
  for (const char* b : {"btn_kamen", "btn_nuzky", "btn_papir"})
    v.push_back({std::string("games/FORM_kamen.") + b + ".Glyph.bmp", 125, 95});
  v.push_back({"games/FORM_kamen.BTN_Konec.Glyph.bmp", 75, 61});
  for (int n = 1; n <= 6; ++n) v.push_back({"rhymes/FORM_Lymbal.btn_" + std::to_string(n) + ".Glyph.bmp", 70, 70});
  v.push_back({"rhymes/FORM_Lymbal.btn_konec.Glyph.bmp", 66, 69});
  for (int n = 1; n <= 4; ++n) v.push_back({"songs/FORM_Fumbamesi.btn_" + std::to_string(n) + ".Glyph.bmp", 70, 52});
  v.push_back({"songs/FORM_Fumbamesi.btn_hrej.Glyph.bmp", 72, 55});
  v.push_back({"songs/FORM_Fumbamesi.btn_konec.Glyph.bmp", 66, 55});
  return v;
}

double meanInkLuma(const sample::BmpInfo& b, int cell, int w) {
  double sum = 0;
  int n = 0;
  for (int y = 0; y < b.height; ++y)
    for (int x = cell * w; x < (cell + 1) * w; ++x) {
      uint32_t c = b.pixels[size_t(y) * b.width + x];
      if (c == kGreen) continue;
      sum += 0.299 * ((c >> 16) & 255) + 0.587 * ((c >> 8) & 255) + 0.114 * (c & 255);
      ++n;
    }
  return n ? sum / n : 0;
}

TEST(SampleResources, GlyphStripsHoldFiveCellsOfTheirButtonsSize) {
  REQUIRE_RESOURCES(res);
  std::vector<Strip> all = strips();
  ASSERT_EQ(all.size(), 27u);
  for (const Strip& s : all) {
    SCOPED_TRACE(s.file);
    sample::BmpInfo b = resPicture(res, s.file);
    ASSERT_EQ(b.width, 5 * s.w);
    ASSERT_EQ(b.height, s.h);
    ASSERT_EQ(b.bits, 8);
    // Each cell's bottom-left pixel is the transparent colour of its picture.
    for (int cell = 0; cell < 5; ++cell) EXPECT_EQ(b.pixels[size_t(s.h - 1) * b.width + cell * s.w], kGreen) << cell;
    // The disabled cell is drawn in pure white and $808080 only, which the button recolours.
    std::set<uint32_t> disabled;
    for (int y = 0; y < s.h; ++y)
      for (int x = s.w; x < 2 * s.w; ++x) disabled.insert(b.pixels[size_t(y) * b.width + x]);
    EXPECT_EQ(disabled, (std::set<uint32_t>{kGreen, kWhite, kGrey}));
    // Mouse over is visibly brighter than up; down and held down are darker.
    double up = meanInkLuma(b, 0, s.w);
    EXPECT_GT(meanInkLuma(b, 4, s.w), up + 20);
    EXPECT_LT(meanInkLuma(b, 2, s.w), up);
    EXPECT_LT(meanInkLuma(b, 3, s.w), meanInkLuma(b, 2, s.w));
  }
}

TEST(SampleResources, SwitchGlyphsInTheDataFolderAreStripsLikeTheSwitchButtons) {
  REQUIRE_RESOURCES(res);
  sample::BmpInfo stored = resPicture(res, "songs/FORM_Fumbamesi.btn_hrej.Glyph.bmp");
  for (const char* name : {"iko_psw1.bmp", "iko_psw2.bmp"}) {
    auto path = sample::resolve(data_, std::string("obrazky/") + name);
    ASSERT_TRUE(path) << name;
    sample::BmpInfo b = sample::readBmp(sample::readFile(*path));
    EXPECT_EQ(b.width, stored.width) << name;
    EXPECT_EQ(b.height, stored.height) << name;
  }
}

TEST(SampleResources, CursorsHaveTheirSizeAndHotSpots) {
  REQUIRE_RESOURCES(res);
  struct C {
    const char* file;
    int hx, hy;
  };
  for (C c : {C{"common/cursor.sipka1.cur", 2, 2}, C{"games/cursor.sipka2.cur", 5, 5}, C{"common/cursor.ruka1.cur", 10, 0},
              C{"common/cursor.hodiny1.cur", 16, 18}}) {
    SCOPED_TRACE(c.file);
    auto path = sample::resolve(res, c.file);
    ASSERT_TRUE(path);
    sample::CursorInfo k = sample::readCursor(sample::readFile(*path));
    EXPECT_EQ(k.type, 2);
    EXPECT_EQ(k.width, 32);
    EXPECT_EQ(k.height, 32);
    EXPECT_EQ(k.bits, 4) << "16 colours";
    EXPECT_EQ(k.hotX, c.hx);
    EXPECT_EQ(k.hotY, c.hy);
    EXPECT_GT(k.opaquePixels, 60);
    EXPECT_LT(k.opaquePixels, 32 * 32 - 100);
  }
  // The rhymes and songs programs have no pen cursor.
  EXPECT_FALSE(sample::resolve(res, "rhymes/cursor.sipka2.cur"));
  EXPECT_FALSE(sample::resolve(res, "songs/cursor.sipka2.cur"));
}

TEST(SampleResources, FormPicturesHaveTheirLaidOutSizes) {
  REQUIRE_RESOURCES(res);
  struct P {
    std::string file;
    int w, h;
  };
  std::vector<P> pics = {{"common/FORMPozadi.TileImage1.Picture.bmp", 60, 69},
                         {"games/FORM_Menu.wait_image.bmp", 100, 100},
                         {"rhymes/FORM_Lymbal.wait_image.bmp", 100, 100},
                         {"songs/FORM_Menu.wait_image.bmp", 100, 100},
                         {"songs/FORM_Fumbamesi.wait_image.bmp", 100, 100},
                         {"games/FORM_kamen.pohar_tumfik.bmp", 80, 80},
                         {"games/FORM_kamen.pohar_dite.bmp", 80, 80},
                         {"songs/FORM_Fumbamesi.Image1.bmp", 18, 19},
                         {"songs/FORM_Fumbamesi.Image2.bmp", 18, 19}};
  for (const char* form : {"games/FORM_Menu", "games/form_kim1", "games/form_kim2", "games/FORM_kamen",
                           "rhymes/FORM_Lymbal", "songs/FORM_Menu"})
    for (const char* corner : {"roh_LH", "roh_PH", "roh_PD", "roh_LD"})
      pics.push_back({std::string(form) + "." + corner + ".bmp", 18, 19});
  for (const char* form : {"games/form_kim1", "games/form_kim2"}) {
    pics.push_back({std::string(form) + ".img_time.bmp", 100, 100});
    pics.push_back({std::string(form) + ".img_ok.bmp", 50, 50});
    pics.push_back({std::string(form) + ".img_bad.bmp", 50, 50});
  }
  for (const P& p : pics) {
    SCOPED_TRACE(p.file);
    sample::BmpInfo b = resPicture(res, p.file);
    EXPECT_EQ(b.width, p.w);
    EXPECT_EQ(b.height, p.h);
    EXPECT_EQ(b.bits, 8);
  }
}

TEST(SampleResources, BackdropIsADarkGreenTextureOfManyColours) {
  REQUIRE_RESOURCES(res);
  sample::BmpInfo b = resPicture(res, "common/FORMPozadi.TileImage1.Picture.bmp");
  EXPECT_EQ(b.palette.size(), 256u);
  double r = 0, g = 0, bl = 0;
  std::set<uint32_t> colours(b.pixels.begin(), b.pixels.end());
  for (uint32_t c : b.pixels) r += (c >> 16) & 255, g += (c >> 8) & 255, bl += c & 255;
  double n = double(b.pixels.size());
  EXPECT_NEAR(r / n, 42, 12);
  EXPECT_NEAR(g / n, 63, 12);
  EXPECT_NEAR(bl / n, 0, 8);
  EXPECT_GT(colours.size(), 64u);
}

TEST(SampleResources, CornerPicturesSitOnTheTransparentColourTheirFormsUse) {
  REQUIRE_RESOURCES(res);
  // The games' and the songs menu's corners are made transparent with navy, the rhymes form's with green.
  const std::map<std::string, uint32_t> keys = {{"games/FORM_Menu", 0x000080}, {"games/form_kim1", 0x000080},
                                                {"games/form_kim2", 0x000080}, {"games/FORM_kamen", 0x000080},
                                                {"songs/FORM_Menu", 0x000080}, {"rhymes/FORM_Lymbal", kGreen}};
  for (const auto& [form, key] : keys) {
    for (const char* corner : {"roh_LH", "roh_PH", "roh_PD"}) {
      sample::BmpInfo b = resPicture(res, form + "." + corner + ".bmp");
      // Without an explicit colour a transparent picture takes its bottom-left pixel.
      EXPECT_EQ(b.pixels[size_t(b.height - 1) * b.width], key) << form << "." << corner;
    }
    sample::BmpInfo ld = resPicture(res, form + ".roh_LD.bmp");
    EXPECT_NE(std::count(ld.pixels.begin(), ld.pixels.end(), key), 0) << form << ".roh_LD";
  }
}

TEST(SampleResources, ManifestListsEveryResourceWithItsSize) {
  REQUIRE_RESOURCES(res);
  auto path = sample::resolve(res, "MANIFEST.txt");
  ASSERT_TRUE(path);
  std::vector<uint8_t> bytes = sample::readFile(*path);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  std::set<std::string> listed;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, size;
    std::getline(fields, name, '\t');
    std::getline(fields, size, '\t');
    auto file = sample::resolve(res, name);
    ASSERT_TRUE(file) << name;
    EXPECT_EQ(std::to_string(sample::readFile(*file).size()), size) << name;
    listed.insert(name);
  }
  for (const char* program : {"common", "games", "rhymes", "songs"})
    for (const std::string& f : sample::listFolder(res + "/" + program))
      EXPECT_TRUE(listed.count(std::string(program) + "/" + f)) << program << "/" << f << " is not in the manifest";
}

}  // namespace
