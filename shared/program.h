#pragma once
// The start-up and shut-down order every program follows: the backdrop first,
// then the data folder and switches, the program's forms, the message loop,
// and the unit's shut-down last.
#include <functional>

#include "shared/Technic2.h"

namespace tq {

// Everything before the message loop: the backdrop, the data folder and switches, then `createForms`.
void StartTulimboProgram(ProgramKind kind, const std::function<void()>& createForms);
// The message loop until the main form closes, then the unit's shut-down.
void FinishTulimboProgram();
void RunTulimboProgram(ProgramKind kind, const std::function<void()>& createForms);

}  // namespace tq
