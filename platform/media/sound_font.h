#pragma once
// Where the General MIDI soundfont is: one rule for the programs and for the
// sample data generator, which renders the songs' music with the same font.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tlb {

// The soundfont to synthesise with: $TULIMBO_SOUNDFONT when set (so that a run
// can name another one, or a missing one), else the first existing one of
// /usr/share/sounds/sf2/TimGM6mb.sf2, FluidR3_GM.sf2 and default-GM.sf2.
// Empty when none is there.
inline std::string FindSoundFont() {
  std::error_code ec;
  if (const char* forced = std::getenv("TULIMBO_SOUNDFONT"); forced && *forced)
    return std::filesystem::is_regular_file(forced, ec) ? std::string(forced) : std::string();
  for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                           "/usr/share/sounds/sf2/default-GM.sf2"})
    if (std::filesystem::is_regular_file(path, ec)) return path;
  return {};
}

}  // namespace tlb
