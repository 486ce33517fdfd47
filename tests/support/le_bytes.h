#pragma once
// Little-endian byte building for test fixtures of the file formats.
#include <cstdint>
#include <vector>

namespace tlb::testing {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
// A four-character chunk identifier.
inline void PutId(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}

}  // namespace tlb::testing
