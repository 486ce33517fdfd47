#pragma once
// Rubber Band's pitch shifter and time stretcher, with the voice's formants
// kept where they are, so a shifted voice still sounds like a voice.
#include <cstddef>
#include <map>

#include "audio.h"

namespace gen {

// The sound at `pitchScale` times its pitch and `timeRatio` times its length.
// `keyFrames` (input sample -> output sample) shares the stretch out unevenly:
// between two key frames the sound is stretched to fit.
Audio stretched(const Audio& a, double pitchScale, double timeRatio,
                const std::map<size_t, size_t>& keyFrames = {});

}  // namespace gen
