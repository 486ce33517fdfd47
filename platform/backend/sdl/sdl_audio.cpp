// The real audio output: SDL audio devices on one driver, each with a callback
// running its own mixer. Every stream is a voice of its output's mixer. A
// stream's position is the frame being heard: the mixer follows the times at
// which the device takes its blocks and takes off what the device and the
// system buffer after that (see AudioClock), so that the position moves
// smoothly and never runs ahead of the sound, and a stream plays until its last
// frame has been heard. While nothing plays on an output its callback waits
// inside the mixer, so that an idle output costs no processor time; the file
// output alone goes on writing silence, as a recording must.
//
// Which outputs are open depends on what plays the sound:
// - On a sound server (PulseAudio, or PipeWire), the server wakes as often as
//   the shortest block of any stream open on it asks, whether the stream plays
//   or not. So the long output, with blocks of 8192 frames (186 ms), stays open
//   and plays the MIDI songs and the recordings opened for a long play, which
//   need no quick start; the sound output, with blocks of 256 frames (5.8 ms),
//   plays the sounds that answer a child at once, and is open only from the
//   first such sound until a few seconds after the last (see QuickOutput).
// - On a sound card, the sound output (256 frames) plays every wave and the
//   music output (2048 frames) the songs; both stay open.
// - When the music output cannot be opened (SDL's null output, for one, takes
//   a single output), and on the file output (a recording must be one file
//   holding everything), everything plays on one output of 512 frames, a
//   compromise between the two.
//
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
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/midi_synth.h"
#include "platform/media/mixer.h"
#include "platform/media/output_pacer.h"

namespace tlb {

namespace {

// The sound output's block: 256 frames are 5.8 ms at 44.1 kHz, and mixing a
// block takes well under a tenth of its length.
constexpr int kSoundBlockFrames = 256;
// The block of the one output when the songs play on it too: 512 frames are
// 11.6 ms. Play to sound out stays within 30 ms (21.5 ms at worst, measured
// with every core busy), and the device's thread, which wakes once a block all
// the while a song plays, wakes half as often as with 256.
constexpr int kSharedBlockFrames = 512;
// The music output's block on a sound card: 2048 frames are 46 ms. A song's
// start and end wait a block or two more, which nobody notices under
// background music; the device's thread wakes an eighth as often as on the
// sound output.
constexpr int kMusicBlockFrames = 2048;
// The long output's block on a sound server: 8192 frames are 186 ms. The
// server then holds its sink at about 73 ms and wakes some 14 times a second
// for it; with 4096 frames the sink ran at 26 ms and the server cost twice as
// much.
constexpr int kLongBlockFrames = 8192;
constexpr int kRate = 44100;

// What SDL's current driver plays into.
enum class OutputKind {
  Card,         // a sound card, through ALSA or the like
  SoundServer,  // PulseAudio or PipeWire: a server mixes every program's streams
  Jack,         // the JACK server, whose period SDL follows whatever it asks
  Null,         // SDL's null output: heard nowhere, no clock of its own
  File,         // SDL's disk output: a recording, no clock of its own
};

OutputKind CurrentOutputKind() {
  const char* driver = SDL_GetCurrentAudioDriver();
  const std::string name = driver ? driver : "";
  if (name == "pulseaudio" || name == "pipewire") return OutputKind::SoundServer;
  if (name == "jack") return OutputKind::Jack;
  if (name == "dummy") return OutputKind::Null;
  if (name == "disk") return OutputKind::File;
  return OutputKind::Card;
}

int64_t MsFrames(double ms, int rate) { return int64_t(ms * rate / 1000.0); }

// What a sound server's sink buffers for an output of `blockFrames`: half a
// block less 20 ms, as PulseAudio sets it (measured from 5.8 to 186 ms blocks),
// and 1.5 ms at the least.
int64_t ServerSinkFrames(int blockFrames, int rate) {
  return std::max(int64_t(blockFrames) / 2 - MsFrames(20, rate), MsFrames(1.5, rate));
}

// Frames from the callback handing a block to a sound server to its being
// heard, at most: half a block in the stream's buffer, the sink's buffer (that
// of the shortest stream on it), and up to 5 ms the server takes to move it.
int64_t ServerLatencyFrames(int blockFrames, int64_t sinkFrames, int rate) {
  return int64_t(blockFrames) / 2 + sinkFrames + MsFrames(5, rate);
}

// The same on the outputs that stay open (a sound server's outputs count
// theirs in QuickOutput, which knows the sink's). SDL plays the block it is
// handed after the one playing now; JACK holds one more. What the system adds
// below that is not reported and not counted. The file and null outputs take
// the block at once.
int64_t OutputLatencyFrames(OutputKind kind, int blockFrames) {
  if (kind == OutputKind::Null || kind == OutputKind::File) return 0;
  if (kind == OutputKind::Jack) return 2 * int64_t(blockFrames);
  return blockFrames;
}

int64_t NowUs() {
  static const double ticksPerUs = double(SDL_GetPerformanceFrequency()) / 1e6;
  return int64_t(double(SDL_GetPerformanceCounter()) / ticksPerUs);
}

// One SDL audio device and the mixer its callback runs. The mixer outlives the
// device: an output that closes and opens again keeps its voices.
class SdlOutput {
 public:
  // `rate` > 0 makes the mixer at once, for an output that opens later.
  explicit SdlOutput(int rate = 0) {
    if (rate > 0) mixer_ = std::make_unique<Mixer>(rate);
  }
  ~SdlOutput() { Close(); }

  // Opens the default output with blocks of `blockFrames`, paused until Start.
  // The first time, at `rate` or the rate the output prefers (so that sound is
  // resampled only once), which the mixer then takes; later, at the mixer's
  // rate. False when it cannot be opened.
  bool Open(OutputKind kind, int rate, int blockFrames) {
    SDL_AudioSpec want{}, have{};
    want.freq = mixer_ ? mixer_->SampleRate() : rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = Uint16(blockFrames);
    want.callback = Callback;
    want.userdata = this;
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, mixer_ ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (id_ == 0) return false;
    if (mixer_) mixer_->Reopened(NowUs());
    else mixer_ = std::make_unique<Mixer>(have.freq);
    blockFrames_ = have.samples;
    // The file output is a recording of what would be heard: it must go on
    // taking silence in real time, or the pauses between sounds would be
    // missing from it.
    idleWait_ = kind != OutputKind::File;
    if (kind == OutputKind::Null || kind == OutputKind::File)
      pacer_ = std::make_unique<OutputPacer>(have.freq, OutputPacer::kMaxLateUs, OutputPacer::kSlackUs);
    else pacer_.reset();
    return true;
  }

  void Start() { SDL_PauseAudioDevice(id_, 0); }

  // Instead of a device: a thread of its own takes the blocks, paced to real
  // time, and the sound goes nowhere. For an output that would not open again
  // (its mixer is made already), so that its sounds still play to their end on time.
  void OpenUnheard(int blockFrames) {
    mixer_->Reopened(NowUs());
    blockFrames_ = blockFrames;
    idleWait_ = true;
    pacer_ = std::make_unique<OutputPacer>(mixer_->SampleRate(), OutputPacer::kMaxLateUs, OutputPacer::kSlackUs);
    unheardRunning_ = true;
    unheard_ = std::thread([this] {
      std::vector<int16_t> block(size_t(blockFrames_) * 2);
      while (unheardRunning_) Callback(this, reinterpret_cast<Uint8*>(block.data()), int(block.size() * 2));
    });
  }

  // Stops the callback; the mixer stays for the streams still holding voices.
  void Close() {
    if (!IsOpen()) return;
    // Closing waits for the callback, so it must not be waiting for a sound.
    unheardRunning_ = false;
    mixer_->StopWaiting();
    if (id_) SDL_CloseAudioDevice(id_);
    if (unheard_.joinable()) unheard_.join();
    id_ = 0;
  }

  bool IsOpen() const { return id_ != 0 || unheard_.joinable(); }
  bool Heard() const { return id_ != 0; }
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
  std::thread unheard_;
  std::atomic<bool> unheardRunning_{false};
};

// The sound output on a sound server: opened by the first Play of a sound on
// it, closed by a keeper thread once nothing has sounded on it for
// kSoundOutputQuietCloseUs. While it is open the server's sink runs at its short
// latency, which the long output's heard position then counts too.
class QuickOutput {
 public:
  QuickOutput(SdlOutput& longOutput, int rate) : long_(longOutput), sound_(rate) {
    // The server asks for a stream's first blocks, and for more after it fell
    // behind, all at once: they queue behind one another.
    long_.mixer().SetServerStream(true);
    sound_.mixer().SetServerStream(true);
    UpdateLatencies();
    keeper_ = std::thread([this] { Keep(); });
  }
  ~QuickOutput() {
    {
      std::lock_guard<std::mutex> g(lock_);
      ending_ = true;
    }
    wake_.notify_all();
    keeper_.join();
    sound_.Close();
  }

  Mixer& mixer() { return sound_.mixer(); }
  int BlockFrames() const { return kSoundBlockFrames; }
  bool IsOpen() {
    std::lock_guard<std::mutex> g(lock_);
    return sound_.Heard();
  }

  // A sound on this output was played: opens the output when it is closed.
  void Wanted() {
    std::lock_guard<std::mutex> g(lock_);
    if (sound_.IsOpen()) return;
    if (sound_.Open(OutputKind::SoundServer, 0, kSoundBlockFrames)) {
      UpdateLatencies();
      sound_.Start();
    } else {
      static bool told = false;
      if (!told)
        std::fprintf(stderr, "The sound output could not be opened again (%s): sounds are not heard until it opens.\n",
                     SDL_GetError());
      told = true;
      sound_.OpenUnheard(kSoundBlockFrames);
    }
    wake_.notify_all();
  }

 private:
  // The sink runs at the latency of the shortest stream open on it.
  void UpdateLatencies() {
    const int rate = sound_.mixer().SampleRate();
    const int64_t sink = ServerSinkFrames(sound_.Heard() ? kSoundBlockFrames : long_.BlockFrames(), rate);
    long_.mixer().SetLatencyFrames(ServerLatencyFrames(long_.BlockFrames(), sink, rate));
    sound_.mixer().SetLatencyFrames(sound_.Heard() ? ServerLatencyFrames(kSoundBlockFrames, sink, rate) : 0);
  }

  // Closes the output after the quiet; sleeps until then, and while the
  // output is closed until it opens.
  void Keep() {
    std::unique_lock<std::mutex> g(lock_);
    while (!ending_) {
      if (!sound_.IsOpen()) {
        wake_.wait(g);
        continue;
      }
      const int64_t quietSince = sound_.mixer().QuietSinceUs();
      const int64_t quiet = quietSince < 0 ? 0 : NowUs() - quietSince;
      if (quietSince >= 0 && quiet >= kSoundOutputQuietCloseUs) {
        sound_.Close();
        UpdateLatencies();
        continue;
      }
      wake_.wait_for(g, std::chrono::microseconds(kSoundOutputQuietCloseUs - quiet));
    }
  }

  SdlOutput& long_;
  SdlOutput sound_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool ending_ = false;
  std::thread keeper_;
};

class SdlStream : public AudioStream {
 public:
  SdlStream(std::unique_ptr<MixerVoice> voice, int rate, int64_t lengthMs, std::weak_ptr<QuickOutput> output)
      : voice_(std::move(voice)), rate_(rate), length_(lengthMs), output_(std::move(output)) {}

  void Play() override {
    voice_->Play();
    if (auto output = output_.lock()) output->Wanted();
  }
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
  std::weak_ptr<QuickOutput> output_;  // the sound output that opens on Play, if this plays on it
};

class SdlAudioDevice : public AudioDevice {
 public:
  SdlAudioDevice() = default;
  ~SdlAudioDevice() override {
    // The callbacks stop before the mixers go.
    quick_.reset();
    if (music_) music_->Close();
    if (sound_) sound_->Close();
    DropEffect();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // No sound device: the null output, one for sounds and songs alike. It is
  // started through SDL's own count of its subsystems, with the driver asked
  // for by a hint that overrides the environment's.
  bool OpenSilent() {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!started) return false;
    subsystem_ = true;
    silent_ = true;
    kind_ = OutputKind::Null;
    sound_ = std::make_unique<SdlOutput>();
    if (sound_->Open(kind_, kRate, kSharedBlockFrames)) {
      Start(*sound_);
      return true;
    }
    sound_.reset();
    return false;
  }

  bool Audible() const override { return !silent_; }

  // Opens the outputs for the current driver; false when there is no output
  // at all (Failure says why).
  bool OpenOutputs() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return Failed();
    subsystem_ = true;
    kind_ = CurrentOutputKind();
    if (kind_ == OutputKind::SoundServer) {
      music_ = std::make_unique<SdlOutput>();
      if (!music_->Open(kind_, kRate, kLongBlockFrames)) {
        music_.reset();
        return Failed();
      }
      quick_ = std::make_shared<QuickOutput>(*music_, music_->mixer().SampleRate());
      music_->Start();
      return true;
    }
    const bool file = kind_ == OutputKind::File;
    sound_ = std::make_unique<SdlOutput>();
    if (!sound_->Open(kind_, kRate, file ? kSharedBlockFrames : kSoundBlockFrames)) {
      sound_.reset();
      return Failed();
    }
    if (file) {
      Start(*sound_);
      return true;
    }
    music_ = std::make_unique<SdlOutput>();
    if (music_->Open(kind_, sound_->mixer().SampleRate(), kMusicBlockFrames)) {
      Start(*sound_);
      Start(*music_);
      return true;
    }
    music_.reset();
    // The songs will play on the sound output: it opens again, nothing playing
    // yet, with the longer block (or the short one again should that fail).
    sound_->Close();
    if (!sound_->Open(kind_, kRate, kSharedBlockFrames) && !sound_->Open(kind_, kRate, kSoundBlockFrames)) {
      sound_.reset();
      return Failed();
    }
    Start(*sound_);
    return true;
  }

  // What the driver said when no output would open.
  const std::string& Failure() const { return failure_; }

  std::unique_ptr<AudioStream> OpenWave(std::shared_ptr<const WaveData> wave, bool quickStart) override {
    int64_t lengthMs = wave->durationMs();
    // On a sound server a long play goes to the long output, which is always open.
    const bool longPlay = quick_ && !quickStart;
    return Open(longPlay ? music_->mixer() : SoundMixer(), std::make_unique<WaveSource>(std::move(wave), Rate()),
                lengthMs, longPlay ? nullptr : quick_);
  }

  std::unique_ptr<AudioStream> OpenMidi(std::shared_ptr<const MidiSong> song, const std::string& soundFontPath) override {
    Mixer& mixer = music_ ? music_->mixer() : sound_->mixer();
    int64_t lengthMs = song->lengthUs / 1000;
    return Open(mixer, std::make_unique<MidiSynthSource>(std::move(song), soundFontPath, mixer.SampleRate()),
                lengthMs);
  }

  int Rate() { return SoundMixer().SampleRate(); }
  int BlockFrames() const { return quick_ ? quick_->BlockFrames() : sound_->BlockFrames(); }
  // The output the MIDI songs play on, when it is not the sound output.
  bool MusicFormat(int& rate, int& blockFrames) const {
    if (!music_) return false;
    rate = music_->mixer().SampleRate();
    blockFrames = music_->BlockFrames();
    return true;
  }
  bool SoundOutputOpen() const { return quick_ ? quick_->IsOpen() : sound_ != nullptr; }

 private:
  Mixer& SoundMixer() { return quick_ ? quick_->mixer() : sound_->mixer(); }

  // Starts an output that stays open, its heard position taking off what its
  // driver buffers.
  void Start(SdlOutput& output) {
    output.mixer().SetLatencyFrames(OutputLatencyFrames(kind_, output.BlockFrames()));
    output.Start();
  }

  bool Failed() {
    const char* error = SDL_GetError();
    failure_ = error && *error ? error : "no reason given";
    return false;
  }

  static std::unique_ptr<AudioStream> Open(Mixer& mixer, std::unique_ptr<SampleSource> source, int64_t lengthMs,
                                           std::weak_ptr<QuickOutput> output = {}) {
    return std::make_unique<SdlStream>(mixer.Add(std::move(source)), mixer.SampleRate(), lengthMs, std::move(output));
  }

  bool subsystem_ = false;
  bool silent_ = false;  // on the null driver, started when nothing else opened
  OutputKind kind_ = OutputKind::Card;
  std::string failure_;
  // On a sound server: the sound output that opens when wanted, and the long
  // output as music_. Elsewhere: sound_, and music_ where a second output opens.
  std::shared_ptr<QuickOutput> quick_;
  std::unique_ptr<SdlOutput> sound_;
  std::unique_ptr<SdlOutput> music_;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice() {
  auto device = std::make_unique<SdlAudioDevice>();
  if (device->OpenOutputs()) return device;
  const std::string failure = device->Failure();
  device.reset();
  device = std::make_unique<SdlAudioDevice>();
  if (!device->OpenSilent()) return nullptr;
  static bool told = false;
  if (!told)
    std::fprintf(stderr, "No sound device was found: the program runs without sound (the output said: %s).\n",
                 failure.c_str());
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

bool SdlSoundOutputOpen(AudioDevice* device) {
  auto* sdl = dynamic_cast<SdlAudioDevice*>(device);
  return sdl && sdl->SoundOutputOpen();
}

}  // namespace tlb
