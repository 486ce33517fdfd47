// The pictures of the sample data set: sizes the forms lay out, 8-bit
// pictures with a palette, and contents that do their job (distinct cards,
// arrows that point at their faces, song pictures plain behind their words).
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "data_inventory.h"
#include "sample_set.h"
#include "tests/support/contrast.h"

namespace {

struct Size {
  int w, h;
};

// The size each kind of picture is shown at.
const std::map<std::string, Size> kSizes = {
    {"card", {125, 125}},   {"grid", {410, 410}},  {"countdown", {100, 100}}, {"figure", {225, 295}},
    {"face", {105, 105}},   {"arrow", {180, 180}}, {"song picture", {640, 424}},
    {"switch glyph", {5 * 72, 55}},  // five cells of btn_hrej's 72x55
};

sample::BmpInfo picture(const std::string& root, const std::string& name) {
  return sample::readBmp(sample::readDataFile(root, "obrazky/" + name));
}

TEST(SamplePictures, HaveTheirShownSizeAndEightBitsWithAPalette) {
  REQUIRE_SAMPLE_SET(root);
  int checked = 0;
  for (const sample::DataFile& f : sample::dataInventory()) {
    if (f.folder != "obrazky") continue;
    SCOPED_TRACE(f.name);
    sample::BmpInfo b = picture(root, f.name);
    const Size& s = kSizes.at(f.kind);
    EXPECT_EQ(b.width, s.w);
    EXPECT_EQ(b.height, s.h);
    EXPECT_EQ(b.bits, 8);
    EXPECT_EQ(b.compression, 0u);
    EXPECT_LE(b.palette.size(), 256u);
    EXPECT_EQ(b.pixels.size(), size_t(b.width) * size_t(b.height));
    ++checked;
  }
  EXPECT_EQ(checked, 105);
}

TEST(SamplePictures, TwentyDistinctCardsEachWithADifferentMarkedVariant) {
  REQUIRE_SAMPLE_SET(root);
  std::vector<std::vector<uint32_t>> faces;
  for (int n = 1; n <= 20; ++n) {
    sample::BmpInfo face = picture(root, "k_" + std::to_string(n) + ".bmp");
    sample::BmpInfo marked = picture(root, "nk_" + std::to_string(n) + ".bmp");
    EXPECT_NE(face.pixels, marked.pixels) << "nk_" << n << " is not marked";
    for (size_t k = 0; k < faces.size(); ++k) EXPECT_NE(face.pixels, faces[k]) << "k_" << n << " repeats k_" << k + 1;
    faces.push_back(face.pixels);
  }
  sample::BmpInfo back = picture(root, "k_rub.bmp");
  for (size_t k = 0; k < faces.size(); ++k) EXPECT_NE(back.pixels, faces[k]);
}

// Cards lie on the brown grid (game 1) and on a white panel (game 2): no pixel
// of the form's green may show at their corners or along their edges, where a
// rounded corner would leave it.
TEST(SamplePictures, CardsAreSquareWithNoFormGreenAtTheirEdges) {
  REQUIRE_SAMPLE_SET(root);
  const uint32_t formGreen = 0x008000;
  std::vector<std::string> cards = {"k_rub.bmp"};
  for (int n = 1; n <= 20; ++n) {
    cards.push_back("k_" + std::to_string(n) + ".bmp");
    cards.push_back("nk_" + std::to_string(n) + ".bmp");
  }
  for (const std::string& name : cards) {
    SCOPED_TRACE(name);
    sample::BmpInfo b = picture(root, name);
    auto at = [&](int x, int y) { return b.pixels[size_t(y) * b.width + x]; };
    int greenish = 0;
    // The outer three pixels all round, where the corners' curve would lie.
    for (int d = 0; d < 3; ++d)
      for (int i = 0; i < b.width; ++i)
        for (uint32_t c : {at(i, d), at(i, b.height - 1 - d), at(d, i), at(b.width - 1 - d, i)}) {
          int r = (c >> 16) & 255, g = (c >> 8) & 255, bl = c & 255;
          if (c == formGreen || (g > 90 && g > r + 50 && g > bl + 50)) ++greenish;
        }
    EXPECT_EQ(greenish, 0);
    // The four corners are the frame's own colour, as the edges beside them.
    EXPECT_EQ(at(0, 0), at(b.width / 2, 0));
    EXPECT_EQ(at(b.width - 1, 0), at(b.width / 2, 0));
    EXPECT_EQ(at(0, b.height - 1), at(b.width / 2, b.height - 1));
    EXPECT_EQ(at(b.width - 1, b.height - 1), at(b.width / 2, b.height - 1));
  }
}

TEST(SamplePictures, EachArrowPointsFromTheCircleMiddleAtItsFace) {
  REQUIRE_SAMPLE_SET(root);
  // Face k stands at these places (105x105 each); the arrow's 180x180 picture
  // is centred in the arrow control at 127,122.
  const int faces[8][2] = {{166, 2}, {285, 48}, {307, 164}, {285, 272}, {166, 293}, {37, 278}, {2, 160}, {37, 34}};
  for (int k = 1; k <= 8; ++k) {
    SCOPED_TRACE("sipka" + std::to_string(k));
    sample::BmpInfo b = picture(root, "sipka" + std::to_string(k) + ".bmp");
    // The arrow's head is its far end: the strongly red pixels farthest from the middle.
    double bestD = 0, hx = 0, hy = 0;
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x) {
        uint32_t c = b.pixels[size_t(y) * b.width + x];
        int r = (c >> 16) & 255, g = (c >> 8) & 255, bl = c & 255;
        if (r < 180 || g > 90 || bl > 90) continue;
        double d = std::hypot(x - 90.0, y - 90.0);
        if (d > bestD) bestD = d, hx = x - 90.0, hy = y - 90.0;
      }
    ASSERT_GT(bestD, 50.0) << "no arrow head found";
    double want = std::atan2(faces[k - 1][1] + 52.5 - 212.0, faces[k - 1][0] + 52.5 - 217.0);
    double got = std::atan2(hy, hx);
    double diff = std::remainder(got - want, 2 * M_PI);
    EXPECT_LT(std::fabs(diff), 0.2) << "points " << got * 180 / M_PI << " degrees, face at " << want * 180 / M_PI;
  }
}

// Relative luminance of a 0x00RRGGBB colour.
double luminance(uint32_t c) { return tlb::testing::RelativeLuminance((c >> 16) & 255, (c >> 8) & 255, c & 255); }

// The words are black, coloured red as they are sung (yellow in song 3). Behind the
// title and the lines the song's text fills, the ground is light enough for red and
// black to reach 3:1 against it (relative luminance 0.74 or more), or for song 3 of a
// middle lightness where yellow and black both do (0.10 to 0.28).
TEST(SamplePictures, SongPicturesArePlainBehindTheWordsForBothTheirColours) {
  REQUIRE_SAMPLE_SET(root);
  const int lineTops[12] = {48, 72, 95, 119, 143, 167, 190, 214, 238, 262, 285, 309};
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE("obr_p" + std::to_string(n));
    sample::BmpInfo b = picture(root, "obr_p" + std::to_string(n) + ".bmp");
    int lines = sample::readKaraoke(sample::readDataFile(root, "texty/pis" + std::to_string(n) + ".syn")).displayLines;
    ASSERT_GE(lines, 1);
    ASSERT_LE(lines, 12);
    const double low = n == 3 ? 0.10 : 0.74, high = n == 3 ? 0.28 : 1.0;
    int fits = 0, count = 0;
    // The lines lie at left 4..328, the title at 6..331 from top 4.
    for (int y = 4; y < lineTops[lines - 1] + 23; ++y)
      for (int x = 4; x < 331; ++x) {
        double l = luminance(b.pixels[size_t(y) * b.width + x]);
        fits += l >= low && l <= high, ++count;
      }
    EXPECT_GE(double(fits) / count, 0.98) << fits << " of " << count;
  }
}

// The counted-out face's sunburst, like the plain face's ring, ends inside the
// 105x105 frame: the frame's outer two rows and columns are the form's green.
TEST(SamplePictures, FacesEndInsideTheirFrame) {
  REQUIRE_SAMPLE_SET(root);
  const uint32_t formGreen = 0x008000;
  for (int n = 1; n <= 8; ++n)
    for (const char* kind : {"", "a"}) {
      std::string name = "obl_" + std::to_string(n) + kind + ".bmp";
      SCOPED_TRACE(name);
      sample::BmpInfo b = picture(root, name);
      auto at = [&](int x, int y) { return b.pixels[size_t(y) * b.width + x]; };
      int other = 0;
      for (int d = 0; d < 2; ++d)
        for (int i = 0; i < b.width; ++i)
          for (uint32_t c : {at(i, d), at(i, b.height - 1 - d), at(d, i), at(b.width - 1 - d, i)}) other += c != formGreen;
      EXPECT_EQ(other, 0);
    }
}

TEST(SamplePictures, EveryPoseOfAFigureIsItsOwnPicture) {
  REQUIRE_SAMPLE_SET(root);
  for (const char* who : {"kluk", "mysak"}) {
    std::vector<std::vector<uint32_t>> seen;
    for (const char* pose : {"1", "1a", "2", "2a", "3", "3a", "4"}) {
      sample::BmpInfo b = picture(root, std::string(who) + "_" + pose + ".bmp");
      for (const auto& s : seen) EXPECT_NE(b.pixels, s) << who << "_" << pose;
      seen.push_back(b.pixels);
    }
  }
}

TEST(SamplePictures, CountdownFramesChangeFromFrameToFrame) {
  REQUIRE_SAMPLE_SET(root);
  std::vector<uint32_t> previous;
  for (int k = 0; k <= 15; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "wait_%02d.bmp", k);
    sample::BmpInfo b = picture(root, name);
    EXPECT_NE(b.pixels, previous) << name;
    previous = b.pixels;
  }
}

}  // namespace
