#pragma once
// What the smoke programs check with: each check printed as ok or WRONG with the
// failures counted for the exit code, and the pixels of one colour a control covers.
#include <cstdio>

#include "platform/graphics/graphics.h"
#include "platform/ui/control.h"

namespace tlb::smoke {

// Called as expect("what", ok): prints "what: ok" or "what: WRONG".
struct SmokeChecks {
  int failures = 0;
  void operator()(const char* what, bool ok) {
    if (!ok) ++failures;
    std::printf("%s: %s\n", what, ok ? "ok" : "WRONG");
  }
};

// The pixels of `colour` on `screen` within the control's client area.
inline int CountPixels(const Dib& screen, TControl* c, COLORREF colour) {
  int n = 0;
  Point o = c->ClientToScreen({0, 0});
  for (int y = 0; y < c->Height(); ++y)
    for (int x = 0; x < c->Width(); ++x) n += screen.pixel(o.x + x, o.y + y) == colour;
  return n;
}

}  // namespace tlb::smoke
