#pragma once
// Pictures of the memory games that the form resources reuse.
#include "canvas.h"

namespace gen {

Canvas alarmClock(int size, bool ringing);       // the idle clock, on the form's green
Canvas countdownFrame(int k, int size);          // k of 15 petals still lit

}  // namespace gen
