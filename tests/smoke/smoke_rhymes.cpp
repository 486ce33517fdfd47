// Smoke test of the rhymes program in the real window (under Xvfb in CI): the
// introduction skipped, the first rhyme playing, a screenshot mid-rhyme, and the
// pixels of the faces, the arrow and the first display line coloured in part.
#include <cstdio>
#include <string>

#include "platform/backend/sdl/sdl_backend.h"
#include "tests/smoke/smoke_checks.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "rhymes/src/lym_main.h"
#include "rhymes/src/lymbal.h"

using namespace tlb;

int main(int argc, char** argv) {
  std::string shot = argc > 1 ? argv[1] : "smoke_rhymes.png";
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartRhymesProgram();
  tq::TFORM_Lymbal* form = tq::FORM_Lymbal;
  form->Show();
  int64_t limit = backend.NowMs() + 15000;
  // Skip the introduction as Esc would once it has started: the narration waits in a
  // loop of its own, where only timers reach it.
  auto* skipper = new TTimer(form);
  skipper->SetInterval(100);
  skipper->SetOnTimer([form](TObject*) {
    if (form->spoustec->Tag == 0) tq::LymbalUnit().SkipRequested = 1;
  });
  PumpUntil([&] { return form->btn_konec->Visible() || backend.NowMs() >= limit; });
  skipper->SetEnabled(false);
  form->btn_1Click(form);
  // "Ententýky, dva špalíky," is sung in the first 3.4 s of the recording.
  int64_t mid = backend.NowMs() + 2500;
  PumpUntil([&] { return backend.NowMs() >= mid; });
  backend.SaveScreenshot(shot);
  const Dib& screen = Screen->Surface();
  tlb::smoke::SmokeChecks expect;
  auto count = [&](TControl* c, COLORREF colour) { return tlb::smoke::CountPixels(screen, c, colour); };
  expect("the recording plays", form->wavplayer->Mode() == mpPlaying);
  TControl* line = form->Display().Line(1);
  expect("the first line has yellow syllables", count(line, 0x00FFFF) > 0);
  expect("and lime ones still to come", count(line, 0x00FF00) > 0);
  expect("the title is yellow", count(form->text_0, 0x00FFFF) > 0);
  Point arrow = form->sipka->ClientToScreen({90, 90});
  expect("the arrow shows", form->sipka->Visible() && screen.pixel(arrow.x, arrow.y) != 0x008000);
  for (int k = 1; k <= 8; ++k) {
    Point c = form->ksicht[k]->ClientToScreen({52, 52});
    expect(("face " + std::to_string(k) + " shows").c_str(), screen.pixel(c.x, c.y) != 0x008000);
  }
  form->btn_konecClick(form);
  Application->ProcessMessages();
  EndProgramRun();
  std::printf("screenshot %s\n", shot.c_str());
  return expect.failures == 0 ? 0 : 1;
}
