#pragma once
// Colours in the class library's model: plain RGB with red in the lowest byte,
// or a system colour as 0x80000000 or-ed with its index, resolved when used.
#include <cstddef>
#include <cstdint>

namespace tlb {

using TColor = int32_t;
using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return uint8_t(c); }
constexpr uint8_t GetGValue(COLORREF c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) { return uint8_t(c >> 16); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colour indexes (COLOR_*), and their class-library colour values.
enum SysColorIndex : int {
  COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20, COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24, COLOR_COUNT = 25
};

constexpr TColor clSystemColor = int32_t(0x80000000u);
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr uint32_t PaletteRelativeFlag = 0x02000000;  // the "palette-relative RGB" bit
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// The system colour table: the classic scheme, changeable by tests.
COLORREF GetSysColor(int index);
void SetSysColorForTest(int index, COLORREF value);
void ResetSysColors();

// Resolves a class-library colour to plain RGB: system colours through the table,
// the palette-relative flag dropped.
COLORREF ColorToRGB(TColor color);

}  // namespace tlb
