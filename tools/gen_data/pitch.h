#pragma once
// The pitch of a voice, found with aubio's YIN tracker.
#include "audio.h"

namespace gen {

// The median of the confidently voiced frames' pitch, in Hz; 0 when fewer
// than three frames are voiced (a whisper, a lone consonant).
double medianPitch(const Audio& a);

}  // namespace gen
