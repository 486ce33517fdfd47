#pragma once
// A device-independent bitmap in memory: the pixel store beneath every bitmap,
// picture, screen surface and animation frame.
//
// Rows are stored top-down, each padded to a multiple of 4 bytes. Formats of
// 1, 4 and 8 bits index the palette (the high bit or nibble is the left-most
// pixel, as in BMP files); 16-bit pixels are 5-5-5 with blue in the low bits;
// 24-bit pixels are B, G, R bytes; 32-bit pixels are B, G, R, unused.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/color.h"

namespace tlb {

struct RGBQuad {
  uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  bool operator==(const RGBQuad&) const = default;
};

inline RGBQuad QuadFromRGB(COLORREF c) { return {GetBValue(c), GetGValue(c), GetRValue(c), 0}; }
inline COLORREF RGBFromQuad(RGBQuad q) { return RGB(q.red, q.green, q.blue); }

class Dib {
 public:
  Dib() = default;
  // A bitmap of the given size and depth; paletted formats get `palette`
  // (padded with black to 2^bpp entries). Pixels start at index 0 / black.
  Dib(int width, int height, int bpp, std::vector<RGBQuad> palette = {});

  int width() const { return width_; }
  int height() const { return height_; }
  int bpp() const { return bpp_; }
  int stride() const { return stride_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  bool paletted() const { return bpp_ <= 8; }

  uint8_t* row(int y) { return bits_.data() + size_t(y) * size_t(stride_); }
  const uint8_t* row(int y) const { return bits_.data() + size_t(y) * size_t(stride_); }
  std::vector<uint8_t>& bits() { return bits_; }
  const std::vector<uint8_t>& bits() const { return bits_; }
  std::vector<RGBQuad>& palette() { return palette_; }
  const std::vector<RGBQuad>& palette() const { return palette_; }

  // The stored value: a palette index for paletted formats, else the packed pixel.
  uint32_t rawPixel(int x, int y) const;
  void setRawPixel(int x, int y, uint32_t value);

  // The colour of a pixel as RGB (red lowest). Outside the bitmap: CLR_NONE.
  COLORREF pixel(int x, int y) const;
  // Sets a pixel; paletted formats store the nearest palette entry.
  void setPixel(int x, int y, COLORREF color);
  // The palette index nearest to a colour (exact match first, then least squared distance).
  int nearestIndex(COLORREF color) const;
  // The colour that the bitmap can really hold nearest to `color`.
  COLORREF nearestColor(COLORREF color) const;

  void fill(COLORREF color);
  // The same picture converted to another depth (nearest palette colour when going down).
  Dib converted(int bpp, const std::vector<RGBQuad>& palette = {}) const;

  static int StrideFor(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

 private:
  int width_ = 0, height_ = 0, bpp_ = 32, stride_ = 0;
  std::vector<uint8_t> bits_;
  std::vector<RGBQuad> palette_;
};

}  // namespace tlb
