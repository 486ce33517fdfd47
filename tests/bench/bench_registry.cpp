// Benchmark of the settings file through TRegistry when the file is large.
//
// Reading: one key opened and ten values read, and the games program's own
// reads at start (the base key created, three keys opened, six values read),
// on a file just over the size limit (17 MB) and one just under it (16.7 MB).
// A file written an hour ago is the usual case; a file written a moment ago is
// also checked by its bytes, since its time stamps may not yet show a change.
//
// A file the program cannot save its settings in: 17.8 MB of 320,000 keys of
// another program, over the limit, without the games program's keys. The games
// program's start (which tries to create its keys) and the end of its run (the
// launch counter) are measured apart; the file must stay as it is.
//
// A read after a write, on a 1.5 MB file in the folder and through a link to a
// file elsewhere: the time of each read that follows a write.
//
// Each case runs in a child process of its own, so that its processor time and
// peak resident memory are its own and nothing is kept from an earlier case;
// "parses" counts how often the file was parsed.
//
//   build/bin/bench_registry

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/core/registry.h"
#include "platform/core/registry_cache.h"
#include "tests/bench/bench_measure.h"
#include "tests/bench/large_registry.h"

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

// The games program's reads at start as it makes them (shared/Technic2.cpp):
// a key it cannot create ends them, and the program goes on.
void GamesSettingsAtStart() {
  TRegistry reg;
  try {
    reg.CreateKey(kBase);
    if (reg.OpenKey(kGeneral, true)) {
      try {
        reg.ReadInteger("WAV HLASITOST");
        reg.ReadInteger("MIDI HLASITOST");
      } catch (const Exception&) {
      }
      reg.CloseKey();
    }
    if (reg.OpenKey(kGames, true)) {
      try {
        reg.ReadInteger("Hry_starty");
      } catch (const Exception&) {
      }
      reg.CloseKey();
    }
    if (reg.OpenKey(kOdklon, false)) {
      for (const char* name : {"ODKLON_x1", "ODKLON_x2", "ODKLON_x3"}) reg.ReadString(name);
    }
  } catch (const Exception&) {
  }
}

// The games program's one write, at the end of its run: the launch counter.
void GamesLaunchCountAtEnd() {
  RegistryStore(RegistryStore::DefaultFolder()).Update([](RegistryData& data) {
    const RegistryValue* stored = data.FindValue(kGames, "Hry_starty");
    data.SetValue(kGames, "Hry_starty", RegistryValue::Dword(stored != nullptr ? stored->dword + 1 : 1));
  });
}

// Runs the steps in a child process and prints the processor time of each,
// the peak resident memory and how often the file was parsed.
void Measure(const char* what, std::vector<std::pair<const char*, void (*)()>> steps) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    std::printf("  %s:", what);
    const uint64_t parses0 = RegistryFileParses();
    for (const auto& [name, step] : steps) {
      const double cpu0 = CpuSeconds();
      step();
      std::printf("%s %.3f s", name, CpuSeconds() - cpu0);
    }
    std::printf(" processor time, peak %.1f MB, %llu parses\n", double(PeakRssKb()) / 1024.0,
                static_cast<unsigned long long>(RegistryFileParses() - parses0));
    std::fflush(stdout);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("  %s: failed\n", what);
}

void Measure(const char* what, void (*reads)()) { Measure(what, {{"", reads}}); }

// Writes a file from a child process, so that its text takes no memory in
// this process, which the measuring children would share.
void WriteInChild(const fs::path& file, const std::function<std::string()>& text) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text();
    ::_exit(0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) std::abort();
}

void SetModified(const fs::path& file, bool hourAgo) {
  if (hourAgo) {
    const timespec then{std::time(nullptr) - 3600, 0};
    const timespec times[2] = {then, then};
    ::utimensat(AT_FDCWD, file.c_str(), times, 0);
  } else {
    ::utimensat(AT_FDCWD, file.c_str(), nullptr, 0);
  }
}

// Times the read that follows each write, on the registry at `file` (which
// may be a link), in a child process.
void ReadsAfterWrites(const char* what, const fs::path& file) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    using Clock = std::chrono::steady_clock;
    constexpr int kRounds = 20;
    TRegistry reg;
    if (!reg.OpenKey(kGames, false)) std::abort();
    reg.ReadInteger("Hry_starty");
    const uint64_t parses0 = RegistryFileParses();
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
      reg.WriteInteger("Hry_starty", i);
      const auto t0 = Clock::now();
      TRegistry reader;
      if (!reader.OpenKey(kGames, false) || reader.ReadInteger("Hry_starty") != i) std::abort();
      ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("  %-44s read after a write: median %7.2f ms (%.2f-%.2f), %llu parses in %d writes and reads\n",
                what, ms[kRounds / 2], ms.front(), ms.back(),
                static_cast<unsigned long long>(RegistryFileParses() - parses0), kRounds);
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
    WriteInChild(file, [&] { return LargeRegistry(size.bytes); });
    for (const bool old : {true, false}) {
      SetModified(file, old);
      std::printf("%s, written %s:\n", size.name, old ? "an hour ago" : "a moment ago");
      Measure("one key and ten values", OneKeyTenValues);
      Measure("the games program's reads at start", GamesStart);
    }
  }

  for (const bool old : {true, false}) {
    WriteInChild(file, [] { return tlb::bench::OtherProgramsRegistry(320000, 17800000); });
    SetModified(file, old);
    struct stat before {};
    ::stat(file.c_str(), &before);
    std::printf("17.8 MB of 320,000 keys of another program, which cannot be saved, written %s:\n",
                old ? "an hour ago" : "a moment ago");
    Measure("the games program", {{" start", GamesSettingsAtStart}, {", end of the run", GamesLaunchCountAtEnd}});
    struct stat after {};
    if (::stat(file.c_str(), &after) != 0 || after.st_ino != before.st_ino || after.st_size != before.st_size ||
        after.st_mtim.tv_sec != before.st_mtim.tv_sec || after.st_mtim.tv_nsec != before.st_mtim.tv_nsec)
      std::printf("  the file was changed\n");
  }
  fs::remove(file);

  std::printf("1.5 MB:\n");
  const fs::path elsewhere = root / "dotfiles" / "tulimbo";
  fs::create_directories(elsewhere.parent_path());
  for (const bool linked : {false, true}) {
    const fs::path stored = linked ? elsewhere : file;
    WriteInChild(stored, [] { return LargeRegistry(1500000); });
    SetModified(stored, true);
    if (linked) fs::create_symlink(stored, file);
    ReadsAfterWrites(linked ? "through a link to a file in another folder" : "in the settings folder", file);
    fs::remove(file);
  }
  fs::remove_all(root);
  return 0;
}
