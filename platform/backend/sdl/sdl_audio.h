#pragma once
// The SDL audio outputs behind the mixers: one for sounds, one for music.
#include <cstdint>
#include <memory>

#include "platform/media/audio_device.h"

namespace tlb {

// On a sound server, the block of the output for the sounds that answer a
// child at once: 4096 frames (93 ms). A sound that starts on the quiet output
// is heard within a few milliseconds whatever the block; the block is what the
// stream holds in reserve, and with shorter ones the server inserted silence
// into names and clicks whenever the program's thread was late (measured with
// bench_quick_sounds, every core busy). A sound that replaces one still
// playing waits behind what is queued, up to a block.
inline constexpr int kQuickBlockFrames = 4096;

struct SdlAudioOptions {
  // The quick output's block on a sound server. Other sizes are for measuring;
  // 0 plays every sound on the long output, for the same.
  int quickBlockFrames = kQuickBlockFrames;
};

// Opens the default audio device. When none can be opened, opens a silent
// output that keeps real time instead (saying so once on standard error), so
// that media players still play; nullptr only when that fails too.
std::unique_ptr<AudioDevice> CreateSdlAudioDevice(const SdlAudioOptions& options = {});

// The output's rate and block size in frames, for measurements; false for a
// device that is not this one.
bool SdlAudioFormat(AudioDevice* device, int& rate, int& blockFrames);
// The same for the output the MIDI songs play on; false when they play on the
// sound output above (or the device is not this one).
bool SdlMusicFormat(AudioDevice* device, int& rate, int& blockFrames);

// On a sound server the output for sounds that must start at once opens when
// such a sound plays and closes after this long with nothing on it.
inline constexpr int64_t kSoundOutputQuietCloseUs = 3'000'000;
// True while that output is open (on other outputs it is always open); false
// for a device that is not this one.
bool SdlSoundOutputOpen(AudioDevice* device);

}  // namespace tlb
