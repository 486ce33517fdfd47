#pragma once
// The window title as the X window system's legacy properties carry it.
#include <string>

struct SDL_Window;

namespace tlb {

// Sets the legacy title property (WM_NAME) of an X11 window to the UTF-8
// title, typed as UTF-8. SDL writes it as a Latin-1 string holding UTF-8
// bytes, which task bars that read that property show garbled ("hlavnÃ­").
// Does nothing under other video drivers.
void SetLegacyWindowTitle(SDL_Window* window, const std::string& utf8);

}  // namespace tlb
