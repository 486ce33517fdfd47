// Benchmark of one rhyme in the rhymes program on the real backend (run it under
// Xvfb with a sound device, e.g. SDL's disk driver): the processor time of the
// whole program while the rhyme plays (the 50 ms colouring, the painting of the
// coloured lines and the mixing of the recording and the music), the peak
// resident memory, and how long before its time each syllable was coloured, as
// the player's position tells it.
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
//   xvfb-run -s "-screen 0 1024x768x24" build/bin/bench_rhyme [rhyme 1..6] [nomusic]
//
// "nomusic" stops the background music first, to tell its synthesis apart.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "rhymes/src/lym_main.h"
#include "rhymes/src/lymbal.h"
#include "tests/bench/bench_measure.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  const int rhyme = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 6) : 1;
  const bool music = !(argc > 2 && std::string(argv[2]) == "nomusic");
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartRhymesProgram();
  tq::TFORM_Lymbal* form = tq::FORM_Lymbal;
  form->Show();
  tq::LymbalState& unit = tq::LymbalUnit();
  // Skip the introduction as Esc would once it has started: the narration waits in a
  // loop of its own, where only timers reach it.
  auto* skipper = new TTimer(form);
  skipper->SetInterval(100);
  skipper->SetOnTimer([form](TObject*) {
    if (form->spoustec->Tag == 0) tq::LymbalUnit().SkipRequested = 1;
  });
  PumpUntil([&] { return form->btn_konec->Visible(); });
  skipper->SetEnabled(false);
  const int64_t settle = backend.NowMs() + 1000;
  PumpUntil([&] { return backend.NowMs() >= settle; });
  if (!music) {
    form->Midi_spoustec->SetEnabled(false);
    try {
      form->MIDIPlayer->Stop();
    } catch (const Exception&) {
    }
  }

  const double cpu0 = CpuSeconds();
  const auto wall0 = Clock::now();
  switch (rhyme) {
    case 1: form->btn_1Click(form); break;
    case 2: form->btn_2Click(form); break;
    case 3: form->btn_3Click(form); break;
    case 4: form->btn_4Click(form); break;
    case 5: form->btn_5Click(form); break;
    default: form->btn_6Click(form); break;
  }
  if (form->wavplayer->Mode() != mpPlaying) {
    std::printf("the recording did not start (no sound device?)\n");
    return 1;
  }
  // Each syllable's lead: its time less the position when it was first seen coloured.
  std::vector<int> leads;
  std::vector<bool> seen(size_t(unit.Text.Entries()) + 1, false);
  PumpUntil([&] {
    const int position = form->wavplayer->Position();
    for (int j = 1; j < unit.Text.SyllableCount; ++j)
      if (unit.Text.Entry(j).Done && !seen[size_t(j)]) {
        seen[size_t(j)] = true;
        leads.push_back(unit.Text.Entry(j).Time - position);
      }
    return form->wavplayer->Mode() != mpPlaying;
  });
  const double cpu = CpuSeconds() - cpu0;
  const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();

  std::printf("rhyme %d%s: %.1f s, %zu syllables\n", rhyme, music ? "" : " without the music", wall, leads.size());
  std::printf("processor time while it played: %.2f%% of one core\n", 100.0 * cpu / wall);
  if (!leads.empty()) {
    std::sort(leads.begin(), leads.end());
    std::printf("coloured before its time: min %d ms, median %d ms, max %d ms (by the player's position)\n",
                leads.front(), leads[leads.size() / 2], leads.back());
  }
  std::printf("peak resident memory: %.1f MB\n", double(PeakRssKb()) / 1024.0);
  form->btn_konecClick(form);
  Application->ProcessMessages();
  EndProgramRun();
  return 0;
}
