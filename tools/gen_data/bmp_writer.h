#pragma once
// Windows bitmap files: 8-bit and 4-bit with a palette, and 24-bit.
// Rows are stored bottom-up and padded to 4 bytes, as the format wants.
#include <cstdint>
#include <vector>

#include "canvas.h"
#include "palette.h"

namespace gen {

// BITMAPINFOHEADER (40 bytes) for a picture of the given depth; height is
// stored as given (a cursor's doubled height is passed in by the caller).
void appendInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageSize,
                      uint32_t coloursUsed);

// The pixel rows of an indexed picture, bottom-up, at 8 or 4 bits a pixel.
std::vector<uint8_t> packRows(const Indexed& img, int bits);

// A full .BMP file. The 8-bit form always carries 256 palette entries.
std::vector<uint8_t> bmp8(const Indexed& img);
std::vector<uint8_t> bmp4(const Indexed& img);  // palette of at most 16 entries
std::vector<uint8_t> bmp24(const Canvas& c);

}  // namespace gen
