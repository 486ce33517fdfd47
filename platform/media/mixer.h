#pragma once
// The one mixer of the real audio output: every voice that plays (the PlaySound
// channel, the media players' wave streams, the MIDI synthesisers) is added
// into one stereo buffer. The audio thread calls Mix; the program thread starts,
// stops and seeks voices. One lock guards the voices; it is held only for the
// length of one block or one control call.
//
// The mixer reads no clock. The caller of Mix passes the time at which the
// device takes the block, and the mixer works out from those times which frame
// of each voice is being heard (see AudioClock): the device's latency, set by
// the caller, is taken off.
//
// A voice that stops while it sounds (paused, or destroyed as PlaySound's channel
// is when the next sound replaces it) fades out over a few milliseconds instead
// of breaking off, which would click. The fade is not counted in its position.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/formats/resample.h"

namespace tlb {

// A sound that fills stereo float buffers at the mixer's rate.
class SampleSource {
 public:
  virtual ~SampleSource() = default;
  // Adds up to `frames` frames (interleaved left, right) into `out`, from the
  // source's current frame on, and returns how many it produced: fewer than
  // asked only at the end of the sound.
  virtual int Render(float* out, int frames) = 0;
  // Moves to `frame` (0..LengthFrames()).
  virtual void Seek(int64_t frame) = 0;
  virtual int64_t Frame() const = 0;
  virtual int64_t LengthFrames() const = 0;
  // Called when the voice stops playing (paused or at its end), e.g. to silence notes.
  virtual void Stopped() {}
};

// PCM already converted to the mixer's rate, stereo.
class PcmSource : public SampleSource {
 public:
  explicit PcmSource(std::vector<int16_t> stereo) : samples_(std::move(stereo)) {}
  int Render(float* out, int frames) override;
  void Seek(int64_t frame) override;
  int64_t Frame() const override { return frame_; }
  int64_t LengthFrames() const override { return int64_t(samples_.size() / 2); }

 private:
  std::vector<int16_t> samples_;
  int64_t frame_ = 0;
};

// A decoded WAV sound, converted to the mixer's rate and to stereo as it plays:
// opening costs nothing however long the sound.
class WaveSource : public SampleSource {
 public:
  // Throws EUnsupported for a rate the converter cannot reach `mixerRate` from.
  WaveSource(std::shared_ptr<const WaveData> wave, int mixerRate);
  int Render(float* out, int frames) override;
  void Seek(int64_t frame) override { reader_.Seek(frame); }
  int64_t Frame() const override { return reader_.Frame(); }
  int64_t LengthFrames() const override { return reader_.LengthFrames(); }

 private:
  WaveResampler reader_;
  std::vector<float> block_;  // one block at the sound's channel count
};

class Mixer;

// A source's place in the mixer. Destroying the voice takes it out of the mix.
class MixerVoice {
 public:
  ~MixerVoice();
  MixerVoice(const MixerVoice&) = delete;
  MixerVoice& operator=(const MixerVoice&) = delete;

  // Plays from Frame(); a voice at its end stays stopped.
  void Play();
  // Stops at once for Playing() and Frame(); the sound fades out in the next
  // blocks. Given the caller's time, the voice stops at the frame heard then,
  // so that Play goes on from what was heard; else at the frame mixed last.
  void Pause(int64_t nowUs = -1);
  void SeekFrame(int64_t frame);
  // True from Play until Pause or the last frame mixed.
  bool Playing() const;
  // True from Play until Pause or the last frame heard at `nowUs`.
  bool Sounding(int64_t nowUs) const;
  // The frame heard at `nowUs` on the caller's clock: the frame the device
  // plays then, the latency taken off; the frame it started from until its
  // first frame is heard. Stopped, the frame it stands at.
  int64_t HeardFrame(int64_t nowUs) const;
  // The frame the next block starts at.
  int64_t Frame() const;
  int64_t LengthFrames() const;
  // The mixer time (in frames since the mixer began) at which this voice first
  // produced sound after its last Play; -1 until then. For latency measurement.
  int64_t FirstMixedAt() const;

 private:
  friend class Mixer;
  struct Shared;
  MixerVoice(std::shared_ptr<Shared> shared, std::unique_ptr<SampleSource> source);

  std::shared_ptr<Shared> shared_;
  std::unique_ptr<SampleSource> source_;
  bool playing_ = false;
  int fadeLeft_ = 0;           // frames of fade-out still to mix after a pause
  int64_t resumeFrame_ = -1;   // where a fading voice stopped, for Frame() and Play()
  // The blocks mixed since the last Play or seek, newest last (a ring): where
  // each went in the output and which of the voice's frames it held.
  struct Block {
    int64_t out;
    int64_t frame;
    int count;
  };
  static constexpr size_t kBlocks = 128;
  Block blocks_[kBlocks];
  size_t blockCount_ = 0;
  size_t blockNext_ = 0;
  int64_t startFrame_ = 0;   // the frame it plays from since the last Play or seek
  int64_t endOut_ = -1;      // the output frame after its last one, once it ended
  int64_t firstMixedAt_ = -1;
  int64_t HeardLocked(int64_t nowUs) const;
  void ForgetBlocks();
};

class Mixer {
 public:
  explicit Mixer(int sampleRate);
  ~Mixer();
  int SampleRate() const { return rate_; }

  // Puts a source into the mix, paused at its current frame.
  std::unique_ptr<MixerVoice> Add(std::unique_ptr<SampleSource> source);

  // Renders `frames` stereo frames of every playing voice into `out` (interleaved
  // 16-bit, clipped). `nowUs` is the caller's clock at the start of the block.
  void Mix(int16_t* out, int frames, int64_t nowUs = 0);
  // The same, unclipped float samples.
  void MixFloat(float* out, int frames, int64_t nowUs = 0);

  // Frames between the device taking a frame and its being heard, at most.
  void SetLatencyFrames(int64_t frames);
  // The device is a sound server's stream (see AudioClock::SetServerStream).
  void SetServerStream(bool server);

  int VoiceCount() const;
  int PlayingCount() const;
  // Frames mixed since the mixer began.
  int64_t FramesMixed() const;
  // The length of a fade-out in frames.
  int FadeFrames() const { return fade_; }

  // For the device's thread, before it mixes a block: while no voice plays or
  // fades out, waits until one is played or StopWaiting is called, so that an
  // idle output takes no processor time. Returns true when it waited; the
  // device has then taken no block for a while, and the heard position starts
  // again from the next block.
  bool WaitWhileSilent();
  // Ends the wait and every later one (the device is closing).
  void StopWaiting();
  // True while a thread waits in WaitWhileSilent, so that a test can play a
  // voice knowing the device's thread stands still, instead of guessing with a sleep.
  bool DeviceWaiting() const;
  // The device opens again at `nowUs` (the caller's clock) after StopWaiting:
  // its thread may wait again, held voices play on, the heard position starts
  // again from its first block, and the quiet counts from then.
  void Reopened(int64_t nowUs);
  // Since when nothing has sounded: the caller's time of the last block that
  // held sound (or of Reopened, or 0 when no block has); -1 while a voice
  // plays or fades out, so that the output is in use.
  int64_t QuietSinceUs() const;
  // For an output about to close: when nothing has sounded for `quietUs` at
  // `nowUs`, holds every voice where it stands until Reopened, so that a voice
  // played meanwhile is mixed from its first frame on the output that opens
  // next instead of into the one closing; blocks mixed while held are silence.
  // False, and nothing held, while something sounds or has not been quiet so long.
  bool HoldIfQuiet(int64_t quietUs, int64_t nowUs);

 private:
  friend class MixerVoice;
  // MixFloat's work; false when no voice gave any sound, so the block is silence.
  bool MixSounding(float* out, int frames, int64_t nowUs);
  // Mixes one voice's fade-out, `left` of `fade_` frames to go; returns the frames still left.
  int MixFade(SampleSource& source, int left, float* out, int frames);
  int fade_;
  std::vector<float> fadeBuffer_;
  std::shared_ptr<MixerVoice::Shared> shared_;
  int rate_;
  std::vector<float> scratch_;
};

}  // namespace tlb
