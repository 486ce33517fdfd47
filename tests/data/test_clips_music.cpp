// The clips and the music of the sample data set, in the formats the
// platform plays: 8-bit uncompressed AVI with an index, standard MIDI files.
#include <gtest/gtest.h>

#include "data_inventory.h"
#include "sample_set.h"

namespace {

struct ClipRule {
  int w, h, minFrames, maxFrames;
};

ClipRule ruleFor(const std::string& kind) {
  if (kind == "tile") return {140, 140, 10, 30};
  if (kind == "exit tile") return {120, 120, 10, 30};
  return {100, 130, 12, 12};  // the talking mouse: "the 12-frame clip"
}

TEST(SampleClips, PlayableFramesAtTheSizeOfTheirControl) {
  REQUIRE_SAMPLE_SET(root);
  int checked = 0;
  for (const sample::DataFile& f : sample::dataInventory()) {
    if (f.folder != "animace") continue;
    SCOPED_TRACE(f.name);
    auto path = sample::resolve(root, "animace/" + f.name);
    ASSERT_TRUE(path);
    sample::AviInfo a = sample::readAvi(sample::readFile(*path));
    ClipRule r = ruleFor(f.kind);
    EXPECT_EQ(a.width, r.w);
    EXPECT_EQ(a.height, r.h);
    EXPECT_GE(int(a.totalFrames), r.minFrames);
    EXPECT_LE(int(a.totalFrames), r.maxFrames);
    EXPECT_EQ(a.frameChunks, int(a.totalFrames)) << "frame count in the header and frames stored differ";
    EXPECT_EQ(a.bits, 8);
    EXPECT_EQ(a.compression, 0u);
    EXPECT_TRUE(a.hasIndex);
    EXPECT_GT(a.rate, 0u);
    EXPECT_GT(a.scale, 0u);
    ++checked;
  }
  EXPECT_EQ(checked, 9);
}

TEST(SampleMusic, GentleLoopsOfHalfAMinuteToAMinuteAndAHalf) {
  REQUIRE_SAMPLE_SET(root);
  std::vector<std::vector<uint8_t>> files;
  for (const sample::DataFile& f : sample::dataInventory()) {
    if (f.folder != "hudba") continue;
    SCOPED_TRACE(f.name);
    auto path = sample::resolve(root, "hudba/" + f.name);
    ASSERT_TRUE(path);
    std::vector<uint8_t> bytes = sample::readFile(*path);
    sample::MidiInfo m = sample::readMidi(bytes);
    EXPECT_EQ(m.format, 1);
    EXPECT_TRUE(m.hasTempo);
    EXPECT_GE(m.seconds, 30.0);
    EXPECT_LE(m.seconds, 90.0);
    EXPECT_GE(m.programChanges, 3) << "melody, chords and bass each name an instrument";
    EXPECT_GT(m.percussionNotes, 0) << "no percussion on channel 10";
    EXPECT_GT(m.notes - m.percussionNotes, 100);
    for (const auto& other : files) EXPECT_NE(bytes, other) << "the same music twice";
    files.push_back(bytes);
  }
  EXPECT_EQ(files.size(), 6u);
}

}  // namespace
