#include "synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double envelope(double t, double dur, double attack, double decay, double sustain, double release) {
  if (t < 0) return 0;
  double e;
  if (t < attack) e = t / attack;
  else if (t < attack + decay) e = 1.0 - (1.0 - sustain) * (t - attack) / decay;
  else e = sustain;
  if (t > dur) e *= std::max(0.0, 1.0 - (t - dur) / release);
  return e;
}

void ensure(Audio& a, size_t n) {
  if (a.s.size() < n) a.s.resize(n, 0.0f);
}

// One-pole high-pass over white noise: the hiss of shakers and claps.
std::vector<float> noise(size_t n, uint64_t seed, double hp) {
  Rng r(seed);
  std::vector<float> out(n);
  double prevIn = 0, prevOut = 0;
  for (size_t i = 0; i < n; ++i) {
    double x = r.uniform() * 2 - 1;
    double y = hp * (prevOut + x - prevIn);
    prevIn = x, prevOut = y;
    out[i] = float(y);
  }
  return out;
}

}  // namespace

double midiToHz(double key) { return 440.0 * std::pow(2.0, (key - 69.0) / 12.0); }

void renderNote(Audio& dst, Voice v, double start, double duration, double key, double gain, uint64_t seed) {
  const double f = midiToHz(key);
  const int rate = dst.rate;
  const size_t s0 = dst.at(start);
  if (v == Voice::Pluck) {
    // Karplus-Strong string: a noise burst circulating in a damped delay line.
    size_t period = std::max<size_t>(2, size_t(rate / f + 0.5));
    Rng r(seed * 7919 + size_t(key));
    std::vector<double> line(period);
    for (double& x : line) x = r.uniform() * 2 - 1;
    double tail = duration + 0.6;
    size_t n = size_t(tail * rate);
    ensure(dst, s0 + n);
    size_t idx = 0;
    double mean = 0;
    for (double x : line) mean += x;
    mean /= double(period);
    for (double& x : line) x -= mean;
    for (size_t i = 0; i < n; ++i) {
      double t = double(i) / rate;
      double damp = t > duration ? 0.985 : 0.996;
      size_t nxt = (idx + 1) % period;
      double out = line[idx];
      line[idx] = damp * 0.5 * (line[idx] + line[nxt]);
      idx = nxt;
      double e = std::min(1.0, t / 0.004) * (t > duration ? std::max(0.0, 1 - (t - duration) / 0.6) : 1.0);
      dst.s[s0 + i] += float(out * e * gain * 0.8);
    }
    return;
  }
  double attack = 0.01, decay = 0.1, sustain = 0.8, release = 0.08;
  switch (v) {
    case Voice::Flute: attack = 0.05, decay = 0.15, sustain = 0.75, release = 0.12; break;
    case Voice::Soft: attack = 0.03, decay = 0.2, sustain = 0.6, release = 0.1; break;
    case Voice::Bass: attack = 0.008, decay = 0.25, sustain = 0.45, release = 0.08; break;
    case Voice::Bell: attack = 0.002, decay = 0.6, sustain = 0.0, release = 0.3; break;
    default: break;
  }
  double total = duration + release;
  if (v == Voice::Bell) total = std::max(total, 0.8);
  size_t n = size_t(total * rate);
  ensure(dst, s0 + n);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / rate;
    double vib = v == Voice::Flute ? 1.0 + 0.004 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, t / 0.3) : 1.0;
    phase += kTwoPi * f * vib / rate;
    double x;
    switch (v) {
      case Voice::Flute: x = std::sin(phase) + 0.18 * std::sin(2 * phase) + 0.06 * std::sin(3 * phase); break;
      case Voice::Soft: {
        double p = std::fmod(phase / kTwoPi, 1.0);
        x = 4 * std::fabs(p - 0.5) - 1;
        x = 0.7 * x + 0.3 * std::sin(phase);
        break;
      }
      case Voice::Bass: x = std::sin(phase) + 0.25 * std::sin(2 * phase) + 0.08 * std::sin(3 * phase); break;
      case Voice::Bell:
        x = std::sin(phase) + 0.4 * std::sin(2.76 * phase) * std::exp(-t * 6) + 0.2 * std::sin(5.4 * phase) * std::exp(-t * 9);
        break;
      default: x = std::sin(phase);
    }
    double e = v == Voice::Bell ? std::min(1.0, t / attack) * std::exp(-t * 3.5)
                                : envelope(t, duration, attack, decay, sustain, release);
    dst.s[s0 + i] += float(x * e * gain);
  }
}

void renderShaker(Audio& dst, double start, double gain, uint64_t seed) {
  size_t n = size_t(0.06 * dst.rate);
  std::vector<float> z = noise(n, seed, 0.6);
  size_t s0 = dst.at(start);
  ensure(dst, s0 + n);
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / dst.rate;
    double e = std::min(1.0, t / 0.005) * std::exp(-t * 60);
    dst.s[s0 + i] += float(z[i] * e * gain);
  }
}

void renderKick(Audio& dst, double start, double gain) {
  size_t n = size_t(0.25 * dst.rate);
  size_t s0 = dst.at(start);
  ensure(dst, s0 + n);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / dst.rate;
    double f = 55 + 70 * std::exp(-t * 30);
    phase += kTwoPi * f / dst.rate;
    dst.s[s0 + i] += float(std::sin(phase) * std::exp(-t * 14) * gain);
  }
}

Audio clapSound() {
  // A few hands clapping together: short band-limited noise bursts a few
  // milliseconds apart, with a small room tail.
  Audio a;
  a.s.assign(size_t(0.45 * a.rate), 0.0f);
  const double offsets[] = {0.0, 0.011, 0.019, 0.031};
  const double gains[] = {1.0, 0.8, 0.9, 0.6};
  for (int k = 0; k < 4; ++k) {
    std::vector<float> z = noise(size_t(0.2 * a.rate), 1000 + k, 0.75);
    size_t s0 = a.at(0.02 + offsets[k]);
    double lp = 0;
    for (size_t i = 0; i < z.size() && s0 + i < a.s.size(); ++i) {
      double t = double(i) / a.rate;
      lp += 0.55 * (z[i] - lp);
      double e = std::min(1.0, t / 0.002) * (std::exp(-t * 55) + 0.12 * std::exp(-t * 12));
      a.s[s0 + i] += float(lp * e * gains[k]);
    }
  }
  return a;
}

Audio cardFlipSound() {
  // A soft swish rising in brightness, then a light wooden tick.
  Audio a;
  a.s.assign(size_t(0.32 * a.rate), 0.0f);
  std::vector<float> z = noise(size_t(0.18 * a.rate), 77, 0.9);
  double lp = 0;
  for (size_t i = 0; i < z.size(); ++i) {
    double t = double(i) / a.rate;
    double k = 0.05 + 0.5 * (t / 0.18);
    lp += k * (z[i] - lp);
    double e = std::sin(M_PI * t / 0.18);
    a.s[i] += float(lp * e * 0.6);
  }
  renderNote(a, Voice::Bell, 0.17, 0.05, 84, 0.35);
  a.s.resize(size_t(0.32 * a.rate));
  fadeOut(a, 0.08);
  return a;
}

}  // namespace gen
