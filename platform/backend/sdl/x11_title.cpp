#include "platform/backend/sdl/x11_title.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace tlb {

void SetLegacyWindowTitle(SDL_Window* window, const std::string& utf8) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  const Window xwindow = info.info.x11.window;
  const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  XChangeProperty(display, xwindow, XA_WM_NAME, utf8String, 8, PropModeReplace, bytes, int(utf8.size()));
  XFlush(display);
#else
  (void)window;
  (void)utf8;
#endif
}

}  // namespace tlb
