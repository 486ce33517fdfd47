#pragma once
// Writes a Dib as a PNG picture: 8-bit RGB, whatever the Dib's depth (each
// pixel goes through Dib::pixel). Used to save screenshots and golden images.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/dib.h"

namespace tlb {

// The PNG file's bytes. An empty Dib or an encoder failure throws EInOutError.
std::vector<uint8_t> EncodePng(const Dib& dib);

// Encodes the Dib and writes it to `path`, replacing the file. Failure throws EInOutError.
void WritePng(const Dib& dib, const std::string& path);

}  // namespace tlb
