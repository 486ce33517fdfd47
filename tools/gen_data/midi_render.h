#pragma once
// Standard MIDI files played through FluidSynth and the General MIDI
// soundfont the programs use, into a sample buffer. The player runs on the
// synthesiser's own sample clock, so the same file always gives the same
// samples, whatever else the machine is doing.
#include <cstdint>
#include <string>
#include <vector>

#include "audio.h"

namespace gen {

// Plays the file from its start to its last event and `tail` seconds more, at
// the data set's rate; mono. Throws std::runtime_error naming `forFile` when
// the synthesiser or the soundfont cannot be had.
Audio renderMidi(const std::vector<uint8_t>& midi, double tail, const std::string& forFile);

}  // namespace gen
