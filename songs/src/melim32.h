#pragma once
// The songs program's main block, callable from its main and from tests.
namespace tq {

void RunSongsProgram();

}  // namespace tq
