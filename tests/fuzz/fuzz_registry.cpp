// Fuzz entry point for the registry file reader: any bytes read as the entries
// that can be read, and what was read writes back to a whole text that reads
// as the same data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const tlb::ParsedRegistry parsed = tlb::ParseRegistry(text);
  const std::string again = tlb::SerializeRegistry(parsed.data);
  const tlb::ParsedRegistry reparsed = tlb::ParseRegistry(again);
  if (!reparsed.whole || !(reparsed.data == parsed.data)) std::abort();
  return 0;
}
