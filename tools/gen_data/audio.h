#pragma once
// Mono sample buffers and the WAV files made from them.
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

constexpr int kSampleRate = 22050;

struct Audio {
  int rate = kSampleRate;
  std::vector<float> s;  // -1..1

  double seconds() const { return double(s.size()) / rate; }
  size_t at(double seconds) const { return size_t(seconds * rate + 0.5); }
};

// Parses a RIFF WAVE file of 8-bit or 16-bit PCM, any rate and channel count
// (channels are averaged). A data chunk whose size runs past the end of the
// file, as a streamed writer leaves it, is read to the end. Throws
// std::runtime_error with `what` in the message on anything else.
Audio parseWav(const std::vector<uint8_t>& bytes, const std::string& what);

// 16-bit PCM mono at the buffer's rate; samples are clamped, never wrapped.
std::vector<uint8_t> wavFile(const Audio& a);

Audio resampled(const Audio& a, int rate);  // windowed-sinc interpolation
void normalise(Audio& a, double peakDb);    // scales so the peak is at peakDb dBFS
double peak(const Audio& a);

// Index range [first, last) of the samples above `threshold` of the peak.
std::pair<size_t, size_t> audibleRange(const Audio& a, double threshold);
Audio trimmed(const Audio& a, double threshold, double keepBefore, double keepAfter);

void fadeIn(Audio& a, double seconds);
void fadeOut(Audio& a, double seconds);
// Cuts the buffer to `seconds`, fading the last `fade` seconds out.
void limitLength(Audio& a, double seconds, double fade);
// Adds `src` scaled by `gain` starting at `offset` seconds, growing dst as needed.
void mixInto(Audio& dst, const Audio& src, double offset, double gain = 1.0);
void padSilence(Audio& a, double before, double after);

}  // namespace gen
