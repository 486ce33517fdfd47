// The mask helpers of the state pictures: masks from colours (by one read of the
// device-independent bits, or by colour-to-monochrome blits), painting through a
// mask, and the copy of a bitmap through device-independent bits.
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

}  // namespace

void MaskFromColorsDIB(TBitmap& Mask, TBitmap& Source, const Rect& Rect, const std::vector<TColor>& Colors,
                       Point Size) {
  if (Degenerate(Size)) {
    MakeEmptyMono(Mask);
    return;
  }
  int sw = Source.Width(), sh = Source.Height();
  // Source read whole, top row first, at 32 bits per pixel.
  std::vector<uint32_t> pixels(size_t(sw) * size_t(sh));
  if (!pixels.empty()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = sw;
    info.bmiHeader.biHeight = -sh;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiColors[0] = QuadFromRGB(0x000000);
    info.bmiColors[1] = QuadFromRGB(0xFFFFFF);
    MemoryDC mem;
    GetDIBits(mem.dc, Source.Handle(), 0, unsigned(sh), pixels.data(), &info, DIB_RGB_COLORS);
  }
  // -1 stands for the bottom-left pixel of the whole source.
  std::vector<uint32_t> wanted;
  for (TColor c : Colors) {
    if (c == -1) wanted.push_back(pixels.empty() ? 0 : pixels[size_t(sh - 1) * size_t(sw)] & 0x00FFFFFF);
    else wanted.push_back(AsPixel(c));
  }
  // One bit per pixel, the left-most in the high bit, rows padded to 4 bytes.
  size_t rowBytes = ((size_t(Size.x) + 7) / 8 + 3) & ~size_t(3);
  std::vector<uint8_t> bits(rowBytes * size_t(Size.y), 0);
  for (int r = 0; r < Size.y; ++r) {
    int sy = Rect.top + r;
    if (sy < 0 || sy >= sh) continue;
    for (int c = 0; c < Size.x; ++c) {
      int sx = Rect.left + c;
      if (sx < 0 || sx >= sw) continue;  // nothing is read beyond the source
      uint32_t p = pixels[size_t(sy) * size_t(sw) + size_t(sx)] & 0x00FFFFFF;
      for (uint32_t w : wanted)
        if (p == w) {
          bits[size_t(r) * rowBytes + size_t(c / 8)] |= uint8_t(0x80 >> (c % 8));
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

std::unique_ptr<TBitmap> CopyBitmapAsDIB(TBitmap& Source) {
  // The copy is made in the device's true-colour format, where Source's palette
  // selects nothing; its colours come over through the bits' own colour table.
  auto copy = std::make_unique<TBitmap>();
  MakeWhiteBitmap(*copy, Source.Width(), Source.Height());
  if (!Source.HandleAllocated() || Source.Empty()) return copy;
  MemoryDC mem;
  HPALETTE palette = nullptr;
  HPALETTE oldPalette = nullptr;
  std::vector<RGBQuad> entries = Source.PaletteEntries();
  if (!entries.empty() && entries.size() <= 256) {
    palette = CreatePalette(entries);
    if (palette) {
      oldPalette = SelectPalette(mem.dc, palette, false);
      RealizePalette(mem.dc);
    }
  }
  auto info = std::make_unique<BITMAPINFO>();
  info->bmiHeader.biSize = 40;
  info->bmiHeader.biBitCount = 0;  // learn Source's format first
  unsigned height = unsigned(Source.Height());
  if (GetDIBits(mem.dc, Source.Handle(), 0, height, nullptr, info.get(), DIB_RGB_COLORS)) {
    size_t bytes = info->bmiHeader.biSizeImage;
    if (bytes == 0)
      bytes = size_t(Dib::StrideFor(info->bmiHeader.biWidth, info->bmiHeader.biBitCount)) * size_t(height);
    std::vector<uint8_t> bits(bytes);
    if (GetDIBits(mem.dc, Source.Handle(), 0, height, bits.data(), info.get(), DIB_RGB_COLORS))
      SetDIBits(mem.dc, copy->Handle(), 0, height, bits.data(), info.get(), DIB_RGB_COLORS);
  }
  if (oldPalette) SelectPalette(mem.dc, oldPalette, false);
  if (palette) DeleteObject(palette);
  return copy;
}

}  // namespace tq
