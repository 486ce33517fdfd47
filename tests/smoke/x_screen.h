#pragma once
// The pixels the X server shows on its screen (the root window), read back
// with XGetImage: what a user sees, after the backend has enlarged and handed
// over the program's screen. (Xlib's names stay in the .cpp: its Screen is not
// the platform's.)
#include "platform/graphics/dib.h"

namespace tlb::smoke {

// A 32-bit picture of the X screen (empty when the display cannot be opened).
Dib ReadXScreen();

}  // namespace tlb::smoke
