#include "platform/backend/screen_settings.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace tlb {

namespace {

// Reads the decimal digits at `p` (at least one), moving `p` past them; a value
// past `limit` reads as `limit`.
std::optional<int> ReadNumber(const char*& p, int limit) {
  if (*p < '0' || *p > '9') return std::nullopt;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = std::min<long long>(value * 10 + (*p - '0'), limit);
  return int(value);
}

}  // namespace

std::optional<Size> ParseScreenSize(const char* text) {
  if (!text) return std::nullopt;
  const char* p = text;
  // Anything past 16384 is out of range, however many digits it has.
  std::optional<int> w = ReadNumber(p, 16385);
  if (!w || (*p != 'x' && *p != 'X')) return std::nullopt;
  ++p;
  std::optional<int> h = ReadNumber(p, 16385);
  if (!h || *p != '\0') return std::nullopt;
  if (*w < 320 || *h < 200 || *w > 16384 || *h > 16384) return std::nullopt;
  return Size{*w, *h};
}

Size ScreenSizeSetting(const char* text, Size fallback) {
  if (!text || !*text) return fallback;
  if (std::optional<Size> size = ParseScreenSize(text)) return *size;
  std::fprintf(stderr,
               "TULIMBO_SCREEN=\"%s\" is not understood (it takes a width and a height from 320x200 to "
               "16384x16384, such as 800x600): using %dx%d\n",
               text, fallback.cx, fallback.cy);
  return fallback;
}

std::optional<int> ParseScale(const char* text) {
  if (!text) return std::nullopt;
  const char* p = text;
  std::optional<int> s = ReadNumber(p, INT_MAX);
  if (!s || *p != '\0' || *s < 1) return std::nullopt;
  return s;
}

int DefaultScale(Size desktop) { return std::max(1, std::min(desktop.cx / 640, desktop.cy / 480)); }

int ScaleSetting(const char* text, Size screenPixels, int fallback) {
  if (!text || !*text) return fallback;
  std::optional<int> s = ParseScale(text);
  if (!s) {
    std::fprintf(stderr, "TULIMBO_SCALE=\"%s\" is not understood (it takes a whole number of 1 or more): using %d\n",
                 text, fallback);
    return fallback;
  }
  // A larger scale would cut the form's edges off; a screen too small for the
  // form at any scale still takes 1.
  const int largest = DefaultScale(screenPixels);
  if (*s > largest) {
    std::fprintf(stderr, "TULIMBO_SCALE=%s does not fit a 640x480 form on a %dx%d screen: using %d\n", text,
                 screenPixels.cx, screenPixels.cy, largest);
    return largest;
  }
  return *s;
}

void ReportWindowLargerThanDesktop(Size window, Size desktop) {
  if (window.cx <= desktop.cx && window.cy <= desktop.cy) return;
  std::fprintf(stderr,
               "TULIMBO_SCREEN=%dx%d makes a window larger than the %dx%d desktop: part of it is off the desktop\n",
               window.cx, window.cy, desktop.cx, desktop.cy);
}

}  // namespace tlb
