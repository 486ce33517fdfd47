#include "platform/graphics/raster.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/core/exceptions.h"

namespace tlb {

static_assert(std::endian::native == std::endian::little, "32-bit rows are read as little-endian words");

namespace {

// The bits a destination value holds: 1, 4 or 8 for indexes, 15 for 5-5-5, 24 for RGB
// (the unused byte of a 32-bit pixel stays 0).
uint32_t ValueMask(int bpp) {
  if (bpp >= 24) return 0x00FFFFFFu;
  if (bpp == 16) return 0x7FFFu;
  return (1u << bpp) - 1;
}

bool SameColors(const std::vector<RGBQuad>& a, const std::vector<RGBQuad>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue) return false;
  return true;
}

// Both hold the same values for the same colours, so values can be copied as they are.
bool SameFormat(const Dib& a, const Dib& b) {
  if (a.bpp() != b.bpp()) return (a.bpp() == 24 || a.bpp() == 32) && (b.bpp() == 24 || b.bpp() == 32);
  return a.bpp() > 8 || SameColors(a.palette(), b.palette());
}

void LoadRow(const Dib& d, int y, int x0, int n, uint32_t* out) {
  if (d.bpp() == 32) {
    std::memcpy(out, d.row(y) + size_t(x0) * 4, size_t(n) * 4);
    return;
  }
  for (int i = 0; i < n; ++i) out[i] = d.rawPixel(x0 + i, y);
}

void StoreRow(Dib& d, int y, int x0, int n, const uint32_t* in) {
  if (d.bpp() == 32) {
    std::memcpy(d.row(y) + size_t(x0) * 4, in, size_t(n) * 4);
    return;
  }
  for (int i = 0; i < n; ++i) d.setRawPixel(x0 + i, y, in[i]);
}

// The destination's brush, as destination values aligned to the surface's (0, 0).
struct Pattern {
  bool none = true;
  bool solid = true;
  uint32_t value = 0;
  int width = 0, height = 0;
  std::vector<uint32_t> values;

  void Row(int x0, int y, int n, uint32_t* out) const {
    if (solid) {
      std::fill(out, out + n, value);
      return;
    }
    const uint32_t* row = values.data() + size_t(y % height) * size_t(width);
    int x = x0 % width;
    for (int i = 0; i < n; ++i) {
      out[i] = row[x];
      if (++x == width) x = 0;
    }
  }
};

Pattern MakePattern(HDC dc, const Dib& dst, HBRUSH brush) {
  Pattern p;
  if (!brush || brush->style == BS_NULL) return p;
  p.none = false;
  if (brush->style == BS_SOLID) {
    p.value = PixelValueFor(dst, ResolveColor(dc, brush->color));
    return p;
  }
  if (brush->style != BS_PATTERN || !brush->pattern || brush->pattern->empty())
    throw EUnsupported("only solid and pattern brushes can be drawn with");
  const Dib& bits = *brush->pattern;
  p.solid = false;
  p.width = bits.width();
  p.height = bits.height();
  p.values.resize(size_t(p.width) * size_t(p.height));
  uint32_t mono[2] = {PixelValueFor(dst, ResolveColor(dc, dc->textColor)),
                      PixelValueFor(dst, ResolveColor(dc, dc->bkColor))};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      uint32_t& v = p.values[size_t(y) * size_t(p.width) + size_t(x)];
      if (bits.bpp() == 1) v = dst.bpp() == 1 ? bits.rawPixel(x, y) : mono[bits.rawPixel(x, y) & 1];
      else v = PixelValueFor(dst, bits.pixel(x, y));
    }
  return p;
}

// Reads source pixels as destination values, by the conversion rules of the header.
class SourceReader {
 public:
  SourceReader(HDC srcDC, const Dib& src, HDC dstDC, const Dib& dst) : src_(src), dst_(dst) {
    if (src.bpp() == 1 && dst.bpp() == 1) {
      mode_ = kRaw;
    } else if (src.bpp() == 1) {
      mode_ = kTable;
      table_ = {PixelValueFor(dst, ResolveColor(dstDC, dstDC->textColor)),
                PixelValueFor(dst, ResolveColor(dstDC, dstDC->bkColor))};
    } else if (dst.bpp() == 1) {
      // Colour to monochrome: the background colour as the source can hold it is white.
      COLORREF background = src.nearestColor(ResolveColor(srcDC, srcDC->bkColor));
      if (src.paletted()) {
        mode_ = kTable;
        for (const RGBQuad& q : src.palette()) table_.push_back(RGBFromQuad(q) == background ? 1u : 0u);
      } else {
        mode_ = kToMono;
        background_ = PixelValueFor(src, background);
      }
    } else if (SameFormat(src, dst)) {
      mode_ = kRaw;
    } else if (src.paletted()) {
      mode_ = kTable;
      for (const RGBQuad& q : src.palette()) table_.push_back(PixelValueFor(dst, RGBFromQuad(q)));
    } else {
      mode_ = kColor;
    }
    mask_ = ValueMask(dst.bpp());
  }

  bool raw() const { return mode_ == kRaw; }

  // Source row `sy` at columns cols[0..n), as destination values.
  void Read(int sy, const int* cols, int n, uint32_t* out) {
    switch (mode_) {
      case kRaw:
        for (int i = 0; i < n; ++i) out[i] = src_.rawPixel(cols[i], sy) & mask_;
        break;
      case kTable:
        for (int i = 0; i < n; ++i) {
          uint32_t index = src_.rawPixel(cols[i], sy);
          out[i] = index < table_.size() ? table_[index] : table_.empty() ? 0 : table_[0];
        }
        break;
      case kToMono: {
        uint32_t rgbMask = ValueMask(src_.bpp());
        for (int i = 0; i < n; ++i) out[i] = (src_.rawPixel(cols[i], sy) & rgbMask) == background_ ? 1u : 0u;
        break;
      }
      case kColor:
        for (int i = 0; i < n; ++i) {
          uint32_t raw = src_.rawPixel(cols[i], sy);
          auto it = cache_.find(raw);
          if (it == cache_.end()) it = cache_.emplace(raw, PixelValueFor(dst_, src_.pixel(cols[i], sy))).first;
          out[i] = it->second;
        }
        break;
    }
  }

 private:
  enum Mode { kRaw, kTable, kToMono, kColor };
  const Dib& src_;
  const Dib& dst_;
  Mode mode_ = kRaw;
  std::vector<uint32_t> table_;
  uint32_t background_ = 0;
  uint32_t mask_ = 0;
  std::unordered_map<uint32_t, uint32_t> cache_;
};

template <class F>
void Each(uint32_t* __restrict d, const uint32_t* __restrict s, const uint32_t* __restrict p, int n, uint32_t mask,
          F f) {
  for (int i = 0; i < n; ++i) d[i] = f(p[i], s[i], d[i]) & mask;
}

// The operations the system uses have their own loops; every other one takes the table.
void CombineRow(uint8_t op, uint32_t* d, const uint32_t* s, const uint32_t* p, int n, uint32_t mask) {
  using u = uint32_t;
  switch (op) {
    case 0x00: Each(d, s, p, n, mask, [](u, u, u) { return 0u; }); break;
    case 0xFF: Each(d, s, p, n, mask, [](u, u, u) { return ~0u; }); break;
    case 0xCC: Each(d, s, p, n, mask, [](u, u s, u) { return s; }); break;
    case 0xF0: Each(d, s, p, n, mask, [](u p, u, u) { return p; }); break;
    case 0xEE: Each(d, s, p, n, mask, [](u, u s, u d) { return s | d; }); break;
    case 0x88: Each(d, s, p, n, mask, [](u, u s, u d) { return s & d; }); break;
    case 0x66: Each(d, s, p, n, mask, [](u, u s, u d) { return s ^ d; }); break;
    case 0x22: Each(d, s, p, n, mask, [](u, u s, u d) { return d & ~s; }); break;
    case 0x55: Each(d, s, p, n, mask, [](u, u, u d) { return ~d; }); break;
    case 0x5A: Each(d, s, p, n, mask, [](u p, u, u d) { return p ^ d; }); break;
    case 0xE2: Each(d, s, p, n, mask, [](u p, u s, u d) { return (p & s) | (d & ~s); }); break;
    case 0xB8: Each(d, s, p, n, mask, [](u p, u s, u d) { return (p & ~s) | (d & s); }); break;
    default: Each(d, s, p, n, mask, [op](u p, u s, u d) { return ApplyRop3(op, p, s, d); }); break;
  }
}

// The shared loop: combines `target` (surface coordinates of the destination, already
// clipped) with the source pixels cols x rows, or with the pattern alone.
bool Run(HDC dstDC, const Rect& target, HDC srcDC, const Dib* src, const std::vector<int>& cols,
         const std::vector<int>& rows, uint8_t op, HBRUSH brush) {
  Dib& dst = *dstDC->surface;
  bool usesPattern = RopUsesPattern(op), usesSource = RopUsesSource(op), usesDest = RopUsesDest(op);
  Pattern pattern;
  if (usesPattern) {
    pattern = MakePattern(dstDC, dst, brush);
    if (pattern.none) return true;
  }
  int n = target.width();
  // A solid fill (FillRect, PatBlt PATCOPY) writes the value straight into the rows.
  if (op == 0xF0 && pattern.solid) {
    for (int y = target.top; y < target.bottom; ++y) {
      if (dst.bpp() == 32) {
        auto* row = reinterpret_cast<uint32_t*>(dst.row(y)) + target.left;
        std::fill(row, row + n, pattern.value);
      } else {
        for (int x = target.left; x < target.right; ++x) dst.setRawPixel(x, y, pattern.value);
      }
    }
    return true;
  }
  std::optional<SourceReader> reader;
  if (usesSource) {
    reader.emplace(srcDC, *src, dstDC, dst);
    // A plain copy between equal formats is a row copy.
    bool linear = cols.back() - cols.front() == n - 1;
    if (op == 0xCC && reader->raw() && linear && dst.bpp() == src->bpp() && dst.bpp() >= 8) {
      size_t bytes = size_t(dst.bpp() / 8);
      for (int j = 0; j < target.height(); ++j)
        std::memcpy(dst.row(target.top + j) + size_t(target.left) * bytes, src->row(rows[size_t(j)]) + size_t(cols[0]) * bytes,
                    size_t(n) * bytes);
      return true;
    }
  }
  std::vector<uint32_t> s(size_t(n), 0), p(size_t(n), 0), d(size_t(n), 0);
  uint32_t mask = ValueMask(dst.bpp());
  for (int j = 0; j < target.height(); ++j) {
    int y = target.top + j;
    if (usesSource) reader->Read(rows[size_t(j)], cols.data(), n, s.data());
    if (usesPattern) pattern.Row(target.left, y, n, p.data());
    if (usesDest) LoadRow(dst, y, target.left, n, d.data());
    CombineRow(op, d.data(), s.data(), p.data(), n, mask);
    StoreRow(dst, y, target.left, n, d.data());
  }
  return true;
}

// Maps destination positions [first, last) of an extent `length` starting at `start` onto
// a source extent `sourceLength` at `sourceStart`, keeping only positions whose source
// lies in [0, limit). The kept ones are contiguous; `first` and `last` are narrowed to them.
std::vector<int> MapAxis(int& first, int& last, int64_t start, int64_t length, int64_t sourceStart,
                         int64_t sourceLength, bool mirror, int limit) {
  std::vector<int> map;
  int keptFirst = last, keptLast = first;
  for (int pos = first; pos < last; ++pos) {
    int64_t k = pos - start;
    if (mirror) k = length - 1 - k;
    int64_t source = sourceStart + int64_t((__int128(2 * k + 1) * sourceLength) / (2 * length));
    if (source < 0 || source >= limit) continue;
    if (map.empty()) keptFirst = pos;
    keptLast = pos + 1;
    map.push_back(int(source));
  }
  first = keptFirst;
  last = keptLast;
  return map;
}

// The part of [x, x + w) x [y, y + h), shifted by `origin`, inside `clip`; computed wide so
// that no coordinate, however far out, overflows.
Rect ClipWide(int64_t x, int64_t y, int64_t w, int64_t h, Point origin, const Rect& clip) {
  int64_t left = std::max<int64_t>(x + origin.x, clip.left), top = std::max<int64_t>(y + origin.y, clip.top);
  int64_t right = std::min<int64_t>(x + origin.x + w, clip.right), bottom = std::min<int64_t>(y + origin.y + h, clip.bottom);
  if (right <= left || bottom <= top) return {};
  return {int(left), int(top), int(right), int(bottom)};
}

int ScanCount(const BITMAPINFOHEADER& h) {
  int64_t height = h.biHeight;
  return int(height < 0 ? -height : height);
}

bool ValidDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

// Checks a header for GetDIBits / SetDIBits: invalid values fail (false), options this
// layer does not have raise.
bool CheckHeader(const BITMAPINFOHEADER& h, unsigned usage) {
  if (h.biSize < 40) throw EUnsupported("only the 40-byte bitmap header is supported");
  if (usage != DIB_RGB_COLORS) throw EUnsupported("only DIB_RGB_COLORS colour tables are supported");
  if (!ValidDepth(h.biBitCount)) return false;
  if (h.biCompression != BI_RGB) throw EUnsupported("only uncompressed (BI_RGB) bits are supported");
  if (h.biWidth <= 0 || h.biWidth > 32768 || h.biHeight == 0 || ScanCount(h) > 32768) return false;
  return true;
}

// The colour table written for a depth: the bitmap's own palette when its values fit,
// so that indexes pass unchanged; else the standard table of that depth.
std::vector<RGBQuad> OutputPalette(const Dib& dib, int bpp) {
  if (bpp > 8) return {};
  if (dib.paletted() && dib.bpp() <= bpp) {
    std::vector<RGBQuad> p = dib.palette();
    p.resize(size_t(1) << bpp);
    for (RGBQuad& q : p) q.reserved = 0;
    return p;
  }
  return StandardPalette(bpp);
}

}  // namespace

uint32_t ApplyRop3(uint8_t table, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t result = 0;
  for (int i = 0; i < 8; ++i)
    if (table & (1 << i)) result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  return result;
}

uint32_t PixelValueFor(const Dib& surface, COLORREF c) {
  c &= 0x00FFFFFF;
  if (surface.paletted()) return uint32_t(surface.nearestIndex(c));
  if (surface.bpp() == 16)
    return (uint32_t(GetRValue(c) >> 3) << 10) | (uint32_t(GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3);
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

bool PatBltBrush(HDC dc, const Rect& rect, HBRUSH brush, uint32_t rop) {
  if (!dc || !dc->surface) return false;
  uint8_t op = RopTable(rop);
  if (RopUsesSource(op)) return false;
  Rect target = ClipWide(rect.left, rect.top, int64_t(rect.right) - rect.left, int64_t(rect.bottom) - rect.top,
                         dc->origin, dc->EffectiveClip());
  if (target.empty()) return true;
  return Run(dc, target, nullptr, nullptr, {}, {}, op, brush);
}

bool PatBlt(HDC dc, int x, int y, int w, int h, uint32_t rop) {
  if (!dc || !dc->surface) return false;
  uint8_t op = RopTable(rop);
  if (RopUsesSource(op)) return false;
  int64_t left = x, top = y, width = w, height = h;
  if (width < 0) { left += width; width = -width; }
  if (height < 0) { top += height; height = -height; }
  Rect target = ClipWide(left, top, width, height, dc->origin, dc->EffectiveClip());
  if (target.empty()) return true;
  return Run(dc, target, nullptr, nullptr, {}, {}, op, dc->brush);
}

bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, uint32_t rop) {
  if (!dst || !dst->surface) return false;
  uint8_t op = RopTable(rop);
  if (!RopUsesSource(op)) return PatBlt(dst, x, y, w, h, rop);
  if (!src || !src->surface) return false;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return true;
  bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
  int64_t dx = x, dy = y, dw = w, dh = h, srcX = sx, srcY = sy, srcW = sw, srcH = sh;
  if (dw < 0) { dx += dw; dw = -dw; }
  if (dh < 0) { dy += dh; dh = -dh; }
  if (srcW < 0) { srcX += srcW; srcW = -srcW; }
  if (srcH < 0) { srcY += srcH; srcH = -srcH; }
  Rect target = ClipWide(dx, dy, dw, dh, dst->origin, dst->EffectiveClip());
  if (target.empty()) return true;
  const Dib* source = src->surface;
  std::vector<int> cols = MapAxis(target.left, target.right, dx + dst->origin.x, dw, srcX + src->origin.x, srcW,
                                  mirrorX, source->width());
  std::vector<int> rows = MapAxis(target.top, target.bottom, dy + dst->origin.y, dh, srcY + src->origin.y, srcH,
                                  mirrorY, source->height());
  if (cols.empty() || rows.empty()) return true;
  // Source and destination on one surface: read from a snapshot so overlaps copy cleanly.
  std::optional<Dib> snapshot;
  if (source == dst->surface) source = &snapshot.emplace(*source);
  return Run(dst, target, src, source, cols, rows, op, dst->brush);
}

bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop) {
  if (!dst || !dst->surface) return false;
  if (w <= 0 || h <= 0) return true;
  return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

int GetDIBits(HDC, HBITMAP bitmap, unsigned startScan, unsigned scanLines, void* bits, BITMAPINFO* info,
              unsigned usage) {
  if (!bitmap || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  const Dib& dib = bitmap->dib;
  if (dib.empty()) return 0;
  if (h.biBitCount == 0) {
    if (h.biSize < 40) throw EUnsupported("only the 40-byte bitmap header is supported");
    if (bits) return 0;
    h.biWidth = dib.width();
    h.biHeight = dib.height();
    h.biPlanes = 1;
    h.biBitCount = uint16_t(dib.bpp());
    h.biCompression = BI_RGB;
    h.biSizeImage = uint32_t(dib.stride()) * uint32_t(dib.height());
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    return dib.height();
  }
  if (!CheckHeader(h, usage)) return 0;
  int bpp = h.biBitCount, width = h.biWidth, height = ScanCount(h);
  int stride = Dib::StrideFor(width, bpp);
  std::vector<RGBQuad> table = OutputPalette(dib, bpp);
  h.biSizeImage = uint32_t(stride) * uint32_t(height);
  for (size_t i = 0; i < table.size(); ++i) info->bmiColors[i] = table[i];
  if (!bits) return height;
  if (startScan >= unsigned(height)) return 0;
  int lines = int(std::min<unsigned>(scanLines, unsigned(height) - startScan));
  bool bottomUp = h.biHeight > 0;
  Dib line(width, 1, bpp, table);
  bool raw = bpp == dib.bpp() && (bpp > 8 || SameColors(table, dib.palette()));
  int columns = std::min(width, dib.width());
  auto* out = static_cast<uint8_t*>(bits);
  for (int k = 0; k < lines; ++k) {
    int scan = int(startScan) + k;
    int y = bottomUp ? height - 1 - scan : scan;
    std::fill(line.bits().begin(), line.bits().end(), uint8_t(0));
    if (y < dib.height()) {
      if (raw && bpp >= 8) std::memcpy(line.row(0), dib.row(y), size_t(columns) * size_t(bpp / 8));
      else if (raw)
        for (int x = 0; x < columns; ++x) line.setRawPixel(x, 0, dib.rawPixel(x, y));
      else
        for (int x = 0; x < columns; ++x) line.setPixel(x, 0, dib.pixel(x, y));
    }
    std::memcpy(out + size_t(k) * size_t(stride), line.row(0), size_t(stride));
  }
  return lines;
}

int SetDIBits(HDC, HBITMAP bitmap, unsigned startScan, unsigned scanLines, const void* bits,
              const BITMAPINFO* info, unsigned usage) {
  if (!bitmap || !info || !bits) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (!CheckHeader(h, usage)) return 0;
  int bpp = h.biBitCount, width = h.biWidth, height = ScanCount(h);
  int stride = Dib::StrideFor(width, bpp);
  std::vector<RGBQuad> table;
  if (bpp <= 8) {
    size_t count = size_t(1) << bpp;
    size_t used = h.biClrUsed == 0 ? count : std::min<size_t>(h.biClrUsed, count);
    table.assign(info->bmiColors, info->bmiColors + used);
    table.resize(count);
    for (RGBQuad& q : table) q.reserved = 0;
  }
  if (startScan >= unsigned(height)) return 0;
  int lines = int(std::min<unsigned>(scanLines, unsigned(height) - startScan));
  Dib& dib = bitmap->dib;
  bool raw = bpp == dib.bpp() && (bpp > 8 || SameColors(table, dib.palette()));
  bool bottomUp = h.biHeight > 0;
  int columns = std::min(width, dib.width());
  Dib line(width, 1, bpp, table);
  const auto* in = static_cast<const uint8_t*>(bits);
  for (int k = 0; k < lines; ++k) {
    int scan = int(startScan) + k;
    int y = bottomUp ? height - 1 - scan : scan;
    if (y >= dib.height()) continue;
    std::memcpy(line.row(0), in + size_t(k) * size_t(stride), size_t(stride));
    if (raw && bpp >= 8) std::memcpy(dib.row(y), line.row(0), size_t(columns) * size_t(bpp / 8));
    else if (raw)
      for (int x = 0; x < columns; ++x) dib.setRawPixel(x, y, line.rawPixel(x, 0));
    else
      for (int x = 0; x < columns; ++x) dib.setPixel(x, y, line.pixel(x, 0));
  }
  return lines;
}

}  // namespace tlb
