#pragma once
// Rubber Band's pitch shifter and time stretcher, with the voice's formants
// kept where they are, so a shifted voice still sounds like a voice.
#include "audio.h"

namespace gen {

// The sound at `pitchScale` times its pitch and `timeRatio` times its length.
Audio stretched(const Audio& a, double pitchScale, double timeRatio);

}  // namespace gen
