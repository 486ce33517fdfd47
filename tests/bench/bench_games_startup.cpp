// Benchmark of the games program on the real backend (run it under Xvfb):
// the time from start to the first frame of the backdrop and of the menu, the
// peak resident memory, and the processor time of the idle menu with how often
// its user-interface thread sleeps (and so wakes).
//
//   xvfb-run -s "-screen 0 1024x768x24" build/bin/bench_games_startup [seconds] [silent]
//
// "silent" switches the music off as the program's settings can, with the
// sound output still open; SDL_AUDIODRIVER=dummy gives an output without a
// sound card. Without any output the menu is silent too.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/core/cp1250.h"
#include "platform/media/media_player.h"
#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"
#include "shared/Technic2.h"
#include "tests/bench/bench_measure.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;
using Clock = std::chrono::steady_clock;

namespace {

const Clock::time_point kStart = Clock::now();

double MsSinceStart() { return std::chrono::duration<double, std::milli>(Clock::now() - kStart).count(); }

// The real backend, noting when the first frame is shown.
class TimedBackend : public SdlBackend {
 public:
  void Present(const Dib& screen, const Rect& dirty) override {
    SdlBackend::Present(screen, dirty);
    if (firstFrameMs < 0) firstFrameMs = MsSinceStart();
  }
  double firstFrameMs = -1;
};

void Pump(Backend& b, int64_t ms) {
  int64_t until = b.NowMs() + ms;
  PumpUntil([&] { return b.NowMs() >= until; });
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 5;
  const bool silent = argc > 2 && std::string(argv[2]) == "silent";
  TimedBackend backend;
  double windowMs = MsSinceStart();
  StartProgramRun(&backend);
  // The program's own start-up; the first frame is the backdrop it shows before the data check.
  tq::StartGamesProgram();
  double backdropMs = backend.firstFrameMs;
  auto* menu = tq::FORM_Menu;
  if (silent) tq::Technic2().MusicOn = false;
  menu->Show();
  const int64_t timersStart = backend.NowMs();
  // The menu's own timers wait 1.8 s before the last tile shows; the rest is ours.
  PumpUntil([&] { return menu->AVI_obr9->Visible() || backend.NowMs() - timersStart > 30000; });
  Application->ProcessMessages();
  double menuMs = MsSinceStart();
  // The reveal's own timers account for 1800 ms of it.
  double ownMs = menuMs - 1800.0;
  Pump(backend, 1000);
  // Every sleep of the user-interface thread asks the wake sources once.
  int sleeps = 0;
  MessageQueue::Instance().AddWakeSource([&] {
    ++sleeps;
    return int64_t(-1);
  });
  double cpu0 = CpuSeconds();
  auto wall0 = Clock::now();
  Pump(backend, idleSeconds * 1000);
  double cpu = CpuSeconds() - cpu0;
  double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
  std::printf("window open: %.1f ms after start\n", windowMs);
  std::printf("first frame of the backdrop: %.1f ms after start\n", backdropMs);
  std::printf("menu fully revealed: %.1f ms after start (%.1f ms beyond the menu's own timers)\n", menuMs, ownMs);
  const bool music = menu->MIDIPlayer->Mode() == mpPlaying;
  std::printf("idle menu %s: %.2f%% of one core over %.1f s\n",
              music ? "with music" : backend.Audio() ? "without music (sound output open)" : "without music (no sound output)",
              100.0 * cpu / wall, wall);
  std::printf("user-interface thread: %.1f sleeps a second\n", sleeps / wall);
  std::printf("peak resident memory: %.1f MB\n", double(PeakRssKb()) / 1024.0);
  menu->Close();
  Application->ProcessMessages();
  EndProgramRun();
  return 0;
}
