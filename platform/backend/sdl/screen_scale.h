#pragma once
// Enlarging the composed screen and the cursors a whole number of times with
// whole pixels: each pixel becomes a square of s x s copies of itself, so no
// colour changes and nothing blurs.
#include <cstdint>

#include "platform/formats/cursor_reader.h"
#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"

namespace tlb {

// Enlarges `width` x `height` pixels of `bytesPerPixel` (1 to 4) bytes each at
// `src` (rows `srcPitch` bytes apart) `s` times into `dst` (rows `dstPitch`
// bytes apart), which takes width * s x height * s pixels.
void EnlargePixels(const uint8_t* src, int srcPitch, int width, int height, int bytesPerPixel, int s, uint8_t* dst,
                   int dstPitch);

// Where the top left corner of a `screen` enlarged `s` times goes in a `window`
// (both in their own pixels). A window that is not a whole multiple of the scale
// leaves a strip each way; each is split between the two sides, the left and
// the top taking the smaller half, so that the screen sits in the middle. A
// window smaller than the enlarged screen keeps it at its corner.
Point EnlargedScreenOffset(Size window, Size screen, int s);

// What a `window` shows: a 32-bit `screen` enlarged `s` times at EnlargedScreenOffset,
// the strips around it black.
Dib WindowPicture(const Dib& screen, Size window, int s);

// The cursor `s` times the size, its hot spot on the same pixel of the picture
// (the top left corner of that pixel's square).
CursorImage EnlargeCursor(const CursorImage& cursor, int s);

}  // namespace tlb
