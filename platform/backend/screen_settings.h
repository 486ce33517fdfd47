#pragma once
// The screen's size and scale as the environment asks for them: TULIMBO_SCREEN
// ("WxH", a window of that size instead of the whole desktop) and TULIMBO_SCALE
// (how many screen pixels a form pixel takes each way). Both backends read the
// size; the scale is the real window's.
#include <optional>
#include <string>

#include "platform/graphics/geometry.h"

namespace tlb {

// "WxH" (or "WXH"): two whole numbers and nothing else, from 320x200 up to
// 16384x16384; nothing when the text is anything else.
std::optional<Size> ParseScreenSize(const char* text);
// The size TULIMBO_SCREEN's text asks for; `fallback` when it is missing or
// empty. A text that is not understood is reported on standard error and gives
// `fallback`.
Size ScreenSizeSetting(const char* text, Size fallback);

// A whole number of 1 or more, in digits and nothing else (a very large one
// reads as the largest int); nothing otherwise.
std::optional<int> ParseScale(const char* text);
// The largest whole scale at which a 640x480 form fits `desktop`; at least 1.
int DefaultScale(Size desktop);
// The scale for a screen of `screenPixels`: TULIMBO_SCALE's text when it is
// understood, else `fallback` (the text missing or empty too). A text that is
// not understood is reported on standard error; a scale at which a 640x480 form
// does not fit the screen is reported and gives DefaultScale, the largest that
// fits.
int ScaleSetting(const char* text, Size screenPixels, int fallback);

// Reports on standard error a TULIMBO_SCREEN window wider or taller than the
// desktop: part of it cannot be seen. The window is kept as asked.
void ReportWindowLargerThanDesktop(Size window, Size desktop);

}  // namespace tlb
