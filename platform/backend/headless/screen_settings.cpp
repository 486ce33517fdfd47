#include "platform/backend/headless/screen_settings.h"

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

int LargestScale(Size screenPixels) { return std::max(1, std::min(screenPixels.cx / 320, screenPixels.cy / 200)); }

int ScaleSetting(const char* text, Size screenPixels, int fallback) {
  if (!text || !*text) return fallback;
  std::optional<int> s = ParseScale(text);
  if (!s) {
    std::fprintf(stderr, "TULIMBO_SCALE=\"%s\" is not understood (it takes a whole number of 1 or more): using %d\n",
                 text, fallback);
    return fallback;
  }
  const int largest = LargestScale(screenPixels);
  if (*s > largest) {
    std::fprintf(stderr, "TULIMBO_SCALE=%s is more than a %dx%d screen takes: using %d\n", text, screenPixels.cx,
                 screenPixels.cy, largest);
    return largest;
  }
  return *s;
}

}  // namespace tlb
