#pragma once
// Reduction of true-colour pictures to an indexed palette of at most 256
// entries (median cut over the colour histogram, deterministic).
//
// Reserved colours get their own entries first and are used only by pixels of
// exactly that colour, so a transparent key or the white and grey of a
// disabled glyph cell never appears where the picture did not have it.
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace gen {

struct Indexed {
  int width = 0, height = 0;
  std::vector<Rgb> palette;       // at most 256 entries
  std::vector<uint8_t> indices;   // top-down rows
};

class PaletteBuilder {
 public:
  explicit PaletteBuilder(std::vector<Rgb> reserved = {}, int maxColours = 256);
  void add(const Canvas& c);            // adds the picture's colours to the histogram
  std::vector<Rgb> build() const;       // reserved entries first
 private:
  std::vector<Rgb> reserved_;
  int max_;
  std::vector<std::pair<uint32_t, uint32_t>> hist_;  // (colour, count), merged lazily
  mutable bool merged_ = true;
};

// Maps a picture onto a palette. Entries [0, reservedCount) take only exact matches.
Indexed toIndexed(const Canvas& c, const std::vector<Rgb>& palette, int reservedCount);

// One picture, its own palette.
Indexed quantize(const Canvas& c, const std::vector<Rgb>& reserved = {}, int maxColours = 256);

}  // namespace gen
