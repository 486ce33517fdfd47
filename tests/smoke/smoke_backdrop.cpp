// Smoke test of the real backend: opens the SDL window (under Xvfb in CI), shows
// the backdrop, takes a screenshot and checks that the texture covers the screen.
#include <cstdio>
#include <string>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/formats/png_writer.h"
#include "platform/ui/forms.h"
#include "resources/resources.h"
#include "shared/pozadi.h"

using namespace tlb;

int main(int argc, char** argv) {
  std::string shot = argc > 1 ? argv[1] : "smoke_backdrop.png";
  SdlBackend backend;
  StartProgramRun(&backend);
  RegisterCommonResources();
  tq::ShowBackdrop();
  int64_t until = backend.NowMs() + 500;
  PumpUntil([&] { return backend.NowMs() >= until; });
  backend.SaveScreenshot(shot);
  const auto* tile = dynamic_cast<const TBitmap*>(tq::FORMPozadi->TileImage1->Picture().Graphic());
  Size s = backend.ScreenSize();
  int wrong = 0;
  Dib seen = Screen->Surface();
  for (int y = 0; y < s.cy; y += 7)
    for (int x = 0; x < s.cx; x += 5)
      if (seen.pixel(x, y) != tile->Pixels().pixel(x % 60, y % 69)) ++wrong;
  std::printf("screen %dx%d, screenshot %s, %d sampled pixels differ from the texture\n", s.cx, s.cy, shot.c_str(),
              wrong);
  EndProgramRun();
  return wrong == 0 ? 0 : 1;
}
