// Smoke test of the rhymes program in the real window on a machine without a
// sound device (run with ALSA pointed at a device that is not there): the
// system counts no wave-output device, so sound and music are off, yet the
// mouse's narration opens and plays in real time on the silent output, and the
// first rhyme's recording plays on too, with no message box at any point.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/media/playsound.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "rhymes/src/lym_main.h"
#include "rhymes/src/lymbal.h"
#include "shared/Technic2.h"
#include "tests/smoke/smoke_checks.h"

using namespace tlb;

namespace {

// The real window, but every message box is noted and answered at once, so
// that a box cannot hold the run up and the test sees each one.
class NotingBackend : public SdlBackend {
 public:
  std::optional<DialogAnswer> ScriptedDialog(const DialogRecord& record) override {
    shown.push_back(record.text);
    return DialogAnswer{};
  }
  std::vector<std::string> shown;
};

}  // namespace

int main() {
  NotingBackend backend;
  StartProgramRun(&backend);
  tq::StartRhymesProgram();
  tlb::smoke::SmokeChecks expect;
  expect("no wave-output device is counted", waveOutGetNumDevs() == 0);
  expect("sounds and music are off", !tq::WaveOn() && !tq::MusicOn());
  tq::TFORM_Lymbal* form = tq::FORM_Lymbal;
  form->Show();
  // The narration starts 200 ms after the form shows and waits in a loop of its
  // own, where only timers reach it: a timer watches it for three seconds of
  // playing, then skips the rest as Esc would.
  int64_t started = -1, from = 0, moved = 0, took = 0;
  bool playedOn = false;
  auto* watcher = new TTimer(form);
  watcher->SetInterval(50);
  watcher->SetOnTimer([&](TObject*) {
    if (form->spoustec->Tag != 0) return;
    TMediaPlayer* player = form->mysakPlayer;
    if (started < 0) {
      if (player->Mode() != mpPlaying) return;
      started = backend.NowMs();
      from = player->Position();
    } else if (backend.NowMs() - started >= 3000 && !tq::LymbalUnit().SkipRequested) {
      moved = player->Position() - from;
      took = backend.NowMs() - started;
      playedOn = player->Mode() == mpPlaying && !form->btn_konec->Visible();
      tq::LymbalUnit().SkipRequested = 1;
    }
  });
  int64_t limit = backend.NowMs() + 15000;
  PumpUntil([&] { return form->btn_konec->Visible() || backend.NowMs() >= limit; });
  watcher->SetEnabled(false);
  expect("the mouse's narration plays", started >= 0);
  std::printf("the narration moved %lld ms in %lld ms\n", (long long)moved, (long long)took);
  expect("and plays on for three seconds", playedOn);
  expect("its position keeps real time", took > 0 && moved >= took * 99 / 100 - 30 && moved <= took * 101 / 100 + 30);
  form->btn_1Click(form);
  int64_t later = backend.NowMs() + 1500;
  PumpUntil([&] { return backend.NowMs() >= later; });
  expect("the first rhyme's recording plays", form->wavplayer->Mode() == mpPlaying && form->wavplayer->Position() > 1000);
  expect("no message box was shown", backend.shown.empty());
  for (const std::string& text : backend.shown) std::printf("box: %s\n", text.c_str());
  form->btn_konecClick(form);
  Application->ProcessMessages();
  EndProgramRun();
  return expect.failures == 0 ? 0 : 1;
}
