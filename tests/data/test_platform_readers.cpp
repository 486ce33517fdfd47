// Every file of the sample data set opens with the platform's own readers,
// the ones the programs use: pictures, clips, sounds, music and cursors.
#include <gtest/gtest.h>

#include "data_inventory.h"
#include "platform/formats/avi_reader.h"
#include "platform/formats/bmp_reader.h"
#include "platform/formats/cursor_reader.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "sample_set.h"

namespace {

std::vector<uint8_t> bytesOf(const std::string& root, const sample::DataFile& f) {
  return sample::readDataFile(root, f.folder + "/" + f.name);
}

TEST(SampleDataWithPlatformReaders, EveryDataFileOpens) {
  REQUIRE_SAMPLE_SET(root);
  for (const sample::DataFile& f : sample::dataInventory()) {
    SCOPED_TRACE(f.folder + "/" + f.name);
    std::vector<uint8_t> b = bytesOf(root, f);
    if (f.folder == "obrazky") {
      tlb::Dib d = tlb::ReadBmp(b.data(), b.size());
      EXPECT_EQ(d.bpp(), 8);
      EXPECT_FALSE(d.empty());
    } else if (f.folder == "animace") {
      tlb::AviClip clip = tlb::AviClip::Parse(b);
      ASSERT_GT(clip.frameCount(), 0);
      EXPECT_GT(clip.framesPerSecond(), 0);
      for (int i : {0, clip.frameCount() - 1}) {
        tlb::Dib frame = clip.frame(i);
        EXPECT_EQ(frame.width(), clip.width());
        EXPECT_EQ(frame.height(), clip.height());
      }
      if (f.kind == "talking mouse") {
        EXPECT_EQ(clip.frameCount(), 12);
      }
    } else if (f.folder == "zvuky") {
      tlb::WaveData w = tlb::ReadWav(b.data(), b.size());
      EXPECT_EQ(w.sampleRate, 22050);
      EXPECT_EQ(w.channels, 1);
      EXPECT_GT(w.durationMs(), 300);
    } else if (f.folder == "hudba") {
      tlb::MidiSong song = tlb::ReadMidi(b.data(), b.size());
      EXPECT_GE(song.lengthUs, 30'000'000);
      EXPECT_LE(song.lengthUs, 90'000'000);
      EXPECT_FALSE(song.events.empty());
    }
  }
}

TEST(SampleDataWithPlatformReaders, CursorsAndIconsOpenWithTheirHotSpots) {
  REQUIRE_SAMPLE_SET(data);
  std::string res = data + "/../res";
  if (!sample::isFolder(res)) GTEST_SKIP() << "no resource folder beside the data set";
  struct C {
    const char* file;
    int hx, hy, size;
  };
  for (C c : {C{"common/cursor.sipka1.cur", 2, 2, 32}, C{"games/cursor.sipka2.cur", 5, 5, 32},
              C{"common/cursor.ruka1.cur", 10, 0, 32}, C{"common/cursor.hodiny1.cur", 16, 18, 32},
              C{"games/icon.program.ico", 16, 16, 32}, C{"rhymes/icon.program.ico", 16, 16, 32},
              C{"songs/icon.program.ico", 16, 16, 32}}) {
    SCOPED_TRACE(c.file);
    auto path = sample::resolve(res, c.file);
    ASSERT_TRUE(path);
    std::vector<uint8_t> b = sample::readFile(*path);
    tlb::CursorImage img = tlb::ReadCursor(b.data(), b.size());
    EXPECT_EQ(img.width, c.size);
    EXPECT_EQ(img.height, c.size);
    EXPECT_EQ(img.hotX, c.hx);
    EXPECT_EQ(img.hotY, c.hy);
  }
}

}  // namespace
