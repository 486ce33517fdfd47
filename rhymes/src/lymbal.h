#pragma once
// The rhymes program's main block, callable from its main and from tests.
namespace tq {

void RunRhymesProgram();

}  // namespace tq
