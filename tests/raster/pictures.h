#pragma once
// Small pictures written as text for the raster tests: one character per pixel, with a
// legend from characters to colours, so a fixture and its expected result read as pictures.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/dib.h"
#include "platform/graphics/gdi.h"

namespace rastertest {

using Legend = std::map<char, tlb::COLORREF>;

// A Dib of the given depth from rows of characters; paletted depths get `palette`
// (or the standard one) and each pixel the nearest entry.
inline tlb::Dib MakeDib(const std::vector<std::string>& rows, const Legend& legend, int bpp = 32,
                        std::vector<tlb::RGBQuad> palette = {}) {
  int h = int(rows.size()), w = h ? int(rows[0].size()) : 0;
  if (bpp <= 8 && palette.empty()) palette = tlb::StandardPalette(bpp);
  tlb::Dib dib(w, h, bpp, palette);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) dib.setPixel(x, y, legend.at(rows[size_t(y)][size_t(x)]));
  return dib;
}

// A 1-bit Dib (palette black, white) from rows of '1' (set) and '0'.
inline tlb::Dib MakeMono(const std::vector<std::string>& rows) {
  int h = int(rows.size()), w = h ? int(rows[0].size()) : 0;
  tlb::Dib dib(w, h, 1, tlb::StandardPalette(1));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) dib.setRawPixel(x, y, rows[size_t(y)][size_t(x)] == '1' ? 1 : 0);
  return dib;
}

// The picture back as text; colours missing from the legend show as '?'.
inline std::vector<std::string> Render(const tlb::Dib& dib, const Legend& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < dib.height(); ++y) {
    std::string row;
    for (int x = 0; x < dib.width(); ++x) {
      char c = '?';
      for (const auto& [k, v] : legend)
        if (v == dib.pixel(x, y)) { c = k; break; }
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

// The raw values of a 1-bit Dib as '1' and '0'.
inline std::vector<std::string> RenderMono(const tlb::Dib& dib) {
  std::vector<std::string> rows;
  for (int y = 0; y < dib.height(); ++y) {
    std::string row;
    for (int x = 0; x < dib.width(); ++x) row += dib.rawPixel(x, y) ? '1' : '0';
    rows.push_back(row);
  }
  return rows;
}

// A memory DC with its own bitmap selected, freed at the end of the test.
class MemoryDC {
 public:
  explicit MemoryDC(tlb::Dib dib) {
    bitmap_ = tlb::CreateDIBitmap(dib);
    dc_ = tlb::CreateCompatibleDC(nullptr);
    old_ = tlb::SelectObject(dc_, bitmap_);
  }
  ~MemoryDC() {
    tlb::SelectObject(dc_, old_);
    tlb::DeleteDC(dc_);
    tlb::DeleteObject(bitmap_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  tlb::HDC dc() const { return dc_; }
  tlb::HBITMAP bitmap() const { return bitmap_; }
  tlb::Dib& dib() const { return bitmap_->dib; }

 private:
  tlb::HBITMAP bitmap_ = nullptr;
  tlb::HDC dc_ = nullptr;
  tlb::HGDIOBJ old_ = nullptr;
};

// Selects a freshly made object into a DC for one scope, then deletes it.
class Selected {
 public:
  Selected(tlb::HDC dc, tlb::HGDIOBJ object) : dc_(dc), object_(object) { old_ = tlb::SelectObject(dc, object); }
  ~Selected() {
    tlb::SelectObject(dc_, old_);
    tlb::DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  tlb::HDC dc_;
  tlb::HGDIOBJ object_;
  tlb::HGDIOBJ old_ = nullptr;
};

}  // namespace rastertest
