#pragma once
// The GDI-like drawing layer: device contexts and the objects selected into them
// (bitmaps, brushes, pens, fonts, palettes), with handles as in Windows.
//
// A device context draws onto a Dib: a memory DC onto the bitmap selected into it,
// a window DC onto a form's off-screen surface with the control's origin and clip.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/text/font_engine.h"

namespace tlb {

struct GdiObject {
  virtual ~GdiObject() = default;
};

struct GdiBitmap : GdiObject {
  Dib dib;
  explicit GdiBitmap(Dib d) : dib(std::move(d)) {}
};

enum BrushStyleKind { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3 };
struct GdiBrush : GdiObject {
  int style = BS_SOLID;
  COLORREF color = 0;
  std::shared_ptr<const Dib> pattern;  // BS_PATTERN: the 8x8 (or any size) pattern bitmap
};

enum PenStyleKind { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5, PS_INSIDEFRAME = 6 };
struct GdiPen : GdiObject {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct GdiFont : GdiObject {
  FontSpec spec;
};

struct GdiPalette : GdiObject {
  std::vector<RGBQuad> entries;
};

using HGDIOBJ = GdiObject*;
using HBITMAP = GdiBitmap*;
using HBRUSH = GdiBrush*;
using HPEN = GdiPen*;
using HFONT = GdiFont*;
using HPALETTE = GdiPalette*;

enum BkModeKind { TRANSPARENT = 1, OPAQUE = 2 };

struct DeviceContext {
  // The surface drawn on. For a memory DC it is the selected bitmap's Dib.
  Dib* surface = nullptr;
  // Logical (0,0) in surface coordinates, and the clip in surface coordinates.
  Point origin;
  Rect clip;
  bool hasClip = false;
  bool memoryDC = false;
  HBITMAP bitmap = nullptr;  // memory DC: the selected bitmap (a 1x1 monochrome stock one at first)
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  HPALETTE palette = nullptr;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  Point penPos;
  // The clip rectangle in surface coordinates, the surface bounds when none is set.
  Rect EffectiveClip() const;
};
using HDC = DeviceContext*;

// Objects and contexts.
HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitCount, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateDIBitmap(const Dib& dib);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP pattern);
HBRUSH GetStockBrush(int kind);  // BS_NULL: the hollow brush
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontFromSpec(const FontSpec& spec);
HDC CreateCompatibleDC(HDC reference);
// A DC that draws on an existing Dib (a window surface) with an origin and a clip.
HDC CreateSurfaceDC(Dib* surface, Point origin, Rect clip);
bool DeleteDC(HDC dc);
bool DeleteObject(HGDIOBJ object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, bool forceBackground);
unsigned RealizePalette(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
COLORREF GetNearestColor(HDC dc, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
int FillRect(HDC dc, const Rect& rect, HBRUSH brush);

// Stock objects: shared, never freed (DeleteObject of one does nothing). A new
// context starts with the white brush and the black pen selected.
enum StockObjectKind {
  WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
  NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8
};
HGDIOBJ GetStockObject(int kind);

// A colour query that cannot be answered (no context, a point outside the clip).
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
// A colour given as an index into the context's palette.
constexpr COLORREF PALETTEINDEX(uint16_t index) { return 0x01000000u | index; }
// The plain RGB value of a colour argument: PALETTEINDEX through the context's
// palette (or the selected bitmap's), the palette-relative flag and other high bits dropped.
COLORREF ResolveColor(HDC dc, COLORREF color);

HPALETTE CreatePalette(const std::vector<RGBQuad>& entries);
// The colour table a bitmap of that depth gets when nobody gives one: black and white
// for 1 bit, the 16 classic colours for 4, those and a 6x6x6 colour cube for 8, none above.
std::vector<RGBQuad> StandardPalette(int bpp);
COLORREF GetTextColor(HDC dc);
COLORREF GetBkColor(HDC dc);
int GetBkMode(HDC dc);

}  // namespace tlb
