#include "midi_writer.h"

#include <algorithm>
#include <cmath>

#include "byte_writer.h"

namespace gen {

namespace {

void varLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t buf[5];
  int n = 0;
  buf[n++] = uint8_t(v & 0x7F);
  while (v >>= 7) buf[n++] = uint8_t((v & 0x7F) | 0x80);
  while (n) out.push_back(buf[--n]);
}

std::vector<uint8_t> metaText(int type, const std::string& s) {
  std::vector<uint8_t> d = {0xFF, uint8_t(type)};
  varLen(d, uint32_t(s.size()));
  d.insert(d.end(), s.begin(), s.end());
  return d;
}

template <class E>
std::vector<uint8_t> trackChunk(std::vector<E> events) {
  std::stable_sort(events.begin(), events.end(), [](const E& a, const E& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<uint8_t> body;
  uint32_t last = 0;
  for (const E& e : events) {
    varLen(body, e.tick - last);
    last = e.tick;
    body.insert(body.end(), e.data.begin(), e.data.end());
  }
  varLen(body, 0);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  Bytes b;
  b.fourcc("MTrk");
  b.be32(uint32_t(body.size()));
  b.bytes(body);
  return b.data();
}

}  // namespace

void MidiFile::tempo(double bpm) {
  uint32_t us = uint32_t(std::lround(60000000.0 / bpm));
  meta_.push_back({0, 1, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)}});
}

void MidiFile::timeSignature(int num, int den) {
  int pow2 = 0;
  while ((1 << pow2) < den) ++pow2;
  meta_.push_back({0, 2, {0xFF, 0x58, 0x04, uint8_t(num), uint8_t(pow2), 24, 8}});
}

void MidiFile::title(const std::string& name) { meta_.push_back({0, 0, metaText(0x03, name)}); }

int MidiFile::addTrack(const std::string& name, int channel, int program, int volume, int pan) {
  Track t{name, channel, {}};
  t.events.push_back({0, 0, metaText(0x03, name)});
  uint8_t ch = uint8_t(channel & 0x0F);
  if (channel != 9) t.events.push_back({0, 1, {uint8_t(0xC0 | ch), uint8_t(program)}});
  t.events.push_back({0, 2, {uint8_t(0xB0 | ch), 7, uint8_t(volume)}});
  t.events.push_back({0, 3, {uint8_t(0xB0 | ch), 10, uint8_t(pan)}});
  t.events.push_back({0, 4, {uint8_t(0xB0 | ch), 91, 40}});  // a little reverb
  tracks_.push_back(std::move(t));
  return int(tracks_.size()) - 1;
}

void MidiFile::note(int track, uint32_t tick, uint32_t length, int key, int velocity) {
  Track& t = tracks_.at(size_t(track));
  uint8_t ch = uint8_t(t.channel & 0x0F);
  t.events.push_back({tick, 10, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(velocity)}});
  t.events.push_back({tick + std::max<uint32_t>(1, length), 5, {uint8_t(0x80 | ch), uint8_t(key), 0}});
}

void MidiFile::controller(int track, uint32_t tick, int number, int value) {
  Track& t = tracks_.at(size_t(track));
  t.events.push_back({tick, 6, {uint8_t(0xB0 | (t.channel & 0x0F)), uint8_t(number), uint8_t(value)}});
}

std::vector<uint8_t> MidiFile::bytes() const {
  Bytes b;
  b.fourcc("MThd");
  b.be32(6);
  b.be16(1);
  b.be16(uint32_t(tracks_.size() + 1));
  b.be16(uint32_t(division_));
  b.bytes(trackChunk(meta_));
  for (const Track& t : tracks_) b.bytes(trackChunk(t.events));
  return b.data();
}

}  // namespace gen
