#include "songs/src/melim32.h"
#include "platform/backend/program_main.h"

int main() { return tlb::RunProgramMain(tq::RunSongsProgram); }
