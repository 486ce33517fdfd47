#pragma once
// What the smoke programs check with: each check printed as ok or WRONG with the
// failures counted for the exit code, and the pixels of one colour a control covers.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

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

// The text standard error receives while `work` runs (kept in `file`).
template <class Work>
std::string StandardError(const std::string& file, Work work) {
  std::fflush(stderr);
  int saved = dup(2);
  int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(fd, 2);
  close(fd);
  work();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::ifstream in(file);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace tlb::smoke
