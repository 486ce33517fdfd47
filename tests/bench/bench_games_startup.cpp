// Benchmark of the games program on the real backend (run it under Xvfb):
// the time from start to the first frame of the backdrop and of the menu, the
// peak resident memory, and the processor time of the idle menu with how often
// its user-interface thread sleeps (and so wakes), and the processor time of
// the program's first 4 seconds.
//
//   xvfb-run -s "-screen 0 1024x768x24" build/bin/bench_games_startup [seconds] [silent] [large-settings]
//
// "silent" switches the music off as the program's settings can, with the
// sound output still open; SDL_AUDIODRIVER=dummy gives an output without a
// sound card. Without any output the menu is silent too.
//
// "large-settings" starts the program on a settings file of its own (in a
// temporary XDG_CONFIG_HOME) that it cannot save its settings in: 17.8 MB of
// 320,000 keys of another program, over the size limit. It also runs the end
// of the program's run, which writes the launch counter, and checks that the
// file stays as it was.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/core/cp1250.h"
#include "platform/core/registry_cache.h"
#include "platform/media/media_player.h"
#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"
#include "shared/Technic2.h"
#include "tests/bench/bench_measure.h"
#include "tests/bench/large_registry.h"

using namespace tlb;
using tlb::bench::CpuSeconds;
using tlb::bench::PeakRssKb;
using Clock = std::chrono::steady_clock;

namespace {

const Clock::time_point kStart = Clock::now();

double MsSinceStart() { return std::chrono::duration<double, std::milli>(Clock::now() - kStart).count(); }

// The real backend, noting when the first frame is shown.
class TimedBackend : public SdlBackend {
 public:
  void Present(const Dib& screen, const Rect& dirty) override {
    SdlBackend::Present(screen, dirty);
    if (firstFrameMs < 0) firstFrameMs = MsSinceStart();
  }
  double firstFrameMs = -1;
};

void Pump(Backend& b, int64_t ms) {
  int64_t until = b.NowMs() + ms;
  PumpUntil([&] { return b.NowMs() >= until; });
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 5;
  bool silent = false;
  bool largeSettings = false;
  for (int i = 2; i < argc; ++i) {
    silent |= std::string(argv[i]) == "silent";
    largeSettings |= std::string(argv[i]) == "large-settings";
  }
  namespace fs = std::filesystem;
  fs::path settingsRoot;
  struct stat settingsBefore {};
  if (largeSettings) {
    char pattern[] = "/tmp/tlb_bench_games_settings_XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    settingsRoot = pattern;
    const fs::path file = settingsRoot / "tulimbo" / "registry";
    fs::create_directories(file.parent_path());
    // Made by a child process, so that the text's memory and processor time
    // are not the program's.
    const pid_t child = ::fork();
    if (child == 0) {
      std::ofstream(file, std::ios::binary) << tlb::bench::OtherProgramsRegistry(320000, 17800000);
      const timespec hourAgo{std::time(nullptr) - 3600, 0};
      const timespec times[2] = {hourAgo, hourAgo};
      ::_exit(::utimensat(AT_FDCWD, file.c_str(), times, 0) == 0 ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0 || ::stat(file.c_str(), &settingsBefore) != 0)
      return 1;
    ::setenv("XDG_CONFIG_HOME", settingsRoot.c_str(), 1);
  }
  // The processor time of the program's first 4 seconds, taken at that moment
  // whatever the program is doing.
  double cpuFirst4s = 0;
  std::thread firstSeconds([&] {
    std::this_thread::sleep_until(kStart + std::chrono::seconds(4));
    cpuFirst4s = CpuSeconds();
  });
  TimedBackend backend;
  double windowMs = MsSinceStart();
  StartProgramRun(&backend);
  // The program's own start-up; the first frame is the backdrop it shows before the data check.
  tq::StartGamesProgram();
  double backdropMs = backend.firstFrameMs;
  auto* menu = tq::FORM_Menu;
  if (silent) tq::Technic2().MusicOn = false;
  menu->Show();
  const int64_t timersStart = backend.NowMs();
  // The menu's own timers wait 1.8 s before the last tile shows; the rest is ours.
  PumpUntil([&] { return menu->AVI_obr9->Visible() || backend.NowMs() - timersStart > 30000; });
  Application->ProcessMessages();
  double menuMs = MsSinceStart();
  // The reveal's own timers account for 1800 ms of it.
  double ownMs = menuMs - 1800.0;
  Pump(backend, 1000);
  // Every sleep of the user-interface thread asks the wake sources once.
  int sleeps = 0;
  MessageQueue::Instance().AddWakeSource([&] {
    ++sleeps;
    return int64_t(-1);
  });
  double cpu0 = CpuSeconds();
  auto wall0 = Clock::now();
  Pump(backend, idleSeconds * 1000);
  double cpu = CpuSeconds() - cpu0;
  double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
  std::printf("window open: %.1f ms after start\n", windowMs);
  std::printf("first frame of the backdrop: %.1f ms after start\n", backdropMs);
  std::printf("menu fully revealed: %.1f ms after start (%.1f ms beyond the menu's own timers)\n", menuMs, ownMs);
  const bool music = menu->MIDIPlayer->Mode() == mpPlaying;
  std::printf("idle menu %s: %.2f%% of one core over %.1f s\n",
              music ? "with music" : backend.Audio() ? "without music (sound output open)" : "without music (no sound output)",
              100.0 * cpu / wall, wall);
  std::printf("user-interface thread: %.1f sleeps a second\n", sleeps / wall);
  firstSeconds.join();
  std::printf("processor time in the first 4 s: %.3f s\n", cpuFirst4s);
  std::printf("peak resident memory: %.1f MB\n", double(PeakRssKb()) / 1024.0);
  menu->Close();
  Application->ProcessMessages();
  if (largeSettings) {
    // The end of the run as the program has it: the launch counter is written.
    const double cpuEnd0 = CpuSeconds();
    tq::Technic2Shutdown();
    std::printf("end of the run (the launch counter): %.3f s processor time, peak resident memory %.1f MB\n",
                CpuSeconds() - cpuEnd0, double(PeakRssKb()) / 1024.0);
    struct stat after {};
    const bool unchanged = ::stat((settingsRoot / "tulimbo" / "registry").c_str(), &after) == 0 &&
                           after.st_ino == settingsBefore.st_ino && after.st_size == settingsBefore.st_size &&
                           after.st_mtim.tv_sec == settingsBefore.st_mtim.tv_sec &&
                           after.st_mtim.tv_nsec == settingsBefore.st_mtim.tv_nsec;
    std::printf("the settings file %s, parsed %llu times\n", unchanged ? "is as it was" : "was changed",
                static_cast<unsigned long long>(RegistryFileParses()));
    fs::remove_all(settingsRoot);
  }
  EndProgramRun();
  return 0;
}
