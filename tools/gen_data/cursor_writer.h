#pragma once
// Cursor (.CUR) and icon (.ICO) files: 16-colour pictures with an AND mask,
// stored as packed DIBs of doubled height behind the usual directory.
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace gen {

// The 16 colours of the standard VGA palette, in their Windows order.
const std::vector<Rgb>& vgaPalette();

struct MaskedPicture {
  Canvas picture;  // pixels of colour `key` are transparent
  Rgb key;
};

// One 32x32 cursor image with its hot spot.
std::vector<uint8_t> curFile(const MaskedPicture& img, int hotX, int hotY);
// An icon with one image per given picture (for example 32x32 and 16x16).
std::vector<uint8_t> icoFile(const std::vector<MaskedPicture>& imgs);

}  // namespace gen
