#include "shared/GlyphWorkBitmaps.h"

#include <algorithm>
#include <cstring>

namespace tq {

using namespace tlb;

namespace {
std::vector<RGBQuad> MonoPalette() { return {QuadFromRGB(0x000000), QuadFromRGB(0xFFFFFF)}; }
}  // namespace

void MakeWhiteBitmap(TBitmap& b, int w, int h) {
  Dib d(std::max(w, 0), std::max(h, 0), 32);
  if (!d.empty()) {
    uint32_t* first = reinterpret_cast<uint32_t*>(d.row(0));
    std::fill(first, first + w, 0x00FFFFFFu);
    for (int y = 1; y < h; ++y) std::memcpy(d.row(y), d.row(0), size_t(d.stride()));
  }
  b.SetPixels(std::move(d), pfDevice);
}

void MakeWhiteMono(TBitmap& b, int w, int h) {
  Dib d(std::max(w, 0), std::max(h, 0), 1, MonoPalette());
  std::fill(d.bits().begin(), d.bits().end(), uint8_t(0xFF));
  b.SetPixels(std::move(d), pf1bit);
}

void GrowMono(TBitmap& b, int w, int h) {
  const Dib& old = b.Pixels();
  Dib d(std::max(w, 0), std::max(h, 0), 1, MonoPalette());
  std::fill(d.bits().begin(), d.bits().end(), uint8_t(0xFF));
  if (old.bpp() == 1) {
    int rows = std::min(old.height(), d.height());
    size_t bytes = size_t(std::min(old.stride(), d.stride()));
    for (int y = 0; y < rows; ++y) std::memcpy(d.row(y), old.row(y), bytes);
  } else {
    for (int y = 0; y < std::min(old.height(), h); ++y)
      for (int x = 0; x < std::min(old.width(), w); ++x) d.setRawPixel(x, y, old.pixel(x, y) == 0xFFFFFF ? 1 : 0);
  }
  b.SetPixels(std::move(d), pf1bit);
}

}  // namespace tq
