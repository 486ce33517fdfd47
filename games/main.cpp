#include "games/src/tq2_hry.h"
#include "platform/backend/program_main.h"

int main() { return tlb::RunProgramMain(tq::RunGamesProgram); }
