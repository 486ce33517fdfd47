#pragma once
// The SDL audio output behind the mixer.
#include <memory>

#include "platform/media/audio_device.h"

namespace tlb {

// Opens the default audio device; nullptr when none can be opened.
std::unique_ptr<AudioDevice> CreateSdlAudioDevice();

// The output's rate and block size in frames, for measurements; false for a
// device that is not this one.
bool SdlAudioFormat(AudioDevice* device, int& rate, int& blockFrames);

}  // namespace tlb
