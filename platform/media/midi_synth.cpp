#include "platform/media/midi_synth.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "platform/core/exceptions.h"

#if __has_include(<fluidsynth.h>)
#include <fluidsynth.h>
#include <soxr.h>
#define TLB_HAVE_FLUIDSYNTH 1
#endif

namespace tlb {

namespace {
// Frames rendered per synthesiser call at most; events fall due at these steps or sooner.
constexpr int kChunk = 1024;
// Wide arithmetic: a song's times can be large enough to overflow 64 bits when scaled.
int64_t UsToFrames(int64_t us, int rate) { return int64_t(__int128(us) * rate / 1000000); }
}  // namespace

#ifdef TLB_HAVE_FLUIDSYNTH

struct MidiSynthSource::Synth {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  soxr_t converter = nullptr;  // from the synthesiser's rate to the mixer's; null when they are equal
  float left[kChunk];
  float right[kChunk];
  // Synthesised frames (interleaved) not yet taken by the converter.
  float feed[kChunk * 2];
  int feedStart = 0, feedEnd = 0;
  bool draining = false;  // the song is all synthesised; the converter empties its filter
  std::vector<float> converted;  // one block at the mixer's rate
  ~Synth() {
    if (converter) soxr_delete(converter);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

int MidiSynthSource::SynthRate(int mixerRate) { return mixerRate >= 44100 ? mixerRate / 2 : mixerRate; }

namespace {

// The presets a song selects (bank, program), with the piano and the drum kit
// that every channel starts with.
std::set<std::pair<int, int>> PresetsUsed(const MidiSong& song) {
  std::set<std::pair<int, int>> used{{0, 0}, {128, 0}};
  int bank[16] = {};
  bank[9] = 128;  // the percussion channel
  for (const MidiEvent& e : song.events) {
    int ch = e.status & 0x0F;
    if ((e.status & 0xF0) == 0xB0 && e.data1 == 0 && ch != 9) bank[ch] = e.data2;
    if ((e.status & 0xF0) == 0xC0) used.insert({bank[ch], e.data1});
  }
  return used;
}

}  // namespace

MidiSynthSource::MidiSynthSource(std::shared_ptr<const MidiSong> song, const std::string& soundFontPath, int sampleRate)
    : song_(std::move(song)), synth_(std::make_unique<Synth>()), rate_(sampleRate), synthRate_(SynthRate(sampleRate)) {
  static const bool quiet = [] {
    // The library would write its errors, warnings and notes to the program's stderr;
    // a failure reaches the program as an exception instead.
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    return true;
  }();
  (void)quiet;
  synth_->settings = new_fluid_settings();
  if (!synth_->settings) throw EMCIDeviceError("The MIDI synthesizer cannot be started");
  fluid_settings_setnum(synth_->settings, "synth.sample-rate", double(synthRate_));
  fluid_settings_setnum(synth_->settings, "synth.gain", 0.5);
  // Children's songs sound a dozen notes at once at most.
  fluid_settings_setint(synth_->settings, "synth.polyphony", 64);
  fluid_settings_setint(synth_->settings, "synth.chorus.active", 0);
  fluid_settings_setint(synth_->settings, "synth.reverb.active", 0);
  // Only the samples of the instruments in use are held in memory (see the pins below).
  fluid_settings_setint(synth_->settings, "synth.dynamic-sample-loading", 1);
  // Every call comes under the mixer's lock, so the library's own locking is not needed.
  fluid_settings_setint(synth_->settings, "synth.threadsafe-api", 0);
  synth_->synth = new_fluid_synth(synth_->settings);
  if (!synth_->synth) throw EMCIDeviceError("The MIDI synthesizer cannot be started");
  int font = fluid_synth_sfload(synth_->synth, soundFontPath.c_str(), 1);
  if (font == FLUID_FAILED) throw EMCIDeviceError("The MIDI soundfont cannot be loaded");
  // The song's instruments are loaded now, on the caller's thread, rather than
  // from the audio thread when the song selects them. One the soundfont lacks is
  // simply not pinned.
  for (auto [bank, program] : PresetsUsed(*song_)) fluid_synth_pin_preset(synth_->synth, font, bank, program);
  length_ = UsToFrames(song_->lengthUs, rate_);
  synthLength_ = UsToFrames(song_->lengthUs, synthRate_);
  if (synthRate_ != rate_) {
    soxr_error_t error = nullptr;
    soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_MQ, 0);
    soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    synth_->converter = soxr_create(double(synthRate_), double(rate_), 2, &error, &io, &quality, &runtime);
    if (error || !synth_->converter) throw EMCIDeviceError("The MIDI synthesizer cannot be started");
    synth_->converted.resize(size_t(kChunk) * 2);
  }
}

MidiSynthSource::~MidiSynthSource() = default;

void MidiSynthSource::Send(const MidiEvent& e) {
  fluid_synth_t* s = synth_->synth;
  int ch = e.status & 0x0F;
  switch (e.status & 0xF0) {
    case 0x80: fluid_synth_noteoff(s, ch, e.data1); break;
    case 0x90: fluid_synth_noteon(s, ch, e.data1, e.data2); break;
    case 0xA0: fluid_synth_key_pressure(s, ch, e.data1, e.data2); break;
    case 0xB0: fluid_synth_cc(s, ch, e.data1, e.data2); break;
    case 0xC0: fluid_synth_program_change(s, ch, e.data1); break;
    case 0xD0: fluid_synth_channel_pressure(s, ch, e.data1); break;
    case 0xE0: fluid_synth_pitch_bend(s, ch, e.data1 | (e.data2 << 7)); break;
  }
}

int MidiSynthSource::Synthesise(float* out, int frames) {
  int n = int(std::clamp<int64_t>(synthLength_ - synthFrame_, 0, frames));
  const auto& events = song_->events;
  int done = 0;
  while (done < n) {
    while (next_ < events.size() && EventFrame(next_) <= synthFrame_) Send(events[next_++]);
    int chunk = std::min(n - done, kChunk);
    if (next_ < events.size()) chunk = int(std::clamp<int64_t>(EventFrame(next_) - synthFrame_, 1, chunk));
    fluid_synth_write_float(synth_->synth, chunk, synth_->left, 0, 1, synth_->right, 0, 1);
    float* o = out + size_t(done) * 2;
    for (int i = 0; i < chunk; ++i) {
      o[2 * i] = synth_->left[i];
      o[2 * i + 1] = synth_->right[i];
    }
    synthFrame_ += chunk;
    done += chunk;
  }
  return n;
}

int MidiSynthSource::Render(float* out, int frames) {
  int n = int(std::clamp<int64_t>(length_ - frame_, 0, frames));
  Synth& s = *synth_;
  int done = 0;
  while (done < n) {
    int want = std::min(n - done, kChunk);
    float* block = s.converter ? s.converted.data() : s.feed;
    int made = 0;
    if (!s.converter) {
      made = Synthesise(block, want);
      if (made == 0) {  // the song's end at the synthesiser's rate came a frame early
        std::fill(block, block + size_t(want) * 2, 0.0f);
        made = want;
      }
    } else {
      if (s.feedStart == s.feedEnd && !s.draining) {
        // Enough for the frames wanted, and a little over for the filter.
        int fresh = Synthesise(s.feed, kChunk);
        s.feedStart = 0;
        s.feedEnd = fresh;
        if (fresh == 0) s.draining = true;
      }
      size_t used = 0, got = 0;
      if (!s.draining) {
        soxr_process(s.converter, s.feed + size_t(s.feedStart) * 2, size_t(s.feedEnd - s.feedStart), &used, block,
                     size_t(want), &got);
        s.feedStart += int(used);
        // A converter that neither takes nor gives is emptied rather than asked forever.
        if (used == 0 && got == 0) s.draining = true;
      } else {
        soxr_process(s.converter, nullptr, 0, nullptr, block, size_t(want), &got);
        if (got == 0) {  // the filter is empty: the rest of the length is silence
          std::fill(block, block + size_t(want) * 2, 0.0f);
          got = size_t(want);
        }
      }
      made = int(got);
    }
    float* o = out + size_t(done) * 2;
    for (int i = 0; i < made * 2; ++i) o[i] += block[i];
    done += made;
  }
  frame_ += n;
  return n;
}

void MidiSynthSource::Seek(int64_t frame) {
  frame_ = std::clamp<int64_t>(frame, 0, length_);
  synthFrame_ = std::min(synthLength_, frame_ * synthRate_ / rate_);
  fluid_synth_all_sounds_off(synth_->synth, -1);
  fluid_synth_system_reset(synth_->synth);
  const auto& events = song_->events;
  next_ = 0;
  for (; next_ < events.size() && EventFrame(next_) < synthFrame_; ++next_) {
    uint8_t type = events[next_].status & 0xF0;
    if (type == 0xB0 || type == 0xC0 || type == 0xE0) Send(events[next_]);
  }
  if (synth_->converter) soxr_clear(synth_->converter);
  synth_->feedStart = synth_->feedEnd = 0;
  synth_->draining = false;
}

void MidiSynthSource::Stopped() { fluid_synth_all_sounds_off(synth_->synth, -1); }

#else  // no FluidSynth in this build: MIDI cannot be opened

struct MidiSynthSource::Synth {};

int MidiSynthSource::SynthRate(int mixerRate) { return mixerRate; }

MidiSynthSource::MidiSynthSource(std::shared_ptr<const MidiSong> song, const std::string&, int sampleRate)
    : song_(std::move(song)), rate_(sampleRate), synthRate_(sampleRate) {
  throw EMCIDeviceError("The MIDI synthesizer is not available");
}
MidiSynthSource::~MidiSynthSource() = default;
void MidiSynthSource::Send(const MidiEvent&) {}
int MidiSynthSource::Synthesise(float*, int) { return 0; }
int MidiSynthSource::Render(float*, int) { return 0; }
void MidiSynthSource::Seek(int64_t) {}
void MidiSynthSource::Stopped() {}

#endif

int64_t MidiSynthSource::EventFrame(size_t index) const { return UsToFrames(song_->events[index].timeUs, synthRate_); }

}  // namespace tlb
