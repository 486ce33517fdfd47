#pragma once
// Resources compiled into the program: form descriptions, pictures, cursors and
// icons, found by file name. Each program's resource table registers itself at start.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tlb {

struct ResourceEntry {
  const char* name;
  const unsigned char* data;
  size_t size;
};

void RegisterResources(const ResourceEntry* entries, size_t count);
// The resource of this file name (compared ignoring case), or nullptr.
const ResourceEntry* FindResource(std::string_view name);
std::vector<uint8_t> ResourceBytes(const ResourceEntry& entry);
std::vector<std::string_view> ResourceNames();

}  // namespace tlb
