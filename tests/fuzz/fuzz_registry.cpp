// Fuzz entry point for the registry file reader: any bytes read as the entries
// that can be read, also when they come in two pieces cut anywhere, and what
// was read writes back to a whole text, of the size counted for it, that reads
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
  if (tlb::SerializedSize(parsed.data) != again.size()) std::abort();

  // The cut falls where the first byte says, anywhere in the text.
  const size_t cut = size == 0 ? 0 : data[0] * size / 256;
  tlb::RegistryParser pieces;
  pieces.Feed(text.substr(0, cut));
  pieces.Feed(text.substr(cut));
  if (!(pieces.Finish() == parsed)) std::abort();
  return 0;
}
