#pragma once
// Large settings files for the benchmarks that measure how the programs cope
// with them.
#include <algorithm>
#include <string>

namespace tlb::bench {

// A whole registry file of `keys` keys of another program, one value each, and
// none of the games program's own keys, padded with comment lines to `size`
// bytes. With 320,000 keys and 17.8 MB it is over the size limit, and what its
// first 16 MiB hold already makes a file over the limit: the program cannot
// save its settings in it.
inline std::string OtherProgramsRegistry(int keys, size_t size) {
  std::string text = "tulimbo-registry 1\n";
  text.reserve(size);
  for (int k = 0; k < keys; ++k) {
    text += "key \"Software\\Others\\Key " + std::to_string(k) + "\"\n";
    text += "  dword \"Count\" " + std::to_string(k) + "\n";
  }
  while (text.size() + 4 < size) {
    const size_t line = std::min<size_t>(size - 4 - text.size(), 80);
    text += std::string(line - 1, '#') + "\n";
  }
  text += "end\n";
  return text;
}

}  // namespace tlb::bench
