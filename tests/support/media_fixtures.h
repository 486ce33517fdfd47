#pragma once
// Small media files built in memory for tests: WAV sounds, MIDI songs with a
// tempo change, and 8-bit AVI clips whose frames can be told apart by colour.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "tests/support/le_bytes.h"

namespace tlb::testing {

inline void PutBe32(Bytes& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(v >> shift));
}
inline Bytes RiffChunk(const char* id, const Bytes& body) {
  Bytes b(id, id + 4);
  Put32(b, uint32_t(body.size()));
  Append(b, body);
  if (body.size() % 2) b.push_back(0);
  return b;
}
inline Bytes RiffList(const char* type, const std::vector<Bytes>& children) {
  Bytes body(type, type + 4);
  for (const Bytes& c : children) Append(body, c);
  return RiffChunk("LIST", body);
}

// A 16-bit PCM sound of `ms` milliseconds: a sine of `hz` (0: silence).
inline Bytes WavFile(int ms, int rate = 8000, int channels = 1, double hz = 440, int amplitude = 8000) {
  Bytes fmt;
  Put16(fmt, 1);
  Put16(fmt, uint32_t(channels));
  Put32(fmt, uint32_t(rate));
  Put32(fmt, uint32_t(rate * channels * 2));
  Put16(fmt, uint32_t(channels * 2));
  Put16(fmt, 16);
  Bytes data;
  int64_t frames = int64_t(rate) * ms / 1000;
  for (int64_t i = 0; i < frames; ++i) {
    int v = int(std::lround(amplitude * std::sin(2 * M_PI * hz * double(i) / rate)));
    for (int c = 0; c < channels; ++c) Put16(data, uint32_t(uint16_t(int16_t(v))));
  }
  Bytes body{'W', 'A', 'V', 'E'};
  Append(body, RiffChunk("fmt ", fmt));
  Append(body, RiffChunk("data", data));
  return RiffChunk("RIFF", body);
}

inline Bytes MidiVlq(uint32_t v) {
  Bytes b{uint8_t(v & 0x7F)};
  while (v >>= 7) b.insert(b.begin(), uint8_t(0x80 | (v & 0x7F)));
  return b;
}
inline Bytes MidiEv(uint32_t delta, const Bytes& bytes) {
  Bytes b = MidiVlq(delta);
  Append(b, bytes);
  return b;
}
inline Bytes MidiTempo(uint32_t delta, uint32_t usPerQuarter) {
  return MidiEv(delta, {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)});
}
inline Bytes MidiTrack(const std::vector<Bytes>& events) {
  Bytes body;
  for (const Bytes& e : events) Append(body, e);
  Append(body, MidiEv(0, {0xFF, 0x2F, 0x00}));
  Bytes b{'M', 'T', 'r', 'k'};
  PutBe32(b, uint32_t(body.size()));
  Append(b, body);
  return b;
}
inline Bytes MidiFile(uint16_t format, uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes b{'M', 'T', 'h', 'd', 0, 0, 0, 6, uint8_t(format >> 8), uint8_t(format), 0, uint8_t(tracks.size()),
          uint8_t(division >> 8), uint8_t(division)};
  for (const Bytes& t : tracks) Append(b, t);
  return b;
}

// A format 1 song, 96 ticks per quarter: 192 ticks at 500000 us per quarter
// (1000 ms), then 192 ticks at 250000 (500 ms): 1500 ms in all. A piano note
// sounds from 1000 ms to 1400 ms.
inline Bytes MidiWithTempoChange() {
  Bytes tempo = MidiTrack({MidiTempo(0, 500000), MidiTempo(192, 250000)});
  Bytes notes = MidiTrack({MidiEv(0, {0xC0, 0}), MidiEv(192, {0x90, 60, 110}), MidiEv(154, {0x80, 60, 0}),
                           MidiEv(38, {0xB0, 7, 100})});
  return MidiFile(1, 96, {tempo, notes});
}

// The colours of the test clips' palette: index 0 is the background key.
constexpr COLORREF kClipBackground = RGB(255, 0, 255);
inline COLORREF ClipFrameColor(int frame) {
  static const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
  return colors[frame % 4];
}

// An uncompressed 8-bit clip: each frame's left column is the background, the
// rest is ClipFrameColor(frame).
inline Bytes AviFile(int width, int height, int frames, int fps) {
  Bytes avih;
  Put32(avih, uint32_t(1000000 / fps));
  for (int i = 0; i < 3; ++i) Put32(avih, 0);
  Put32(avih, uint32_t(frames));
  Put32(avih, 0);
  Put32(avih, 1);
  Put32(avih, 0);
  Put32(avih, uint32_t(width));
  Put32(avih, uint32_t(height));
  avih.resize(56, 0);
  Bytes strh{'v', 'i', 'd', 's'};
  for (int i = 0; i < 4; ++i) Put32(strh, 0);
  Put32(strh, 1);                  // scale
  Put32(strh, uint32_t(fps));      // rate
  Put32(strh, 0);
  Put32(strh, uint32_t(frames));
  Put32(strh, 0);
  Put32(strh, 0xFFFFFFFF);
  Put32(strh, 0);
  strh.resize(56, 0);
  Bytes strf;
  Put32(strf, 40);
  Put32(strf, uint32_t(width));
  Put32(strf, uint32_t(height));
  Put16(strf, 1);
  Put16(strf, 8);
  for (int i = 0; i < 4; ++i) Put32(strf, 0);
  Put32(strf, 5);
  Put32(strf, 0);
  COLORREF palette[5] = {kClipBackground, ClipFrameColor(0), ClipFrameColor(1), ClipFrameColor(2), ClipFrameColor(3)};
  for (COLORREF c : palette) Append(strf, {GetBValue(c), GetGValue(c), GetRValue(c), 0});
  int stride = (width + 3) / 4 * 4;
  std::vector<Bytes> chunks;
  for (int f = 0; f < frames; ++f) {
    Bytes pixels(size_t(stride) * size_t(height), 0);
    for (int y = 0; y < height; ++y)
      for (int x = 1; x < width; ++x) pixels[size_t(y) * stride + x] = uint8_t(1 + f % 4);
    chunks.push_back(RiffChunk("00dc", pixels));
  }
  Bytes body{'A', 'V', 'I', ' '};
  Append(body, RiffList("hdrl", {RiffChunk("avih", avih), RiffList("strl", {RiffChunk("strh", strh), RiffChunk("strf", strf)})}));
  Append(body, RiffList("movi", chunks));
  return RiffChunk("RIFF", body);
}

inline std::string WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

}  // namespace tlb::testing
