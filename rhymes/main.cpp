#include "rhymes/src/lymbal.h"
#include "platform/backend/program_main.h"

int main() { return tlb::RunProgramMain(tq::RunRhymesProgram); }
