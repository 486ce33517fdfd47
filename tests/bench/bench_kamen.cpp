// Benchmark of the rock-paper-scissors form on the real backend (run it under Xvfb,
// with SDL's disk audio driver so that the sound clock runs without a sound card):
// the gap from the end of one queued file to the start of the next, and the
// processor time of the idle play field with and without music.
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/tmp/kamen.raw
//   xvfb-run -s "-screen 0 1024x768x24" build/bin/bench_kamen [seconds]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "games/src/kamen.h"
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

namespace {

// Watches the form from a 1 ms timer that runs inside the form's own loops.
struct Watch {
  int idleSeconds = 5;
  int filesToTime = 4;
  TTimer* timer = nullptr;
  std::vector<double> gapsMs;
  double idleCpuPercent = -1;
  // internal
  int phase = 0;
  int lastStep = 0;
  bool wasPlaying = false;
  int64_t endMs = -1;
  int64_t phaseStart = 0;
  double cpu0 = 0;
  std::chrono::steady_clock::time_point wall0;

  void Tick(Backend& b) {
    auto* f = tq::FORM_kamen;
    if (!f) return;
    auto& unit = tq::KamenUnit();
    const int64_t now = b.NowMs();
    const bool playing = f->WavPlayer->Mode() == mpPlaying;
    switch (phase) {
      case 0:  // the introduction: time the gaps between its first files
        if (wasPlaying && !playing) endMs = now;
        if (unit.IntroStep != lastStep) {
          if (endMs >= 0) gapsMs.push_back(double(now - endMs));
          lastStep = unit.IntroStep;
          endMs = -1;
        }
        if (unit.IntroStep > filesToTime) {
          uint16_t esc = 27;
          f->FormKeyDown(f, esc, 0);
          phase = 1;
        }
        break;
      case 1:  // the play field, once the closing words have been said
        if (f->btn_kamen->Visible() && !playing && f->playlist->Items().Count() == 0) {
          phase = 2;
          phaseStart = now;
        }
        break;
      case 2:  // a second to settle, then the idle measure
        if (now - phaseStart >= 1000) {
          phase = 3;
          phaseStart = now;
          // The watch itself sleeps through the measure: one tick at its end.
          timer->SetInterval(idleSeconds * 1000);
          cpu0 = CpuSeconds();
          wall0 = std::chrono::steady_clock::now();
        }
        break;
      case 3:
        if (now - phaseStart >= idleSeconds * 1000 - 50) {
          double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
          idleCpuPercent = 100.0 * (CpuSeconds() - cpu0) / wall;
          phase = 4;
          f->BTN_KonecClick(f->BTN_Konec);
        }
        break;
    }
    wasPlaying = playing;
  }
};

// Opens the form as the menu does and runs it until the watch ends it.
Watch RunForm(SdlBackend& backend, int idleSeconds, int filesToTime) {
  Watch w;
  w.idleSeconds = idleSeconds;
  w.filesToTime = filesToTime;
  TTimer watch(nullptr);
  w.timer = &watch;
  watch.SetInterval(1);
  watch.SetOnTimer([&](TObject*) { w.Tick(backend); });
  auto* form = new tq::TFORM_kamen(Application);
  form->ShowModal();
  form->Release();
  Application->ProcessMessages();
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 5;
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartGamesProgram();
  tq::FORM_Menu->Show();
  int64_t until = backend.NowMs() + 2500;
  PumpUntil([&] { return backend.NowMs() >= until; });

  Watch withMusic = RunForm(backend, idleSeconds, 4);
  tq::Technic2().MusicOn = false;
  Watch silent = RunForm(backend, idleSeconds, 2);

  // The menu alone, idle and silent, under the same machine load: the share of the form is the difference.
  until = backend.NowMs() + 3000;
  PumpUntil([&] { return backend.NowMs() >= until; });
  double cpu0 = CpuSeconds();
  auto wall0 = std::chrono::steady_clock::now();
  until = backend.NowMs() + idleSeconds * 1000;
  PumpUntil([&] { return backend.NowMs() >= until; });
  double menuPercent =
      100.0 * (CpuSeconds() - cpu0) / std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();

  std::vector<double> gaps = withMusic.gapsMs;
  gaps.insert(gaps.end(), silent.gapsMs.begin(), silent.gapsMs.end());
  std::sort(gaps.begin(), gaps.end());
  std::printf("end of a queued file to the start of the next, %zu gaps:", gaps.size());
  for (double g : gaps) std::printf(" %.0f", g);
  std::printf(" ms (max %.0f ms)\n", gaps.empty() ? -1.0 : gaps.back());
  std::printf("idle play field with music: %.2f%% of one core over %d s\n", withMusic.idleCpuPercent, idleSeconds);
  std::printf("idle play field without music: %.2f%% of one core over %d s\n", silent.idleCpuPercent, idleSeconds);
  std::printf("idle menu without music, for comparison: %.2f%% of one core over %d s\n", menuPercent, idleSeconds);
  tq::FORM_Menu->Close();
  Application->ProcessMessages();
  EndProgramRun();
  return 0;
}
