// Benchmark of one song in the songs program on the real backend (run it under Xvfb
// with a sound device, e.g. SDL's disk driver): the song is opened from its menu tile
// as a child would, and while it plays the benchmark takes the processor time of the
// whole program (the 50 ms colouring, the painting of the coloured lines, the menu's
// timers behind the modal form and the mixing of the recording), the peak resident
// memory, and how long before its time each syllable was coloured, as the player's
// position tells it. At the song's end the switch to music only is timed, and the
// end button then returns to the menu.
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
//   xvfb-run -s "-screen 0 1024x768x24" build/bin/bench_singing [song 1..4]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "songs/src/m_hudba.h"
#include "songs/src/melim32.h"
#include "songs/src/zpev_1.h"
#include "tests/bench/bench_measure.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  const int song = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 4) : 1;
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartSongsProgram();
  tq::songs::TFORM_Menu* menu = tq::songs::FORM_Menu;
  tq::songs::TFORM_Fumbamesi* form = tq::songs::FORM_Fumbamesi;
  menu->Show();
  // The menu's reveal is over after 2.2 s.
  const int64_t revealed = backend.NowMs() + 2500;
  PumpUntil([&] { return backend.NowMs() >= revealed; });

  tq::songs::SingingState& unit = tq::songs::SingingUnit();
  std::vector<int> leads;
  std::vector<bool> seen(size_t(unit.Text.Entries()) + 1, false);
  double cpu0 = 0, cpu = 0, wall = 0, switchMs = 0;
  Clock::time_point wall0;
  bool started = false, finished = false;
  // Runs inside the singing form's modal loop after every batch of messages.
  Application->OnIdle = [&](TObject*) {
    if (finished || !form->Visible()) return;
    const bool playing = form->wavplayer->Mode() == mpPlaying;
    if (!started) {
      if (!playing) return;
      started = true;
      cpu0 = CpuSeconds();
      wall0 = Clock::now();
    }
    const int position = form->wavplayer->Position();
    for (int j = 1; j < unit.Text.SyllableCount; ++j)
      if (unit.Text.Entry(j).Done && !seen[size_t(j)]) {
        seen[size_t(j)] = true;
        leads.push_back(unit.Text.Entry(j).Time - position);
      }
    if (!playing) {
      finished = true;
      cpu = CpuSeconds() - cpu0;
      wall = std::chrono::duration<double>(Clock::now() - wall0).count();
      // The switch to music only opens the other recording and plays it from its start.
      const auto switch0 = Clock::now();
      form->btn_hrejClick(form);
      switchMs = std::chrono::duration<double, std::milli>(Clock::now() - switch0).count();
      form->btn_konecClick(form);
    }
  };
  // The tile's click runs the singing form modally; it returns once the song has ended.
  auto* opener = new TTimer(menu);
  opener->SetInterval(100);
  opener->SetOnTimer([&](TObject*) {
    opener->SetEnabled(false);
    switch (song) {
      case 1: menu->AVI_obr1Click(menu); break;
      case 2: menu->AVI_obr2Click(menu); break;
      case 3: menu->AVI_obr3Click(menu); break;
      default: menu->AVI_obr4Click(menu); break;
    }
  });
  PumpUntil([&] { return finished && !form->Visible(); });
  Application->OnIdle = nullptr;
  if (!started) {
    std::printf("the recording did not start (no sound device?)\n");
    return 1;
  }

  std::printf("song %d: %.1f s, %zu syllables\n", song, wall, leads.size());
  std::printf("processor time while it played: %.2f%% of one core\n", 100.0 * cpu / wall);
  if (!leads.empty()) {
    std::sort(leads.begin(), leads.end());
    std::printf("coloured before its time: min %d ms, median %d ms, max %d ms (by the player's position)\n",
                leads.front(), leads[leads.size() / 2], leads.back());
  }
  std::printf("the switch to music only took %.1f ms on the user-interface thread\n", switchMs);
  std::printf("peak resident memory: %.1f MB\n", double(PeakRssKb()) / 1024.0);
  menu->AVI_obr9Click(menu);
  Application->ProcessMessages();
  EndProgramRun();
  return 0;
}
