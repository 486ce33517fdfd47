#include "platform/media/midi_synth.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/core/exceptions.h"

#if __has_include(<fluidsynth.h>)
#include <fluidsynth.h>
#define TLB_HAVE_FLUIDSYNTH 1
#endif

namespace tlb {

std::string FindSoundFont() {
  std::error_code ec;
  if (const char* forced = std::getenv("TULIMBO_SOUNDFONT"); forced && *forced)
    return std::filesystem::is_regular_file(forced, ec) ? std::string(forced) : std::string();
  for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                           "/usr/share/sounds/sf2/default-GM.sf2"})
    if (std::filesystem::is_regular_file(path, ec)) return path;
  return {};
}

namespace {
// Frames rendered per synthesiser call at most; events fall due at these steps or sooner.
constexpr int kChunk = 256;
// Wide arithmetic: a song's times can be large enough to overflow 64 bits when scaled.
int64_t UsToFrames(int64_t us, int rate) { return int64_t(__int128(us) * rate / 1000000); }
}  // namespace

#ifdef TLB_HAVE_FLUIDSYNTH

struct MidiSynthSource::Synth {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  float left[kChunk];
  float right[kChunk];
  ~Synth() {
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

MidiSynthSource::MidiSynthSource(std::shared_ptr<const MidiSong> song, const std::string& soundFontPath, int sampleRate)
    : song_(std::move(song)), synth_(std::make_unique<Synth>()), rate_(sampleRate) {
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
  fluid_settings_setnum(synth_->settings, "synth.sample-rate", double(sampleRate));
  fluid_settings_setnum(synth_->settings, "synth.gain", 0.5);
  fluid_settings_setint(synth_->settings, "synth.polyphony", 96);
  fluid_settings_setint(synth_->settings, "synth.chorus.active", 0);
  // Every call comes under the mixer's lock, so the library's own locking is not needed.
  fluid_settings_setint(synth_->settings, "synth.threadsafe-api", 0);
  synth_->synth = new_fluid_synth(synth_->settings);
  if (!synth_->synth) throw EMCIDeviceError("The MIDI synthesizer cannot be started");
  if (fluid_synth_sfload(synth_->synth, soundFontPath.c_str(), 1) == FLUID_FAILED)
    throw EMCIDeviceError("The MIDI soundfont cannot be loaded");
  length_ = UsToFrames(song_->lengthUs, rate_);
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

int MidiSynthSource::Render(float* out, int frames) {
  int n = int(std::clamp<int64_t>(length_ - frame_, 0, frames));
  const auto& events = song_->events;
  int done = 0;
  while (done < n) {
    while (next_ < events.size() && EventFrame(next_) <= frame_) Send(events[next_++]);
    int chunk = std::min(n - done, kChunk);
    if (next_ < events.size()) chunk = int(std::clamp<int64_t>(EventFrame(next_) - frame_, 1, chunk));
    fluid_synth_write_float(synth_->synth, chunk, synth_->left, 0, 1, synth_->right, 0, 1);
    float* o = out + size_t(done) * 2;
    for (int i = 0; i < chunk; ++i) {
      o[2 * i] += synth_->left[i];
      o[2 * i + 1] += synth_->right[i];
    }
    frame_ += chunk;
    done += chunk;
  }
  return n;
}

void MidiSynthSource::Seek(int64_t frame) {
  frame_ = std::clamp<int64_t>(frame, 0, length_);
  fluid_synth_all_sounds_off(synth_->synth, -1);
  fluid_synth_system_reset(synth_->synth);
  const auto& events = song_->events;
  next_ = 0;
  for (; next_ < events.size() && EventFrame(next_) < frame_; ++next_) {
    uint8_t type = events[next_].status & 0xF0;
    if (type == 0xB0 || type == 0xC0 || type == 0xE0) Send(events[next_]);
  }
}

void MidiSynthSource::Stopped() { fluid_synth_all_sounds_off(synth_->synth, -1); }

#else  // no FluidSynth in this build: MIDI cannot be opened

struct MidiSynthSource::Synth {};

MidiSynthSource::MidiSynthSource(std::shared_ptr<const MidiSong> song, const std::string&, int sampleRate)
    : song_(std::move(song)), rate_(sampleRate) {
  throw EMCIDeviceError("The MIDI synthesizer is not available");
}
MidiSynthSource::~MidiSynthSource() = default;
void MidiSynthSource::Send(const MidiEvent&) {}
int MidiSynthSource::Render(float*, int) { return 0; }
void MidiSynthSource::Seek(int64_t) {}
void MidiSynthSource::Stopped() {}

#endif

int64_t MidiSynthSource::EventFrame(size_t index) const { return UsToFrames(song_->events[index].timeUs, rate_); }

}  // namespace tlb
