#include "platform/backend/sdl/screen_scale.h"

#include <algorithm>
#include <cstring>

namespace tlb {

void EnlargePixels(const uint8_t* src, int srcPitch, int width, int height, int bytesPerPixel, int s, uint8_t* dst,
                   int dstPitch) {
  if (width <= 0 || height <= 0 || s < 1) return;
  const size_t rowBytes = size_t(width) * size_t(s) * size_t(bytesPerPixel);
  if (s == 1) {
    // Unenlarged: each row is one copy.
    for (int y = 0; y < height; ++y)
      std::memcpy(dst + size_t(y) * size_t(dstPitch), src + size_t(y) * size_t(srcPitch), rowBytes);
    return;
  }
  for (int y = 0; y < height; ++y, src += srcPitch) {
    uint8_t* first = dst + size_t(y) * size_t(s) * size_t(dstPitch);
    if (bytesPerPixel == 4) {
      // The screen's own case: a pixel is one 32-bit word.
      uint8_t* d = first;
      for (int x = 0; x < width; ++x) {
        uint32_t v;
        std::memcpy(&v, src + size_t(x) * 4, 4);
        for (int k = 0; k < s; ++k, d += 4) std::memcpy(d, &v, 4);
      }
    } else {
      uint8_t* d = first;
      for (int x = 0; x < width; ++x)
        for (int k = 0; k < s; ++k, d += bytesPerPixel) std::memcpy(d, src + size_t(x) * bytesPerPixel, bytesPerPixel);
    }
    // The other rows of the square are copies of the first.
    for (int k = 1; k < s; ++k) std::memcpy(first + size_t(k) * size_t(dstPitch), first, rowBytes);
  }
}

Point EnlargedScreenOffset(Size window, Size screen, int s) {
  auto half = [](int strip) { return std::max(0, strip) / 2; };
  return {half(window.cx - screen.cx * s), half(window.cy - screen.cy * s)};
}

Dib WindowPicture(const Dib& screen, Size window, int s) {
  Dib picture(window.cx, window.cy, 32);
  picture.fill(0);
  const Point at = EnlargedScreenOffset(window, {screen.width(), screen.height()}, s);
  // Only whole enlarged pixels that fit the window are drawn.
  const int w = std::min(screen.width(), (window.cx - at.x) / s);
  const int h = std::min(screen.height(), (window.cy - at.y) / s);
  if (w > 0 && h > 0)
    EnlargePixels(screen.row(0), screen.stride(), w, h, 4, s, picture.row(at.y) + size_t(at.x) * 4, picture.stride());
  return picture;
}

CursorImage EnlargeCursor(const CursorImage& cursor, int s) {
  CursorImage big;
  big.width = cursor.width * s;
  big.height = cursor.height * s;
  big.hotX = cursor.hotX * s;
  big.hotY = cursor.hotY * s;
  big.argb.resize(size_t(big.width) * size_t(big.height));
  if (cursor.width > 0 && cursor.height > 0 && cursor.argb.size() == size_t(cursor.width) * size_t(cursor.height))
    EnlargePixels(reinterpret_cast<const uint8_t*>(cursor.argb.data()), cursor.width * 4, cursor.width, cursor.height,
                  4, s, reinterpret_cast<uint8_t*>(big.argb.data()), big.width * 4);
  return big;
}

}  // namespace tlb
