#pragma once
// The pitch of a voice, found with aubio's YIN tracker.
#include <utility>

#include "audio.h"

namespace gen {

// The median of the confidently voiced frames' pitch, in Hz; 0 when fewer
// than three frames are voiced (a whisper, a lone consonant).
double medianPitch(const Audio& a);

// The samples [first, last) from the first to the last confidently voiced
// frame; {0, 0} when none is.
std::pair<size_t, size_t> voicedSpan(const Audio& a);

}  // namespace gen
