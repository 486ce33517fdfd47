#pragma once
// Block transfers between device contexts with ternary raster operations, and the
// exchange of pixels with device-independent bit buffers.
//
// A raster operation combines, bit by bit, the pattern P (the destination context's
// brush), the source S and the destination D. Bits 16-23 of the operation code hold
// its truth table: for P, S, D each 0 or 1, the result is bit (P*4 + S*2 + D) of that
// byte. So SRCCOPY is 0xCC, SRCPAINT 0xEE, PATCOPY 0xF0. The operation works on the
// pixel values in the destination's format (palette indexes for paletted surfaces),
// after the source and the pattern have been brought into that format:
//   - a 1-bit source onto a 1-bit destination, or the same format, is taken as it is;
//   - a 1-bit source onto a colour destination: 0 bits take the destination context's
//     text colour and 1 bits its background colour;
//   - a colour source onto a 1-bit destination: pixels of the source context's
//     background colour become 1 (white), all others 0;
//   - otherwise each source colour becomes the destination's nearest value.
// A pattern brush of a 1-bit bitmap uses the text and background colours the same way.
// Patterns are aligned to the surface's (0, 0). An operation that needs a pattern
// draws nothing while the context's brush is hollow.
#include <cstdint>

#include "platform/graphics/gdi.h"

namespace tlb {

constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t MERGECOPY = 0x00C000CA;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATPAINT = 0x00FB0A09;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;

// The truth-table byte of an operation code, and what it reads.
constexpr uint8_t RopTable(uint32_t rop) { return uint8_t(rop >> 16); }
constexpr bool RopUsesPattern(uint8_t table) { return ((table >> 4) ^ table) & 0x0F; }
constexpr bool RopUsesSource(uint8_t table) { return ((table >> 2) ^ table) & 0x33; }
constexpr bool RopUsesDest(uint8_t table) { return ((table >> 1) ^ table) & 0x55; }
// The operation applied bitwise to three values (all 32 bits of them).
uint32_t ApplyRop3(uint8_t table, uint32_t pattern, uint32_t source, uint32_t dest);

// The value a surface stores for a colour (its nearest palette index when paletted).
uint32_t PixelValueFor(const Dib& surface, COLORREF rgb);

// Copies w x h from (sx, sy) of `src` to (x, y) of `dst`, logical coordinates of each,
// combined by `rop`. The destination's clip applies; source pixels outside the source
// surface leave the destination as it is. `src` may be null when `rop` reads no source.
bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop);
// The same with scaling (each destination pixel takes the source pixel under its centre).
// A negative extent on one side only mirrors the picture along that axis.
bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, uint32_t rop);
// Combines the destination with the context's brush; `rop` must not read a source.
bool PatBlt(HDC dc, int x, int y, int w, int h, uint32_t rop);
// PatBlt of a logical rectangle with a given brush instead of the selected one.
bool PatBltBrush(HDC dc, const Rect& rect, HBRUSH brush, uint32_t rop);

// Device-independent bit buffers.
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr unsigned DIB_RGB_COLORS = 0;
constexpr unsigned DIB_PAL_COLORS = 1;

struct BITMAPINFOHEADER {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // negative: the top row comes first in the buffer
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = BI_RGB;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the header is 40 bytes as in the file format");

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQuad bmiColors[256];
};

// Scan lines are counted from the buffer's first row: the bottom row of a bottom-up
// buffer, the top row of a top-down one. Rows are padded to 4 bytes.
//
// GetDIBits: with `bits` null and biBitCount 0, fills the header with the bitmap's own
// format (width, positive height, depth, image size) and returns non-zero. With `bits`
// null and a depth set, fills biSizeImage and the colour table only. Otherwise writes
// scan lines [startScan, startScan + scanLines) in the header's depth (1, 4, 8, 16, 24
// or 32) and returns how many it wrote; for 8 bits and fewer the colour table is filled
// too (the bitmap's own palette when it fits, else the standard one of that depth).
int GetDIBits(HDC dc, HBITMAP bitmap, unsigned startScan, unsigned scanLines, void* bits, BITMAPINFO* info,
              unsigned usage);
// Converts scan lines of a buffer described by `info` into the bitmap, which keeps its
// own size and format. Returns how many lines it set.
int SetDIBits(HDC dc, HBITMAP bitmap, unsigned startScan, unsigned scanLines, const void* bits,
              const BITMAPINFO* info, unsigned usage);

}  // namespace tlb
