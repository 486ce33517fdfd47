#pragma once
// The games program's main block, callable from its main and from tests.
namespace tq {

// The main block up to the message loop: the backdrop, the data, the menu created.
void StartGamesProgram();
// The whole main block: start-up, the message loop and the shut-down.
void RunGamesProgram();

}  // namespace tq
