#pragma once
// The start-up and shut-down order every program follows: the backdrop first,
// then the data folder and switches, the program's forms, the message loop,
// and the unit's shut-down last.
#include <functional>

#include "shared/Technic2.h"

namespace tq {

void RunTulimboProgram(ProgramKind kind, const std::function<void()>& createForms);

}  // namespace tq
