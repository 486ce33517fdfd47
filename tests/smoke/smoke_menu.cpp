// Smoke test of the games program's menu in the real window (under Xvfb in CI):
// the menu over the backdrop after its reveal, a screenshot of the X screen, the
// pixels where the tiles and the green form must be, and the X screen showing
// the program's screen enlarged by the backend's scale, in the middle of the
// strips the scale leaves, which are black.
//
//   smoke_menu shot.png [--form X,Y,W,H] [--click XDOTOOL] [--said LINE]
//
// --form: where the form must show on the X screen, in its pixels. --click:
// a click through the X server (with xdotool) at the middle of the first tile
// as the X screen shows it must open the first memory game, and the pointer
// in a strip must be off the program's screen. --said: the line the backend
// must write on standard error as it opens the window (without it, it must say
// nothing about the screen settings).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "tests/smoke/smoke_checks.h"
#include "platform/core/cp1250.h"
#include "platform/formats/png_writer.h"
#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"
#include "tests/smoke/x_screen.h"

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

// The smallest rectangle holding every pixel of `colour` on `screen`.
static Rect BoundsOf(const Dib& screen, COLORREF colour) {
  Rect r{screen.width(), screen.height(), 0, 0};
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x)
      if (screen.pixel(x, y) == colour) r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                                             std::max(r.bottom, y + 1)};
  return r;
}

// The pixels of `area` (in `big`'s pixels) where `big` is not `small` enlarged `s`
// times with its top left corner at `at`.
static long Mismatches(const Dib& big, const Dib& small, int s, Point at, const Rect& area) {
  long n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      n += big.pixel(x, y) != small.pixel((x - at.x) / s, (y - at.y) / s);
  return n;
}

// The pixels of `area` on `screen` that are not black.
static long LitPixels(const Dib& screen, const Rect& area) {
  long n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += screen.pixel(x, y) != 0;
  return n;
}

static std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Moves the pointer through the X server and waits until the backend has it
// where `arrived` holds (or 5 s have passed).
template <class Arrived>
static void MovePointer(const std::string& xdotool, Point to, SdlBackend& backend, Arrived arrived) {
  std::system((xdotool + " mousemove " + std::to_string(to.x) + " " + std::to_string(to.y)).c_str());
  const int64_t until = backend.NowMs() + 5000;
  PumpUntil([&] { return arrived(backend.CursorPos()) || backend.NowMs() >= until; });
}

int main(int argc, char** argv) {
  std::string shot = argc > 1 ? argv[1] : "smoke_menu.png";
  std::optional<Rect> formOnX;
  std::string xdotool;
  std::optional<std::string> mustSay;
  for (int i = 2; i + 1 < argc; i += 2) {
    int x, y, w, h;
    if (std::strcmp(argv[i], "--form") == 0 && std::sscanf(argv[i + 1], "%d,%d,%d,%d", &x, &y, &w, &h) == 4)
      formOnX = Rect::FromSize(x, y, w, h);
    else if (std::strcmp(argv[i], "--click") == 0)
      xdotool = argv[i + 1];
    else if (std::strcmp(argv[i], "--said") == 0)
      mustSay = argv[i + 1];
  }
  std::optional<SdlBackend> window;
  const std::string said = tlb::smoke::StandardError(shot + ".stderr", [&] { window.emplace(); });
  SdlBackend& backend = *window;
  StartProgramRun(&backend);
  tq::StartGamesProgram();
  auto* menu = tq::FORM_Menu;
  menu->Show();
  // The reveal takes 1.8 s of timers; a busy machine may stretch it, so wait for its end.
  int64_t limit = backend.NowMs() + 15000;
  PumpUntil([&] { return menu->AVI_obr9->Visible() || backend.NowMs() >= limit; });
  int64_t settle = backend.NowMs() + 300;
  PumpUntil([&] { return backend.NowMs() >= settle; });
  const Dib& screen = Screen->Surface();
  const Dib onX = tlb::smoke::ReadXScreen();
  WritePng(onX, shot);
  tlb::smoke::SmokeChecks expect;
  std::printf("standard error as the window opened: \"%s\"\n", said.c_str());
  if (mustSay)
    expect("the backend says what it made of the settings",
           ("\n" + said).find("\n" + *mustSay + "\n") != std::string::npos);
  else
    expect("the backend says nothing of the settings", said.find("TULIMBO_") == std::string::npos);
  const int s = backend.Scale();
  const Size size = backend.ScreenSize();
  std::printf("X screen %dx%d, scale %d, the program's screen %dx%d\n", onX.width(), onX.height(), s, size.cx,
              size.cy);
  expect("the program's screen is the X screen divided by the scale",
         size == Size{onX.width() / s, onX.height() / s});
  // What the scale leaves each way is split in two, the smaller half left and at the top.
  const Point at{(onX.width() - size.cx * s) / 2, (onX.height() - size.cy * s) / 2};
  const Rect enlarged = Rect::FromSize(at.x, at.y, size.cx * s, size.cy * s);
  const Rect formOnScreen = Rect::FromSize(at.x + menu->Left() * s, at.y + menu->Top() * s, 640 * s, 480 * s);
  if (formOnX) {
    // The green of the form shows nowhere else, and out to the form's edges.
    const Rect green = BoundsOf(onX, 0x008000);
    std::printf("the form's green on the X screen: %d,%d %dx%d\n", green.left, green.top, green.width(),
                green.height());
    expect("the form shows where it must on the X screen", green == *formOnX && formOnScreen == *formOnX);
  }
  const long formWrong = Mismatches(onX, screen, s, at, formOnScreen);
  const long allWrong = Mismatches(onX, screen, s, at, enlarged);
  std::printf("pixels unlike the screen enlarged: %ld in the form, %ld in all\n", formWrong, allWrong);
  expect("the form on the X screen is the program's form enlarged", formWrong == 0);
  expect("the X screen is the program's screen enlarged", allWrong == 0);
  // An X screen whose size is no whole multiple of the scale leaves a strip on
  // each side of the enlarged screen; each must be black the whole way along.
  const struct Strip {
    const char* side;
    Rect area;
  } strips[] = {
      {"left", {0, 0, enlarged.left, onX.height()}},
      {"right", {enlarged.right, 0, onX.width(), onX.height()}},
      {"top", {enlarged.left, 0, enlarged.right, enlarged.top}},
      {"bottom", {enlarged.left, enlarged.bottom, enlarged.right, onX.height()}},
  };
  for (const Strip& strip : strips) {
    const long lit = LitPixels(onX, strip.area);
    std::printf("the %s strip: %dx%d, %ld pixels not black\n", strip.side, strip.area.width(), strip.area.height(),
                lit);
    expect((std::string("the ") + strip.side + " strip is black").c_str(), lit == 0);
  }
  // A screenshot is what the window shows, strips and all: here the whole X screen.
  backend.SaveScreenshot(shot + ".window.png");
  expect("the screenshot is the X screen", FileBytes(shot + ".window.png") == FileBytes(shot));
  Point form{menu->Left(), menu->Top()};
  expect("the menu is centred", form.x == (backend.ScreenSize().cx - 640) / 2);
  expect("the form is green between the tiles", screen.pixel(form.x + 150, form.y + 200) == 0x008000);
  for (TControl* tile : {static_cast<TControl*>(menu->AVI_obr1), static_cast<TControl*>(menu->AVI_obr2),
                         static_cast<TControl*>(menu->AVI_obr3), static_cast<TControl*>(menu->AVI_obr9)}) {
    Point c = tile->ClientToScreen({tile->Width() / 2, tile->Height() / 2});
    expect(("tile " + tile->Name + " shows its clip").c_str(), tile->Visible() && screen.pixel(c.x, c.y) != 0x008000);
  }
  // (A 640x480 screen is all form.)
  if (size != Size{640, 480})
    expect("the backdrop shows around the menu", screen.pixel(2, 2) != 0x008000 && screen.pixel(2, 2) != 0);
  // The title reaches the window manager as UTF-8 in the legacy property too,
  // which some task bars read.
  const std::string title = Cp1250ToUtf8(menu->Caption());
  const std::string props = "\n" + WindowProperties();
  expect("the legacy title is UTF-8", props.find("\nWM_NAME(UTF8_STRING) = \"" + title + "\"\n") != std::string::npos);
  expect("the title is UTF-8", props.find("\n_NET_WM_NAME(UTF8_STRING) = \"" + title + "\"\n") != std::string::npos);
  if (expect.failures) std::printf("%s", props.c_str());
  if (!xdotool.empty()) {
    // The middle of the first tile as the X screen shows it.
    TControl* tile = menu->AVI_obr1;
    Point corner = tile->ClientToScreen({0, 0});
    const Point click{at.x + corner.x * s + tile->Width() * s / 2, at.y + corner.y * s + tile->Height() * s / 2};
    const Point onTile{(click.x - at.x) / s, (click.y - at.y) / s};
    // The pointer in a strip is off the program's screen, where no form can have it.
    auto offScreen = [&](Point p) { return p.x < 0 || p.y < 0 || p.x >= size.cx || p.y >= size.cy; };
    for (const Strip& strip : strips) {
      if (strip.area.empty()) continue;
      const Point in{(strip.area.left + strip.area.right) / 2, (strip.area.top + strip.area.bottom) / 2};
      MovePointer(xdotool, click, backend, [&](Point p) { return p == onTile; });
      MovePointer(xdotool, in, backend, offScreen);
      const Point p = backend.CursorPos();
      std::printf("the pointer at %d,%d in the %s strip is at %d,%d of the screen\n", in.x, in.y, strip.side, p.x,
                  p.y);
      expect((std::string("the pointer in the ") + strip.side + " strip is off the screen").c_str(), offScreen(p));
    }
    const std::string command =
        xdotool + " mousemove " + std::to_string(click.x) + " " + std::to_string(click.y) + " click 1";
    expect("xdotool clicks", std::system(command.c_str()) == 0);
    std::string opened;
    Point pointer{-1, -1};
    // The game runs modally inside the wait: a timer looks for its form and ends it.
    MessageQueue& queue = MessageQueue::Instance();
    unsigned timer = queue.SetTimer(queue.NewTimerId(), 50, [&] {
      TCustomForm* active = Screen->ActiveForm();
      if (!active || active == menu || !opened.empty()) return;
      opened = active->Caption();
      pointer = backend.CursorPos();
      active->ModalResult = mrCancel;
    });
    int64_t until = backend.NowMs() + 15000;
    PumpUntil([&] { return (!opened.empty() && Screen->ActiveForm() == menu) || backend.NowMs() >= until; });
    queue.KillTimer(timer);
    std::printf("clicked at %d,%d on the X screen; the game form \"%s\" opened, the pointer at %d,%d\n", click.x,
                click.y, opened.c_str(), pointer.x, pointer.y);
    expect("the click on the first tile opens the first memory game", opened == "Kimova hra 1");
    expect("the pointer is where the X screen has it, less the strip, divided by the scale", pointer == onTile);
  }
  menu->Close();
  Application->ProcessMessages();
  EndProgramRun();
  std::printf("screenshot %s\n", shot.c_str());
  return expect.failures == 0 ? 0 : 1;
}
