// Sample-rate and channel conversion of decoded WAV sound for the mixer.
//
// A windowed-sinc filter, so that speech recorded at 22050 Hz and played at
// 44100 Hz carries no mirror images above the source's band: linear
// interpolation left them only 30 dB below the speech, audible as a hiss.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/formats/wav_reader.h"

namespace tlb {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Zero crossings of the sinc on each side, counted at the lower of the two rates.
constexpr int kHalfTaps = 16;
// The pass band ends a little below the lower rate's Nyquist frequency.
constexpr double kPassFraction = 0.92;
// Phase tables are kept for rate pairs with at most this many distinct phases.
constexpr int64_t kMaxTablePhases = 4096;

double Sinc(double x) { return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x); }

// Blackman window over [-1, 1].
double Window(double u) {
  if (u <= -1 || u >= 1) return 0;
  double x = (u + 1) / 2;
  return 0.42 - 0.5 * std::cos(2 * kPi * x) + 0.08 * std::cos(4 * kPi * x);
}

}  // namespace

std::vector<int16_t> Resample(const WaveData& wave, int targetRate, int targetChannels) {
  if (targetRate < 1) throw EUnsupported("Resample: unsupported sample rate");
  if (targetChannels != 1 && targetChannels != 2) throw EUnsupported("Resample: unsupported channel count");
  const int64_t frames = wave.frames();
  if (frames == 0 || wave.sampleRate < 1) return {};
  const int srcChannels = wave.channels;

  // The source sample of one target channel at a source frame: mono is copied, stereo averaged.
  auto source = [&](int64_t frame, int channel) -> double {
    const int16_t* s = wave.samples.data() + frame * srcChannels;
    if (srcChannels == targetChannels) return s[channel];
    if (srcChannels == 1) return s[0];
    return (double(s[0]) + double(s[1])) / 2;
  };

  const int64_t srcRate = wave.sampleRate;
  // Enough output frames to reach the last source frame.
  const int64_t outFrames = (frames * targetRate + srcRate - 1) / srcRate;
  std::vector<int16_t> out(size_t(outFrames) * size_t(targetChannels));
  auto store = [&](int64_t i, int c, double v) {
    out[size_t(i) * size_t(targetChannels) + size_t(c)] = int16_t(std::lround(std::clamp(v, -32768.0, 32767.0)));
  };

  if (srcRate == targetRate) {
    for (int64_t i = 0; i < outFrames; ++i)
      for (int c = 0; c < targetChannels; ++c) store(i, c, source(i, c));
    return out;
  }

  // Cut-off in cycles per source sample, and the filter's reach in source samples.
  const double scale = std::min(1.0, double(targetRate) / double(srcRate));
  const double cutoff = 0.5 * scale * kPassFraction;
  const int reach = int(std::ceil(kHalfTaps / scale));
  auto kernel = [&](double distance) {
    return 2 * cutoff * Sinc(2 * cutoff * distance) * Window(distance / double(reach));
  };

  // Output frame i lies at source position i * srcRate / targetRate; its fraction
  // is one of `phases` values, for which the weights can be worked out once.
  const int64_t g = std::gcd(srcRate, int64_t(targetRate));
  const int64_t phases = targetRate / g;
  const int taps = 2 * reach;
  std::vector<double> table;
  if (phases <= kMaxTablePhases) {
    table.resize(size_t(phases) * size_t(taps));
    for (int64_t p = 0; p < phases; ++p) {
      double frac = double(p) / double(phases);
      for (int k = 0; k < taps; ++k) table[size_t(p) * size_t(taps) + size_t(k)] = kernel(frac - double(k - reach + 1));
    }
  }
  // A mono source is filtered once and copied to both target channels.
  const int computed = srcChannels == 1 ? 1 : targetChannels;
  for (int64_t i = 0; i < outFrames; ++i) {
    int64_t num = i * srcRate;
    int64_t index = num / targetRate;
    int64_t phase = (num % targetRate) / g;
    double frac = double(num % targetRate) / double(targetRate);
    for (int c = 0; c < computed; ++c) {
      double sum = 0;
      for (int k = 0; k < taps; ++k) {
        int64_t frame = index + k - reach + 1;
        if (frame < 0 || frame >= frames) continue;  // silence beyond the sound's ends
        double w = table.empty() ? kernel(frac - double(k - reach + 1)) : table[size_t(phase) * size_t(taps) + size_t(k)];
        sum += w * source(frame, c);
      }
      store(i, c, sum);
      if (computed == 1 && targetChannels == 2) store(i, 1, sum);
    }
  }
  return out;
}

}  // namespace tlb
