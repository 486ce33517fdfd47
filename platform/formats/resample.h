#pragma once
// Sample-rate conversion of a decoded WAV sound, read a block at a time.
//
// The sound is converted as it is read rather than all at once, so that
// opening a long narration costs nothing and the work is spread over the
// blocks that play it. A sound already at the target rate is copied as it is.
#include <cstdint>
#include <memory>

namespace tlb {

struct WaveData;

class WaveResampler {
 public:
  // Reads `wave` at `targetRate`, keeping its channel count. Rates from 1 Hz
  // are accepted as long as the two differ by at most kMaxRateRatio; other
  // pairs throw EUnsupported.
  WaveResampler(std::shared_ptr<const WaveData> wave, int targetRate);
  ~WaveResampler();
  WaveResampler(const WaveResampler&) = delete;
  WaveResampler& operator=(const WaveResampler&) = delete;

  // The widest conversion: between the lowest and the highest rate a sound
  // file may have (4000 and 384000 Hz).
  static constexpr int kMaxRateRatio = 96;

  int Channels() const;
  // Frames at the target rate: enough to reach the last source frame.
  int64_t LengthFrames() const { return length_; }
  int64_t Frame() const { return frame_; }
  // Writes up to `frames` frames (interleaved, full scale 1.0) into `out` and
  // returns how many: fewer only at the end.
  int Read(float* out, int frames);
  // Goes to `frame` (clamped to 0..LengthFrames()) of the target rate.
  void Seek(int64_t frame);

 private:
  struct Converter;
  std::shared_ptr<const WaveData> wave_;
  std::unique_ptr<Converter> converter_;  // null when the rates are equal
  int targetRate_;
  int64_t length_ = 0;
  int64_t frame_ = 0;
  int64_t sourceFrame_ = 0;  // the next source frame to feed the converter
  bool draining_ = false;    // the source is all fed; the converter empties its filter
};

}  // namespace tlb
