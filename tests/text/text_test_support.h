#pragma once
// Small helpers for the text tests: canvases, ink found by comparing with the
// background, and pixel-exact comparison of two drawings.
#include <algorithm>
#include <cstdint>

#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"

namespace tlb::test {

inline Dib WhiteCanvas(int width, int height, int bpp = 32) {
  Dib d(width, height, bpp);
  d.fill(RGB(255, 255, 255));
  return d;
}

// A background with a different colour in every pixel of a neighbourhood, so
// that any write shows.
inline Dib PatternCanvas(int width, int height) {
  Dib d(width, height, 32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) d.setPixel(x, y, RGB(uint8_t(128 + x * 7), uint8_t(128 + y * 11), uint8_t(x ^ y)));
  return d;
}

struct Ink {
  int count = 0;
  Rect box;  // bounding box of the changed pixels (exclusive right and bottom)
  double centreX() const { return (box.left + box.right - 1) / 2.0; }
  double centreY() const { return (box.top + box.bottom - 1) / 2.0; }
};

// The pixels of `drawn` that differ from `before`.
inline Ink InkBetween(const Dib& before, const Dib& drawn) {
  Ink ink;
  ink.box = {drawn.width(), drawn.height(), -1, -1};
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x)
      if (drawn.pixel(x, y) != before.pixel(x, y)) {
        ++ink.count;
        ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y), std::max(ink.box.right, x + 1),
                   std::max(ink.box.bottom, y + 1)};
      }
  if (ink.count == 0) ink.box = {};
  return ink;
}

inline bool SamePixels(const Dib& a, const Dib& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

}  // namespace tlb::test
