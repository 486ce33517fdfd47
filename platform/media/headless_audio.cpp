// The headless audio device: no sound card and no samples. Each stream plays
// along the backend's virtual clock, so its position is exact to the
// millisecond, and the device tells the queue when the next stream ends so that
// an idle program's clock can jump there. Every sound started is recorded.
#include <algorithm>

#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/audio_device.h"
#include "platform/ui/backend.h"

namespace tlb {

namespace {

class HeadlessStream;

// What the device and its streams share; a stream may outlive the device.
struct ClockState {
  Backend* clock = nullptr;
  std::vector<HeadlessStream*> streams;
  int64_t Now() const { return clock ? clock->NowMs() : 0; }
};

class HeadlessStream : public AudioStream {
 public:
  HeadlessStream(std::shared_ptr<ClockState> state, int64_t lengthMs) : state_(std::move(state)), length_(lengthMs) {
    state_->streams.push_back(this);
  }
  ~HeadlessStream() override {
    auto& s = state_->streams;
    s.erase(std::remove(s.begin(), s.end(), this), s.end());
  }

  void Play() override {
    Settle();
    if (playing_ || pos_ >= length_) return;
    playing_ = true;
    startPos_ = pos_;
    startAt_ = state_->Now();
  }
  void Pause() override {
    Settle();
    if (!playing_) return;
    pos_ = PositionMs();
    playing_ = false;
  }
  void Seek(int64_t ms) override {
    Settle();
    pos_ = std::clamp<int64_t>(ms, 0, length_);
    if (playing_) {
      startPos_ = pos_;
      startAt_ = state_->Now();
      Settle();
    }
  }
  int64_t PositionMs() const override {
    if (!playing_) return pos_;
    return std::min(length_, startPos_ + std::max<int64_t>(0, state_->Now() - startAt_));
  }
  int64_t LengthMs() const override { return length_; }
  bool Playing() const override { return playing_ && state_->Now() < EndAt(); }

  // The clock time of the end while playing; -1 when stopped.
  int64_t EndAt() const { return playing_ ? startAt_ + (length_ - startPos_) : -1; }

 private:
  // A stream whose end has passed stands stopped at its end.
  void Settle() {
    if (playing_ && state_->Now() >= EndAt()) {
      playing_ = false;
      pos_ = length_;
    }
  }

  std::shared_ptr<ClockState> state_;
  int64_t length_;
  bool playing_ = false;
  int64_t pos_ = 0;       // the position while stopped
  int64_t startPos_ = 0;  // the position at the last start
  int64_t startAt_ = 0;   // the clock at the last start
};

class HeadlessAudioDevice : public AudioDevice, public HeadlessAudio {
 public:
  explicit HeadlessAudioDevice(Backend& clock) : state_(std::make_shared<ClockState>()) { state_->clock = &clock; }
  ~HeadlessAudioDevice() override {
    DropEffect();
    state_->clock = nullptr;
  }

  std::unique_ptr<AudioStream> OpenWave(std::shared_ptr<const WaveData> wave, bool) override {
    return std::make_unique<HeadlessStream>(state_, wave->durationMs());
  }
  std::unique_ptr<AudioStream> OpenMidi(std::shared_ptr<const MidiSong> song, const std::string&) override {
    return std::make_unique<HeadlessStream>(state_, song->lengthUs / 1000);
  }

  int64_t NextEndMs() const override {
    int64_t now = state_->Now(), next = -1;
    for (const HeadlessStream* s : state_->streams) {
      int64_t end = s->EndAt();
      if (end > now && (next < 0 || end < next)) next = end;
    }
    return next;
  }

  void NoteStart(SoundKind kind, const std::string& file, unsigned flags) override {
    played_.push_back({kind, file, flags, state_->Now()});
  }

  std::vector<SoundRecord> Played() const override { return played_; }
  void ClearPlayed() override { played_.clear(); }
  int PlayingCount() const override {
    return int(std::count_if(state_->streams.begin(), state_->streams.end(),
                             [](const HeadlessStream* s) { return s->Playing(); }));
  }

 private:
  std::shared_ptr<ClockState> state_;
  std::vector<SoundRecord> played_;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateHeadlessAudioDevice(Backend& clock) {
  return std::make_unique<HeadlessAudioDevice>(clock);
}

HeadlessAudio* AsHeadlessAudio(AudioDevice* device) { return dynamic_cast<HeadlessAudio*>(device); }

}  // namespace tlb
