#pragma once
// The rhymes program's main block, callable from its main and from tests.
namespace tq {

// The main block up to the message loop: the backdrop, the data, the rhymes form created.
void StartRhymesProgram();
// The whole main block: start-up, the message loop and the shut-down.
void RunRhymesProgram();

}  // namespace tq
