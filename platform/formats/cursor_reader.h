#pragma once
// Reader of Windows cursor (.CUR) and icon (.ICO) files.
//
// Both files are a directory of pictures. Each picture is a packed DIB whose
// header height is twice the picture's: the colour (XOR) picture, then a
// 1-bit AND mask in which 1 marks a transparent pixel. The reader takes the
// largest picture (the first of equal ones) and turns it into ARGB pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tlb {

struct CursorImage {
  int width = 0, height = 0;
  int hotX = 0, hotY = 0;      // from a cursor's directory; the centre for an icon
  std::vector<uint32_t> argb;  // 0xAARRGGBB, top-down rows; AND mask 1 => 0x00000000
};

// 32-bit pictures with any non-zero alpha byte take their transparency from it
// and not from the mask. PNG-compressed pictures and anything malformed throw
// EInvalidGraphic "Icon image is not valid".
CursorImage ReadCursor(const uint8_t* data, size_t size);

}  // namespace tlb
