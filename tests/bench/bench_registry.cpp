// Benchmark of reading the settings file through TRegistry when the file is
// large: one key opened and ten values read, and the games program's own
// reads at start (the base key created, three keys opened, six values read),
// on a file just over the size limit (17 MB) and one just under it (16.7 MB).
// Each case runs in a child process of its own, so that its processor time and
// peak resident memory are its own and nothing is kept from an earlier case.
// A file written an hour ago is the usual case; a file written a moment ago is
// also checked by its bytes, since its time stamps may not yet show a change.
//
//   build/bin/bench_registry

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/registry.h"
#include "tests/bench/bench_measure.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;
namespace fs = std::filesystem;

namespace {

const char* const kBase = "Software\\Orvo Team\\TQ2";
const char* const kGeneral = "Software\\Orvo Team\\TQ2\\Nastaveni - obecne";
const char* const kGames = "Software\\Orvo Team\\TQ2\\Nastaveni - Hry";
const char* const kOdklon = "Software\\Orvo Team\\TQ2\\Odklon";

// A whole registry file of about `size` bytes: the programs' own values first,
// then many keys of other values up to the size.
std::string LargeRegistry(size_t size) {
  std::string text = "tulimbo-registry 1\n";
  text += std::string("key \"") + kBase + "\"\n";
  text += std::string("key \"") + kGeneral + "\"\n  dword \"WAV HLASITOST\" 200\n  dword \"MIDI HLASITOST\" 90\n";
  text += std::string("key \"") + kGames + "\"\n  dword \"Hry_starty\" 41\n";
  for (int i = 0; i < 10; ++i) text += "  dword \"v" + std::to_string(i) + "\" " + std::to_string(i * 11) + "\n";
  text += std::string("key \"") + kOdklon + "\"\n  sz \"ODKLON_x1\" \"a\"\n  sz \"ODKLON_x2\" \"b\"\n";
  for (int k = 0; text.size() + 200 < size; ++k) {
    text += "key \"Software\\Other\\Key " + std::to_string(k) + "\"\n";
    text += "  dword \"Count\" " + std::to_string(k) + "\n  sz \"Name\" \"value number " + std::to_string(k) + "\"\n";
  }
  while (text.size() + 4 < size) text += "#\n";
  text += "end\n";
  return text;
}

void OneKeyTenValues() {
  TRegistry reg;
  if (!reg.OpenKey(kGames, false)) std::abort();
  for (int i = 0; i < 10; ++i)
    if (reg.ReadInteger("v" + std::to_string(i)) != i * 11) std::abort();
}

void GamesStart() {
  TRegistry reg;
  reg.CreateKey(kBase);
  if (!reg.OpenKey(kGeneral, true)) std::abort();
  reg.ReadInteger("WAV HLASITOST");
  reg.ReadInteger("MIDI HLASITOST");
  reg.CloseKey();
  if (!reg.OpenKey(kGames, true)) std::abort();
  reg.ReadInteger("Hry_starty");
  reg.CloseKey();
  if (!reg.OpenKey(kOdklon, false)) std::abort();
  reg.ReadString("ODKLON_x1");
  reg.ReadString("ODKLON_x2");
  reg.ReadString("ODKLON_x3");
}

void Measure(const char* what, void (*reads)()) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    const double cpu0 = CpuSeconds();
    reads();
    const double cpu = CpuSeconds() - cpu0;
    std::printf("  %-58s %6.3f s processor time, peak %6.1f MB\n", what, cpu, double(PeakRssKb()) / 1024.0);
    std::fflush(stdout);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("  %s: failed\n", what);
}

}  // namespace

int main() {
  char pattern[] = "/tmp/tlb_bench_registry_XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return 1;
  const fs::path root = pattern;
  ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  fs::create_directories(root / "tulimbo");
  const fs::path file = root / "tulimbo" / "registry";

  struct Size {
    const char* name;
    size_t bytes;
  };
  for (const Size& size : {Size{"17 MB (over the limit)", 17000000}, Size{"16.7 MB (under the limit)", 16700000}}) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << LargeRegistry(size.bytes);
    for (const bool old : {true, false}) {
      if (old) {
        const timespec hourAgo{std::time(nullptr) - 3600, 0};
        const timespec times[2] = {hourAgo, hourAgo};
        ::utimensat(AT_FDCWD, file.c_str(), times, 0);
      } else {
        ::utimensat(AT_FDCWD, file.c_str(), nullptr, 0);
      }
      std::printf("%s, written %s:\n", size.name, old ? "an hour ago" : "a moment ago");
      Measure("one key and ten values", OneKeyTenValues);
      Measure("the games program's reads at start", GamesStart);
    }
  }
  fs::remove_all(root);
  return 0;
}
