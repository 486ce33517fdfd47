#pragma once
// The rock-paper-scissors players, reused by the menu tile clip and the glyphs.
#include "canvas.h"

namespace gen {

// A hand showing sign 1 rock, 2 scissors, 3 paper; wrist at the origin, fingers towards +x.
void drawHand(Canvas& c, int sign, Rgb skin);
// The boy or the mouse, 225x295, in pose 1..4 (4 = shaking the fist), plain or winning.
Canvas figure(bool mouse, int pose, bool winning);

}  // namespace gen
