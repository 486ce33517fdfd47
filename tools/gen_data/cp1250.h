#pragma once
// Conversion of the UTF-8 texts written in this generator's sources to code
// page 1250, the encoding of the karaoke files.
#include <string>

namespace gen {

// Throws std::runtime_error naming the character when it has no code page 1250 byte.
std::string toCp1250(const std::string& utf8);

}  // namespace gen
