#pragma once
// Relative luminance and contrast ratio of colours as the readability of text
// is judged: sRGB channels made linear and weighted as the eye sees them.
#include <algorithm>
#include <cmath>

namespace tlb::testing {

// The relative luminance (0 black .. 1 white) of a colour of 8-bit channels.
inline double RelativeLuminance(int red, int green, int blue) {
  auto linear = [](int v) {
    double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

// The contrast ratio (1 .. 21) of two relative luminances.
inline double ContrastRatio(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

}  // namespace tlb::testing
