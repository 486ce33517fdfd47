// Smoke test of the songs program in the real window (under Xvfb in CI): the song menu
// after its reveal, then the second song opened from its tile and a screenshot
// mid-line, with the pixels of the tiles, the song picture and the first display line
// coloured in part; the end button brings the menu back.
#include <cstdio>
#include <string>

#include "platform/backend/sdl/sdl_backend.h"
#include "tests/smoke/smoke_checks.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"
#include "songs/src/m_hudba.h"
#include "songs/src/melim32.h"
#include "songs/src/zpev_1.h"

using namespace tlb;

int main(int argc, char** argv) {
  std::string menuShot = argc > 1 ? argv[1] : "smoke_songs_menu.png";
  std::string songShot = argc > 2 ? argv[2] : "smoke_songs_song.png";
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartSongsProgram();
  tq::songs::TFORM_Menu* menu = tq::songs::FORM_Menu;
  tq::songs::TFORM_Fumbamesi* form = tq::songs::FORM_Fumbamesi;
  menu->Show();
  tlb::smoke::SmokeChecks expect;
  const Dib& screen = Screen->Surface();
  auto count = [&](TControl* c, COLORREF colour) { return tlb::smoke::CountPixels(screen, c, colour); };

  // The reveal takes 2 s of timers; a busy machine may stretch it, so wait for its end.
  int64_t limit = backend.NowMs() + 15000;
  PumpUntil([&] { return menu->AVI_obr9->Visible() || backend.NowMs() >= limit; });
  int64_t settle = backend.NowMs() + 300;
  PumpUntil([&] { return backend.NowMs() >= settle; });
  backend.SaveScreenshot(menuShot);
  expect("the menu is centred", menu->Left() == (backend.ScreenSize().cx - 640) / 2);
  for (TControl* tile : {static_cast<TControl*>(menu->AVI_obr1), static_cast<TControl*>(menu->AVI_obr2),
                         static_cast<TControl*>(menu->AVI_obr3), static_cast<TControl*>(menu->AVI_obr4),
                         static_cast<TControl*>(menu->AVI_obr9)}) {
    Point c = tile->ClientToScreen({tile->Width() / 2, tile->Height() / 2});
    expect(("tile " + tile->Name + " shows its clip").c_str(), tile->Visible() && screen.pixel(c.x, c.y) != 0x008000);
  }

  // The tile's click runs the singing form modally; timers act inside its loop. "Pec nám
  // spadla, pec nám spadla," is sung from 4.1 s to 7.6 s of the recording.
  bool seen = false;
  auto* opener = new TTimer(menu);
  opener->SetInterval(100);
  opener->SetOnTimer([&](TObject*) {
    opener->SetEnabled(false);
    menu->AVI_obr2Click(menu);
  });
  auto* watcher = new TTimer(form);
  watcher->SetInterval(50);
  int64_t songLimit = backend.NowMs() + 30000;
  watcher->SetOnTimer([&](TObject*) {
    bool midLine = form->wavplayer->Mode() == mpPlaying && form->wavplayer->Position() >= 6000;
    if (!midLine && backend.NowMs() < songLimit) return;
    watcher->SetEnabled(false);
    seen = midLine;
    backend.SaveScreenshot(songShot);
    TControl* line = FindAs<TControl>(form, "text_1");
    expect("the second song plays", midLine);
    expect("the first line has red syllables", count(line, 0x0000FF) > 0);
    expect("and black ones still to come", count(line, 0x000000) > 0);
    Point picture = form->podklad->ClientToScreen({600, 100});
    expect("the song picture shows", screen.pixel(picture.x, picture.y) != 0x008000);
    form->btn_konecClick(form);
  });
  PumpUntil([&] { return seen || backend.NowMs() >= songLimit + 1000; });
  PumpUntil([&] { return !form->Visible() || backend.NowMs() >= songLimit + 2000; });
  expect("the end button returns to the menu", !form->Visible() && menu->wait_image->Visible());
  menu->AVI_obr9Click(menu);
  Application->ProcessMessages();
  EndProgramRun();
  std::printf("screenshots %s %s\n", menuShot.c_str(), songShot.c_str());
  return expect.failures == 0 ? 0 : 1;
}
