#pragma once
// Damaged copies of a valid file for robustness tests of the readers: every
// truncation, then copies with one to four bytes changed at random. The seed is
// fixed, so every run reads the same files.
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace tlb::testing {

inline void ForEachDamagedCopy(const std::vector<uint8_t>& valid, int corruptions, uint32_t seed,
                               const std::function<void(const std::vector<uint8_t>&, const std::string&)>& check) {
  for (size_t length = 0; length < valid.size(); ++length)
    check(std::vector<uint8_t>(valid.begin(), valid.begin() + std::ptrdiff_t(length)),
          "cut to " + std::to_string(length));
  if (valid.empty()) return;
  std::mt19937 random(seed);
  for (int round = 0; round < corruptions; ++round) {
    std::vector<uint8_t> bytes = valid;
    int changes = 1 + int(random() % 4);
    for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = uint8_t(random());
    check(bytes, "corruption " + std::to_string(round));
  }
}

}  // namespace tlb::testing
