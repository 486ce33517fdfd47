// The real audio output: up to two SDL audio devices on the same driver, each
// with a callback running its own mixer. The sound output, with short blocks,
// plays the WAV streams and the PlaySound channel, so that a sound answers a
// child at once; the music output, with blocks eight times longer, plays the
// MIDI songs, which need no quick start and cost far less woken that seldom.
// When the music output cannot be opened (SDL's null output, for one, takes a
// single output), and on the file output (a recording must be one file holding
// everything), the songs play on the sound output, whose blocks are then twice
// as long as a compromise between the two.
// Every stream is a voice of its output's mixer. A stream's position is the
// frame being heard: the mixer follows the times at which the device takes its
// blocks and takes off what the device and the system buffer after that (see
// AudioClock), so that the position moves smoothly and never runs ahead of the
// sound, and a stream plays until its last frame has been heard. While nothing
// plays on an output its callback waits inside the mixer, so that an idle
// output costs nothing; the file output alone goes on writing silence, as a
// recording must.
// SDL's null and file outputs have no clock of their own: they take blocks a
// little faster than they last, so their callbacks wait for each block's time
// on the wall clock (see OutputPacer). With no sound device at all, the device
// falls back to the null output: a silent output that keeps real time, so that
// the media players open, play and end as they would with sound; the system
// then reports no wave-output device, so the programs switch sound and music
// off.
#include "platform/backend/sdl/sdl_audio.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/core/exceptions.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/midi_synth.h"
#include "platform/media/mixer.h"
#include "platform/media/output_pacer.h"

namespace tlb {

namespace {

// The sound output's block while it plays sounds only: 256 frames are 5.8 ms at
// 44.1 kHz, and mixing a block takes well under a tenth of its length.
constexpr int kSoundBlockFrames = 256;
// The block of the one output when the songs play on it too: 512 frames are
// 11.6 ms. Play to sound out stays within 30 ms (21.5 ms at worst, measured
// with every core busy), and the device's thread, which wakes once a block all
// the while a song plays, wakes half as often as with 256.
constexpr int kSharedBlockFrames = 512;
// The music output's block: 2048 frames are 46 ms. A song's start and end wait
// a block or two more, which nobody notices under background music; the
// device's thread wakes an eighth as often as on the sound output.
constexpr int kMusicBlockFrames = 2048;
constexpr int kRate = 44100;

// Frames from the callback handing a block to its being heard, at most. SDL
// plays the block it is handed after the one playing now; a sound server
// holds one more block (SDL asks it for a buffer of one block). What the
// system adds below that is not reported and not counted. The file and null
// outputs take the block at once.
int OutputLatencyFrames(int blockFrames) {
  const char* driver = SDL_GetCurrentAudioDriver();
  std::string name = driver ? driver : "";
  if (name == "disk" || name == "dummy") return 0;
  if (name == "pulseaudio" || name == "pipewire" || name == "jack") return 2 * blockFrames;
  return blockFrames;
}

bool FileDriver() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver && std::string(driver) == "disk";
}

// The outputs with no sound card behind them, which take blocks as fast as
// their thread comes back rather than as fast as they are played.
bool UnclockedDriver() {
  const char* driver = SDL_GetCurrentAudioDriver();
  std::string name = driver ? driver : "";
  return name == "disk" || name == "dummy";
}

// How far behind its schedule a paced output may fall before the schedule
// starts again: well over the oversleeping of a busy machine, so that real
// time is kept, and short enough that a stall is not made up for at length.
constexpr int64_t kMaxLateUs = 40'000;
// How far ahead of its schedule a paced output may take a block: about half a
// block, a few milliseconds that nobody can hear or see, against a
// wake-up of the output's thread saved on nine blocks out of ten.
constexpr int64_t kPaceSlackUs = 6'000;

int64_t NowUs() {
  static const double ticksPerUs = double(SDL_GetPerformanceFrequency()) / 1e6;
  return int64_t(double(SDL_GetPerformanceCounter()) / ticksPerUs);
}

class SdlStream : public AudioStream {
 public:
  SdlStream(std::unique_ptr<MixerVoice> voice, int rate, int64_t lengthMs)
      : voice_(std::move(voice)), rate_(rate), length_(lengthMs) {}

  void Play() override { voice_->Play(); }
  void Pause() override { voice_->Pause(NowUs()); }
  void Seek(int64_t ms) override { voice_->SeekFrame(std::clamp<int64_t>(ms, 0, length_) * rate_ / 1000); }
  int64_t PositionMs() const override {
    int64_t now = NowUs();
    if (voice_->Frame() >= voice_->LengthFrames() && !voice_->Sounding(now)) return length_;
    return std::min(length_, voice_->HeardFrame(now) * 1000 / rate_);
  }
  int64_t LengthMs() const override { return length_; }
  bool Playing() const override { return voice_->Sounding(NowUs()); }

 private:
  std::unique_ptr<MixerVoice> voice_;
  int rate_;
  int64_t length_;
};

// One SDL audio device and the mixer its callback runs.
class SdlOutput {
 public:
  ~SdlOutput() { Close(); }

  // Opens the default output with blocks of `blockFrames` at `rate` or the
  // rate the output prefers (so that sound is resampled only once); false
  // when it cannot be opened.
  bool Open(int rate, int blockFrames) {
    SDL_AudioSpec want{}, have{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = Uint16(blockFrames);
    want.callback = Callback;
    want.userdata = this;
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (id_ == 0) return false;
    mixer_ = std::make_unique<Mixer>(have.freq);
    blockFrames_ = have.samples;
    mixer_->SetLatencyFrames(OutputLatencyFrames(have.samples));
    // The file output is a recording of what would be heard: it must go on
    // taking silence in real time, or the pauses between sounds would be
    // missing from it.
    idleWait_ = !FileDriver();
    if (UnclockedDriver()) pacer_ = std::make_unique<OutputPacer>(have.freq, kMaxLateUs, kPaceSlackUs);
    else pacer_.reset();
    SDL_PauseAudioDevice(id_, 0);
    return true;
  }

  // Stops the callback; the mixer stays for the streams still holding voices.
  void Close() {
    if (!id_) return;
    // Closing waits for the callback, so it must not be waiting for a sound.
    mixer_->StopWaiting();
    SDL_CloseAudioDevice(id_);
    id_ = 0;
  }

  Mixer& mixer() { return *mixer_; }
  int BlockFrames() const { return blockFrames_; }

 private:
  static void Callback(void* user, Uint8* stream, int len) {
    auto* self = static_cast<SdlOutput*>(user);
    const int frames = len / 4;
    // With nothing to play the device's thread sleeps here instead of mixing
    // silence every block; the next Play wakes it, and its block goes out at once.
    bool waited = self->idleWait_ && self->mixer_->WaitWhileSilent();
    if (self->pacer_) {
      if (waited) self->pacer_->Restart();
      int64_t wait = self->pacer_->WaitUs(NowUs(), frames);
      if (wait > 0) std::this_thread::sleep_for(std::chrono::microseconds(wait));
    }
    self->mixer_->Mix(reinterpret_cast<int16_t*>(stream), frames, NowUs());
  }

  SDL_AudioDeviceID id_ = 0;
  std::unique_ptr<Mixer> mixer_;
  int blockFrames_ = 0;
  bool idleWait_ = true;
  std::unique_ptr<OutputPacer> pacer_;  // on an output without a clock of its own
};

class SdlAudioDevice : public AudioDevice {
 public:
  SdlAudioDevice() = default;
  ~SdlAudioDevice() override {
    // The callbacks stop before the mixers go.
    if (music_) music_->Close();
    if (sound_) sound_->Close();
    DropEffect();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (silent_) SDL_AudioQuit();
  }

  // No sound device: the null output, one for sounds and songs alike.
  bool OpenSilent() {
    if (SDL_AudioInit("dummy") != 0) return false;
    silent_ = true;
    sound_ = std::make_unique<SdlOutput>();
    if (sound_->Open(kRate, kSharedBlockFrames)) return true;
    sound_.reset();
    return false;
  }

  bool Audible() const override { return !silent_; }

  // Opens the sound output and, where it can, the music output; false when
  // there is no output at all.
  bool OpenOutputs() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    sound_ = std::make_unique<SdlOutput>();
    if (!sound_->Open(kRate, FileDriver() ? kSharedBlockFrames : kSoundBlockFrames)) {
      sound_.reset();
      return false;
    }
    if (FileDriver()) return true;
    music_ = std::make_unique<SdlOutput>();
    if (music_->Open(sound_->mixer().SampleRate(), kMusicBlockFrames)) return true;
    music_.reset();
    // The songs will play on the sound output: it opens again, nothing playing
    // yet, with the longer block (or the short one again should that fail).
    sound_->Close();
    if (!sound_->Open(kRate, kSharedBlockFrames) && !sound_->Open(kRate, kSoundBlockFrames)) {
      sound_.reset();
      return false;
    }
    return true;
  }

  std::unique_ptr<AudioStream> OpenWave(std::shared_ptr<const WaveData> wave, bool) override {
    int64_t lengthMs = wave->durationMs();
    return Open(sound_->mixer(), std::make_unique<WaveSource>(std::move(wave), Rate()), lengthMs);
  }

  std::unique_ptr<AudioStream> OpenMidi(std::shared_ptr<const MidiSong> song, const std::string& soundFontPath) override {
    Mixer& mixer = (music_ ? music_ : sound_)->mixer();
    int64_t lengthMs = song->lengthUs / 1000;
    return Open(mixer, std::make_unique<MidiSynthSource>(std::move(song), soundFontPath, mixer.SampleRate()),
                lengthMs);
  }

  int Rate() const { return sound_->mixer().SampleRate(); }
  int BlockFrames() const { return sound_->BlockFrames(); }
  // The music output's rate and block; false when songs play on the sound output.
  bool MusicFormat(int& rate, int& blockFrames) const {
    if (!music_) return false;
    rate = music_->mixer().SampleRate();
    blockFrames = music_->BlockFrames();
    return true;
  }

 private:
  static std::unique_ptr<AudioStream> Open(Mixer& mixer, std::unique_ptr<SampleSource> source, int64_t lengthMs) {
    return std::make_unique<SdlStream>(mixer.Add(std::move(source)), mixer.SampleRate(), lengthMs);
  }

  bool subsystem_ = false;
  bool silent_ = false;  // on the null driver, started by name when nothing else opened
  std::unique_ptr<SdlOutput> sound_;
  std::unique_ptr<SdlOutput> music_;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice() {
  auto device = std::make_unique<SdlAudioDevice>();
  if (device->OpenOutputs()) return device;
  device = std::make_unique<SdlAudioDevice>();
  if (!device->OpenSilent()) return nullptr;
  static bool told = false;
  if (!told) std::fprintf(stderr, "No sound device was found: the program runs without sound.\n");
  told = true;
  return device;
}

bool SdlAudioFormat(AudioDevice* device, int& rate, int& blockFrames) {
  auto* sdl = dynamic_cast<SdlAudioDevice*>(device);
  if (!sdl) return false;
  rate = sdl->Rate();
  blockFrames = sdl->BlockFrames();
  return true;
}

bool SdlMusicFormat(AudioDevice* device, int& rate, int& blockFrames) {
  auto* sdl = dynamic_cast<SdlAudioDevice*>(device);
  return sdl && sdl->MusicFormat(rate, blockFrames);
}

bool SdlSoundOutputOpen(AudioDevice* device) { return dynamic_cast<SdlAudioDevice*>(device) != nullptr; }

}  // namespace tlb
