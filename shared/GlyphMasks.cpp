// The mask helpers of the state pictures: masks from colours (by one read of the
// device-independent bits, or by colour-to-monochrome blits), painting through a
// mask, and the copy of a bitmap through device-independent bits.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/graphics/raster.h"
#include "shared/ButtonGlyph.h"
#include "shared/GlyphWorkBitmaps.h"

namespace tq {

using namespace tlb;

namespace {

// A 1-bit bitmap of that size as a device handle; a degenerate size gives an empty
// monochrome bitmap instead (there is no 0-pixel device bitmap to hand over).
HBITMAP NewMonoHandle(Point size) {
  HBITMAP bitmap = CreateBitmap(size.x, size.y, 1, 1, nullptr);
  if (!bitmap) throw EOutOfResources("Out of system resources");
  return bitmap;
}

bool Degenerate(Point size) { return size.x <= 0 || size.y <= 0; }

void MakeEmptyMono(TBitmap& mask) {
  mask.SetPixels(Dib(0, 0, 1, {QuadFromRGB(0x000000), QuadFromRGB(0xFFFFFF)}), pf1bit);
}

// A colour as the 32-bit pixels hold it: blue in the lowest byte.
uint32_t AsPixel(TColor color) {
  COLORREF rgb = ColorToRGB(color);
  return uint32_t(GetBValue(rgb)) | (uint32_t(GetGValue(rgb)) << 8) | (uint32_t(GetRValue(rgb)) << 16);
}

// Deletes a memory context whatever happens on the way.
struct MemoryDC {
  HDC dc = CreateCompatibleDC(nullptr);
  ~MemoryDC() { DeleteDC(dc); }
};

// The pixels of row y, columns [x0, x0 + n), as 32-bit device-independent bits hold
// them (blue in the lowest byte, the top byte clear).
void ReadRowBgr(const Dib& dib, int y, int x0, int n, uint32_t* out) {
  const uint8_t* row = dib.row(y);
  switch (dib.bpp()) {
    case 32:
      for (int i = 0; i < n; ++i) {
        const uint8_t* p = row + size_t(x0 + i) * 4;
        out[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
      }
      break;
    case 24:
      for (int i = 0; i < n; ++i) {
        const uint8_t* p = row + size_t(x0 + i) * 3;
        out[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
      }
      break;
    case 1:
    case 4:
    case 8: {
      const std::vector<RGBQuad>& palette = dib.palette();
      for (int i = 0; i < n; ++i) {
        uint32_t index = dib.rawPixel(x0 + i, y);
        RGBQuad q = index < palette.size() ? palette[index] : RGBQuad{};
        out[i] = uint32_t(q.blue) | (uint32_t(q.green) << 8) | (uint32_t(q.red) << 16);
      }
      break;
    }
    default:
      for (int i = 0; i < n; ++i) {
        COLORREF c = dib.pixel(x0 + i, y);
        out[i] = uint32_t(GetBValue(c)) | (uint32_t(GetGValue(c)) << 8) | (uint32_t(GetRValue(c)) << 16);
      }
  }
}

}  // namespace

// Reads the source's device-independent pixels once, only the rows and columns
// the mask covers (and the bottom-left pixel when -1 asks for it), and compares
// them as 32-bit values.
void MaskFromColorsDIB(TBitmap& Mask, TBitmap& Source, const Rect& Rect, const std::vector<TColor>& Colors,
                       Point Size) {
  if (Degenerate(Size)) {
    MakeEmptyMono(Mask);
    return;
  }
  const Dib& src = Source.Pixels();
  int sw = src.width(), sh = src.height();
  // -1 stands for the bottom-left pixel of the whole source.
  std::vector<uint32_t> wanted;
  for (TColor c : Colors) {
    if (c != -1) {
      wanted.push_back(AsPixel(c));
    } else if (sw > 0 && sh > 0) {
      uint32_t corner;
      ReadRowBgr(src, sh - 1, 0, 1, &corner);
      wanted.push_back(corner);
    }
  }
  // One bit per pixel, the left-most in the high bit, rows padded to 4 bytes.
  size_t rowBytes = ((size_t(Size.x) + 7) / 8 + 3) & ~size_t(3);
  std::vector<uint8_t> bits(rowBytes * size_t(Size.y), 0);
  // Only the part of the area that lies on the source is read.
  int c0 = std::max(0, -Rect.left), c1 = std::min(Size.x, sw - Rect.left);
  std::vector<uint32_t> line(size_t(std::max(c1 - c0, 0)));
  for (int r = 0; r < Size.y && c1 > c0; ++r) {
    int sy = Rect.top + r;
    if (sy < 0 || sy >= sh) continue;
    ReadRowBgr(src, sy, Rect.left + c0, c1 - c0, line.data());
    uint8_t* out = bits.data() + size_t(r) * rowBytes;
    for (int c = c0; c < c1; ++c) {
      uint32_t p = line[size_t(c - c0)];
      for (uint32_t w : wanted)
        if (p == w) {
          out[c / 8] |= uint8_t(0x80 >> (c % 8));
          break;
        }
    }
  }
  HBITMAP mono = NewMonoHandle(Size);
  BITMAPINFO info{};
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = Size.x;
  info.bmiHeader.biHeight = -Size.y;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 1;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiColors[0] = QuadFromRGB(0x000000);
  info.bmiColors[1] = QuadFromRGB(0xFFFFFF);
  {
    MemoryDC mem;
    SetDIBits(mem.dc, mono, 0, unsigned(Size.y), bits.data(), &info, DIB_RGB_COLORS);
  }
  Mask.SetHandle(mono);
}

void MaskFromColorsBlt(TBitmap& Mask, TBitmap& Source, const Rect& Rect, const std::vector<TColor>& Colors,
                       Point Size) {
  if (Degenerate(Size)) {
    MakeEmptyMono(Mask);
    return;
  }
  HBITMAP mono = NewMonoHandle(Size);
  {
    MemoryDC mem;
    HGDIOBJ old = SelectObject(mem.dc, mono);
    HDC src = Source.Canvas().Handle();
    COLORREF oldBk = GetBkColor(src);
    // A colour-to-monochrome blit sets exactly the pixels of the source's background colour.
    for (size_t i = 0; i < Colors.size(); ++i) {
      SetBkColor(src, ColorToRGB(Colors[i]));
      BitBlt(mem.dc, 0, 0, Size.x, Size.y, src, Rect.left, Rect.top, i == 0 ? SRCCOPY : SRCPAINT);
    }
    SetBkColor(src, oldBk);
    SelectObject(mem.dc, old);
  }
  Mask.SetHandle(mono);
}

void PaintThroughMask(TBitmap& Mask, TBitmap& Dest, const Rect& Rect, TColor Color, Point Size) {
  HDC dc = Dest.Canvas().Handle();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  COLORREF oldText = SetTextColor(dc, 0x000000);
  COLORREF oldBk = SetBkColor(dc, 0xFFFFFF);
  // DSPDxax: the brush colour where the mask is set, the destination elsewhere.
  BitBlt(dc, Rect.left, Rect.top, Size.x, Size.y, Mask.Canvas().Handle(), 0, 0, 0x00E20746);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

// The copy is made in the device's true-colour format, where Source's palette
// selects nothing: each pixel comes over as its device-independent 32-bit value.
std::unique_ptr<TBitmap> CopyBitmapAsDIB(TBitmap& Source) {
  auto copy = std::make_unique<TBitmap>();
  int w = Source.Width(), h = Source.Height();
  if (!Source.HandleAllocated() || Source.Empty()) {
    MakeWhiteBitmap(*copy, w, h);
    return copy;
  }
  const Dib& src = Source.Pixels();
  Dib pixels(w, h, 32);
  for (int y = 0; y < h; ++y) ReadRowBgr(src, y, 0, w, reinterpret_cast<uint32_t*>(pixels.row(y)));
  copy->SetPixels(std::move(pixels), pfDevice);
  return copy;
}

}  // namespace tq
