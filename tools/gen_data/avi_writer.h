#pragma once
// RIFF AVI clips with one video stream of uncompressed 8-bit frames
// (bottom-up rows, one 256-colour palette for the whole clip), an index and
// the frame rate as dwRate/dwScale.
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace gen {

// All frames must have the same size. The palette is built from all frames,
// with `reserved` colours kept exact (a clip's background key, for example).
std::vector<uint8_t> aviClip(const std::vector<Canvas>& frames, uint32_t rate, uint32_t scale,
                             const std::vector<Rgb>& reserved = {});

}  // namespace gen
