// Fuzz entry point for the MIDI reader: any input must decode or throw the
// class library's exception, and never read outside the buffer.
#include <cstddef>
#include <cstdint>

#include "platform/core/exceptions.h"
#include "platform/formats/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    (void)tlb::ReadMidi(data, size);
  } catch (const tlb::Exception&) {
  }
  return 0;
}
