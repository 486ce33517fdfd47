#pragma once
// The audio output the mixer plays into. The SDL backend has a real one; the
// headless backend has one that follows the virtual clock and records what plays.
//
// A device hands out streams: one decoded sound each (a WAV or a MIDI song) with
// its own position and play state. The media players own one stream each; the
// PlaySound channel is one stream slot that the device keeps.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tlb {

class Backend;
struct WaveData;
struct MidiSong;

// One sound on the device. Positions are milliseconds from the start of the sound.
class AudioStream {
 public:
  virtual ~AudioStream() = default;
  // Starts or resumes from the current position; a stream at its end stays there.
  virtual void Play() = 0;
  // Stops where it is; Play resumes from there.
  virtual void Pause() = 0;
  // Moves to `ms` (clamped to 0..length); a playing stream goes on from there.
  virtual void Seek(int64_t ms) = 0;
  // The position as heard: the virtual clock (headless) or the samples played (real device).
  virtual int64_t PositionMs() const = 0;
  virtual int64_t LengthMs() const = 0;
  // True from Play until Pause or the end of the sound.
  virtual bool Playing() const = 0;
};

enum class SoundKind { Effect, Wave, Midi };

// What the headless device records of every sound started.
struct SoundRecord {
  SoundKind kind = SoundKind::Effect;
  std::string file;  // the name as the program gave it (code page 1250)
  unsigned flags = 0;  // PlaySound's flags; 0 for the media players
  int64_t startMs = 0;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // A stream over a decoded WAV sound. `quickStart` asks for an output on
  // which the sound starts within a few milliseconds of Play (a sound that
  // answers a click); without it the sound may start a block later, on an
  // output that costs less while it plays (a long recording whose position is
  // followed as it is heard).
  virtual std::unique_ptr<AudioStream> OpenWave(std::shared_ptr<const WaveData> wave, bool quickStart = true) = 0;
  // A stream that synthesises a MIDI song with the soundfont at `soundFontPath`.
  // Throws EMCIDeviceError when the synthesiser cannot be made.
  virtual std::unique_ptr<AudioStream> OpenMidi(std::shared_ptr<const MidiSong> song,
                                                const std::string& soundFontPath) = 0;

  // False for an output that keeps time but is heard nowhere (the machine has
  // no sound device): the system then counts no wave-output device, while the
  // media players still open, play and end on it as with sound.
  virtual bool Audible() const { return true; }

  // The next time on the program clock at which a playing stream reaches its end,
  // for the virtual clock to jump to; -1 when none will (or the clock is real).
  virtual int64_t NextEndMs() const { return -1; }
  // Told when a sound starts; the headless device keeps the record for tests.
  virtual void NoteStart(SoundKind kind, const std::string& file, unsigned flags) {}

  // The PlaySound channel: the one sound that PlaySound plays at a time.
  std::unique_ptr<AudioStream>& EffectChannel() { return effect_; }

 protected:
  // Derived devices drop the channel before their own state goes.
  void DropEffect() { effect_.reset(); }

 private:
  std::unique_ptr<AudioStream> effect_;
};

// The headless device over the backend's virtual clock.
std::unique_ptr<AudioDevice> CreateHeadlessAudioDevice(Backend& clock);

// The headless device's view for tests; nullptr for any other device.
class HeadlessAudio {
 public:
  virtual ~HeadlessAudio() = default;
  // Every sound started, in order.
  virtual std::vector<SoundRecord> Played() const = 0;
  virtual void ClearPlayed() = 0;
  // The streams playing now.
  virtual int PlayingCount() const = 0;
};
HeadlessAudio* AsHeadlessAudio(AudioDevice* device);

// The next media end on the current backend's device (-1 none): the message
// queue's wake source, so that an idle headless program jumps to a sound's end.
int64_t NextMediaEndMs();
// Gives the queue of this program run that wake source (the queue forgets its
// sources when a run starts, so call it after StartProgramRun).
void InstallMediaWakeSource();

}  // namespace tlb
