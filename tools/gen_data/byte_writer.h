#pragma once
// Little-endian (and, for MIDI, big-endian) byte buffers and file output.
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

class Bytes {
 public:
  void u8(uint32_t v) { b_.push_back(uint8_t(v)); }
  void u16(uint32_t v) { u8(v), u8(v >> 8); }
  void u32(uint32_t v) { u16(v), u16(v >> 16); }
  void be16(uint32_t v) { u8(v >> 8), u8(v); }
  void be32(uint32_t v) { be16(v >> 16), be16(v); }
  void fourcc(const char* s) { for (int i = 0; i < 4; ++i) u8(uint8_t(s[i])); }
  void bytes(const std::vector<uint8_t>& v) { b_.insert(b_.end(), v.begin(), v.end()); }
  void bytes(const uint8_t* p, size_t n) { b_.insert(b_.end(), p, p + n); }
  void text(const std::string& s) { b_.insert(b_.end(), s.begin(), s.end()); }
  void patch32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b_[at + i] = uint8_t(v >> (8 * i));
  }
  size_t size() const { return b_.size(); }
  const std::vector<uint8_t>& data() const { return b_; }
  std::vector<uint8_t>& data() { return b_; }

 private:
  std::vector<uint8_t> b_;
};

// Writes a whole file, creating nothing but the file itself; throws std::runtime_error
// naming the path when it cannot be written.
void writeFile(const std::string& path, const std::vector<uint8_t>& data);
void writeFile(const std::string& path, const std::string& data);

}  // namespace gen
