// Sample-rate conversion through the SoX resampler library: a linear-phase
// filter that keeps the mirror images of a rate change (heard as a hiss above
// speech recorded at 22050 Hz) far below the sound, at a few percent of a
// core while it plays.
#include "platform/formats/resample.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

#include "platform/core/exceptions.h"
#include "platform/formats/wav_reader.h"

namespace tlb {

namespace {
// Source frames fed to the converter in one call at most, so that a block's
// work stays in proportion to the block and the converter's buffers stay small.
constexpr int64_t kFeedFrames = 1024;
// The library reads one frame past an output region of a single frame. So
// short a region is given room of its own, a few frames long, and copied out;
// the converter is asked for the same frames either way.
constexpr int kSpareFrames = 4;
}  // namespace

struct WaveResampler::Converter {
  soxr_t soxr = nullptr;
  float spare[kSpareFrames * 2] = {};  // room for a short output region, up to two channels
  ~Converter() {
    if (soxr) soxr_delete(soxr);
  }
};

WaveResampler::WaveResampler(std::shared_ptr<const WaveData> wave, int targetRate) : wave_(std::move(wave)), targetRate_(targetRate) {
  const int64_t srcRate = wave_->sampleRate;
  if (targetRate < 1 || srcRate < 1 || targetRate > srcRate * kMaxRateRatio || srcRate > int64_t(targetRate) * kMaxRateRatio)
    throw EUnsupported("Resample: unsupported sample rate");
  if (wave_->channels != 1 && wave_->channels != 2) throw EUnsupported("Resample: unsupported channel count");
  const int64_t frames = wave_->frames();
  length_ = (frames * targetRate + srcRate - 1) / srcRate;
  if (srcRate == targetRate || frames == 0) return;
  soxr_error_t error = nullptr;
  soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_FLOAT32_I);
  // 16-bit quality with a pass band to 91% of the lower rate's Nyquist frequency.
  soxr_quality_spec_t quality = soxr_quality_spec(SOXR_MQ, 0);
  // One thread: the conversion runs in the audio callback, a block at a time.
  soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  converter_ = std::make_unique<Converter>();
  converter_->soxr = soxr_create(double(srcRate), double(targetRate), unsigned(wave_->channels), &error, &io,
                                 &quality, &runtime);
  if (error || !converter_->soxr) throw EUnsupported("Resample: the converter cannot be made");
}

WaveResampler::~WaveResampler() = default;

int WaveResampler::Channels() const { return wave_->channels; }

int WaveResampler::Read(float* out, int frames) {
  const int channels = wave_->channels;
  const int n = int(std::clamp<int64_t>(length_ - frame_, 0, frames));
  if (!converter_) {
    const int16_t* in = wave_->samples.data() + frame_ * channels;
    for (int i = 0; i < n * channels; ++i) out[i] = float(in[i]) * (1.0f / 32768.0f);
    frame_ += n;
    return n;
  }
  const int64_t srcFrames = wave_->frames();
  int done = 0;
  while (done < n) {
    size_t made = 0;
    float* const dest = out + size_t(done) * size_t(channels);
    const bool spare = n - done < kSpareFrames;
    float* const o = spare ? converter_->spare : dest;
    if (!draining_) {
      // Enough source for the frames still wanted, and a little over.
      int64_t want = int64_t(n - done) * wave_->sampleRate / targetRate_ + 16;
      int64_t feed = std::min({srcFrames - sourceFrame_, kFeedFrames, want});
      if (feed <= 0) {
        draining_ = true;
        continue;
      }
      size_t used = 0;
      soxr_process(converter_->soxr, wave_->samples.data() + sourceFrame_ * channels, size_t(feed), &used, o,
                   size_t(n - done), &made);
      sourceFrame_ += int64_t(used);
      // A converter that neither takes nor gives is emptied rather than asked forever.
      if (used == 0 && made == 0) draining_ = true;
    } else {
      soxr_process(converter_->soxr, nullptr, 0, nullptr, o, size_t(n - done), &made);
      if (made == 0) {
        // The filter is empty: the rest of the length is silence.
        std::fill(dest, out + size_t(n) * size_t(channels), 0.0f);
        break;
      }
    }
    if (spare) std::copy_n(o, made * size_t(channels), dest);
    done += int(made);
  }
  frame_ += n;
  return n;
}

void WaveResampler::Seek(int64_t frame) {
  frame_ = std::clamp<int64_t>(frame, 0, length_);
  if (!converter_) return;
  soxr_clear(converter_->soxr);
  draining_ = false;
  sourceFrame_ = std::min<int64_t>(wave_->frames(), frame_ * wave_->sampleRate / targetRate_);
}

std::vector<int16_t> Resample(const WaveData& wave, int targetRate, int targetChannels) {
  if (targetChannels != 1 && targetChannels != 2) throw EUnsupported("Resample: unsupported channel count");
  if (targetRate < 1) throw EUnsupported("Resample: unsupported sample rate");
  if (wave.frames() == 0 || wave.sampleRate < 1) return {};
  // The caller's sound is read in place: the resampler does not outlive this call.
  WaveResampler reader(std::shared_ptr<const WaveData>(std::shared_ptr<void>(), &wave), targetRate);
  const int srcChannels = reader.Channels();
  std::vector<float> converted(size_t(reader.LengthFrames()) * size_t(srcChannels));
  reader.Read(converted.data(), int(reader.LengthFrames()));
  auto toSample = [](float v) { return int16_t(std::lround(std::clamp(v * 32768.0f, -32768.0f, 32767.0f))); };
  std::vector<int16_t> out(size_t(reader.LengthFrames()) * size_t(targetChannels));
  for (size_t i = 0; i < size_t(reader.LengthFrames()); ++i) {
    const float* s = converted.data() + i * size_t(srcChannels);
    if (srcChannels == targetChannels) {
      for (int c = 0; c < targetChannels; ++c) out[i * size_t(targetChannels) + size_t(c)] = toSample(s[c]);
    } else if (srcChannels == 1) {
      out[2 * i] = out[2 * i + 1] = toSample(s[0]);
    } else {
      out[i] = toSample((s[0] + s[1]) / 2);
    }
  }
  return out;
}

}  // namespace tlb
