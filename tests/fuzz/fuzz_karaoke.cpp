// Fuzz entry point for the karaoke text reader, with the rhymes' and the songs'
// table sizes: any bytes must read without touching memory past the table, and
// the count must leave the last entry empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "karaoke/karaoke_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (int entries : {100, 140}) {
    tq::KaraokeText text(entries);
    tq::ParseKaraokeBytes(text, bytes, [](const std::string&) {});
    if (text.SyllableCount > entries || text.VisitedEntries() > entries) std::abort();
    if (text.SyllableCount > 0 && !text.Entry(text.SyllableCount).Text.empty()) std::abort();
  }
  return 0;
}
