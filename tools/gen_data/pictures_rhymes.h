#pragma once
// Pictures of the counting-out circle, reused by the program icon and glyphs.
#include "canvas.h"

namespace gen {

Canvas faceBitmap(int n, bool countedOut, int size);  // child n of 8, on the form's green
double arrowAngle(int k);                             // screen angle from the circle's middle to face k
Canvas arrowBitmap(int k);                            // 180x180

}  // namespace gen
