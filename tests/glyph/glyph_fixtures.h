#pragma once
// Small bitmaps for the glyph-button tests, and ways to read back what a list
// slot or a button holds.
#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/graphics/imagelist.h"
#include "shared/GlyphCtls.h"

namespace tq::testing {

// A colour no fixture uses: what a transparent pixel shows when read back.
constexpr tlb::COLORREF kSentinel = 0x123456;

// The classic 16 colours, which every pixel format of the fixtures can hold.
constexpr tlb::COLORREF kBlack = 0x000000, kMaroon = 0x000080, kGreen = 0x008000, kOlive = 0x008080,
                        kNavy = 0x800000, kPurple = 0x800080, kTeal = 0x808000, kSilver = 0xC0C0C0,
                        kGray = 0x808080, kRed = 0x0000FF, kLime = 0x00FF00, kYellow = 0x00FFFF, kBlue = 0xFF0000,
                        kFuchsia = 0xFF00FF, kAqua = 0xFFFF00, kWhite = 0xFFFFFF;

// A w x h bitmap of one colour, then converted to `format` (pfDevice: left as made).
inline tlb::TBitmap Solid(int w, int h, tlb::COLORREF color, tlb::TPixelFormat format = tlb::pfDevice) {
  tlb::TBitmap b;
  b.SetSize(w, h);
  b.Pixels().fill(color);
  if (format != tlb::pfDevice) b.SetPixelFormat(format);
  return b;
}

// A bitmap drawn by a function of the pixel position, in `format`.
inline tlb::TBitmap Painted(int w, int h, const std::function<tlb::COLORREF(int x, int y)>& color,
                            tlb::TPixelFormat format = tlb::pfDevice) {
  tlb::TBitmap b;
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Pixels().setPixel(x, y, color(x, y));
  if (format != tlb::pfDevice) b.SetPixelFormat(format);
  return b;
}

// The pixels of a picture drawn transparently onto a w x h sentinel background.
inline tlb::Dib ReadBack(int w, int h, const std::function<void(tlb::TCanvas&)>& draw) {
  tlb::TBitmap target = Solid(w, h, kSentinel);
  draw(target.Canvas());
  return target.Pixels();
}

inline tlb::Dib ReadSlot(TGlyphList& list, int slot) {
  return ReadBack(list.Width(), list.Height(), [&](tlb::TCanvas& c) {
    tlb::ImageList_DrawEx(list.Handle(), slot, c.Handle(), 0, 0, 0, 0, tlb::CLR_NONE, tlb::CLR_NONE,
                          tlb::ILD_TRANSPARENT);
  });
}

// The state picture of a button glyph as DrawStateImage draws it at (0, 0).
inline tlb::Dib ReadState(TButtonGlyph& glyph, uint8_t state, int w, int h) {
  return ReadBack(w, h, [&](tlb::TCanvas& c) { glyph.DrawStateImage(c, {0, 0}, state); });
}

// Every pixel where the two differ, as "x,y: got want" lines (at most `limit`).
inline std::string Differences(const tlb::Dib& got, const std::function<tlb::COLORREF(int, int)>& want,
                               int limit = 8) {
  std::string out;
  int shown = 0;
  char line[96];
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x) {
      tlb::COLORREF g = got.pixel(x, y), w = want(x, y);
      if (g == w) continue;
      if (shown++ < limit) {
        std::snprintf(line, sizeof line, "(%d,%d): got %06X want %06X\n", x, y, g, w);
        out += line;
      }
    }
  if (shown > limit) out += std::to_string(shown - limit) + " more\n";
  return out;
}

}  // namespace tq::testing
