#pragma once
// The runtime's Randomize: seeds the random generator with the milliseconds
// since midnight, read from the program's one clock.
namespace tlb {

void Randomize();

}  // namespace tlb
