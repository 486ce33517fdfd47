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
//   need no quick start; the quick output plays the sounds that answer a child
//   at once, and is open only from the first such sound until a few seconds
//   after the last. A sound that starts on a quiet stream is heard at once
//   whatever the block, since the server mixes a stream's first block in
//   straight away; the block is what the stream holds in reserve when the
//   program's thread is late, so it is long (kQuickBlockFrames).
// - On a sound card, the sound output (256 frames) plays every wave and the
//   music output (2048 frames) the songs; both stay open.
// - When the music output cannot be opened (SDL's null output, for one, takes
//   a single output), and on the file output (a recording must be one file
//   holding everything), everything plays on one output of 512 frames, a
//   compromise between the two.
//
// An output whose device is lost (the sound server went away, the card was
// unplugged) goes on unheard in real time and is opened again about once a
// second until it opens (see OutputKeeper).
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
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
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

// One output and the mixer it runs: an SDL audio device whose callback mixes,
// or, while no device can be had, a thread of its own that mixes into nothing
// at the pace of real time (unheard), so that its sounds still end on time.
// The mixer outlives both: an output that closes and opens again keeps its
// voices.
class SdlOutput {
 public:
  // `rate` > 0 makes the mixer at once, for an output that opens later.
  SdlOutput(OutputKind kind, int blockFrames, int rate = 0) : kind_(kind), blockFrames_(blockFrames) {
    if (rate > 0) mixer_ = std::make_unique<Mixer>(rate);
  }
  ~SdlOutput() { Close(); }

  // Called on the device's thread, once, when SDL reports the device gone (the
  // sound server went away, the card was unplugged).
  void OnLost(std::function<void()> lost) { onLost_ = std::move(lost); }

  // Opens the default output on a device, paused until Start. The first time,
  // at `rate` or the rate the output prefers (so that sound is resampled only
  // once), which the mixer then takes; later, at the mixer's rate. An output
  // playing unheard goes over to the device. False when it cannot be opened.
  bool OpenDevice(int rate = 0) {
    SDL_AudioSpec want{}, have{};
    want.freq = mixer_ ? mixer_->SampleRate() : rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = Uint16(blockFrames_);
    want.callback = Callback;
    want.userdata = this;
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have, mixer_ ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (id == 0) return false;
    StopUnheard();
    id_ = id;
    lost_ = false;
    if (mixer_) mixer_->Reopened(NowUs());
    else mixer_ = std::make_unique<Mixer>(have.freq);
    blockFrames_ = have.samples;
    // The file output is a recording of what would be heard: it must go on
    // taking silence in real time, or the pauses between sounds would be
    // missing from it.
    idleWait_ = kind_ != OutputKind::File;
    if (kind_ == OutputKind::Null || kind_ == OutputKind::File) StartPacing();
    else pacer_.reset();
    return true;
  }

  void Start() { SDL_PauseAudioDevice(id_, 0); }

  // Instead of a device, a thread of its own takes the blocks, paced to real
  // time, and the sound goes nowhere; for an output whose mixer is made
  // already and whose device would not open, or was lost.
  void PlayUnheard() {
    CloseDevice();
    if (unheard_.joinable()) return;
    mixer_->Reopened(NowUs());
    idleWait_ = true;
    StartPacing();
    unheardRunning_ = true;
    unheard_ = std::thread([this] {
      std::vector<int16_t> block(size_t(blockFrames_) * 2);
      while (unheardRunning_) Callback(this, reinterpret_cast<Uint8*>(block.data()), int(block.size() * 2));
    });
  }

  // Stops mixing, on the device or unheard; the mixer stays for the streams
  // still holding voices.
  void Close() {
    CloseDevice();
    StopUnheard();
  }

  bool IsOpen() const { return id_ != 0 || unheard_.joinable(); }
  bool OnDevice() const { return id_ != 0; }
  bool Unheard() const { return unheard_.joinable(); }
  // True once after the device was reported gone.
  bool TakeLost() { return id_ != 0 && lost_.exchange(false); }
  Mixer& mixer() { return *mixer_; }
  int BlockFrames() const { return blockFrames_; }

 private:
  void StartPacing() {
    pacer_ = std::make_unique<OutputPacer>(mixer_->SampleRate(), OutputPacer::kMaxLateUs, OutputPacer::kSlackUs);
  }

  void CloseDevice() {
    if (!id_) return;
    // Closing waits for the callback, so it must not be waiting for a sound.
    mixer_->StopWaiting();
    SDL_CloseAudioDevice(id_);
    id_ = 0;
  }

  void StopUnheard() {
    if (!unheard_.joinable()) return;
    unheardRunning_ = false;
    mixer_->StopWaiting();
    unheard_.join();
  }

  static void Callback(void* user, Uint8* stream, int len) {
    auto* self = static_cast<SdlOutput*>(user);
    const int frames = len / 4;
    // A lost device still calls for blocks, paced by SDL, and they go nowhere:
    // the keeper is told and moves the output on.
    if (self->id_ && SDL_GetAudioDeviceStatus(self->id_) == SDL_AUDIO_STOPPED && !self->lost_.exchange(true) &&
        self->onLost_)
      self->onLost_();
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

  OutputKind kind_;
  SDL_AudioDeviceID id_ = 0;
  std::unique_ptr<Mixer> mixer_;
  int blockFrames_;
  bool idleWait_ = true;
  std::unique_ptr<OutputPacer> pacer_;  // on an output without a clock of its own
  std::function<void()> onLost_;
  std::atomic<bool> lost_{false};
  std::thread unheard_;
  std::atomic<bool> unheardRunning_{false};
};

// Keeps a device's outputs playing, on a thread of its own so that opening and
// closing never hold the program:
// - An output whose device is lost goes on unheard, and its device is opened
//   again about once a second until it opens: when a sound server comes back,
//   the music and the recordings go on where they are, and the heard position
//   with them.
// - On a sound server, the output for quick sounds is opened by the first sound
//   played on it and closed once nothing has sounded on it for
//   kSoundOutputQuietCloseUs. While it is open the server's sink runs at its
//   short latency, which the long output's heard position then counts too.
class OutputKeeper {
 public:
  // The outputs that stay open, started already; `quick`, when given, is the
  // sound server's output for quick sounds, closed until a sound wants it.
  OutputKeeper(std::vector<SdlOutput*> lasting, SdlOutput* quick, int quickBlockFrames)
      : lasting_(std::move(lasting)), quick_(quick), quickBlockFrames_(quickBlockFrames) {
    for (SdlOutput* output : Outputs()) output->OnLost([this] { Wake(); });
    if (quick_) UpdateServerLatencies();
    thread_ = std::thread([this] {
      Run();
      // What SDL keeps for a thread it did not start (its last error, for one).
      SDL_TLSCleanup();
    });
  }
  ~OutputKeeper() {
    {
      std::lock_guard<std::mutex> g(lock_);
      ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
    // Their callbacks tell this keeper when a device is lost: they stop first.
    for (SdlOutput* output : Outputs()) output->Close();
  }

  // A sound on the quick output was played: it opens when it is closed.
  void RequestQuickOpen() {
    {
      std::lock_guard<std::mutex> g(lock_);
      if (quickOpen_) return;
      quickWanted_ = true;
    }
    wake_.notify_all();
  }
  bool QuickOpenOnDevice() {
    std::lock_guard<std::mutex> g(lock_);
    return quickOpen_ && quickOnDevice_;
  }

 private:
  std::vector<SdlOutput*> Outputs() const {
    std::vector<SdlOutput*> all = lasting_;
    if (quick_) all.push_back(quick_);
    return all;
  }

  void Wake() {
    {
      std::lock_guard<std::mutex> g(lock_);
      woken_ = true;
    }
    wake_.notify_all();
  }

  // The sink runs at the latency of the shortest stream open on it.
  void UpdateServerLatencies() {
    SdlOutput& longOutput = *lasting_.front();
    const int rate = quick_->mixer().SampleRate();
    const bool quickOnDevice = quick_->OnDevice();
    const int64_t sink = ServerSinkFrames(quickOnDevice ? quickBlockFrames_ : longOutput.BlockFrames(), rate);
    longOutput.mixer().SetLatencyFrames(ServerLatencyFrames(longOutput.BlockFrames(), sink, rate));
    quick_->mixer().SetLatencyFrames(quickOnDevice ? ServerLatencyFrames(quickBlockFrames_, sink, rate) : 0);
  }

  // Opens an output's device again, or plays it unheard (saying why once).
  void Reopen(SdlOutput& output) {
    if (output.OpenDevice()) {
      output.Start();
      if (lostSaid_) SayOnce(backSaid_, "The sound output is back.\n");
      return;
    }
    if (!output.Unheard())
      SayOnce(openFailSaid_, "The sound output could not be opened again (%s): sounds are not heard until it opens.\n",
              SDL_GetError());
    output.PlayUnheard();
  }

  void Run() {
    // A lost device is tried again about once a second.
    constexpr int64_t kRetryUs = 1'000'000;
    int64_t retryAtUs = 0;
    std::unique_lock<std::mutex> g(lock_);
    while (!ending_) {
      woken_ = false;
      // Whether the quick output opens or closes is settled under the lock, so
      // that a sound played while it closes asks for it again.
      const bool openQuick = quick_ && std::exchange(quickWanted_, false) && !quickOpen_;
      bool closeQuick = false;
      int64_t closeAtUs = INT64_MAX;
      if (quick_ && quickOpen_) {
        const int64_t quietSince = quick_->mixer().QuietSinceUs();
        if (quick_->mixer().HoldIfQuiet(kSoundOutputQuietCloseUs, NowUs())) {
          closeQuick = true;
          quickOpen_ = false;
        } else {
          closeAtUs = (quietSince < 0 ? NowUs() : quietSince) + kSoundOutputQuietCloseUs;
        }
      }
      g.unlock();
      bool changed = openQuick || closeQuick;
      for (SdlOutput* output : Outputs()) {
        if (!output->TakeLost()) continue;
        SayOnce(lostSaid_, "The sound output was lost: the program goes on without sound and opens it again as "
                           "soon as it can.\n");
        output->PlayUnheard();
        changed = true;
        retryAtUs = NowUs() + kRetryUs;
      }
      bool unheard = false;
      if (NowUs() >= retryAtUs) {
        for (SdlOutput* output : Outputs()) {
          if (output->Unheard() && output != quick_) {
            Reopen(*output);
            changed = true;
          }
        }
        if (quick_ && quick_->Unheard() && !closeQuick) {
          Reopen(*quick_);
          changed = true;
        }
        retryAtUs = NowUs() + kRetryUs;
      }
      if (openQuick) Reopen(*quick_);
      if (closeQuick) quick_->Close();
      if (changed && quick_) UpdateServerLatencies();
      for (SdlOutput* output : Outputs()) unheard = unheard || output->Unheard();
      g.lock();
      if (openQuick) quickOpen_ = true;
      quickOnDevice_ = quick_ && quick_->OnDevice();
      // Anything that changed is looked at again at once (when to close, what to retry).
      if (changed || woken_ || quickWanted_) continue;
      // Sleeps until the next retry or close; with every output on its device
      // and nothing to close, until woken.
      const int64_t untilUs = std::min(closeAtUs, unheard ? retryAtUs : INT64_MAX);
      if (untilUs == INT64_MAX) wake_.wait(g);
      else wake_.wait_for(g, std::chrono::microseconds(std::max<int64_t>(0, untilUs - NowUs())));
    }
  }

  // Says `line` on standard error the first time only, for the whole program.
  static void SayOnce(std::atomic<bool>& said, const char* line, const char* detail = nullptr) {
    if (said.exchange(true)) return;
    if (detail) std::fprintf(stderr, line, detail);
    else std::fprintf(stderr, "%s", line);
  }

  std::vector<SdlOutput*> lasting_;
  SdlOutput* quick_;
  int quickBlockFrames_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool ending_ = false;
  bool woken_ = false;
  bool quickWanted_ = false;
  bool quickOpen_ = false;
  bool quickOnDevice_ = false;
  std::thread thread_;
  // What was said on standard error, each once in a program's life.
  static inline std::atomic<bool> lostSaid_{false};
  static inline std::atomic<bool> backSaid_{false};
  static inline std::atomic<bool> openFailSaid_{false};
};

class SdlStream : public AudioStream {
 public:
  SdlStream(std::unique_ptr<MixerVoice> voice, int rate, int64_t lengthMs, std::weak_ptr<OutputKeeper> quick)
      : voice_(std::move(voice)), rate_(rate), length_(lengthMs), quick_(std::move(quick)) {}

  void Play() override {
    voice_->Play();
    if (auto keeper = quick_.lock()) keeper->RequestQuickOpen();
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
  std::weak_ptr<OutputKeeper> quick_;  // the keeper that opens the output this plays on, if it opens on Play
};

class SdlAudioDevice : public AudioDevice {
 public:
  explicit SdlAudioDevice(const SdlAudioOptions& options) : options_(options) {}
  ~SdlAudioDevice() override {
    // The callbacks stop before the mixers go, and the keeper before the outputs.
    keeper_.reset();
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
    sound_ = std::make_unique<SdlOutput>(kind_, kSharedBlockFrames);
    if (sound_->OpenDevice(kRate)) {
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
      music_ = std::make_unique<SdlOutput>(kind_, kLongBlockFrames);
      if (!music_->OpenDevice(kRate)) {
        music_.reset();
        return Failed();
      }
      // The server asks for a stream's first blocks, and for more after it fell
      // behind, all at once: they queue behind one another.
      music_->mixer().SetServerStream(true);
      if (options_.quickBlockFrames > 0) {
        sound_ = std::make_unique<SdlOutput>(kind_, options_.quickBlockFrames, music_->mixer().SampleRate());
        sound_->mixer().SetServerStream(true);
      }
      keeper_ = std::make_shared<OutputKeeper>(std::vector<SdlOutput*>{music_.get()}, sound_.get(),
                                               options_.quickBlockFrames);
      if (!sound_) {
        const int rate = music_->mixer().SampleRate();
        music_->mixer().SetLatencyFrames(
            ServerLatencyFrames(kLongBlockFrames, ServerSinkFrames(kLongBlockFrames, rate), rate));
      }
      music_->Start();
      return true;
    }
    const bool file = kind_ == OutputKind::File;
    sound_ = std::make_unique<SdlOutput>(kind_, file ? kSharedBlockFrames : kSoundBlockFrames);
    if (!sound_->OpenDevice(kRate)) {
      sound_.reset();
      return Failed();
    }
    if (file) {
      Start(*sound_);
      return true;
    }
    music_ = std::make_unique<SdlOutput>(kind_, kMusicBlockFrames);
    if (music_->OpenDevice(sound_->mixer().SampleRate())) {
      Start(*sound_);
      Start(*music_);
      KeepOpen({sound_.get(), music_.get()});
      return true;
    }
    music_.reset();
    // The songs will play on the sound output: it opens again, nothing playing
    // yet, with the longer block (or the short one again should that fail).
    sound_->Close();
    sound_ = std::make_unique<SdlOutput>(kind_, kSharedBlockFrames);
    if (!sound_->OpenDevice(kRate)) {
      sound_ = std::make_unique<SdlOutput>(kind_, kSoundBlockFrames);
      if (!sound_->OpenDevice(kRate)) {
        sound_.reset();
        return Failed();
      }
    }
    Start(*sound_);
    KeepOpen({sound_.get()});
    return true;
  }

  // What the driver said when no output would open.
  const std::string& Failure() const { return failure_; }

  std::unique_ptr<AudioStream> OpenWave(std::shared_ptr<const WaveData> wave, bool quickStart) override {
    int64_t lengthMs = wave->durationMs();
    // On a sound server a long play goes to the long output, which is always open.
    const bool longPlay = OnServer() && (!quickStart || !sound_);
    return Open(longPlay ? music_->mixer() : sound_->mixer(), std::make_unique<WaveSource>(std::move(wave), Rate()),
                lengthMs, OnServer() && !longPlay ? keeper_ : nullptr);
  }

  std::unique_ptr<AudioStream> OpenMidi(std::shared_ptr<const MidiSong> song, const std::string& soundFontPath) override {
    Mixer& mixer = music_ ? music_->mixer() : sound_->mixer();
    int64_t lengthMs = song->lengthUs / 1000;
    return Open(mixer, std::make_unique<MidiSynthSource>(std::move(song), soundFontPath, mixer.SampleRate()),
                lengthMs);
  }

  int Rate() { return SoundOutput().mixer().SampleRate(); }
  int BlockFrames() const { return sound_ ? sound_->BlockFrames() : music_->BlockFrames(); }
  // The output the MIDI songs play on, when it is not the sound output.
  bool MusicFormat(int& rate, int& blockFrames) const {
    if (!music_) return false;
    rate = music_->mixer().SampleRate();
    blockFrames = music_->BlockFrames();
    return true;
  }
  bool SoundOutputOpen() const { return OnServer() ? keeper_->QuickOpenOnDevice() : sound_ != nullptr; }

 private:
  bool OnServer() const { return kind_ == OutputKind::SoundServer; }
  SdlOutput& SoundOutput() { return sound_ ? *sound_ : *music_; }

  // Starts an output that stays open, its heard position taking off what its
  // driver buffers.
  void Start(SdlOutput& output) {
    output.mixer().SetLatencyFrames(OutputLatencyFrames(kind_, output.BlockFrames()));
    output.Start();
  }

  // A card's or JACK's outputs stay open, and open again should their device be lost.
  void KeepOpen(std::vector<SdlOutput*> outputs) {
    if (kind_ == OutputKind::Card || kind_ == OutputKind::Jack)
      keeper_ = std::make_shared<OutputKeeper>(std::move(outputs), nullptr, 0);
  }

  bool Failed() {
    const char* error = SDL_GetError();
    failure_ = error && *error ? error : "no reason given";
    return false;
  }

  static std::unique_ptr<AudioStream> Open(Mixer& mixer, std::unique_ptr<SampleSource> source, int64_t lengthMs,
                                           std::weak_ptr<OutputKeeper> quick = {}) {
    return std::make_unique<SdlStream>(mixer.Add(std::move(source)), mixer.SampleRate(), lengthMs, std::move(quick));
  }

  SdlAudioOptions options_;
  bool subsystem_ = false;
  bool silent_ = false;  // on the null driver, started when nothing else opened
  OutputKind kind_ = OutputKind::Card;
  std::string failure_;
  // sound_ plays the sounds and music_ the songs, where a second output opens.
  // On a sound server music_ is the long output and sound_ the output for
  // quick sounds, which the keeper opens when a sound wants it.
  std::unique_ptr<SdlOutput> sound_;
  std::unique_ptr<SdlOutput> music_;
  std::shared_ptr<OutputKeeper> keeper_;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice(const SdlAudioOptions& options) {
  auto device = std::make_unique<SdlAudioDevice>(options);
  if (device->OpenOutputs()) return device;
  const std::string failure = device->Failure();
  device.reset();
  device = std::make_unique<SdlAudioDevice>(options);
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
