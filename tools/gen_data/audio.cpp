#include "audio.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "byte_writer.h"

namespace gen {

namespace {

uint32_t rd32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}
uint16_t rd16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

}  // namespace

Audio parseWav(const std::vector<uint8_t>& b, const std::string& what) {
  auto fail = [&](const char* why) { throw std::runtime_error(what + ": " + why); };
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    fail("not a RIFF WAVE file");
  size_t pos = 12;
  int channels = 0, bits = 0, rate = 0;
  bool haveFmt = false;
  while (pos + 8 <= b.size()) {
    std::string id(b.begin() + pos, b.begin() + pos + 4);
    size_t len = rd32(b, pos + 4);
    size_t body = pos + 8;
    if (id == "fmt ") {
      if (len < 16 || body + 16 > b.size()) fail("short fmt chunk");
      if (rd16(b, body) != 1) fail("not PCM");
      channels = rd16(b, body + 2);
      rate = int(rd32(b, body + 4));
      bits = rd16(b, body + 14);
      haveFmt = true;
    } else if (id == "data") {
      if (!haveFmt) fail("data before fmt");
      if (channels < 1 || rate < 1000 || (bits != 8 && bits != 16)) fail("unsupported PCM format");
      size_t end = (len > b.size() - body) ? b.size() : body + len;
      size_t frame = size_t(channels) * (bits / 8);
      Audio a;
      a.rate = rate;
      for (size_t p = body; p + frame <= end; p += frame) {
        double sum = 0;
        for (int c = 0; c < channels; ++c) {
          if (bits == 16) sum += int16_t(rd16(b, p + 2 * c)) / 32768.0;
          else sum += (int(b[p + c]) - 128) / 128.0;
        }
        a.s.push_back(float(sum / channels));
      }
      return a;
    }
    pos = body + len + (len & 1);
  }
  fail("no data chunk");
  return {};
}

std::vector<uint8_t> wavFile(const Audio& a) {
  Bytes b;
  uint32_t dataBytes = uint32_t(a.s.size() * 2);
  b.fourcc("RIFF");
  b.u32(36 + dataBytes);
  b.fourcc("WAVE");
  b.fourcc("fmt ");
  b.u32(16);
  b.u16(1);
  b.u16(1);
  b.u32(uint32_t(a.rate));
  b.u32(uint32_t(a.rate * 2));
  b.u16(2);
  b.u16(16);
  b.fourcc("data");
  b.u32(dataBytes);
  for (float v : a.s) {
    long q = std::lround(double(v) * 32767.0);
    b.u16(uint32_t(uint16_t(int16_t(std::clamp(q, -32767L, 32767L)))));
  }
  return b.data();
}

Audio resampled(const Audio& a, int rate) {
  if (a.rate == rate) return a;
  Audio out;
  out.rate = rate;
  const double ratio = double(a.rate) / rate;
  const size_t n = size_t(a.s.size() / ratio);
  const double cutoff = std::min(1.0, 1.0 / ratio);
  const int half = 16;
  out.s.resize(n);
  for (size_t i = 0; i < n; ++i) {
    double pos = i * ratio;
    long centre = long(std::floor(pos));
    double sum = 0, wsum = 0;
    for (long k = centre - half + 1; k <= centre + half; ++k) {
      double x = pos - double(k);
      double sinc = std::fabs(x) < 1e-9 ? 1.0 : std::sin(M_PI * x * cutoff) / (M_PI * x * cutoff);
      double win = 0.5 + 0.5 * std::cos(M_PI * x / half);
      double w = sinc * win;
      wsum += w;
      if (k >= 0 && size_t(k) < a.s.size()) sum += a.s[size_t(k)] * w;
    }
    out.s[i] = float(wsum != 0 ? sum / wsum : 0);
  }
  return out;
}

double peak(const Audio& a) {
  double p = 0;
  for (float v : a.s) p = std::max(p, double(std::fabs(v)));
  return p;
}

void normalise(Audio& a, double peakDb) {
  double p = peak(a);
  if (p <= 0) return;
  double g = std::pow(10.0, peakDb / 20.0) / p;
  for (float& v : a.s) v = float(v * g);
}

std::pair<size_t, size_t> audibleRange(const Audio& a, double threshold) {
  double lim = peak(a) * threshold;
  size_t first = 0, last = a.s.size();
  while (first < a.s.size() && std::fabs(a.s[first]) <= lim) ++first;
  while (last > first && std::fabs(a.s[last - 1]) <= lim) --last;
  return {first, last};
}

Audio trimmed(const Audio& a, double threshold, double keepBefore, double keepAfter) {
  auto [first, last] = audibleRange(a, threshold);
  size_t before = size_t(keepBefore * a.rate), after = size_t(keepAfter * a.rate);
  first = first > before ? first - before : 0;
  last = std::min(a.s.size(), last + after);
  Audio out;
  out.rate = a.rate;
  if (last > first) out.s.assign(a.s.begin() + long(first), a.s.begin() + long(last));
  return out;
}

void fadeIn(Audio& a, double seconds) {
  size_t n = std::min(a.s.size(), size_t(seconds * a.rate));
  for (size_t i = 0; i < n; ++i) a.s[i] *= float(double(i) / n);
}

void fadeOut(Audio& a, double seconds) {
  size_t n = std::min(a.s.size(), size_t(seconds * a.rate));
  for (size_t i = 0; i < n; ++i) a.s[a.s.size() - 1 - i] *= float(double(i) / n);
}

void limitLength(Audio& a, double seconds, double fade) {
  size_t n = size_t(seconds * a.rate);
  if (a.s.size() <= n) return;
  a.s.resize(n);
  fadeOut(a, fade);
}

void mixInto(Audio& dst, const Audio& src, double offset, double gain) {
  size_t start = dst.at(std::max(0.0, offset));
  if (dst.s.size() < start + src.s.size()) dst.s.resize(start + src.s.size(), 0.0f);
  for (size_t i = 0; i < src.s.size(); ++i) dst.s[start + i] += float(src.s[i] * gain);
}

void padSilence(Audio& a, double before, double after) {
  a.s.insert(a.s.begin(), a.at(before), 0.0f);
  a.s.insert(a.s.end(), a.at(after), 0.0f);
}

}  // namespace gen
