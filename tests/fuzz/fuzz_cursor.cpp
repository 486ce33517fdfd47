// Fuzz entry point for the cursor and icon reader. Only the class library's
// exceptions may come out of it.
#include <cstddef>
#include <cstdint>

#include "platform/core/exceptions.h"
#include "platform/formats/cursor_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tlb::ReadCursor(data, size);
  } catch (const tlb::Exception&) {
  }
  return 0;
}
