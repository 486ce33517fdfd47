#pragma once
// The games program's main block, callable from its main and from tests.
namespace tq {

void RunGamesProgram();

}  // namespace tq
