#pragma once
// Access to a generated sample data set for the data tests: the folder named
// by TULIMBO_SAMPLE_DATA (the programs' folder, holding hudba, zvuky, obrazky,
// animace and texty; the compiled-in resources lie beside it in ../res), file
// lookup that ignores case the way the platform's path resolver does, and
// small readers of the headers the tests look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sample {

// The data folder, or nullopt when the variable is unset (the test then skips).
std::optional<std::string> dataFolder();

// Skips the test when no data set is named; fails it when the named folder
// does not hold one. Use at the top of every test.
#define REQUIRE_SAMPLE_SET(folderVar)                                                              \
  std::string folderVar;                                                                           \
  do {                                                                                             \
    auto found_ = sample::dataFolder();                                                            \
    if (!found_) GTEST_SKIP() << "TULIMBO_SAMPLE_DATA is not set";                                 \
    folderVar = *found_;                                                                           \
    ASSERT_TRUE(sample::isFolder(folderVar + "/zvuky"))                                            \
        << folderVar << " holds no data set; build the sample_data target first";                  \
  } while (0)

bool isFolder(const std::string& path);
// Resolves "zvuky/k1_end.WAV" under `root`, matching each component without
// regard to case; the real path, or nullopt.
std::optional<std::string> resolve(const std::string& root, const std::string& relative);
std::vector<std::string> listFolder(const std::string& path);
std::vector<uint8_t> readFile(const std::string& path);
// The bytes of the data file `relative` under `root` (found as resolve() finds it);
// throws "missing <relative>" when there is none.
std::vector<uint8_t> readDataFile(const std::string& root, const std::string& relative);

// --- Minimal readers -----------------------------------------------------------

struct BmpInfo {
  int width = 0, height = 0, bits = 0;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  // Pixel colour (0x00RRGGBB) at x, y counted from the top; only 8-bit pictures.
  std::vector<uint32_t> pixels;
};
// Parses a BMP file; throws std::runtime_error on anything malformed.
BmpInfo readBmp(const std::vector<uint8_t>& bytes);

struct WavInfo {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;  // 16-bit mono only
  double seconds() const { return rate ? double(samples.size()) / rate : 0; }
};
WavInfo readWav(const std::vector<uint8_t>& bytes);

struct AviInfo {
  int width = 0, height = 0, bits = 0;
  uint32_t totalFrames = 0, rate = 0, scale = 0, compression = 0;
  int frameChunks = 0;
  bool hasIndex = false;
};
AviInfo readAvi(const std::vector<uint8_t>& bytes);

struct MidiInfo {
  int format = 0, tracks = 0;
  double seconds = 0;
  int notes = 0, percussionNotes = 0, programChanges = 0;
  bool hasTempo = false;
};
MidiInfo readMidi(const std::vector<uint8_t>& bytes);

struct CursorInfo {
  int type = 0;  // 1 icon, 2 cursor
  int width = 0, height = 0, hotX = 0, hotY = 0, bits = 0;
  int opaquePixels = 0;  // pixels whose AND-mask bit is clear
};
CursorInfo readCursor(const std::vector<uint8_t>& bytes);

struct KaraokeSyllable {
  long timeMs;
  std::string text;  // code page 1250 bytes
  int line;
};
struct KaraokeInfo {
  std::string title;  // code page 1250 bytes
  std::vector<KaraokeSyllable> syllables;
  int displayLines = 0;
  size_t fileLines = 0, longestLine = 0;
};
KaraokeInfo readKaraoke(const std::vector<uint8_t>& bytes);

}  // namespace sample
