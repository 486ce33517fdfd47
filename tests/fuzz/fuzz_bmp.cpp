// Fuzz entry point for the bitmap reader: the bytes as a .BMP file and as a
// packed DIB. Only the class library's exceptions may come out of the reader.
#include <cstddef>
#include <cstdint>

#include "platform/core/exceptions.h"
#include "platform/formats/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tlb::ReadBmp(data, size);
  } catch (const tlb::Exception&) {
  }
  try {
    tlb::ReadDibInfo(data, size);
  } catch (const tlb::Exception&) {
  }
  try {
    tlb::ReadPackedDib(data, size, 2);
  } catch (const tlb::Exception&) {
  }
  return 0;
}
