// The GDI object layer: creation and deletion of bitmaps, brushes, pens, fonts and
// palettes, device contexts and what is selected into them, and the per-pixel calls.
//
// Objects made by the Create functions are owned by whoever made them and freed by
// DeleteObject. A registry knows which objects those are, so that deleting a handle
// twice, or one this layer did not make (a class-library bitmap's own handle), is
// refused instead of freeing memory that is not ours. An object deleted while a
// context still holds it selected is freed when the last context lets go of it,
// so no context ever draws into freed memory.
#include <limits>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "platform/core/exceptions.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/raster.h"

namespace tlb {
namespace {

struct Record {
  int selections = 0;
  bool deletePending = false;
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<const GdiObject*, Record> objects;
  std::unordered_set<const DeviceContext*> contexts;
};

Registry& registry() {
  static Registry r;
  return r;
}

template <class T>
T* Own(T* object) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.objects.emplace(object, Record{});
  return object;
}

// A context takes hold of an object it selects, and lets go when it selects another or is deleted.
void Retain(GdiObject* object) {
  if (!object) return;
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.objects.find(object);
  if (it != r.objects.end()) ++it->second.selections;
}

void Release(GdiObject* object) {
  if (!object) return;
  Registry& r = registry();
  std::unique_lock<std::mutex> lock(r.mutex);
  auto it = r.objects.find(object);
  if (it == r.objects.end()) return;
  if (--it->second.selections <= 0 && it->second.deletePending) {
    r.objects.erase(it);
    lock.unlock();
    delete object;
  }
}

struct StockObjects {
  GdiBrush white, ltgray, gray, dkgray, black, hollow;
  GdiPen whitePen, blackPen, nullPen;
  GdiBitmap monoBitmap{Dib(1, 1, 1, {QuadFromRGB(0x000000), QuadFromRGB(0xFFFFFF)})};
  StockObjects() {
    white.color = 0xFFFFFF;
    ltgray.color = 0xC0C0C0;
    gray.color = 0x808080;
    dkgray.color = 0x404040;
    black.color = 0x000000;
    hollow.style = BS_NULL;
    whitePen.color = 0xFFFFFF;
    blackPen.color = 0x000000;
    nullPen.style = PS_NULL;
  }
  bool Contains(const GdiObject* o) const {
    return o == &white || o == &ltgray || o == &gray || o == &dkgray || o == &black || o == &hollow ||
           o == &whitePen || o == &blackPen || o == &nullPen || o == &monoBitmap;
  }
};

StockObjects& stock() {
  static StockObjects s;
  return s;
}

// Bitmaps larger than this are refused like a failed allocation: 256 MB of pixels.
constexpr size_t kMaxBitmapBytes = size_t(256) << 20;

bool ValidDepth(unsigned bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

HBITMAP NewBitmap(int width, int height, int bpp) {
  if (width < 0 || height < 0 || width > 32768 || height > 32768 || !ValidDepth(unsigned(bpp))) return nullptr;
  // An empty request gets an empty bitmap of its own (not the shared stock one, as Windows
  // gives): the class library takes the pixels out of handles it adopts.
  if (size_t(Dib::StrideFor(width, bpp)) * size_t(height) > kMaxBitmapBytes) return nullptr;
  return Own(new GdiBitmap(Dib(width, height, bpp, StandardPalette(bpp))));
}

void SetupContext(DeviceContext* dc) {
  dc->brush = &stock().white;
  dc->pen = &stock().blackPen;
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.contexts.insert(dc);
}

template <class T>
T* Swap(T*& slot, T* object) {
  T* old = slot;
  slot = object;
  Retain(object);
  Release(old);
  return old;
}

}  // namespace

std::vector<RGBQuad> StandardPalette(int bpp) {
  if (bpp == 1) return {QuadFromRGB(0x000000), QuadFromRGB(0xFFFFFF)};
  if (bpp != 4 && bpp != 8) return {};
  static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                   0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  std::vector<RGBQuad> p;
  for (COLORREF c : vga) p.push_back(QuadFromRGB(c));
  if (bpp == 4) return p;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) p.push_back(QuadFromRGB(RGB(uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51))));
  while (p.size() < 256) p.push_back(QuadFromRGB(0));
  return p;
}

Rect DeviceContext::EffectiveClip() const {
  if (!surface) return {};
  Rect bounds{0, 0, surface->width(), surface->height()};
  return hasClip ? clip.Intersect(bounds) : bounds;
}

HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitCount, const void* bits) {
  if (planes != 1 || !ValidDepth(bitCount)) return nullptr;
  HBITMAP bitmap = NewBitmap(width, height, int(bitCount));
  if (!bitmap || !bits) return bitmap;
  // The caller's rows are word-aligned (a multiple of 16 bits), top row first.
  const auto* source = static_cast<const uint8_t*>(bits);
  size_t sourceStride = ((size_t(width) * bitCount + 15) / 16) * 2;
  size_t rowBytes = (size_t(width) * bitCount + 7) / 8;
  Dib& dib = bitmap->dib;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = dib.row(y);
    std::copy(source + size_t(y) * sourceStride, source + size_t(y) * sourceStride + rowBytes, row);
  }
  return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  bool mono = dc && dc->surface && dc->surface->bpp() == 1;
  return NewBitmap(width, height, mono ? 1 : 32);
}

HBITMAP CreateDIBitmap(const Dib& dib) {
  if (size_t(dib.stride()) * size_t(dib.height()) > kMaxBitmapBytes) return nullptr;
  return Own(new GdiBitmap(dib));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* brush = new GdiBrush;
  brush->color = color;
  return Own(brush);
}

HBRUSH CreatePatternBrush(HBITMAP pattern) {
  if (!pattern || pattern->dib.empty()) return nullptr;
  auto* brush = new GdiBrush;
  brush->style = BS_PATTERN;
  brush->pattern = std::make_shared<const Dib>(pattern->dib);  // the brush keeps its own copy, as Windows does
  return Own(brush);
}

HBRUSH GetStockBrush(int kind) {
  if (kind == BS_NULL) return &stock().hollow;
  if (kind == BS_SOLID) return &stock().white;
  return nullptr;
}

HGDIOBJ GetStockObject(int kind) {
  StockObjects& s = stock();
  switch (kind) {
    case WHITE_BRUSH: return &s.white;
    case LTGRAY_BRUSH: return &s.ltgray;
    case GRAY_BRUSH: return &s.gray;
    case DKGRAY_BRUSH: return &s.dkgray;
    case BLACK_BRUSH: return &s.black;
    case NULL_BRUSH: return &s.hollow;
    case WHITE_PEN: return &s.whitePen;
    case BLACK_PEN: return &s.blackPen;
    case NULL_PEN: return &s.nullPen;
    default: return nullptr;
  }
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  auto* pen = new GdiPen;
  pen->style = style;
  pen->width = width < 1 ? 1 : width;  // width 0 is the one-pixel pen
  pen->color = color;
  return Own(pen);
}

HFONT CreateFontFromSpec(const FontSpec& spec) {
  auto* font = new GdiFont;
  font->spec = spec;
  return Own(font);
}

HPALETTE CreatePalette(const std::vector<RGBQuad>& entries) {
  if (entries.empty() || entries.size() > 256) return nullptr;
  auto* palette = new GdiPalette;
  palette->entries = entries;
  return Own(palette);
}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new DeviceContext;
  dc->memoryDC = true;
  dc->bitmap = &stock().monoBitmap;
  dc->surface = &dc->bitmap->dib;
  SetupContext(dc);
  return dc;
}

HDC CreateSurfaceDC(Dib* surface, Point origin, Rect clip) {
  auto* dc = new DeviceContext;
  dc->surface = surface;
  dc->origin = origin;
  dc->clip = clip;
  dc->hasClip = true;
  SetupContext(dc);
  return dc;
}

bool DeleteDC(HDC dc) {
  if (!dc) return false;
  {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (r.contexts.erase(dc) == 0) return false;
  }
  Release(dc->bitmap);
  Release(dc->brush);
  Release(dc->pen);
  Release(dc->font);
  Release(dc->palette);
  delete dc;
  return true;
}

bool DeleteObject(HGDIOBJ object) {
  if (!object) return false;
  Registry& r = registry();
  std::unique_lock<std::mutex> lock(r.mutex);
  auto it = r.objects.find(object);
  if (it == r.objects.end()) return stock().Contains(object);
  if (it->second.selections > 0) {
    it->second.deletePending = true;  // freed when the last context selects something else
    return true;
  }
  r.objects.erase(it);
  lock.unlock();
  delete object;
  return true;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!dc || !object) return nullptr;
  if (auto* bitmap = dynamic_cast<GdiBitmap*>(object)) {
    if (!dc->memoryDC) return nullptr;  // only a memory context draws into a bitmap
    HBITMAP old = Swap(dc->bitmap, bitmap);
    dc->surface = &bitmap->dib;
    return old;
  }
  if (auto* brush = dynamic_cast<GdiBrush*>(object)) return Swap(dc->brush, brush);
  if (auto* pen = dynamic_cast<GdiPen*>(object)) return Swap(dc->pen, pen);
  if (auto* font = dynamic_cast<GdiFont*>(object)) return Swap(dc->font, font);
  return nullptr;  // palettes go through SelectPalette
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, bool) {
  if (!dc || !palette) return nullptr;
  return Swap(dc->palette, palette);
}

unsigned RealizePalette(HDC dc) {
  // The screen is true colour: realising maps every entry without changing anything.
  return dc && dc->palette ? unsigned(dc->palette->entries.size()) : 0;
}

COLORREF ResolveColor(HDC dc, COLORREF color) {
  if ((color >> 24) == 0x01) {
    unsigned index = color & 0xFFFF;
    const std::vector<RGBQuad>* entries = nullptr;
    if (dc && dc->palette) entries = &dc->palette->entries;
    else if (dc && dc->surface && dc->surface->paletted()) entries = &dc->surface->palette();
    if (entries && index < entries->size()) return RGBFromQuad((*entries)[index]);
    return 0;
  }
  return color & 0x00FFFFFF;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->textColor;
  dc->textColor = color;
  return old;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->bkColor;
  dc->bkColor = color;
  return old;
}

int SetBkMode(HDC dc, int mode) {
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->bkMode;
  dc->bkMode = mode;
  return old;
}

COLORREF GetTextColor(HDC dc) { return dc ? dc->textColor : CLR_INVALID; }
COLORREF GetBkColor(HDC dc) { return dc ? dc->bkColor : CLR_INVALID; }
int GetBkMode(HDC dc) { return dc ? dc->bkMode : 0; }

COLORREF GetNearestColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  COLORREF rgb = ResolveColor(dc, color);
  // A paletted surface can show only its palette's colours; every other one shows the colour itself.
  return dc->surface && dc->surface->paletted() ? dc->surface->nearestColor(rgb) : rgb;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  if (!dc || !dc->surface) return CLR_INVALID;
  Point p{x + dc->origin.x, y + dc->origin.y};
  if (!dc->EffectiveClip().Contains(p)) return CLR_INVALID;
  return dc->surface->pixel(p.x, p.y);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (!dc || !dc->surface) return CLR_INVALID;
  Point p{x + dc->origin.x, y + dc->origin.y};
  if (!dc->EffectiveClip().Contains(p)) return CLR_INVALID;
  dc->surface->setPixel(p.x, p.y, ResolveColor(dc, color));
  return dc->surface->pixel(p.x, p.y);
}

int FillRect(HDC dc, const Rect& rect, HBRUSH brush) {
  if (!dc || !brush) return 0;
  return PatBltBrush(dc, rect, brush, PATCOPY) ? 1 : 0;
}

}  // namespace tlb
