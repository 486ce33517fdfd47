#include "tests/smoke/x_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdint>

namespace tlb::smoke {

Dib ReadXScreen() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return Dib();
  Window root = DefaultRootWindow(display);
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, root, &attributes);
  Dib out;
  if (XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap)) {
    out = Dib(attributes.width, attributes.height, 32);
    // Each colour's mask, moved down to its lowest bits and widened to 8 bits.
    auto channel = [](unsigned long value, unsigned long mask) {
      if (!mask) return 0u;
      unsigned v = unsigned((value & mask) >> std::countr_zero(mask));
      const int bits = std::popcount(mask);
      return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
    };
    for (int y = 0; y < attributes.height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(out.row(y));
      for (int x = 0; x < attributes.width; ++x) {
        unsigned long p = XGetPixel(image, x, y);
        row[x] = 0xFF000000u | channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 |
                 channel(p, image->blue_mask);
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return out;
}

}  // namespace tlb::smoke
