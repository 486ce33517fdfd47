// Benchmark of the glyph button on the headless backend: one repaint of a 125 x 95
// five-cell button from its cached state pictures (target: under 20 us), and the
// building of all five state pictures of a strip (target: under 1 ms).
//
//   bench_glyph [repetitions]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/backend/headless/headless_backend.h"
#include "platform/ui/forms.h"
#include "shared/GlyphCtls.h"

using namespace tlb;
using Clock = std::chrono::steady_clock;

namespace {

// A 475 x 95 strip of five cells: a disc of the cell's colour on a teal background.
TBitmap Strip(TPixelFormat format) {
  static const COLORREF ink[5] = {0x0000FF, 0x808080, 0x00FF00, 0xFF0000, 0x00FFFF};
  TBitmap b;
  b.SetSize(475, 95);
  for (int y = 0; y < 95; ++y)
    for (int x = 0; x < 475; ++x) {
      int dx = x % 95 - 47, dy = y - 47;
      bool disc = dx * dx + dy * dy < 40 * 40;
      bool white = disc && dx * dx + dy * dy < 10 * 10;
      b.Pixels().setPixel(x, y, white ? 0xFFFFFF : disc ? ink[x / 95] : 0x808000);
    }
  if (format != pfDevice) b.SetPixelFormat(format);
  return b;
}

double MicrosecondsPer(int n, Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / n;
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  HeadlessBackend backend({800, 600});
  StartProgramRun(&backend);
  auto* form = new TForm(Application);
  form->BorderStyle = bsNone;
  form->SetBounds(0, 0, 640, 480);
  form->SetColor(clGreen);
  form->Show();
  auto* button = new tq::TGlyphButton(form);
  button->SetParent(form);
  button->SetBounds(100, 100, 125, 95);
  TBitmap strip = Strip(pfDevice);
  button->SetGlyph(&strip);
  button->SetNoBorder(true);
  button->SetColor(clGreen);
  button->SetDisplayMode(tq::dmGlyphOnly);
  Application->ProcessMessages();

  // Repaint: the button's own paint onto the form's surface, pictures cached.
  TCanvas canvas;
  canvas.Attach(&form->Surface(), {100, 100}, Rect::FromSize(100, 100, 125, 95));
  button->Canvas().Attach(&form->Surface(), {100, 100}, Rect::FromSize(100, 100, 125, 95));
  button->Paint();
  auto start = Clock::now();
  for (int i = 0; i < n; ++i) button->Paint();
  double paint = MicrosecondsPer(n, start);
  button->Canvas().Detach();
  std::printf("repaint of a 125 x 95 button from cached pictures: %.2f us (target < 20 us)\n", paint);

  // Building: all five state pictures of the strip, after the pictures were dropped.
  for (TPixelFormat format : {pfDevice, pf4bit, pf8bit, pf24bit}) {
    TBitmap s = Strip(format);
    button->SetGlyph(&s);
    int builds = std::max(1, n / 20);
    start = Clock::now();
    for (int i = 0; i < builds; ++i) {
      tq::TButtonGlyph& glyph = *button->ButtonGlyph();
      glyph.DropStateImages();
      for (uint8_t state = 0; state < 5; ++state) glyph.BuildStateImage(state);
    }
    const char* name = format == pfDevice ? "device" : format == pf4bit ? "4-bit" : format == pf8bit ? "8-bit" : "24-bit";
    std::printf("building all five pictures of a 475 x 95 %s strip: %.1f us (target < 1000 us)\n", name,
                MicrosecondsPer(builds, start));
  }
  EndProgramRun();
  return 0;
}
