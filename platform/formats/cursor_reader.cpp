#include "platform/formats/cursor_reader.h"

#include <algorithm>

#include "platform/core/exceptions.h"
#include "platform/formats/bmp_reader.h"

namespace tlb {
namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint16_t kTypeIcon = 1, kTypeCursor = 2;
constexpr int kMaxSide = 256;  // the most a directory entry can describe

[[noreturn]] void Invalid() { throw EInvalidGraphic("Icon image is not valid"); }

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

struct Entry {
  int width = 0, height = 0;  // as the directory says: 0 stands for 256
  int hotX = 0, hotY = 0;
  size_t offset = 0, size = 0;
};

Entry ReadEntry(const uint8_t* p) {
  Entry e;
  e.width = p[0] == 0 ? 256 : p[0];
  e.height = p[1] == 0 ? 256 : p[1];
  e.hotX = U16(p + 4);  // in an icon these are its planes and bit count
  e.hotY = U16(p + 6);
  e.size = U32(p + 8);
  e.offset = U32(p + 12);
  return e;
}

bool IsPng(const uint8_t* p, size_t size) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return size >= 8 && std::equal(kSignature, kSignature + 8, p);
}

}  // namespace

CursorImage ReadCursor(const uint8_t* data, size_t size) {
  if (size < kDirectorySize) Invalid();
  uint16_t type = U16(data + 2);
  size_t count = U16(data + 4);
  if (U16(data) != 0 || (type != kTypeIcon && type != kTypeCursor) || count == 0) Invalid();
  if (count > (size - kDirectorySize) / kEntrySize) Invalid();

  Entry chosen = ReadEntry(data + kDirectorySize);
  for (size_t i = 1; i < count; ++i) {
    Entry e = ReadEntry(data + kDirectorySize + i * kEntrySize);
    if (e.width * e.height > chosen.width * chosen.height) chosen = e;
  }
  if (chosen.offset > size || chosen.size > size - chosen.offset) Invalid();
  const uint8_t* picture = data + chosen.offset;
  if (IsPng(picture, chosen.size)) Invalid();

  PackedDib dib;
  try {
    dib = ReadPackedDib(picture, chosen.size, 2, kMaxSide);
  } catch (const EInvalidGraphic&) {
    Invalid();
  }
  const Dib& image = dib.image;
  const int w = image.width(), h = image.height();

  // The AND mask follows the colour bits, in the same row order.
  const size_t maskStride = size_t(Dib::StrideFor(w, 1));
  const size_t maskOffset = dib.bitsEnd;
  if (maskOffset > chosen.size || maskStride * size_t(h) > chosen.size - maskOffset) Invalid();
  const uint8_t* mask = picture + maskOffset;

  bool alphaChannel = false;
  if (image.bpp() == 32)
    for (int y = 0; y < h && !alphaChannel; ++y)
      for (int x = 0; x < w && !alphaChannel; ++x) alphaChannel = (image.rawPixel(x, y) >> 24) != 0;

  CursorImage out;
  out.width = w;
  out.height = h;
  out.argb.resize(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y) {
    const uint8_t* maskRow = mask + size_t(dib.bottomUp ? h - 1 - y : y) * maskStride;
    for (int x = 0; x < w; ++x) {
      COLORREF c = image.pixel(x, y);
      uint32_t rgb = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
      uint32_t alpha;
      if (alphaChannel)
        alpha = image.rawPixel(x, y) >> 24;
      else
        alpha = (maskRow[x >> 3] >> (7 - (x & 7))) & 1 ? 0 : 0xFF;
      out.argb[size_t(y) * size_t(w) + size_t(x)] = alpha == 0 ? 0 : (alpha << 24) | rgb;
    }
  }

  if (type == kTypeCursor) {
    // A hot spot outside the picture would point at nothing; keep it on the edge.
    out.hotX = std::clamp(chosen.hotX, 0, w - 1);
    out.hotY = std::clamp(chosen.hotY, 0, h - 1);
  } else {
    out.hotX = w / 2;
    out.hotY = h / 2;
  }
  return out;
}

}  // namespace tlb
