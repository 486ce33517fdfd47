#include "platform/media/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/media/audio_clock.h"

namespace tlb {

// What the mixer and its voices share; it outlives whichever of them goes last.
struct MixerVoice::Shared {
  struct Fading {
    std::unique_ptr<SampleSource> source;
    int left;
  };
  mutable std::mutex lock;
  std::vector<MixerVoice*> voices;
  // Sources of destroyed voices that still fade out, and those done with it. The
  // audio thread never frees a source (a synthesiser takes long to free): the
  // program thread frees the finished ones at its next call.
  std::vector<Fading> fading;
  std::vector<std::unique_ptr<SampleSource>> finished;
  int rate = 44100;
  int64_t framesMixed = 0;
  int fade = 0;            // frames of a fade-out
  // Which output frame is heard; asked under the lock, so mutable for the const readers.
  mutable AudioClock clock{44100};
  // Wakes the device's thread waiting in WaitWhileSilent.
  std::condition_variable sound;
  bool noWaiting = false;
  bool held = false;        // voices stand still while the output closes (see HoldIfQuiet)
  int waiting = 0;          // threads inside WaitWhileSilent's wait
  int64_t lastSoundUs = 0;  // the caller's time of the last block that held sound
  bool Silent() const {
    if (!fading.empty()) return false;
    for (const MixerVoice* v : voices)
      if (v->playing_ || v->fadeLeft_ > 0) return false;
    return true;
  }
};

// ---- PcmSource ----

int PcmSource::Render(float* out, int frames) {
  int64_t total = LengthFrames();
  int n = int(std::clamp<int64_t>(total - frame_, 0, frames));
  const int16_t* in = samples_.data() + frame_ * 2;
  constexpr float kScale = 1.0f / 32768.0f;
  for (int i = 0; i < n * 2; ++i) out[i] += float(in[i]) * kScale;
  frame_ += n;
  return n;
}

void PcmSource::Seek(int64_t frame) { frame_ = std::clamp<int64_t>(frame, 0, LengthFrames()); }

// ---- WaveSource ----

WaveSource::WaveSource(std::shared_ptr<const WaveData> wave, int mixerRate) : reader_(std::move(wave), mixerRate) {
  // Room for the largest block the mixer asks for, so that playing allocates nothing.
  block_.resize(1024 * size_t(reader_.Channels()));
}

int WaveSource::Render(float* out, int frames) {
  const int channels = reader_.Channels();
  int total = 0;
  while (total < frames) {
    int want = std::min(frames - total, int(block_.size()) / channels);
    int n = reader_.Read(block_.data(), want);
    float* o = out + size_t(total) * 2;
    if (channels == 2) {
      for (int i = 0; i < n * 2; ++i) o[i] += block_[size_t(i)];
    } else {
      for (int i = 0; i < n; ++i) {
        o[2 * i] += block_[size_t(i)];
        o[2 * i + 1] += block_[size_t(i)];
      }
    }
    total += n;
    if (n < want) break;
  }
  return total;
}

// ---- MixerVoice ----

MixerVoice::MixerVoice(std::shared_ptr<Shared> shared, std::unique_ptr<SampleSource> source)
    : shared_(std::move(shared)), source_(std::move(source)) {}

namespace {
// Takes the finished sources out under the lock; they are freed by the caller's scope.
std::vector<std::unique_ptr<SampleSource>> TakeFinished(std::vector<std::unique_ptr<SampleSource>>& finished) {
  std::vector<std::unique_ptr<SampleSource>> out;
  out.swap(finished);
  return out;
}
}  // namespace

MixerVoice::~MixerVoice() {
  std::vector<std::unique_ptr<SampleSource>> done;
  std::lock_guard<std::mutex> g(shared_->lock);
  done = TakeFinished(shared_->finished);
  auto& v = shared_->voices;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  int left = playing_ ? shared_->fade : fadeLeft_;
  if (left > 0) shared_->fading.push_back({std::move(source_), left});
}

void MixerVoice::ForgetBlocks() {
  blockCount_ = 0;
  blockNext_ = 0;
  endOut_ = -1;
}

void MixerVoice::Play() {
  std::lock_guard<std::mutex> g(shared_->lock);
  if (playing_) return;
  if (fadeLeft_ > 0) {
    // Started again while fading: from where it stopped.
    fadeLeft_ = 0;
    source_->Stopped();
    source_->Seek(resumeFrame_);
  }
  if (source_->Frame() >= source_->LengthFrames()) return;
  playing_ = true;
  ForgetBlocks();
  startFrame_ = source_->Frame();
  firstMixedAt_ = -1;
  shared_->sound.notify_all();
}

void MixerVoice::Pause(int64_t nowUs) {
  std::lock_guard<std::mutex> g(shared_->lock);
  if (!playing_) return;
  resumeFrame_ = nowUs >= 0 ? HeardLocked(nowUs) : source_->Frame();
  playing_ = false;
  ForgetBlocks();
  fadeLeft_ = shared_->fade;
  if (fadeLeft_ == 0) {
    source_->Stopped();
    source_->Seek(resumeFrame_);
  }
}

void MixerVoice::SeekFrame(int64_t frame) {
  std::lock_guard<std::mutex> g(shared_->lock);
  if (fadeLeft_ > 0) {
    fadeLeft_ = 0;
    source_->Stopped();
  }
  source_->Seek(std::clamp<int64_t>(frame, 0, source_->LengthFrames()));
  ForgetBlocks();
  startFrame_ = source_->Frame();
}

bool MixerVoice::Playing() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return playing_;
}

bool MixerVoice::Sounding(int64_t nowUs) const {
  std::lock_guard<std::mutex> g(shared_->lock);
  if (playing_) return true;
  return endOut_ >= 0 && shared_->clock.Heard(nowUs) < endOut_;
}

int64_t MixerVoice::HeardLocked(int64_t nowUs) const {
  if (!playing_ && endOut_ < 0) return fadeLeft_ > 0 ? resumeFrame_ : source_->Frame();
  int64_t heard = shared_->clock.Heard(nowUs);
  for (size_t i = 0; i < blockCount_; ++i) {
    const Block& b = blocks_[(blockNext_ + kBlocks - 1 - i) % kBlocks];
    if (b.out <= heard) return b.frame + std::min<int64_t>(heard - b.out, b.count);
  }
  return startFrame_;
}

int64_t MixerVoice::HeardFrame(int64_t nowUs) const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return HeardLocked(nowUs);
}

int64_t MixerVoice::Frame() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return fadeLeft_ > 0 ? resumeFrame_ : source_->Frame();
}

int64_t MixerVoice::LengthFrames() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return source_->LengthFrames();
}

int64_t MixerVoice::FirstMixedAt() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return firstMixedAt_;
}

// ---- Mixer ----

Mixer::Mixer(int sampleRate) : shared_(std::make_shared<MixerVoice::Shared>()), rate_(sampleRate) {
  shared_->rate = sampleRate;
  shared_->clock = AudioClock(sampleRate);
  // 4 ms: short enough not to be heard as a tail, long enough not to click.
  fade_ = std::max(1, sampleRate * 4 / 1000);
  shared_->fade = fade_;
}

Mixer::~Mixer() = default;

std::unique_ptr<MixerVoice> Mixer::Add(std::unique_ptr<SampleSource> source) {
  std::unique_ptr<MixerVoice> voice(new MixerVoice(shared_, std::move(source)));
  std::vector<std::unique_ptr<SampleSource>> done;
  std::lock_guard<std::mutex> g(shared_->lock);
  done = TakeFinished(shared_->finished);
  shared_->voices.push_back(voice.get());
  return voice;
}

int Mixer::MixFade(SampleSource& source, int left, float* out, int frames) {
  int n = std::min(left, frames);
  fadeBuffer_.assign(size_t(n) * 2, 0.0f);
  n = source.Render(fadeBuffer_.data(), n);
  for (int i = 0; i < n; ++i) {
    float gain = float(left - i) / float(fade_);
    out[2 * i] += fadeBuffer_[2 * i] * gain;
    out[2 * i + 1] += fadeBuffer_[2 * i + 1] * gain;
  }
  // A source that ended inside its fade has nothing more to give.
  return n < std::min(left, frames) ? 0 : left - n;
}

void Mixer::SetLatencyFrames(int64_t frames) {
  std::lock_guard<std::mutex> g(shared_->lock);
  shared_->clock.SetLatencyFrames(frames);
}

void Mixer::SetServerStream(bool server) {
  std::lock_guard<std::mutex> g(shared_->lock);
  shared_->clock.SetServerStream(server);
}

void Mixer::MixFloat(float* out, int frames, int64_t nowUs) { MixSounding(out, frames, nowUs); }

bool Mixer::MixSounding(float* out, int frames, int64_t nowUs) {
  std::fill(out, out + size_t(frames) * 2, 0.0f);
  bool sounded = false;
  std::lock_guard<std::mutex> g(shared_->lock);
  MixerVoice::Shared& s = *shared_;
  if (s.held) return false;
  s.clock.Handed(s.framesMixed, frames, nowUs);
  for (MixerVoice* v : s.voices) {
    if (v->fadeLeft_ > 0) {
      sounded = true;
      v->fadeLeft_ = MixFade(*v->source_, v->fadeLeft_, out, frames);
      if (v->fadeLeft_ == 0) {
        v->source_->Stopped();
        v->source_->Seek(v->resumeFrame_);
      }
      continue;
    }
    if (!v->playing_) continue;
    int64_t start = v->source_->Frame();
    int n = v->source_->Render(out, frames);
    if (n > 0) {
      sounded = true;
      v->blocks_[v->blockNext_] = {s.framesMixed, start, n};
      v->blockNext_ = (v->blockNext_ + 1) % MixerVoice::kBlocks;
      v->blockCount_ = std::min(v->blockCount_ + 1, MixerVoice::kBlocks);
      if (v->firstMixedAt_ < 0) v->firstMixedAt_ = s.framesMixed;
    }
    if (n < frames) {
      v->playing_ = false;
      v->endOut_ = s.framesMixed + n;
      v->source_->Stopped();
    }
  }
  for (auto it = s.fading.begin(); it != s.fading.end();) {
    sounded = true;
    it->left = MixFade(*it->source, it->left, out, frames);
    if (it->left > 0) {
      ++it;
      continue;
    }
    s.finished.push_back(std::move(it->source));
    it = s.fading.erase(it);
  }
  s.framesMixed += frames;
  if (sounded) s.lastSoundUs = nowUs;
  return sounded;
}

void Mixer::Mix(int16_t* out, int frames, int64_t nowUs) {
  scratch_.resize(size_t(frames) * 2);
  if (!MixSounding(scratch_.data(), frames, nowUs)) {
    // Nothing sounds: silence without converting it.
    std::fill(out, out + scratch_.size(), int16_t(0));
    return;
  }
  for (size_t i = 0; i < scratch_.size(); ++i) {
    // Rounded half away from zero and clipped; written so that it vectorises.
    float v = std::clamp(scratch_[i] * 32767.0f, -32768.0f, 32767.0f);
    out[i] = int16_t(v >= 0 ? int32_t(v + 0.5f) : int32_t(v - 0.5f));
  }
}

bool Mixer::WaitWhileSilent() {
  std::unique_lock<std::mutex> g(shared_->lock);
  MixerVoice::Shared& s = *shared_;
  auto wake = [&] { return s.noWaiting || (!s.held && !s.Silent()); };
  if (wake()) return false;
  ++s.waiting;
  s.sound.wait(g, wake);
  --s.waiting;
  s.clock.Restart();
  return true;
}

void Mixer::StopWaiting() {
  std::lock_guard<std::mutex> g(shared_->lock);
  shared_->noWaiting = true;
  shared_->sound.notify_all();
}

bool Mixer::DeviceWaiting() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return shared_->waiting > 0;
}

void Mixer::Reopened(int64_t nowUs) {
  std::lock_guard<std::mutex> g(shared_->lock);
  shared_->noWaiting = false;
  shared_->held = false;
  shared_->lastSoundUs = nowUs;
  shared_->clock.Restart();
}

int64_t Mixer::QuietSinceUs() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return shared_->Silent() ? shared_->lastSoundUs : -1;
}

bool Mixer::HoldIfQuiet(int64_t quietUs, int64_t nowUs) {
  std::lock_guard<std::mutex> g(shared_->lock);
  MixerVoice::Shared& s = *shared_;
  if (!s.Silent() || nowUs - s.lastSoundUs < quietUs) return false;
  s.held = true;
  return true;
}

int Mixer::VoiceCount() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return int(shared_->voices.size());
}

int Mixer::PlayingCount() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return int(std::count_if(shared_->voices.begin(), shared_->voices.end(), [](const MixerVoice* v) { return v->playing_; }));
}

int64_t Mixer::FramesMixed() const {
  std::lock_guard<std::mutex> g(shared_->lock);
  return shared_->framesMixed;
}

}  // namespace tlb
