// Benchmark of a pumping wait on the real backend (run it under Xvfb): the
// processor time of `PumpUntil` over the backdrop for a few seconds, the busy
// loop the forms use while they wait for a timer or a player.

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "resources/resources.h"
#include "shared/pozadi.h"
#include "tests/bench/bench_measure.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  SdlBackend backend;
  StartProgramRun(&backend);
  RegisterCommonResources();
  tq::ShowBackdrop();
  // A 100 ms timer like the forms' TickDelay, counted while the loop pumps.
  auto* t = new TTimer(Application);
  int ticks = 0;
  t->SetInterval(100);
  t->SetOnTimer([&](TObject*) { ++ticks; });
  Application->ProcessMessages();
  double cpu0 = CpuSeconds();
  auto wall0 = std::chrono::steady_clock::now();
  int64_t until = backend.NowMs() + seconds * 1000;
  PumpUntil([&] { return backend.NowMs() >= until; });
  double cpu = CpuSeconds() - cpu0;
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  std::printf("pumping wait: %.2f%% of one core over %.1f s (%d timer ticks)\n", 100.0 * cpu / wall, wall, ticks);
  EndProgramRun();
  return 0;
}
