#include "platform/graphics/dib_blit.h"

#include <cstring>

namespace tlb {
namespace {

Rect Bounds(const Dib& d) { return {0, 0, d.width(), d.height()}; }

// A row writer that is fast for 32-bit targets and correct for every depth.
inline void Put(Dib& dst, int x, int y, COLORREF c) {
  if (dst.bpp() == 32) {
    uint8_t* p = dst.row(y) + x * 4;
    p[0] = GetBValue(c); p[1] = GetGValue(c); p[2] = GetRValue(c); p[3] = 0;
  } else {
    dst.setPixel(x, y, c);
  }
}

}  // namespace

void CopyDib(Dib& dst, int dx, int dy, const Dib& src, const Rect& srcRect, const Rect& clip) {
  Rect s = srcRect.Intersect(Bounds(src));
  if (s.empty()) return;
  dx += s.left - srcRect.left;
  dy += s.top - srcRect.top;
  Rect target = Rect::FromSize(dx, dy, s.width(), s.height()).Intersect(clip).Intersect(Bounds(dst));
  if (target.empty()) return;
  int sx0 = s.left + (target.left - dx), sy0 = s.top + (target.top - dy);
  bool sameFormat = dst.bpp() == src.bpp() && (dst.bpp() > 8 ? dst.bpp() >= 8 : dst.palette() == src.palette());
  if (sameFormat && dst.bpp() >= 8) {
    int bytes = dst.bpp() / 8;
    for (int y = 0; y < target.height(); ++y)
      std::memcpy(dst.row(target.top + y) + target.left * bytes, src.row(sy0 + y) + sx0 * bytes,
                  size_t(target.width()) * size_t(bytes));
    return;
  }
  for (int y = 0; y < target.height(); ++y)
    for (int x = 0; x < target.width(); ++x) {
      if (sameFormat) dst.setRawPixel(target.left + x, target.top + y, src.rawPixel(sx0 + x, sy0 + y));
      else Put(dst, target.left + x, target.top + y, src.pixel(sx0 + x, sy0 + y));
    }
}

void CopyDibTransparent(Dib& dst, int dx, int dy, const Dib& src, const Rect& srcRect, const Rect& clip,
                        COLORREF transparent) {
  Rect s = srcRect.Intersect(Bounds(src));
  if (s.empty()) return;
  dx += s.left - srcRect.left;
  dy += s.top - srcRect.top;
  Rect target = Rect::FromSize(dx, dy, s.width(), s.height()).Intersect(clip).Intersect(Bounds(dst));
  if (target.empty()) return;
  int sx0 = s.left + (target.left - dx), sy0 = s.top + (target.top - dy);
  transparent &= 0x00FFFFFF;
  for (int y = 0; y < target.height(); ++y)
    for (int x = 0; x < target.width(); ++x) {
      COLORREF c = src.pixel(sx0 + x, sy0 + y);
      if (c != transparent) Put(dst, target.left + x, target.top + y, c);
    }
}

void StretchDib(Dib& dst, const Rect& dstRect, const Dib& src, const Rect& srcRect, const Rect& clip,
                COLORREF transparent) {
  if (dstRect.empty() || srcRect.empty() || src.empty()) return;
  Rect target = dstRect.Intersect(clip).Intersect(Bounds(dst));
  if (target.empty()) return;
  if (transparent != CLR_NONE) transparent &= 0x00FFFFFF;
  for (int y = target.top; y < target.bottom; ++y) {
    int sy = srcRect.top + int((int64_t(y - dstRect.top) * srcRect.height()) / dstRect.height());
    if (sy < 0 || sy >= src.height()) continue;
    for (int x = target.left; x < target.right; ++x) {
      int sx = srcRect.left + int((int64_t(x - dstRect.left) * srcRect.width()) / dstRect.width());
      if (sx < 0 || sx >= src.width()) continue;
      COLORREF c = src.pixel(sx, sy);
      if (c != transparent) Put(dst, x, y, c);
    }
  }
}

void FillDib(Dib& dst, const Rect& rect, const Rect& clip, COLORREF color) {
  Rect target = rect.Intersect(clip).Intersect(Bounds(dst));
  if (target.empty()) return;
  color &= 0x00FFFFFF;
  if (dst.bpp() == 32) {
    uint32_t v = (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
    for (int y = target.top; y < target.bottom; ++y) {
      auto* p = reinterpret_cast<uint32_t*>(dst.row(y)) + target.left;
      std::fill(p, p + target.width(), v);
    }
    return;
  }
  uint32_t raw;
  {
    Dib probe(1, 1, dst.bpp(), dst.palette());
    probe.setPixel(0, 0, color);
    raw = probe.rawPixel(0, 0);
  }
  for (int y = target.top; y < target.bottom; ++y)
    for (int x = target.left; x < target.right; ++x) dst.setRawPixel(x, y, raw);
}

}  // namespace tlb
