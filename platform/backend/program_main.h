#pragma once
// The thin main of every program: picks the backend, starts a program run and
// runs the program in it. TULIMBO_BACKEND=headless runs without a display (for
// benchmarks and tools); otherwise the SDL backend opens the real window.
#include <functional>

namespace tlb {

int RunProgramMain(const std::function<void()>& program);

}  // namespace tlb
