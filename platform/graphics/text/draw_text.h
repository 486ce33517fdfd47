#pragma once
// Formatted text in a rectangle, as the DrawText call lays it out: lines broken
// at CR LF, LF or CR and, on request, between words; aligned horizontally, and
// vertically when the text is one line; "&" marking an underlined character.
#include <string_view>

#include "platform/graphics/color.h"
#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/text/font_engine.h"

namespace tlb {

constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;      // single-line text only
constexpr unsigned DT_BOTTOM = 0x8;       // single-line text only
constexpr unsigned DT_WORDBREAK = 0x10;   // break between words to fit the rectangle's width
constexpr unsigned DT_SINGLELINE = 0x20;  // CR and LF do not break the line
constexpr unsigned DT_EXPANDTABS = 0x40;  // tab stops every eight average character widths
constexpr unsigned DT_NOCLIP = 0x100;     // draw outside the rectangle too (still within `clip`)
constexpr unsigned DT_CALCRECT = 0x400;   // measure only: set rect.right and rect.bottom
constexpr unsigned DT_NOPREFIX = 0x800;   // "&" is an ordinary character
constexpr unsigned DT_HIDEPREFIX = 0x100000;  // "&" is removed but draws no underline

// Draws code page 1250 `text` into `rect` of `target` in `font` and `color`,
// touching nothing outside `clip` (target coordinates) and, without DT_NOCLIP,
// nothing outside `rect`. Returns the height of the text; when the text is
// centred or bottom-aligned, the distance from rect.top to the bottom of the text.
//
// With DT_CALCRECT nothing is drawn: rect.right becomes rect.left plus the
// widest line (lines first broken to the rectangle's width with DT_WORDBREAK,
// where a word wider than it stays whole and widens the result) and rect.bottom
// becomes rect.top plus the height of all lines. Empty text measures 0 x 0.
//
// Without DT_NOPREFIX, "&x" draws x underlined and "&&" draws "&".
// Flags not listed above (ellipses, edit-control rules, tab-stop widths) are ignored.
int DrawTextCp(Dib& target, std::string_view text, Rect& rect, unsigned format, const FontSpec& font,
               COLORREF color, const Rect& clip);

// The same layout without a target: what DrawTextCp with DT_CALCRECT does.
int MeasureTextCp(std::string_view text, Rect& rect, unsigned format, const FontSpec& font);

}  // namespace tlb
