#include "byte_writer.h"

#include <cstdio>
#include <stdexcept>

namespace gen {

void writeFile(const std::string& path, const std::vector<uint8_t>& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path);
  size_t n = data.empty() ? 0 : std::fwrite(data.data(), 1, data.size(), f);
  bool ok = n == data.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) throw std::runtime_error("cannot write " + path);
}

void writeFile(const std::string& path, const std::string& data) {
  writeFile(path, std::vector<uint8_t>(data.begin(), data.end()));
}

}  // namespace gen
