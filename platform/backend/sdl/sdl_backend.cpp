#include "platform/backend/sdl/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <vector>

#include "platform/backend/screen_settings.h"
#include "platform/backend/sdl/screen_scale.h"
#include "platform/backend/sdl/sdl_audio.h"
#include "platform/backend/sdl/x11_title.h"
#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/formats/cursor_reader.h"
#include "platform/formats/png_writer.h"
#include "platform/graphics/dib.h"

namespace tlb {

// Every SDL handle is held here and released in reverse order.
struct SdlBackend::Native {
  SDL_Window* window = nullptr;
  // What the window shows: the program's composed screen, which stays in place
  // between presents; null before the first and once it is gone.
  const Dib* shown = nullptr;
  std::map<const CursorImage*, SDL_Cursor*> cursors;
  SDL_Cursor* systemArrow = nullptr;
  uint64_t startTicks = 0;
  bool wantFullscreen = false;
  bool shownOnce = false;
  int displayFd = -1;  // the X display connection's socket; -1 on other video drivers
  // Window pixels a screen pixel takes each way.
  int scale = 1;
  // The screen the program sees, in its own pixels: the window's size at the
  // start divided by the scale.
  Size screen;
  std::vector<uint8_t> converted;  // the window's pixel format, for windows of other than 32 bits

  ~Native() {
    for (auto& [image, cursor] : cursors)
      if (cursor) SDL_FreeCursor(cursor);
    if (systemArrow) SDL_FreeCursor(systemArrow);
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  // Where the enlarged screen starts in a window of `w` x `h`: the strips the
  // scale leaves are shared between the sides.
  Point Offset(int w, int h) const { return EnlargedScreenOffset({w, h}, screen, scale); }

  // Copies a part of `shown` to the window, each pixel enlarged to a square of
  // `scale` x `scale`. The window surface is asked for anew each time, since
  // SDL replaces it when the window changes.
  void Blit(const Rect& r) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface || !shown) return;
    const int s = scale;
    const Point at = Offset(surface->w, surface->h);
    Rect area = r.Intersect(
        {0, 0, std::min((surface->w - at.x) / s, shown->width()), std::min((surface->h - at.y) / s, shown->height())});
    if (area.empty()) return;
    const int bytes = surface->format->BytesPerPixel;
    auto* dst = static_cast<uint8_t*>(surface->pixels) + size_t(at.y + area.top * s) * surface->pitch +
                size_t(at.x + area.left * s) * bytes;
    const uint8_t* src = shown->row(area.top) + area.left * 4;
    const Uint32 format = surface->format->format;
    if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
      // The screen's pixels are already the window's (RGB888 only leaves the top
      // byte unused): copied, not converted, at every scale.
      EnlargePixels(src, shown->stride(), area.width(), area.height(), 4, s, dst, surface->pitch);
    } else if (s == 1) {
      SDL_ConvertPixels(area.width(), area.height(), SDL_PIXELFORMAT_ARGB8888, src, shown->stride(), format, dst,
                        surface->pitch);
    } else {
      const int pitch = area.width() * bytes;
      converted.resize(size_t(pitch) * size_t(area.height()));
      SDL_ConvertPixels(area.width(), area.height(), SDL_PIXELFORMAT_ARGB8888, src, shown->stride(), format,
                        converted.data(), pitch);
      EnlargePixels(converted.data(), pitch, area.width(), area.height(), bytes, s, dst, surface->pitch);
    }
    SDL_Rect sr{at.x + area.left * s, at.y + area.top * s, area.width() * s, area.height() * s};
    SDL_UpdateWindowSurfaceRects(window, &sr, 1);
  }

  // Copies the whole of `shown` to the window. The strips around the enlarged
  // screen (when the window is not a whole multiple of the scale) are black.
  void BlitAll() {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface || !shown) return;
    const Point at = Offset(surface->w, surface->h);
    const int w = std::min((surface->w - at.x) / scale, shown->width()) * scale;
    const int h = std::min((surface->h - at.y) / scale, shown->height()) * scale;
    // Left and right the whole height, then above and below the screen.
    SDL_Rect strips[4] = {{0, 0, at.x, surface->h},
                          {at.x + w, 0, surface->w - at.x - w, surface->h},
                          {at.x, 0, w, at.y},
                          {at.x, at.y + h, w, surface->h - at.y - h}};
    for (const SDL_Rect& strip : strips) {
      if (strip.w <= 0 || strip.h <= 0) continue;
      SDL_FillRect(surface, &strip, SDL_MapRGB(surface->format, 0, 0, 0));
      SDL_UpdateWindowSurfaceRects(window, &strip, 1);
    }
    Blit({0, 0, shown->width(), shown->height()});
  }

  // A window position in the screen's own pixels (the pointer's square of
  // pixels). A position in a strip lies outside the screen, where no form is.
  Point ToScreen(int x, int y) const {
    const Size window = WindowSize();
    const Point at = Offset(window.cx, window.cy);
    auto down = [s = scale](int v) { return v >= 0 ? v / s : -((-v + s - 1) / s); };
    return {down(x - at.x), down(y - at.y)};
  }

  // The size of the window in its own pixels.
  Size WindowSize() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    return {w, h};
  }
};

namespace {

int VirtualKey(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + int(k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + int(k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return 0x70 + int(k - SDLK_F1);
  switch (k) {
    case SDLK_ESCAPE: return 0x1B;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 0x0D;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return 0x09;
    case SDLK_SPACE: return 0x20;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL: case SDLK_RCTRL: return 0x11;
    case SDLK_LALT: case SDLK_RALT: return 0x12;
    case SDLK_SLASH: case SDLK_KP_DIVIDE: return 0xBF;
    default: return 0;
  }
}

unsigned ShiftBits() {
  SDL_Keymod m = SDL_GetModState();
  unsigned s = 0;
  if (m & KMOD_SHIFT) s |= 0x0004;
  if (m & KMOD_CTRL) s |= 0x0008;
  uint32_t b = SDL_GetMouseState(nullptr, nullptr);
  if (b & SDL_BUTTON_LMASK) s |= 0x0001;
  if (b & SDL_BUTTON_RMASK) s |= 0x0002;
  if (b & SDL_BUTTON_MMASK) s |= 0x0010;
  return s;
}

MouseButton ButtonOf(uint8_t b) {
  return b == SDL_BUTTON_RIGHT ? MouseButton::Right : b == SDL_BUTTON_MIDDLE ? MouseButton::Middle : MouseButton::Left;
}

bool HasEnv(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && v[0] != '\0';
}

// The video drivers of a desktop session, in SDL's order. Wayland is tried
// only when a compositor can be found: without a runtime folder its library
// just prints that the folder is missing. (SDL_VIDEODRIVER=KMSDRM runs the
// program on a text console.)
std::string WindowDrivers() {
  std::string drivers = "x11";
  if (HasEnv("WAYLAND_DISPLAY") || HasEnv("XDG_RUNTIME_DIR")) drivers += ",wayland";
  return drivers;
}

std::string NoDisplayReason() {
  if (!HasEnv("DISPLAY") && !HasEnv("WAYLAND_DISPLAY"))
    return "no display is set (DISPLAY and WAYLAND_DISPLAY are empty); start it from a desktop session";
  std::string reason = "the display ";
  reason += HasEnv("DISPLAY") ? std::string("\"") + std::getenv("DISPLAY") + "\"" : "of WAYLAND_DISPLAY";
  reason += " could not be opened";
  const char* error = SDL_GetError();
  if (error != nullptr && error[0] != '\0') reason += std::string(" (") + error + ")";
  return reason;
}

}  // namespace

SdlBackend::SdlBackend() : native_(std::make_unique<Native>()) {
  // Left to itself SDL falls back to drawing off screen when no display can be
  // opened, and the program would run on with no window: only the drivers that
  // show a window are tried, unless SDL_VIDEODRIVER names others.
  if (!HasEnv("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, WindowDrivers().c_str());
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw EOutOfResources("cannot open a window: " + NoDisplayReason());
  native_->startTicks = SDL_GetTicks64();
  const char* requested = std::getenv("TULIMBO_SCREEN");
  // The screen is drawn by the platform into the window's own surface: no
  // renderer, so no GPU emulation under a virtual display and little memory.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  Uint32 flags = SDL_WINDOW_SHOWN;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  // The window's size in its own pixels; the screen the program sees is that
  // divided by the scale.
  Size window;
  int defaultScale = 1;
  SDL_DisplayMode mode;
  const bool desktopKnown = SDL_GetDesktopDisplayMode(0, &mode) == 0;
  if (requested && *requested) {
    window = ScreenSizeSetting(requested, {800, 600});
    if (desktopKnown) ReportWindowLargerThanDesktop(window, {mode.w, mode.h});
  } else {
    window = desktopKnown ? Size{mode.w, mode.h} : Size{800, 600};
    // A form fills as much of a large desktop as a whole scale allows.
    defaultScale = DefaultScale(window);
    // A borderless window over the whole desktop at once; true full-screen mode
    // follows the first frame, because switching to it can take a while.
    flags |= SDL_WINDOW_BORDERLESS;
    x = y = 0;
    native_->wantFullscreen = true;
  }
  native_->scale = ScaleSetting(std::getenv("TULIMBO_SCALE"), window, defaultScale);
  size_ = native_->screen = {window.cx / native_->scale, window.cy / native_->scale};
  native_->window = SDL_CreateWindow("Tulimbo II", x, y, window.cx, window.cy, flags);
  if (!native_->window) throw EOutOfResources(std::string("cannot open a window: ") + SDL_GetError());
  SetLegacyWindowTitle(native_->window, "Tulimbo II");
  if (!SDL_GetWindowSurface(native_->window))
    throw EOutOfResources(std::string("cannot draw in the window: ") + SDL_GetError());
  native_->systemArrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  SDL_SysWMinfo wm;
  SDL_VERSION(&wm.version);
  if (SDL_GetWindowWMInfo(native_->window, &wm) && wm.subsystem == SDL_SYSWM_X11)
    native_->displayFd = ConnectionNumber(wm.info.x11.display);
  SDL_StartTextInput();
  audio_ = CreateSdlAudioDevice();
}

SdlBackend::~SdlBackend() {
  audio_.reset();
  native_.reset();
}

void SdlBackend::Present(const Dib& screen, const Rect& dirty) {
  Rect r = dirty.Intersect({0, 0, std::min(size_.cx, screen.width()), std::min(size_.cy, screen.height())});
  if (r.empty()) return;
  native_->shown = &screen;
  if (native_->shownOnce) native_->Blit(r);
  else native_->BlitAll();
  native_->shownOnce = true;
  displayTouched_ = true;
}

int64_t SdlBackend::MillisecondsSinceMidnight() const {
  // The local time of day when the program started, moved on by the program's clock.
  static const int64_t atStart = [] {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return (int64_t(local.tm_hour) * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 + ms;
  }();
  return (atStart + NowMs()) % 86400000;
}

int64_t SdlBackend::NowMs() const { return int64_t(SDL_GetTicks64() - native_->startTicks); }

bool SdlBackend::PollInput(InputEvent& e) {
  if (!pending_.empty()) {
    e = pending_.front();
    pending_.pop_front();
    return true;
  }
  int64_t now = NowMs();
  if (pumpDue_ || now != lastPumpMs_) {
    SDL_PumpEvents();
    pumpDue_ = false;
    displayTouched_ = false;
    lastPumpMs_ = now;
  }
  SDL_Event ev;
  while (SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    e = InputEvent{};
    e.shift = ShiftBits();
    switch (ev.type) {
      case SDL_QUIT:
        e.kind = InputKind::Quit;
        return true;
      case SDL_MOUSEMOTION: {
        Point p = native_->ToScreen(ev.motion.x, ev.motion.y);
        // Moves within one enlarged pixel are no move on the screen.
        if (native_->scale > 1 && p == cursor_) break;
        e.kind = InputKind::MouseMove;
        e.pos = cursor_ = p;
        return true;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        e.kind = ev.type == SDL_MOUSEBUTTONDOWN ? InputKind::MouseDown : InputKind::MouseUp;
        e.pos = cursor_ = native_->ToScreen(ev.button.x, ev.button.y);
        e.button = ButtonOf(ev.button.button);
        return true;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        int vk = VirtualKey(ev.key.keysym.sym);
        if (!vk) break;
        e.kind = ev.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
        e.key = vk;
        // Keys whose characters the text input does not report give them here, as Windows does.
        if (ev.type == SDL_KEYDOWN && (vk == 0x1B || vk == 0x0D || vk == 0x08 || vk == 0x09)) {
          InputEvent c = e;
          c.kind = InputKind::Char;
          c.chr = uint8_t(vk);
          pending_.push_back(c);
        }
        return true;
      }
      case SDL_TEXTINPUT: {
        std::string cp = Utf8ToCp1250(ev.text.text);
        if (cp.empty()) break;
        e.kind = InputKind::Char;
        e.chr = uint8_t(cp[0]);
        for (size_t i = 1; i < cp.size(); ++i) {
          InputEvent c = e;
          c.chr = uint8_t(cp[i]);
          pending_.push_back(c);
        }
        return true;
      }
      case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          active_ = ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
          e.kind = active_ ? InputKind::Activate : InputKind::Deactivate;
          return true;
        }
        if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          native_->BlitAll();
          displayTouched_ = true;
        }
        break;
      default:
        break;
    }
  }
  return false;
}

void SdlBackend::WaitUntil(int64_t untilMs) {
  if (!pending_.empty()) return;
  // The switch to full-screen mode waits for the first idle moment after the first frame.
  if (native_->wantFullscreen && native_->shownOnce) {
    native_->wantFullscreen = false;
    SDL_SetWindowFullscreen(native_->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    native_->BlitAll();
    displayTouched_ = true;
    return;
  }
  int64_t now = NowMs();
  int64_t wait = untilMs < 0 ? kLongestWaitMs : std::clamp<int64_t>(untilMs - now, 0, kLongestWaitMs);
  if (wait <= 0) return;
  if (native_->displayFd < 0) {
    // Without the display's connection to sleep on, SDL's wait is woken by input
    // only as often as it looks: it is kept short.
    SDL_WaitEventTimeout(nullptr, int(std::min<int64_t>(wait, 20)));
    pumpDue_ = true;
    return;
  }
  // On X the wait is at most one look at the display and a sleep on its socket:
  // SDL's own wait asks the display five times or more each time, which made
  // most of an idle program's cost. The display is asked again only if it was
  // last asked in an earlier millisecond or the window was drawn to since: a
  // request to the display can read events into its queue, where the socket no
  // longer shows them.
  if (pumpDue_ || lastPumpMs_ != now || displayTouched_) {
    SDL_PumpEvents();
    lastPumpMs_ = NowMs();
    pumpDue_ = false;
    displayTouched_ = false;
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
  }
  pollfd display{native_->displayFd, POLLIN, 0};
  if (poll(&display, 1, int(wait)) != 0) {
    pumpDue_ = true;  // input came (or the wait failed): the next poll asks for it
    return;
  }
  // Nothing came while it slept: the display is as it was just now.
  lastPumpMs_ = NowMs();
}

void SdlBackend::SetCursor(const CursorImage* image, int index) {
  displayTouched_ = true;
  if (index == -1) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  if (!image || image->argb.empty()) {
    SDL_SetCursor(native_->systemArrow);
    return;
  }
  auto it = native_->cursors.find(image);
  if (it == native_->cursors.end()) {
    // The cursor is enlarged with the screen, so that it points at the pixel it points at unscaled.
    const int scale = native_->scale;
    CursorImage big = scale > 1 ? EnlargeCursor(*image, scale) : CursorImage{};
    const CursorImage& shape = scale > 1 ? big : *image;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(shape.argb.data()), shape.width,
                                                        shape.height, 32, shape.width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Cursor* c = s ? SDL_CreateColorCursor(s, shape.hotX, shape.hotY) : nullptr;
    if (s) SDL_FreeSurface(s);
    it = native_->cursors.emplace(image, c).first;
  }
  SDL_SetCursor(it->second ? it->second : native_->systemArrow);
}

void SdlBackend::SetTitle(const std::string& utf8) {
  displayTouched_ = true;
  SDL_SetWindowTitle(native_->window, utf8.c_str());
  SetLegacyWindowTitle(native_->window, utf8);
}

void SdlBackend::SetIcon(const CursorImage* icon) {
  if (!icon || icon->argb.empty()) return;
  displayTouched_ = true;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(icon->argb.data()), icon->width,
                                                      icon->height, 32, icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!s) return;
  SDL_SetWindowIcon(native_->window, s);
  SDL_FreeSurface(s);
}

int SdlBackend::Scale() const { return native_->scale; }

void SdlBackend::ScreenGone() { native_->shown = nullptr; }

void SdlBackend::SaveScreenshot(const std::string& pngPath) const {
  // What the window shows: the enlarged screen and the strips around it.
  const Dib blank(size_.cx, size_.cy, 32);
  WritePng(WindowPicture(native_->shown ? *native_->shown : blank, native_->WindowSize(), native_->scale), pngPath);
}

}  // namespace tlb
