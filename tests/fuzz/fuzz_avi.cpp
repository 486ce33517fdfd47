// Fuzz entry point for the AVI reader: any input must open or throw the
// class library's exception, and so must the decoding of every frame.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/formats/avi_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tlb::AviClip clip = tlb::AviClip::Parse(std::vector<uint8_t>(data, data + size));
    // A few frames are enough to reach every decoding path; more would spend
    // the run copying large frames.
    for (int i = 0; i < clip.frameCount() && i < 16; ++i) {
      try {
        (void)clip.frame(i);
      } catch (const tlb::Exception&) {
      }
    }
  } catch (const tlb::Exception&) {
  }
  return 0;
}
