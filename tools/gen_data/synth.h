#pragma once
// A few simple instruments rendered straight into sample buffers: the
// accompaniment of the songs and the non-spoken sounds (a clap, a card flip).
#include <cstdint>

#include "audio.h"

namespace gen {

// Deterministic pseudo-random numbers (xorshift64*), seeded per use.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t next() {
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return s_ * 0x2545F4914F6CDD1Dull;
  }
  double uniform() { return double(next() >> 11) / double(1ull << 53); }  // 0..1
  int below(int n) { return int(next() % uint64_t(n)); }

 private:
  uint64_t s_;
};

double midiToHz(double key);

enum class Voice {
  Flute,    // sine with a little breath and vibrato: the melody of the music-only version
  Soft,     // quiet triangle: the melody under the singing voice
  Pluck,    // plucked string: chords
  Bass,     // round bass
  Bell,     // glockenspiel-like: ornaments
};

void renderNote(Audio& dst, Voice v, double start, double duration, double key, double gain, uint64_t seed = 1);
void renderShaker(Audio& dst, double start, double gain, uint64_t seed);
void renderKick(Audio& dst, double start, double gain);

Audio clapSound();
Audio cardFlipSound();

}  // namespace gen
