#include "platform/graphics/dib.h"

#include <cstring>
#include <limits>

#include "platform/core/exceptions.h"

namespace tlb {

Dib::Dib(int width, int height, int bpp, std::vector<RGBQuad> palette)
    : width_(width), height_(height), bpp_(bpp), palette_(std::move(palette)) {
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw EUnsupported("unsupported bitmap depth");
  if (width < 0 || height < 0 || width > 32768 || height > 32768)
    throw EInvalidGraphic("bitmap size out of range");
  stride_ = StrideFor(width, bpp);
  bits_.assign(size_t(stride_) * size_t(height), 0);
  if (bpp <= 8) palette_.resize(size_t(1) << bpp);
  else palette_.clear();
}

uint32_t Dib::rawPixel(int x, int y) const {
  const uint8_t* r = row(y);
  switch (bpp_) {
    case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (r[x >> 1] & 0x0F) : (r[x >> 1] >> 4);
    case 8: return r[x];
    case 16: return uint32_t(r[x * 2]) | (uint32_t(r[x * 2 + 1]) << 8);
    case 24: return uint32_t(r[x * 3]) | (uint32_t(r[x * 3 + 1]) << 8) | (uint32_t(r[x * 3 + 2]) << 16);
    default: {
      const uint8_t* p = r + x * 4;
      return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
  }
}

void Dib::setRawPixel(int x, int y, uint32_t v) {
  uint8_t* r = row(y);
  switch (bpp_) {
    case 1: {
      uint8_t bit = uint8_t(0x80 >> (x & 7));
      if (v & 1) r[x >> 3] |= bit; else r[x >> 3] &= uint8_t(~bit);
      break;
    }
    case 4:
      if (x & 1) r[x >> 1] = uint8_t((r[x >> 1] & 0xF0) | (v & 0x0F));
      else r[x >> 1] = uint8_t((r[x >> 1] & 0x0F) | ((v & 0x0F) << 4));
      break;
    case 8: r[x] = uint8_t(v); break;
    case 16: r[x * 2] = uint8_t(v); r[x * 2 + 1] = uint8_t(v >> 8); break;
    case 24: r[x * 3] = uint8_t(v); r[x * 3 + 1] = uint8_t(v >> 8); r[x * 3 + 2] = uint8_t(v >> 16); break;
    default: {
      uint8_t* p = r + x * 4;
      p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
    }
  }
}

COLORREF Dib::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_NONE;
  uint32_t v = rawPixel(x, y);
  if (bpp_ <= 8) return v < palette_.size() ? RGBFromQuad(palette_[v]) : 0;
  if (bpp_ == 16) {
    auto expand = [](uint32_t c5) { return uint8_t((c5 << 3) | (c5 >> 2)); };
    return RGB(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
  }
  return RGB(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
}

int Dib::nearestIndex(COLORREF c) const {
  int best = 0;
  long bestDistance = std::numeric_limits<long>::max();
  for (size_t i = 0; i < palette_.size(); ++i) {
    const RGBQuad& q = palette_[i];
    long dr = long(q.red) - GetRValue(c), dg = long(q.green) - GetGValue(c), db = long(q.blue) - GetBValue(c);
    long d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) { bestDistance = d; best = int(i); if (d == 0) break; }
  }
  return best;
}

COLORREF Dib::nearestColor(COLORREF c) const {
  c &= 0x00FFFFFF;
  if (bpp_ <= 8) return palette_.empty() ? 0 : RGBFromQuad(palette_[size_t(nearestIndex(c))]);
  if (bpp_ == 16) {
    auto q = [](uint8_t v) { uint32_t c5 = v >> 3; return uint8_t((c5 << 3) | (c5 >> 2)); };
    return RGB(q(GetRValue(c)), q(GetGValue(c)), q(GetBValue(c)));
  }
  return c;
}

void Dib::setPixel(int x, int y, COLORREF c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  c &= 0x00FFFFFF;
  if (bpp_ <= 8) { setRawPixel(x, y, uint32_t(nearestIndex(c))); return; }
  if (bpp_ == 16) {
    setRawPixel(x, y, (uint32_t(GetRValue(c) >> 3) << 10) | (uint32_t(GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3));
    return;
  }
  setRawPixel(x, y, (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c));
}

void Dib::fill(COLORREF c) {
  if (empty()) return;
  // Set one pixel the slow way, then repeat its bytes: every row is the same.
  setPixel(0, 0, c);
  if (bpp_ >= 8) {
    int bytes = bpp_ / 8;
    uint8_t* first = row(0);
    for (int x = 1; x < width_; ++x) std::memcpy(first + x * bytes, first, size_t(bytes));
  } else {
    uint32_t raw = rawPixel(0, 0);
    for (int x = 1; x < width_; ++x) setRawPixel(x, 0, raw);
  }
  for (int y = 1; y < height_; ++y) std::memcpy(row(y), row(0), size_t(stride_));
}

Dib Dib::converted(int bpp, const std::vector<RGBQuad>& palette) const {
  Dib out(width_, height_, bpp, bpp <= 8 ? (palette.empty() && bpp_ == bpp ? palette_ : palette) : std::vector<RGBQuad>{});
  if (bpp == bpp_ && (bpp > 8 || out.palette_ == palette_)) {
    out.bits_ = bits_;
    return out;
  }
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.setPixel(x, y, pixel(x, y));
  return out;
}

}  // namespace tlb
