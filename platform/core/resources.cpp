#include "platform/core/resources.h"

#include <map>
#include <string>

namespace tlb {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

std::map<std::string, ResourceEntry>& Table() {
  static std::map<std::string, ResourceEntry> table;
  return table;
}

}  // namespace

void RegisterResources(const ResourceEntry* entries, size_t count) {
  for (size_t i = 0; i < count; ++i) Table()[Lower(entries[i].name)] = entries[i];
}

const ResourceEntry* FindResource(std::string_view name) {
  auto it = Table().find(Lower(name));
  return it == Table().end() ? nullptr : &it->second;
}

std::vector<uint8_t> ResourceBytes(const ResourceEntry& entry) {
  return std::vector<uint8_t>(entry.data, entry.data + entry.size);
}

std::vector<std::string_view> ResourceNames() {
  std::vector<std::string_view> names;
  for (const auto& [key, entry] : Table()) names.push_back(entry.name);
  return names;
}

}  // namespace tlb
