// Smoke test of the games program's menu in the real window (under Xvfb in CI):
// the menu over the backdrop after its reveal, a screenshot, and the pixels where
// the tiles and the green form must be.
#include <cstdio>
#include <string>

#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "tests/smoke/smoke_checks.h"
#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"

using namespace tlb;

// The title properties of the display's top-level windows, as xprop shows them.
static std::string WindowProperties() {
  std::string out;
  const std::string command =
      "for w in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do "
      "LC_ALL=C.UTF-8 xprop -id $w WM_NAME _NET_WM_NAME; done 2>&1";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

int main(int argc, char** argv) {
  std::string shot = argc > 1 ? argv[1] : "smoke_menu.png";
  SdlBackend backend;
  StartProgramRun(&backend);
  tq::StartGamesProgram();
  auto* menu = tq::FORM_Menu;
  menu->Show();
  // The reveal takes 1.8 s of timers; a busy machine may stretch it, so wait for its end.
  int64_t limit = backend.NowMs() + 15000;
  PumpUntil([&] { return menu->AVI_obr9->Visible() || backend.NowMs() >= limit; });
  int64_t settle = backend.NowMs() + 300;
  PumpUntil([&] { return backend.NowMs() >= settle; });
  backend.SaveScreenshot(shot);
  const Dib& screen = Screen->Surface();
  tlb::smoke::SmokeChecks expect;
  Point form{menu->Left(), menu->Top()};
  expect("the menu is centred", form.x == (backend.ScreenSize().cx - 640) / 2);
  expect("the form is green between the tiles", screen.pixel(form.x + 150, form.y + 200) == 0x008000);
  for (TControl* tile : {static_cast<TControl*>(menu->AVI_obr1), static_cast<TControl*>(menu->AVI_obr2),
                         static_cast<TControl*>(menu->AVI_obr3), static_cast<TControl*>(menu->AVI_obr9)}) {
    Point c = tile->ClientToScreen({tile->Width() / 2, tile->Height() / 2});
    expect(("tile " + tile->Name + " shows its clip").c_str(), tile->Visible() && screen.pixel(c.x, c.y) != 0x008000);
  }
  expect("the backdrop shows around the menu", screen.pixel(2, 2) != 0x008000 && screen.pixel(2, 2) != 0);
  // The title reaches the window manager as UTF-8 in the legacy property too,
  // which some task bars read.
  const std::string title = Cp1250ToUtf8(menu->Caption());
  const std::string props = "\n" + WindowProperties();
  expect("the legacy title is UTF-8", props.find("\nWM_NAME(UTF8_STRING) = \"" + title + "\"\n") != std::string::npos);
  expect("the title is UTF-8", props.find("\n_NET_WM_NAME(UTF8_STRING) = \"" + title + "\"\n") != std::string::npos);
  if (expect.failures) std::printf("%s", props.c_str());
  menu->Close();
  Application->ProcessMessages();
  EndProgramRun();
  std::printf("screenshot %s\n", shot.c_str());
  return expect.failures == 0 ? 0 : 1;
}
