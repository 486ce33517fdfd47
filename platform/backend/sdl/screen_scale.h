#pragma once
// Enlarging the composed screen and the cursors a whole number of times with
// whole pixels: each pixel becomes a square of s x s copies of itself, so no
// colour changes and nothing blurs.
#include <cstdint>

#include "platform/formats/cursor_reader.h"
#include "platform/graphics/dib.h"

namespace tlb {

// Enlarges `width` x `height` pixels of `bytesPerPixel` (1 to 4) bytes each at
// `src` (rows `srcPitch` bytes apart) `s` times into `dst` (rows `dstPitch`
// bytes apart), which takes width * s x height * s pixels.
void EnlargePixels(const uint8_t* src, int srcPitch, int width, int height, int bytesPerPixel, int s, uint8_t* dst,
                   int dstPitch);

// A 32-bit picture `s` times the size of a 32-bit `screen`.
Dib EnlargeDib(const Dib& screen, int s);

// The cursor `s` times the size, its hot spot on the same pixel of the picture
// (the top left corner of that pixel's square).
CursorImage EnlargeCursor(const CursorImage& cursor, int s);

}  // namespace tlb
