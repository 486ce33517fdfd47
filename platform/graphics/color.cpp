#include "platform/graphics/color.h"

#include <array>

namespace tlb {
namespace {

constexpr std::array<COLORREF, COLOR_COUNT> kClassicScheme = {
    RGB(192, 192, 192),  // scrollbar
    RGB(0, 128, 128),    // background
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // app workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3D dark shadow
    RGB(223, 223, 223),  // 3D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
};

std::array<COLORREF, COLOR_COUNT>& table() {
  static std::array<COLORREF, COLOR_COUNT> t = kClassicScheme;
  return t;
}

}  // namespace

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= COLOR_COUNT) return 0;
  return table()[size_t(index)];
}

void SetSysColorForTest(int index, COLORREF value) {
  if (index >= 0 && index < COLOR_COUNT) table()[size_t(index)] = value;
}

void ResetSysColors() { table() = kClassicScheme; }

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return COLORREF(color) & 0x00FFFFFF;
}

}  // namespace tlb
