// The resampler stays inside the buffer it is given, whatever the block size,
// the rates and the sound's length. The buffer's end is put against a page the
// process may not touch, so that a read past it crashes the test at once, even
// when the read is made inside the conversion library, which no sanitizer sees.
#include "platform/formats/resample.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/formats/wav_reader.h"

namespace tlb {
namespace {

// Room for floats followed by an inaccessible page.
class GuardedFloats {
 public:
  explicit GuardedFloats(size_t count) : page_(size_t(sysconf(_SC_PAGESIZE))) {
    room_ = (count * sizeof(float) + page_ - 1) / page_ * page_;
    void* m = mmap(nullptr, room_ + page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED) return;
    base_ = static_cast<char*>(m);
    if (mprotect(base_ + room_, page_, PROT_NONE) != 0) {
      munmap(base_, room_ + page_);
      base_ = nullptr;
    }
  }
  ~GuardedFloats() {
    if (base_) munmap(base_, room_ + page_);
  }
  GuardedFloats(const GuardedFloats&) = delete;
  GuardedFloats& operator=(const GuardedFloats&) = delete;

  bool Ready() const { return base_ != nullptr; }
  // The last `count` floats before the guard page.
  float* Last(size_t count) { return reinterpret_cast<float*>(base_ + room_) - count; }

 private:
  size_t page_;
  size_t room_ = 0;
  char* base_ = nullptr;
};

// A sound with something in it for the filter to work on: two tones and a
// little noise, different on each channel.
std::shared_ptr<WaveData> Sound(int rate, int channels, int64_t frames) {
  auto w = std::make_shared<WaveData>(WaveData{rate, channels, {}});
  w->samples.reserve(size_t(frames) * size_t(channels));
  uint32_t noise = 1;
  for (int64_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      noise = noise * 1664525u + 1013904223u;
      double v = 9000 * std::sin(0.013 * double(i) * (c + 1)) + 6000 * std::sin(0.41 * double(i)) + double(noise >> 22) - 512;
      w->samples.push_back(int16_t(std::lround(v)));
    }
  return w;
}

// Reads the whole sound in blocks of `block` frames, each into the last floats
// before the guard, and checks the frame counts on the way.
void ReadInBlocks(WaveResampler& reader, GuardedFloats& room, int block) {
  const size_t channels = size_t(reader.Channels());
  float* out = room.Last(size_t(block) * channels);
  int64_t left = reader.LengthFrames();
  for (;;) {
    const int want = int(std::min<int64_t>(left, block));
    const int n = reader.Read(out, block);
    ASSERT_EQ(n, want);
    left -= n;
    if (n < block) break;
  }
  ASSERT_EQ(left, 0);
  ASSERT_EQ(reader.Frame(), reader.LengthFrames());
}

constexpr int kLargestBlock = 4096;

// Every block size the mixer may ask for, on the widest down conversion to the
// mixer's rate. Each sound is two and a half blocks long, so that the reads
// meet the converter both while it is fed and while it empties its filter.
TEST(WaveResampler, EveryBlockSizeStaysInsideTheBuffer) {
  GuardedFloats room(size_t(kLargestBlock) * 2);
  ASSERT_TRUE(room.Ready());
  auto Frames = [](int block) { return (int64_t(block) * 5 / 2 + 1) * 192000 / 44100; };
  const auto longest = Sound(192000, 2, Frames(kLargestBlock));
  for (int block = 1; block <= kLargestBlock; ++block) {
    SCOPED_TRACE("block " + std::to_string(block));
    auto sound = std::make_shared<WaveData>(WaveData{192000, 2, {}});
    sound->samples.assign(longest->samples.begin(), longest->samples.begin() + Frames(block) * 2);
    WaveResampler reader(sound, 44100);
    ReadInBlocks(reader, room, block);
    if (HasFatalFailure()) return;
  }
}

// Up and down to the mixer's rate, mono and stereo: every small block size and
// the usual and awkward larger ones.
TEST(WaveResampler, OddRatesStayInsideTheBuffer) {
  struct Case {
    int from, to;
    int64_t frames;
  } cases[] = {{192000, 44100, 4456}, {96000, 44100, 9001}, {48000, 44100, 4801}, {22050, 44100, 2205},
               {11025, 44100, 1103}, {8000, 44100, 801},  {44100, 192000, 1001}, {44100, 96000, 2001},
               {44100, 48000, 4411}, {44100, 22050, 8821}, {44100, 11025, 8821}, {44100, 8000, 8821}};
  std::vector<int> blocks;
  for (int b = 1; b <= 64; ++b) blocks.push_back(b);
  for (int b : {100, 127, 255, 256, 257, 333, 511, 512, 513, 1000, 1023, 1024, 1025, 2047, 2048, 2049, 4095, 4096})
    blocks.push_back(b);
  GuardedFloats room(size_t(kLargestBlock) * 2);
  ASSERT_TRUE(room.Ready());
  for (const auto& c : cases)
    for (int channels : {1, 2}) {
      auto sound = Sound(c.from, channels, c.frames);
      for (int block : blocks) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to) + ", " + std::to_string(channels) +
                     " channels, block " + std::to_string(block));
        WaveResampler reader(sound, c.to);
        ReadInBlocks(reader, room, block);
        if (HasFatalFailure()) return;
      }
    }
}

// A short sound read whole into a buffer of exactly its length, as Resample
// does; a one-frame sound gives a one-frame buffer.
TEST(WaveResampler, ShortSoundsReadWholeStayInsideTheBuffer) {
  GuardedFloats room(size_t(kLargestBlock) * 2);
  ASSERT_TRUE(room.Ready());
  for (int from : {192000, 96000, 48000, 22050, 11025, 8000})
    for (int channels : {1, 2})
      for (int64_t frames = 1; frames <= 48; ++frames)
        for (auto [in, out] : {std::pair{from, 44100}, std::pair{44100, from}}) {
          SCOPED_TRACE(std::to_string(in) + " -> " + std::to_string(out) + ", " + std::to_string(channels) +
                       " channels, " + std::to_string(frames) + " frames");
          WaveResampler reader(Sound(in, channels, frames), out);
          ReadInBlocks(reader, room, int(reader.LengthFrames()));
          if (HasFatalFailure()) return;
        }
}

}  // namespace
}  // namespace tlb
