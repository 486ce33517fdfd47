// Benchmark of a memory game on the real backend (run it under Xvfb): the work of
// laying out and showing a 4x4 round (16 card pictures loaded) up to its first
// wait, the processor time of the countdown's waits with and without music, and
// the peak resident memory with a game open.
//
//   xvfb-run -s "-screen 0 1024x768x24" build/bin/bench_memory_round [music|silent]

#include <chrono>
#include <cstdio>
#include <cstring>

#include "games/src/kim_1.h"
#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "shared/Technic2.h"
#include "tests/bench/bench_measure.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

}  // namespace

int main(int argc, char** argv) {
  bool music = !(argc > 1 && std::strcmp(argv[1], "silent") == 0);
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartGamesProgram();
  if (!music) tq::Technic2().MusicOn = false;
  tq::FORM_Menu->Show();
  // The first timer tick after the click comes after the layout and its paint.
  Clock::time_point clicked, shown;
  auto* probe = new TTimer(Application);
  probe->SetEnabled(false);
  probe->SetInterval(1);
  probe->SetOnTimer([&](TObject*) {
    shown = Clock::now();
    probe->SetEnabled(false);
  });
  // The countdown's waits, measured from 3 s to 13 s after the click, then skipped.
  double cpu0 = 0, cpu1 = 0;
  Clock::time_point wall0, wall1;
  auto* window = new TTimer(Application);
  window->SetEnabled(false);
  window->SetInterval(3000);
  int windowTicks = 0;
  window->SetOnTimer([&](TObject*) {
    if (++windowTicks == 1) {
      cpu0 = CpuSeconds();
      wall0 = Clock::now();
      window->SetInterval(10000);
    } else {
      cpu1 = CpuSeconds();
      wall1 = Clock::now();
      window->SetEnabled(false);
      tq::form_kim1->stitClick(nullptr);
    }
  });
  // The game opened from its tile as a child would, driven from a timer inside its modal run.
  int step = 0;
  int64_t idleAt = 0;
  bool done = false;
  auto* driver = new TTimer(Application);
  driver->SetInterval(100);
  driver->SetOnTimer([&](TObject*) {
    auto* game = tq::form_kim1;
    if (step == 0 && tq::FORM_Menu->AVI_obr9->Visible()) {
      step = 1;
      tq::FORM_Menu->AVI_obr1Click(nullptr);  // returns when the game has closed
      done = true;
    } else if (step == 1 && game && game->stit->Visible()) {
      game->stitClick(nullptr);  // the introduction, cut short
      step = 2;
    } else if (step == 2 && game && game->BTN_Konec->Visible()) {
      idleAt = backend.NowMs();
      step = 3;
    } else if (step == 3 && backend.NowMs() - idleAt > 2500) {  // the music has started
      step = 4;
      window->SetEnabled(true);
      clicked = Clock::now();
      probe->SetEnabled(true);
      game->btn_hra4x4Click(nullptr);
      game->BTN_KonecClick(nullptr);
    }
  });
  PumpUntil([&] { return done; });
  std::printf("4x4 round laid out and shown: %.1f ms\n", Ms(clicked, shown));
  std::printf("countdown waits (%s): %.2f%% of one core over %.1f s\n", music ? "music" : "no music",
              100.0 * (cpu1 - cpu0) / (Ms(wall0, wall1) / 1000.0), Ms(wall0, wall1) / 1000.0);
  std::printf("peak resident memory with a game open: %.1f MB\n", PeakRssKb() / 1024.0);
  EndProgramRun();
  return 0;
}
