#pragma once
// The generated sample data set, and copies of it with files taken out, for
// program tests. The copy links the real files, so it costs nothing.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "tests/support/headless_run.h"

namespace tlb::testing {

inline std::filesystem::path SampleDataDir() {
  const char* dir = std::getenv("TULIMBO_SAMPLE_DATA");
  return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

inline bool HaveSampleData() {
  auto dir = SampleDataDir();
  return !dir.empty() && std::filesystem::is_directory(dir / "zvuky");
}

// A data folder beside a program file in `into`, holding the sample set less `omit`
// (paths relative to the data folder, such as "animace/h_03.avi"); the files in
// `damage` are replaced by a few bytes of garbage.
inline std::filesystem::path MakeDataCopy(const TempDir& into, std::initializer_list<const char*> omit = {},
                                          std::initializer_list<const char*> damage = {}) {
  namespace fs = std::filesystem;
  fs::path src = SampleDataDir();
  fs::path dst = into.path() / "program";
  for (const char* folder : {"hudba", "zvuky", "obrazky", "animace", "texty"}) {
    fs::create_directories(dst / folder);
    if (!fs::is_directory(src / folder)) continue;
    for (const auto& e : fs::directory_iterator(src / folder)) {
      std::string rel = std::string(folder) + "/" + e.path().filename().string();
      bool skip = false;
      for (const char* o : omit) skip = skip || rel == o;
      if (!skip) fs::create_symlink(e.path(), dst / folder / e.path().filename());
    }
  }
  for (const char* d : damage) {
    fs::remove(dst / d);
    std::ofstream(dst / d, std::ios::binary) << "RIFF\x10\0\0\0garbage";
  }
  return dst;
}

}  // namespace tlb::testing
