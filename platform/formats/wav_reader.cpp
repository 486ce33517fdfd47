#include "platform/formats/wav_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "platform/core/exceptions.h"
#include "platform/core/paths.h"

namespace tlb {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

// Bytes 2..15 of the subformat GUID shared by the PCM and float subformats;
// the first two bytes carry the plain format tag.
constexpr uint8_t kSubformatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The rates sound files are recorded at; others are taken for damage. A rate
// of a few hertz would otherwise make a short file into hours of sound.
constexpr uint32_t kMinRate = 4000;
constexpr uint32_t kMaxRate = 384000;
// The longest sound read: ten minutes, far beyond any narration or song.
constexpr uint64_t kMaxSeconds = 600;

[[noreturn]] void Invalid() { throw EReadError("Invalid wave file"); }

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

struct Format {
  bool isFloat = false;
  int channels = 0;
  int sampleRate = 0;
  int bits = 0;
};

Format ParseFormat(const uint8_t* p, size_t size) {
  if (size < 16) Invalid();
  uint16_t tag = Le16(p);
  Format f;
  f.channels = Le16(p + 2);
  uint32_t rate = Le32(p + 4);
  f.bits = Le16(p + 14);
  if (tag == kFormatExtensible) {
    // cbSize, valid bits, channel mask, then the subformat GUID.
    if (size < 40 || Le16(p + 16) < 22) Invalid();
    const uint8_t* guid = p + 24;
    if (std::memcmp(guid + 2, kSubformatTail, sizeof kSubformatTail) != 0) Invalid();
    tag = Le16(guid);
  }
  if (tag == kFormatPcm) {
    if (f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32) Invalid();
  } else if (tag == kFormatFloat) {
    if (f.bits != 32) Invalid();
    f.isFloat = true;
  } else {
    Invalid();
  }
  if (f.channels != 1 && f.channels != 2) Invalid();
  if (rate < kMinRate || rate > kMaxRate) Invalid();
  f.sampleRate = int(rate);
  return f;
}

int16_t ConvertSample(const uint8_t* p, const Format& f) {
  if (f.isFloat) {
    float v;
    uint32_t raw = Le32(p);
    std::memcpy(&v, &raw, sizeof v);
    if (!(v == v)) return 0;  // NaN is silence
    float scaled = std::round(v * 32768.0f);
    return int16_t(std::clamp(scaled, -32768.0f, 32767.0f));
  }
  switch (f.bits) {
    case 8: return int16_t((int(p[0]) - 128) * 256);
    case 16: return int16_t(Le16(p));
    case 24: return int16_t(Le16(p + 1));  // the top two bytes
    default: return int16_t(Le16(p + 2));
  }
}

}  // namespace

WaveData ReadWav(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    Invalid();
  // The size in the RIFF header is not trusted: streaming writers leave it 0
  // or too large, others too small. The chunks are walked to the end of the
  // bytes; the first fmt and data chunks count, so trailing bytes do no harm.
  const size_t end = size;

  const uint8_t* fmt = nullptr;
  size_t fmtSize = 0;
  const uint8_t* samples = nullptr;
  size_t samplesSize = 0;
  size_t pos = 12;
  while (end - pos >= 8) {
    const uint8_t* id = data + pos;
    uint64_t chunkSize = Le32(data + pos + 4);
    size_t body = pos + 8;
    size_t available = end - body;
    if (std::memcmp(id, "fmt ", 4) == 0 && fmt == nullptr) {
      if (chunkSize > available) Invalid();
      fmt = data + body;
      fmtSize = size_t(chunkSize);
    } else if (std::memcmp(id, "data", 4) == 0 && samples == nullptr) {
      // A data chunk longer than the file is common in real files: use what is there.
      samples = data + body;
      samplesSize = size_t(std::min<uint64_t>(chunkSize, available));
    }
    uint64_t next = uint64_t(body) + chunkSize + (chunkSize & 1);
    if (next > end) break;
    pos = size_t(next);
  }
  if (fmt == nullptr || samples == nullptr) Invalid();

  Format f = ParseFormat(fmt, fmtSize);
  size_t sampleBytes = size_t(f.bits / 8);
  size_t frameBytes = sampleBytes * size_t(f.channels);
  size_t frames = samplesSize / frameBytes;  // whole frames only
  if (frames > kMaxSeconds * uint64_t(f.sampleRate)) Invalid();
  size_t count = frames * size_t(f.channels);

  WaveData wave;
  wave.sampleRate = f.sampleRate;
  wave.channels = f.channels;
  wave.samples.resize(count);
  for (size_t i = 0; i < count; ++i) wave.samples[i] = ConvertSample(samples + i * sampleBytes, f);
  return wave;
}

WaveData LoadWavFile(const std::string& linuxPath) {
  std::ifstream in(linuxPath, std::ios::binary | std::ios::ate);
  if (!in) throw EFOpenError("Cannot open file \"" + linuxPath + "\"");
  // Read in one piece: a long recording is megabytes. A folder or a file past
  // the largest the programs read is not a sound.
  std::streamoff size = in.tellg();
  if (size < 0 || uint64_t(size) > kMaxReadFileSize) throw EReadError("Invalid wave file");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()))) throw EReadError("Invalid wave file");
  return ReadWav(bytes.data(), bytes.size());
}

}  // namespace tlb
