#include "platform/formats/avi_reader.h"
#include "tests/support/damaged_copies.h"
#include "tests/support/le_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

using testing::Append;
using testing::Put16;
using testing::Put32;
using testing::PutId;

using Bytes = std::vector<uint8_t>;


Bytes Chunk(const char* id, const Bytes& body) {
  Bytes b;
  PutId(b, id);
  Put32(b, uint32_t(body.size()));
  Append(b, body);
  if (body.size() % 2) b.push_back(0);
  return b;
}
Bytes List(const char* type, const std::vector<Bytes>& children) {
  Bytes body;
  PutId(body, type);
  for (const Bytes& c : children) Append(body, c);
  return Chunk("LIST", body);
}

const std::vector<RGBQuad> kPalette = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

// A clip with one video stream, described field by field so that each test
// and each malformed case changes only what it is about.
struct ClipBuilder {
  int32_t width = 4, height = 3;
  uint16_t bits = 8;
  uint32_t compression = 0;
  std::vector<RGBQuad> palette = kPalette;
  int64_t colorsUsed = -1;   // -1: the palette's size
  int64_t totalFrames = -1;  // -1: the number of frames
  uint32_t usPerFrame = 100000, scale = 1, rate = 10;
  const char* streamType = "vids";
  size_t mainHeaderSize = 56, bitmapHeaderSize = 40;
  bool audioFirst = false;  // makes the video stream number 1
  std::vector<Bytes> frames;
  // Replaces the default movie list (frames as 'NNdc' chunks) when set.
  std::function<Bytes(const char* frameId)> movie;

  Bytes mainHeader() const {
    Bytes b;
    Put32(b, usPerFrame);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0x10);  // has an index
    Put32(b, uint32_t(totalFrames >= 0 ? totalFrames : int64_t(frames.size())));
    Put32(b, 0);
    Put32(b, audioFirst ? 2 : 1);
    Put32(b, 0);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    b.resize(mainHeaderSize, 0);
    return Chunk("avih", b);
  }
  static Bytes streamHeader(const char* type, uint32_t scale, uint32_t rate, uint32_t length) {
    Bytes b;
    PutId(b, type);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, scale);
    Put32(b, rate);
    Put32(b, 0);
    Put32(b, length);
    Put32(b, 0);
    Put32(b, 0xFFFFFFFF);
    Put32(b, 0);
    b.resize(56, 0);
    return Chunk("strh", b);
  }
  Bytes bitmapFormat() const {
    Bytes b;
    Put32(b, uint32_t(bitmapHeaderSize));
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, compression);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, uint32_t(colorsUsed >= 0 ? colorsUsed : int64_t(palette.size())));
    Put32(b, 0);
    b.resize(bitmapHeaderSize, 0);
    for (const RGBQuad& q : palette) b.insert(b.end(), {q.blue, q.green, q.red, 0});
    return Chunk("strf", b);
  }
  Bytes build() const {
    std::vector<Bytes> headers{mainHeader()};
    if (audioFirst) headers.push_back(List("strl", {streamHeader("auds", 1, 22050, 0), Chunk("strf", Bytes(16, 1))}));
    headers.push_back(List("strl", {streamHeader(streamType, scale, rate, uint32_t(frames.size())), bitmapFormat(),
                                    Chunk("strn", {'c', 'l', 'i', 'p', 0})}));
    const char* frameId = audioFirst ? "01dc" : "00dc";
    Bytes movi;
    if (movie) {
      movi = movie(frameId);
    } else {
      std::vector<Bytes> chunks;
      for (const Bytes& f : frames) chunks.push_back(Chunk(frameId, f));
      movi = List("movi", chunks);
    }
    Bytes body;
    PutId(body, "AVI ");
    Append(body, List("hdrl", headers));
    Append(body, Chunk("JUNK", Bytes(7, 0)));
    Append(body, movi);
    Append(body, Chunk("idx1", Bytes(16 * frames.size(), 0)));
    return Chunk("RIFF", body);
  }
};

// The rows of an 8-bit frame as palette indexes, top row first.
std::vector<std::vector<int>> Indexes(const Dib& d) {
  std::vector<std::vector<int>> rows;
  for (int y = 0; y < d.height(); ++y) {
    rows.emplace_back();
    for (int x = 0; x < d.width(); ++x) rows.back().push_back(int(d.rawPixel(x, y)));
  }
  return rows;
}
using Rows = std::vector<std::vector<int>>;

TEST(AviReader, UncompressedEightBitFramesAreStoredBottomUpWithThePalette) {
  ClipBuilder b;
  b.width = 3;
  b.height = 2;
  // Rows padded to 4 bytes; the bottom row comes first.
  b.frames = {{1, 2, 3, 0, 3, 3, 0, 0}, {0, 0, 0, 0, 2, 2, 2, 0}};
  AviClip clip = AviClip::Parse(b.build());
  EXPECT_EQ(clip.width(), 3);
  EXPECT_EQ(clip.height(), 2);
  ASSERT_EQ(clip.frameCount(), 2);
  Dib f = clip.frame(0);
  EXPECT_EQ(f.bpp(), 8);
  EXPECT_EQ(Indexes(f), (Rows{{3, 3, 0}, {1, 2, 3}}));
  EXPECT_EQ(f.pixel(0, 1), kRed);
  EXPECT_EQ(f.pixel(1, 1), kGreen);
  EXPECT_EQ(f.pixel(0, 0), kBlue);
  EXPECT_EQ(Indexes(clip.frame(1)), (Rows{{2, 2, 2}, {0, 0, 0}}));
}

TEST(AviReader, NegativeHeightMeansTopDownRows) {
  ClipBuilder b;
  b.width = 2;
  b.height = -2;
  b.frames = {{1, 2, 0, 0, 3, 0, 0, 0}};
  AviClip clip = AviClip::Parse(b.build());
  EXPECT_EQ(clip.height(), 2);
  EXPECT_EQ(Indexes(clip.frame(0)), (Rows{{1, 2}, {3, 0}}));
}

TEST(AviReader, TwentyFourBitFramesKeepTheirColours) {
  ClipBuilder b;
  b.width = 2;
  b.height = 2;
  b.bits = 24;
  b.palette = {};
  // Blue, green, red bytes; each row of 6 bytes padded to 8.
  b.frames = {{0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 10, 20, 30, 0, 0}};
  Dib f = AviClip::Parse(b.build()).frame(0);
  EXPECT_EQ(f.bpp(), 24);
  EXPECT_EQ(f.pixel(0, 0), kBlue);
  EXPECT_EQ(f.pixel(1, 0), RGB(30, 20, 10));
  EXPECT_EQ(f.pixel(0, 1), kRed);
  EXPECT_EQ(f.pixel(1, 1), kGreen);
}

// A 4x3 clip whose later frames change only what their data touches.
ClipBuilder RleClip() {
  ClipBuilder b;
  b.compression = 1;
  b.frames = {
      // Bottom row: four 1s; middle: a literal of three (padded) and a 1; top: 3 3 0 0.
      {4, 1, 0, 0, 0, 3, 2, 3, 2, 0, 1, 1, 0, 0, 2, 3, 2, 0, 0, 1},
      // Skip to x 1 of the middle row, set one pixel to 0; the run after the
      // end-of-bitmap mark must not be painted.
      {0, 2, 1, 1, 1, 0, 0, 1, 4, 2},
      // A run longer than the row is clipped, not wrapped onto the next row.
      {6, 3, 0, 1},
      // No data at all: the previous frame again.
      {},
  };
  return b;
}

TEST(AviReader, RunLengthFramesPaintOverThePreviousFrame) {
  AviClip clip = AviClip::Parse(RleClip().build());
  ASSERT_EQ(clip.frameCount(), 4);
  EXPECT_EQ(Indexes(clip.frame(0)), (Rows{{3, 3, 0, 0}, {2, 3, 2, 1}, {1, 1, 1, 1}}));
  EXPECT_EQ(Indexes(clip.frame(1)), (Rows{{3, 3, 0, 0}, {2, 0, 2, 1}, {1, 1, 1, 1}}));
  EXPECT_EQ(Indexes(clip.frame(2)), (Rows{{3, 3, 0, 0}, {2, 0, 2, 1}, {3, 3, 3, 3}}));
  EXPECT_EQ(Indexes(clip.frame(3)), Indexes(clip.frame(2)));
  EXPECT_EQ(clip.frame(0).pixel(0, 0), kBlue);
}

TEST(AviReader, RunLengthFramesDecodeTheSameInAnyRequestOrder) {
  AviClip ordered = AviClip::Parse(RleClip().build());
  std::vector<Rows> expected;
  for (int i = 0; i < ordered.frameCount(); ++i) expected.push_back(Indexes(ordered.frame(i)));
  AviClip clip = AviClip::Parse(RleClip().build());
  for (int i : {2, 0, 3, 1, 1, 0, 2}) EXPECT_EQ(Indexes(clip.frame(i)), expected[size_t(i)]) << i;
}

TEST(AviReader, FindsTheVideoStreamByNumberInsideRecordListsBesideOtherChunks) {
  ClipBuilder b;
  b.width = 1;
  b.height = 1;
  b.audioFirst = true;
  b.frames = {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}};
  b.movie = [&](const char* id) {
    return List("movi", {Chunk("01pc", {0, 1, 0, 0, 9, 9, 9, 0}),  // palette change: ignored
                         List("rec ", {Chunk("00wb", {7, 7}), Chunk(id, b.frames[0])}),
                         Chunk("00dc", {4, 0, 0, 0}),  // the sound stream's number: not a frame
                         Chunk("JUNK", {0, 0, 0}),
                         List("rec ", {Chunk(id, b.frames[1]), Chunk("01db", b.frames[2])})});
  };
  AviClip clip = AviClip::Parse(b.build());
  ASSERT_EQ(clip.frameCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(clip.frame(i).rawPixel(0, 0), uint32_t(i + 1));
}

TEST(AviReader, FrameCountIsTheMainHeaderTotalCappedAtTheFramesPresent) {
  ClipBuilder b;
  b.width = 1;
  b.height = 1;
  b.frames = {{1, 0, 0, 0}, {2, 0, 0, 0}};
  b.totalFrames = 5;
  EXPECT_EQ(AviClip::Parse(b.build()).frameCount(), 2);
  b.totalFrames = 1;
  EXPECT_EQ(AviClip::Parse(b.build()).frameCount(), 1);
}

TEST(AviReader, FrameRateFromStreamThenMainHeaderThenFifteen) {
  struct Case {
    uint32_t scale, rate, usPerFrame;
    double expected;
  } cases[] = {
      {1, 12, 50000, 12},
      {1001, 30000, 0, 30000.0 / 1001},
      {0, 25, 50000, 20},       // no scale: the main header's 50 ms
      {1, 0, 125000, 8},        // no rate
      {1, 5000000, 40000, 25},  // an absurd rate is treated as missing
      {0, 0, 0, 15},
  };
  for (const Case& c : cases) {
    ClipBuilder b;
    b.width = b.height = 1;
    b.frames = {{0, 0, 0, 0}};
    b.scale = c.scale;
    b.rate = c.rate;
    b.usPerFrame = c.usPerFrame;
    EXPECT_DOUBLE_EQ(AviClip::Parse(b.build()).framesPerSecond(), c.expected) << c.scale << "/" << c.rate;
  }
}

TEST(AviReader, ShortUncompressedFrameFailsOnlyThatFrame) {
  ClipBuilder b;
  b.width = 2;
  b.height = 2;
  b.frames = {{1, 1, 0, 0, 2, 2, 0, 0}, {1, 1, 0, 0, 2, 2}};
  AviClip clip = AviClip::Parse(b.build());
  ASSERT_EQ(clip.frameCount(), 2);
  EXPECT_EQ(Indexes(clip.frame(0)), (Rows{{2, 2}, {1, 1}}));
  EXPECT_THROW(clip.frame(1), EAnimateError);
  EXPECT_THROW(clip.frame(2), EListError);
  EXPECT_THROW(clip.frame(-1), EListError);
}

TEST(AviReader, UnsupportedOrMalformedClipsCannotBeOpened) {
  struct Case {
    const char* name;
    std::function<void(ClipBuilder&)> change;
  } cases[] = {
      {"16-bit frames", [](ClipBuilder& b) { b.bits = 16; b.palette = {}; }},
      {"32-bit frames", [](ClipBuilder& b) { b.bits = 32; b.palette = {}; }},
      {"4-bit run-length", [](ClipBuilder& b) { b.bits = 4; b.compression = 2; }},
      {"another codec", [](ClipBuilder& b) { b.compression = 0x64697678; }},
      {"24-bit run-length", [](ClipBuilder& b) { b.bits = 24; b.compression = 1; b.palette = {}; }},
      {"top-down run-length", [](ClipBuilder& b) { b.compression = 1; b.height = -3; }},
      {"zero width", [](ClipBuilder& b) { b.width = 0; }},
      {"zero height", [](ClipBuilder& b) { b.height = 0; }},
      {"wider than 4096", [](ClipBuilder& b) { b.width = 4097; }},
      {"taller than 4096", [](ClipBuilder& b) { b.height = -4097; }},
      {"more than 256 colours", [](ClipBuilder& b) { b.colorsUsed = 257; }},
      {"fewer colours than stated", [](ClipBuilder& b) { b.colorsUsed = 5; }},
      {"no video stream", [](ClipBuilder& b) { b.streamType = "auds"; }},
      {"short main header", [](ClipBuilder& b) { b.mainHeaderSize = 40; }},
      {"short bitmap header", [](ClipBuilder& b) { b.bitmapHeaderSize = 36; b.palette = {}; }},
      {"no frames at all", [](ClipBuilder& b) { b.frames = {}; }},
      {"a total of zero frames", [](ClipBuilder& b) { b.totalFrames = 0; }},
      {"no movie list", [](ClipBuilder& b) { b.movie = [](const char*) { return Chunk("JUNK", {}); }; }},
  };
  auto expectCannotOpen = [](const Bytes& file) {
    try {
      AviClip::Parse(file);
      ADD_FAILURE() << "no exception";
    } catch (const EAnimateError& e) {
      EXPECT_EQ(e.Message, "Cannot open AVI");
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClipBuilder b;
    b.frames = {Bytes(12, 1)};
    c.change(b);
    expectCannotOpen(b.build());
  }

  ClipBuilder valid;
  valid.frames = {Bytes(12, 1)};
  Bytes file = valid.build();
  struct ByteCase {
    const char* name;
    Bytes file;
  } byteCases[] = {
      {"empty", {}},
      {"not RIFF", [&] { Bytes b = file; b[0] = 'X'; return b; }()},
      {"not AVI", [&] { Bytes b = file; std::memcpy(&b[8], "WAVE", 4); return b; }()},
      {"no header list", [&] { Bytes b = file; std::memcpy(&b[20], "hdrx", 4); return b; }()},
      {"headers cut short", Bytes(file.begin(), file.begin() + 100)},
  };
  for (const ByteCase& c : byteCases) {
    SCOPED_TRACE(c.name);
    expectCannotOpen(c.file);
  }
}

// Every prefix of a valid file and thousands of seeded corruptions either
// open or throw the class library's exception, and so does each frame of
// what opens; sanitizer builds catch any read past the buffer.
TEST(AviReader, TruncatedAndCorruptedFilesNeverCrash) {
  ClipBuilder uncompressed;
  uncompressed.width = 3;
  uncompressed.height = 2;
  uncompressed.frames = {Bytes(8, 1), Bytes(8, 2)};
  for (const Bytes& file : {RleClip().build(), uncompressed.build()}) {
    auto attempt = [](const Bytes& b) {
      try {
        AviClip clip = AviClip::Parse(b);
        for (int i = 0; i < clip.frameCount(); ++i) {
          try {
            Dib f = clip.frame(i);
            ASSERT_EQ(f.width(), clip.width());
            ASSERT_EQ(f.height(), clip.height());
          } catch (const Exception&) {
          }
        }
      } catch (const Exception&) {
      }
    };
    attempt(file);
    testing::ForEachDamagedCopy(file, 4000, 20240611, [&](const Bytes& b, const std::string&) { attempt(b); });
  }
}

}  // namespace
}  // namespace tlb
