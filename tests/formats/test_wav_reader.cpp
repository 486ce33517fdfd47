#include "platform/formats/wav_reader.h"
#include "platform/formats/resample.h"
#include "tests/support/damaged_copies.h"
#include "tests/support/le_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <unistd.h>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

using testing::Append;
using testing::Put16;
using testing::Put32;
using testing::PutId;

using Bytes = std::vector<uint8_t>;
using Samples = std::vector<int16_t>;


// A RIFF chunk; `declared` overrides the size written in its header.
Bytes Chunk(const char* id, const Bytes& body, int64_t declared = -1) {
  Bytes b(id, id + 4);
  Put32(b, declared >= 0 ? uint32_t(declared) : uint32_t(body.size()));
  Append(b, body);
  if (body.size() % 2) b.push_back(0);
  return b;
}

Bytes Wave(const std::vector<Bytes>& chunks) {
  Bytes body{'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) Append(body, c);
  return Chunk("RIFF", body);
}

Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes b;
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * channels * bits / 8);
  Put16(b, uint16_t(channels * bits / 8));
  Put16(b, bits);
  return Chunk("fmt ", b);
}

// The extensible header with the subformat GUID of `subformat` (1 PCM, 3 float).
Bytes FmtExtensible(uint16_t subformat, uint16_t channels, uint32_t rate, uint16_t bits, uint8_t guidByte = 0x10) {
  Bytes b;
  Put16(b, 0xFFFE);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * channels * bits / 8);
  Put16(b, uint16_t(channels * bits / 8));
  Put16(b, bits);
  Put16(b, 22);
  Put16(b, bits);
  Put32(b, channels == 2 ? 3 : 4);
  Put16(b, subformat);
  Append(b, {0x00, 0x00, 0x00, 0x00, guidByte, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
  return Chunk("fmt ", b);
}

Bytes Floats(std::initializer_list<float> values) {
  Bytes b;
  for (float v : values) {
    uint32_t raw;
    std::memcpy(&raw, &v, 4);
    Put32(b, raw);
  }
  return b;
}

WaveData Read(const Bytes& b) { return ReadWav(b.data(), b.size()); }

struct FormatCase {
  const char* name;
  Bytes fmt;
  Bytes data;
  int channels;
  Samples expected;
};

TEST(WavReader, ConvertsEachSampleFormatTo16Bits) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const FormatCase cases[] = {
      {"8-bit unsigned", Fmt(1, 1, 8000, 8), {0x00, 0x80, 0xFF}, 1, {-32768, 0, 32512}},
      {"16-bit stereo", Fmt(1, 2, 8000, 16), {0x34, 0x12, 0x00, 0x80}, 2, {0x1234, -32768}},
      {"24-bit keeps the top bytes", Fmt(1, 1, 8000, 24), {0xFF, 0x34, 0x12, 0x00, 0x00, 0x80}, 1, {0x1234, -32768}},
      {"32-bit keeps the top bytes", Fmt(1, 1, 8000, 32), {0xFF, 0xFF, 0x34, 0x12, 0, 0, 0xFF, 0x7F}, 1, {0x1234, 32767}},
      // Out-of-range floats clip; NaN is silence.
      {"float", Fmt(3, 1, 8000, 32), Floats({0.5f, -1.0f, 2.0f, -3.0f, nan}), 1, {16384, -32768, 32767, -32768, 0}},
      {"extensible PCM", FmtExtensible(1, 2, 8000, 16), {0x01, 0x00, 0xFF, 0xFF}, 2, {1, -1}},
      {"extensible float", FmtExtensible(3, 1, 8000, 32), Floats({-0.25f}), 1, {-8192}},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    WaveData w = Read(Wave({c.fmt, Chunk("data", c.data)}));
    EXPECT_EQ(w.sampleRate, 8000);
    EXPECT_EQ(w.channels, c.channels);
    EXPECT_EQ(w.samples, c.expected);
  }
}

TEST(WavReader, FindsChunksInAnyOrderAndSkipsOddSizedUnknownChunks) {
  // The odd 3-byte chunk carries a pad byte; missing it would misread every later chunk.
  Bytes file = Wave({Chunk("LIST", {'a', 'b', 'c'}), Chunk("data", {0x10, 0x00, 0x20, 0x00}),
                     Chunk("junk", {1}), Fmt(1, 1, 11025, 16)});
  WaveData w = Read(file);
  EXPECT_EQ(w.sampleRate, 11025);
  EXPECT_EQ(w.samples, (Samples{0x10, 0x20}));
}

TEST(WavReader, DataChunkLongerThanTheFileKeepsTheWholeFramesThatArePresent) {
  // Stereo 16-bit frames are 4 bytes; 6 bytes present make one whole frame.
  Bytes file = Wave({Fmt(1, 2, 8000, 16), Chunk("data", {1, 0, 2, 0, 3, 0}, 1000)});
  WaveData w = Read(file);
  EXPECT_EQ(w.frames(), 1);
  EXPECT_EQ(w.samples, (Samples{1, 2}));
}

TEST(WavReader, RiffSizeThatDisagreesWithTheFileIsTolerated) {
  // Streaming writers leave 0 or too much; some editors leave too little.
  Bytes file = Wave({Fmt(1, 1, 8000, 16), Chunk("data", {5, 0, 6, 0})});
  for (uint32_t riffSize : {0u, 4u, 0xFFFFFFFFu}) {
    Bytes b = file;
    std::memcpy(&b[4], &riffSize, 4);
    EXPECT_EQ(Read(b).samples, (Samples{5, 6})) << riffSize;
  }
}

TEST(WavReader, FramesAndDurationFollowRateAndChannels) {
  WaveData w{22050, 2, Samples(2 * 11025)};
  EXPECT_EQ(w.frames(), 11025);
  EXPECT_EQ(w.durationMs(), 500);
  EXPECT_EQ(Read(Wave({Fmt(1, 1, 8000, 8), Chunk("data", {})})).durationMs(), 0);
}

TEST(WavReader, MalformedInputThrowsReadError) {
  Bytes pcm = Chunk("data", {0, 0, 0, 0});
  Bytes shortFmt = Chunk("fmt ", Bytes(14, 1));
  Bytes fmtPastEnd = Fmt(1, 1, 8000, 16);
  fmtPastEnd[4] = 200;
  struct Case {
    const char* name;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"not WAVE", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}},
      {"no fmt", Wave({pcm})},
      {"no data", Wave({Fmt(1, 1, 8000, 16)})},
      {"fmt too short", Wave({shortFmt, pcm})},
      {"fmt past the end", Wave({pcm, fmtPastEnd})},
      {"three channels", Wave({Fmt(1, 3, 8000, 16), pcm})},
      {"no channels", Wave({Fmt(1, 0, 8000, 16), pcm})},
      {"rate 0", Wave({Fmt(1, 1, 0, 16), pcm})},
      // A few hertz would turn a short file into hours of sound to convert.
      {"rate 1", Wave({Fmt(1, 1, 1, 16), pcm})},
      {"rate just below 4000", Wave({Fmt(1, 1, 3999, 16), pcm})},
      {"rate just above 384000", Wave({Fmt(1, 1, 384001, 16), pcm})},
      {"ADPCM", Wave({Fmt(2, 1, 8000, 4), pcm})},
      {"12-bit PCM", Wave({Fmt(1, 1, 8000, 12), pcm})},
      {"64-bit float", Wave({Fmt(3, 1, 8000, 64), pcm})},
      {"16-bit float", Wave({Fmt(3, 1, 8000, 16), pcm})},
      {"extensible with a foreign GUID", Wave({FmtExtensible(1, 1, 8000, 16, 0x11), pcm})},
      {"extensible with another subformat", Wave({FmtExtensible(2, 1, 8000, 16), pcm})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Read(c.file);
      ADD_FAILURE() << "no exception";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, "Invalid wave file");
    }
  }
  EXPECT_THROW(ReadWav(nullptr, 0), EReadError);
}

TEST(WavReader, AcceptsTheRatesSoundFilesUseAndAtMostTenMinutes) {
  for (uint32_t rate : {4000u, 8000u, 22050u, 44100u, 48000u, 96000u, 384000u})
    EXPECT_EQ(Read(Wave({Fmt(1, 1, rate, 16), Chunk("data", {1, 0})})).sampleRate, int(rate)) << rate;
  // 8-bit mono at 4000 Hz keeps the fixture small: ten minutes are 2.4 MB.
  Bytes tenMinutes(600 * 4000, 0x80);
  EXPECT_EQ(Read(Wave({Fmt(1, 1, 4000, 8), Chunk("data", tenMinutes)})).durationMs(), 600000);
  tenMinutes.push_back(0x80);
  EXPECT_THROW(Read(Wave({Fmt(1, 1, 4000, 8), Chunk("data", tenMinutes)})), EReadError);
}

TEST(WavReader, LoadsFilesAndReportsMissingOnes) {
  std::string path = ::testing::TempDir() + "wav_reader_" + std::to_string(getpid()) + ".wav";
  Bytes file = Wave({Fmt(1, 1, 16000, 16), Chunk("data", {7, 0})});
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  }
  EXPECT_EQ(LoadWavFile(path).samples, Samples{7});
  std::remove(path.c_str());
  EXPECT_THROW(LoadWavFile(path), EFOpenError);
  // A folder opens as a stream but is no sound.
  EXPECT_THROW(LoadWavFile(::testing::TempDir()), Exception);
}

// The amplitude of one frequency in a signal (Goertzel), relative to full scale.
double Level(const Samples& s, int channels, int channel, double frequency, int rate, size_t from, size_t count) {
  double w = 2 * 3.14159265358979323846 * frequency / rate, coeff = 2 * std::cos(w), s1 = 0, s2 = 0;
  for (size_t n = from; n < from + count; ++n) {
    double s0 = s[n * size_t(channels) + size_t(channel)] / 32768.0 + coeff * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coeff * s1 * s2)) / double(count);
}

WaveData Sine(int rate, double frequency, double seconds, double amplitude) {
  WaveData w{rate, 1, {}};
  for (int n = 0; n < int(rate * seconds); ++n)
    w.samples.push_back(int16_t(std::lround(amplitude * 32767 * std::sin(2 * 3.14159265358979323846 * frequency * n / rate))));
  return w;
}

TEST(WavReader, ResampleKeepsTheToneAndLeavesNoMirrorImages) {
  struct Case {
    int from, to;
    double tone;
  } cases[] = {{22050, 44100, 5000}, {22050, 44100, 1000}, {44100, 22050, 3000}, {11025, 48000, 2000}, {48000, 44100, 6000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to) + " at " + std::to_string(int(c.tone)) + " Hz");
    Samples out = Resample(Sine(c.from, c.tone, 0.5, 0.5), c.to, 2);
    size_t frames = out.size() / 2, from = frames / 4, count = frames / 2;
    EXPECT_NEAR(Level(out, 2, 0, c.tone, c.to, from, count), 0.5, 0.01);
    EXPECT_NEAR(Level(out, 2, 1, c.tone, c.to, from, count), 0.5, 0.01);
    // The image a rate change mirrors around the source's Nyquist frequency: 60 dB down at least.
    double image = double(c.from) - c.tone;
    if (image < c.to / 2.0) {
      EXPECT_LT(Level(out, 2, 0, image, c.to, from, count), 0.5e-3);
    }
  }
}

TEST(WavReader, ResampleConvertsChannelsAndKeepsTheLength) {
  WaveData ramp{1000, 1, {0, 100, 200, 300}};
  // Same rate: mono to stereo duplicates each sample exactly.
  EXPECT_EQ(Resample(ramp, 1000, 2), (Samples{0, 0, 100, 100, 200, 200, 300, 300}));
  WaveData stereo{2000, 2, {0, 100, 200, 300, 400, 500, 600, 700}};
  EXPECT_EQ(Resample(stereo, 2000, 1), (Samples{50, 250, 450, 650}));
  EXPECT_EQ(Resample(stereo, 2000, 2), stereo.samples);
  // Enough frames to reach the last source frame.
  EXPECT_EQ(Resample(ramp, 2000, 1).size(), 8u);
  EXPECT_EQ(Resample(ramp, 750, 1).size(), 3u);
  EXPECT_EQ(Resample(WaveData{}, 44100, 2), Samples{});
  // Full-scale square waves overshoot when filtered; the result clips instead of wrapping.
  WaveData loud{8000, 1, {}};
  for (int n = 0; n < 800; ++n) loud.samples.push_back(n / 10 % 2 ? 32767 : -32768);
  Samples up = Resample(loud, 44100, 1);
  EXPECT_EQ(*std::max_element(up.begin(), up.end()), 32767);
  EXPECT_EQ(*std::min_element(up.begin(), up.end()), -32768);
  EXPECT_THROW(Resample(ramp, 0, 1), EUnsupported);
  EXPECT_THROW(Resample(ramp, 44100, 3), EUnsupported);
  // Wider than any two supported file rates: refused rather than made into a huge buffer.
  EXPECT_THROW(Resample(ramp, 1000 * 97, 2), EUnsupported);
  EXPECT_THROW(Resample(WaveData{384000, 1, {0, 1}}, 3000, 2), EUnsupported);
}

// A click's place in time survives the conversion: the converter's delay is
// taken out, so a sound is neither late nor early against its position.
TEST(WaveResampler, KeepsTheTimingOfTheSound) {
  struct Case {
    int from, to;
  } cases[] = {{22050, 44100}, {44100, 48000}, {48000, 44100}, {8000, 44100}, {11025, 48000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
    auto wave = std::make_shared<WaveData>(WaveData{c.from, 1, Samples(size_t(c.from), 0)});
    wave->samples[size_t(c.from) / 2] = 30000;  // at 500 ms
    WaveResampler reader(wave, c.to);
    std::vector<float> out(size_t(reader.LengthFrames()));
    ASSERT_EQ(reader.Read(out.data(), int(out.size())), int(out.size()));
    size_t peak = size_t(std::max_element(out.begin(), out.end()) - out.begin());
    EXPECT_NEAR(double(peak) * 1000.0 / c.to, 500.0, 0.5);
  }
}

// Reading in blocks of any size, or seeking back and reading again, gives
// the sound that one read gives; the length is exact to the frame.
TEST(WaveResampler, BlocksAndSeeksGiveTheSameSound) {
  auto wave = std::make_shared<WaveData>(Sine(22050, 440, 1.0, 0.5));
  wave->channels = 2;  // the same samples read as half a second of stereo
  WaveResampler whole(wave, 44100);
  const int64_t length = whole.LengthFrames();
  ASSERT_EQ(length, 22050);
  std::vector<float> once(size_t(length) * 2);
  ASSERT_EQ(whole.Read(once.data(), int(length)), int(length));
  EXPECT_EQ(whole.Read(once.data(), 10), 0);

  WaveResampler blocks(wave, 44100);
  std::vector<float> pieces;
  const int sizes[] = {1, 7, 256, 4096, 333};
  for (int i = 0;; ++i) {
    int size = sizes[i % 5];
    std::vector<float> b(size_t(size) * 2);
    int n = blocks.Read(b.data(), size);
    pieces.insert(pieces.end(), b.begin(), b.begin() + n * 2);
    if (n < size) break;
  }
  ASSERT_EQ(pieces.size(), once.size());
  for (size_t i = 0; i < once.size(); ++i) ASSERT_NEAR(pieces[i], once[i], 1e-4) << i;

  // After a seek the filter starts afresh; past its first few milliseconds the
  // sound is the one a read from the start gives there.
  for (int64_t at : {int64_t(0), int64_t(7000), length - 300}) {
    SCOPED_TRACE(at);
    blocks.Seek(at);
    std::vector<float> again(size_t(length - at) * 2);
    ASSERT_EQ(blocks.Read(again.data(), int(length - at)), int(length - at));
    for (size_t i = at == 0 ? 0 : 400; i < again.size(); ++i) ASSERT_NEAR(again[i], once[size_t(at) * 2 + i], 2e-3) << i;
  }
  blocks.Seek(length + 5);
  EXPECT_EQ(blocks.Frame(), length);
}

// Every prefix of a valid file and thousands of seeded corruptions either
// read or throw the class library's exception; sanitizer builds catch any
// read past the buffer.
TEST(WavReader, TruncatedAndCorruptedFilesNeverCrash) {
  Bytes file = Wave({Chunk("LIST", {'x', 'y', 'z'}), FmtExtensible(1, 2, 22050, 16),
                     Chunk("data", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), Chunk("cue ", {1, 2})});
  auto attempt = [](const Bytes& b) {
    try {
      WaveData w = ReadWav(b.data(), b.size());
      ASSERT_TRUE(w.channels == 1 || w.channels == 2);
      ASSERT_EQ(w.samples.size() % size_t(w.channels), 0u);
    } catch (const Exception&) {
    }
  };
  attempt(file);
  testing::ForEachDamagedCopy(file, 4000, 20240611, [&](const Bytes& b, const std::string&) { attempt(b); });
}

}  // namespace
}  // namespace tlb
