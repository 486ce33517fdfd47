#pragma once
// The songs program's main block, callable from its main and from tests.
namespace tq {

// The main block up to the message loop: the backdrop, the data, the menu and the
// singing form created.
void StartSongsProgram();
// The whole main block: start-up, the message loop and the shut-down.
void RunSongsProgram();

}  // namespace tq
