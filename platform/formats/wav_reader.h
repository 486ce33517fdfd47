#pragma once
// Reading RIFF WAVE sounds into 16-bit samples for the sound mixer.
//
// Accepted: PCM of 8 (unsigned), 16, 24 and 32 bits, 32-bit IEEE float, and
// the extensible format with a PCM or float subformat; mono or stereo; rates
// from 4000 to 384000 Hz; at most ten minutes long. The fmt and data chunks
// may come in any order; other chunks are skipped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tlb {

struct WaveData {
  int sampleRate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved, left first

  int64_t frames() const { return channels > 0 ? int64_t(samples.size()) / channels : 0; }
  int64_t durationMs() const { return sampleRate > 0 ? frames() * 1000 / sampleRate : 0; }
};

// Decodes a whole WAV file held in memory. Malformed or unsupported data
// throws EReadError("Invalid wave file").
WaveData ReadWav(const uint8_t* data, size_t size);

// Reads and decodes a file; a file that cannot be opened throws EFOpenError.
WaveData LoadWavFile(const std::string& linuxPath);

// The whole sound converted to another rate and channel count (1 or 2): mono
// to stereo duplicates, stereo to mono averages. The result is interleaved.
// A rate below 1, rates further apart than WaveResampler allows or another
// channel count throw EUnsupported. The mixer converts as it plays instead
// (WaveResampler); this is for sounds wanted whole.
std::vector<int16_t> Resample(const WaveData& wave, int targetRate, int targetChannels);

}  // namespace tlb
