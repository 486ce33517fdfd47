#include "midi_render.h"

#include <fluidsynth.h>

#include "platform/media/sound_font.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace gen {

namespace {

const char* kInstallHint = "install the Debian package timgm6mb-soundfont (apt-get install timgm6mb-soundfont)";

// The library keeps global state while it makes its first synthesiser and
// its log settings are global: set both up once, under a lock.
std::mutex& libraryLock() {
  static std::mutex mu;
  return mu;
}

void silenceLibrary() {
  static const bool done = [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
    return true;
  }();
  (void)done;
}

struct Synth {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  ~Synth() {
    if (player) delete_fluid_player(player);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

}  // namespace

Audio renderMidi(const std::vector<uint8_t>& midi, double tail, const std::string& forFile) {
  const std::string font = tlb::FindSoundFont();
  if (font.empty()) throw std::runtime_error(forFile + ": no General MIDI soundfont: " + kInstallHint);
  Synth s;
  {
    std::lock_guard<std::mutex> lock(libraryLock());
    silenceLibrary();
    s.settings = new_fluid_settings();
    if (!s.settings) throw std::runtime_error(forFile + ": FluidSynth cannot be started");
    fluid_settings_setnum(s.settings, "synth.sample-rate", double(kSampleRate));
    fluid_settings_setnum(s.settings, "synth.gain", 0.5);
    fluid_settings_setint(s.settings, "synth.polyphony", 96);
    fluid_settings_setint(s.settings, "synth.chorus.active", 0);
    fluid_settings_setint(s.settings, "synth.cpu-cores", 1);
    // The player follows the samples rendered, not the wall clock.
    fluid_settings_setstr(s.settings, "player.timing-source", "sample");
    s.synth = new_fluid_synth(s.settings);
    if (!s.synth) throw std::runtime_error(forFile + ": FluidSynth cannot be started");
  }
  if (fluid_synth_sfload(s.synth, font.c_str(), 1) == FLUID_FAILED)
    throw std::runtime_error(forFile + ": the soundfont " + font + " cannot be loaded");
  s.player = new_fluid_player(s.synth);
  if (!s.player || fluid_player_add_mem(s.player, midi.data(), midi.size()) != FLUID_OK ||
      fluid_player_play(s.player) != FLUID_OK)
    throw std::runtime_error(forFile + ": FluidSynth does not play its MIDI data");

  // Small blocks: the player looks at its events once per block, so a block
  // of 64 frames keeps every note within 3 ms of its time.
  constexpr int kBlock = 64;
  float left[kBlock], right[kBlock];
  Audio out;
  auto render = [&] {
    fluid_synth_write_float(s.synth, kBlock, left, 0, 1, right, 0, 1);
    for (int i = 0; i < kBlock; ++i) out.s.push_back(0.5f * (left[i] + right[i]));
  };
  // A runaway file cannot keep the generator busy: ten minutes at most.
  const size_t limit = size_t(600.0 * kSampleRate);
  while (fluid_player_get_status(s.player) == FLUID_PLAYER_PLAYING && out.s.size() < limit) render();
  const size_t end = out.s.size() + size_t(tail * kSampleRate);
  while (out.s.size() < end) render();
  out.s.resize(end);
  return out;
}

}  // namespace gen
