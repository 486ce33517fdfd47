// Fuzz entry point for the registry file reader: any bytes parse or are refused,
// and what parses writes back to text that parses to the same data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto parsed = tlb::ParseRegistry(text);
  if (parsed) {
    std::string again = tlb::SerializeRegistry(*parsed);
    auto reparsed = tlb::ParseRegistry(again);
    if (!reparsed || tlb::SerializeRegistry(*reparsed) != again) std::abort();
  }
  return 0;
}
