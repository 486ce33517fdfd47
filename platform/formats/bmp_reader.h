#pragma once
// Reader of Windows bitmap files and of packed DIBs (a bitmap header, its
// palette and its bits, as cursors, icons and video stream formats store them).
//
// Understood: the 12-byte core header with its 3-byte palette entries, the
// 40-byte info header and its 52, 56, 108 and 124-byte successors; 1, 4, 8,
// 16, 24 and 32 bits a pixel; uncompressed, RLE8, RLE4 and bit-field pixels;
// bottom-up and top-down rows. The result is always a top-down Dib.
//
// Paletted pictures keep their depth and palette. 16-bit pixels stay 16-bit
// when they are 5-5-5; other bit-field layouts become 32-bit. Anything that is
// not a valid bitmap throws EInvalidGraphic "Bitmap image is not valid"; no
// byte outside the given buffer is ever read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/graphics/dib.h"

namespace tlb {

// A whole .BMP file, beginning with the "BM" file header.
Dib ReadBmp(const uint8_t* data, size_t size);

// A packed DIB: the bitmap header, then the bit masks and palette, then the bits.
Dib ReadDibInfo(const uint8_t* data, size_t size);

// Reads a .BMP file from disk. A file that cannot be opened throws
// EFOpenError "Cannot open file \"<path>\"".
Dib LoadBmpFile(const std::string& linuxPath);

// The first picture of a packed DIB whose header height covers `heightDivisor`
// pictures stacked one above the other (2 in icons and cursors: the colour
// picture, then the AND mask). Used by the cursor reader to find the mask.
// A picture wider or taller than `maxSide` (at most 32768) is not valid.
struct PackedDib {
  Dib image;
  size_t bitsEnd = 0;     // offset just past the image's bits, where the next picture starts
  bool bottomUp = true;   // the row order of the bits in the buffer
};
PackedDib ReadPackedDib(const uint8_t* data, size_t size, int heightDivisor = 1, int maxSide = 32768);

}  // namespace tlb
