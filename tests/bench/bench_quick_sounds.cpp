// Benchmark of the output for quick sounds on a sound server: for each block
// size of that output, the sounds that answer a child (tile names and clicks)
// played over the music, on a private PulseAudio with a null sink (or a private
// PipeWire with its PulseAudio service), measuring
//   - how many of them were not heard whole: the sink's monitor is recorded with
//     the music's stream apart, the music is taken off, and each sound must
//     last as long as its recording to within 3 ms;
//   - the time from PlaySound to the sound's first sample on the sink, when the
//     output had to open, when it was open and quiet, and over a sound playing;
//   - what the program and the server cost while sounds play back to back.
//
//   build/bin/bench_quick_sounds [idle|busy|both] [blocks=0,256,512,1024,2048,4096] [sounds=20] [pipewire]
//
// Block 0 opens no output for quick sounds: they play on the long output, as
// the music does.
//
// "busy" keeps every core busy with processes of its own (one spinning process
// a core, at normal priority) while it measures; to load the machine by hand
// instead, run `stress-ng --cpu "$(nproc)"` (or `for i in $(seq "$(nproc)");
// do sh -c 'while :; do :; done' & done`) in another terminal and pass "idle".
// It always ends with 0: the figures are printed as a table.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/sdl/sdl_audio.h"
#include "platform/media/playsound.h"
#include "tests/bench/bench_measure.h"
#include "tests/support/heard_whole.h"
#include "tests/support/pulse_daemon.h"
#include "tests/support/sound_only_backend.h"

using namespace tlb;
using tlb::bench::ProcessCpuSeconds;
using tlb::testing::MonitorRecorder;
using tlb::testing::MonotonicUs;
using tlb::testing::PulseDaemon;

namespace {

constexpr int kRate = MonitorRecorder::kRate;

void SleepS(double s) { std::this_thread::sleep_for(std::chrono::microseconds(int64_t(s * 1e6))); }

double ServerCpuSeconds(const PulseDaemon& daemon) {
  double sum = 0;
  for (pid_t p : daemon.ServerPids()) sum += std::max(0.0, ProcessCpuSeconds(p));
  return sum;
}

// One spinning process a core while it lives.
class BusyCores {
 public:
  BusyCores() {
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    for (long i = 0; i < cores; ++i) {
      pid_t pid = fork();
      if (pid == 0) {
        volatile unsigned long spin = 0;
        for (;;) spin = spin + 1;
      }
      if (pid > 0) pids_.push_back(pid);
    }
  }
  ~BusyCores() {
    for (pid_t p : pids_) kill(p, SIGKILL);
    for (pid_t p : pids_) waitpid(p, nullptr, 0);
  }

 private:
  std::vector<pid_t> pids_;
};

using Sound = tlb::testing::ShortSound;

double Median(std::vector<double> v) {
  v.erase(std::remove(v.begin(), v.end(), -1.0), v.end());
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}
double Worst(const std::vector<double>& v) { return v.empty() ? -1 : *std::max_element(v.begin(), v.end()); }

// Plays a sound and waits until it has been heard to its end.
void PlayWhole(const Sound& sound) {
  PlaySound(sound.path.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
  while (PlaySoundPlaying()) SleepS(0.005);
}

// Play to first sample, in ms, for `rounds` sounds in each of three states of
// the output, over the music: the sink's monitor read every 5 ms (so that the
// time a sample was rendered is known that closely), the music's stream
// recorded apart and taken off.
struct Timings {
  std::vector<double> opening, open, over;
};
Timings MeasureTimings(const PulseDaemon& daemon, AudioDevice& device, bool quickOutput, const std::vector<Sound>& sounds,
                       int rounds, const std::string& music, const std::string& folder) {
  Timings t;
  tlb::testing::LoopingMusic playing(device, music);
  // The music's stream alone on the server: the output for quick sounds has closed.
  int musicStream = -1;
  for (int i = 0; i < 60 && musicStream < 0; ++i) {
    SleepS(0.1);
    musicStream = tlb::testing::OnlySinkInput(daemon.Env());
  }
  MonitorRecorder monitor(daemon, 5, folder + "/monitor-timing.raw");
  tlb::testing::StreamRecorder musicAlone(daemon, musicStream, folder + "/music-timing.wav");
  std::string why;
  if (musicStream < 0 || !monitor.Start(why) || !musicAlone.Start(why)) return t;
  SleepS(2.0);
  struct Played {
    const Sound* sound;
    int64_t atUs;
    std::vector<double>* into;
  };
  std::vector<Played> played;
  auto play = [&](const Sound& sound, std::vector<double>& into) {
    played.push_back({&sound, MonotonicUs(), &into});
    PlaySound(sound.path.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
  };
  for (int i = 0; i < rounds; ++i) {
    const Sound& a = sounds[size_t(2 * i) % sounds.size()];
    const Sound& b = sounds[size_t(2 * i + 1) % sounds.size()];
    SleepS(double(kSoundOutputQuietCloseUs) / 1e6 + 0.7);
    play(a, t.opening);
    while (PlaySoundPlaying()) SleepS(0.005);
    SleepS(0.3);
    play(b, t.open);
    SleepS(0.4);
    // Over a sound: the next one replaces it while it plays.
    play(a, t.over);
    while (PlaySoundPlaying()) SleepS(0.005);
  }
  SleepS(1.0);
  monitor.Stop();
  musicAlone.Stop();
  std::vector<float> rest;
  long shift = 0;
  // With no output for quick sounds they are in the music's stream: they are
  // found over the music instead.
  const std::vector<float> mixed = monitor.Samples();
  if (!quickOutput) rest = mixed;
  else if (!tlb::testing::Subtract(mixed, musicAlone.Samples(), kRate / 2, kRate, kRate, rest, shift)) return t;
  for (const Played& p : played) {
    // The sound's start, found by its first 150 ms of sound.
    const std::vector<float>& samples = p.sound->samples;
    const long onset = tlb::testing::FindOnset(samples, 0, 0.01f);
    const size_t headFrom = size_t(std::max<long>(0, onset - kRate / 100));
    const std::vector<float> head(samples.begin() + long(headFrom),
                                  samples.begin() + long(std::min(samples.size(), headFrom + kRate * 3 / 20)));
    const size_t from = monitor.SampleAtUs(p.atUs - 10'000);
    tlb::testing::Match m = tlb::testing::FindWave(rest, head, from, from + size_t(kRate) * 3 / 10);
    const bool found = m.index >= 0 && m.score >= (quickOutput ? 0.5 : 0.3);
    p.into->push_back(found ? double(monitor.SampleTimeUs(size_t(m.index - long(headFrom))) - p.atUs) / 1000.0 : -1);
  }
  return t;
}

// Program and server, % of one core, while sounds play one after another for `seconds`.
void MeasureCost(const PulseDaemon& daemon, AudioDevice& device, const std::vector<Sound>& sounds,
                 const std::string& music, double seconds, double& program, double& server) {
  tlb::testing::LoopingMusic playing(device, music);
  PlayWhole(sounds[0]);
  const double p0 = ProcessCpuSeconds(getpid()), s0 = ServerCpuSeconds(daemon);
  const int64_t start = MonotonicUs();
  for (size_t i = 0; MonotonicUs() - start < int64_t(seconds * 1e6); ++i) PlayWhole(sounds[i % sounds.size()]);
  const double wall = double(MonotonicUs() - start) / 1e6;
  program = 100 * (ProcessCpuSeconds(getpid()) - p0) / wall;
  server = 100 * (ServerCpuSeconds(daemon) - s0) / wall;
}

std::vector<int> ParseBlocks(const std::string& list) {
  std::vector<int> out;
  std::istringstream in(list);
  for (std::string item; std::getline(in, item, ',');)
    if (int b = std::atoi(item.c_str()); b == 0 || (b >= 64 && b <= 16384)) out.push_back(b);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string loads = "both";
  std::vector<int> blocks = {0, 256, 512, 1024, 2048, 4096};
  int count = 20;
  bool pipewire = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "idle" || arg == "busy" || arg == "both") loads = arg;
    else if (arg.rfind("blocks=", 0) == 0) blocks = ParseBlocks(arg.substr(7));
    else if (arg.rfind("sounds=", 0) == 0) count = std::max(1, std::atoi(arg.c_str() + 7));
    else if (arg == "pipewire") pipewire = true;
  }
  const std::string data = std::filesystem::path(TULIMBO_GAMES_BIN).parent_path().string();
  std::unique_ptr<PulseDaemon> server = tlb::testing::StartBenchServer(TULIMBO_BENCH_SERVER_DIR, pipewire);
  if (!server) return 0;
  const PulseDaemon& daemon = *server;
  // Tile names and clicks, as a child hears them in the games menu and games.
  std::vector<std::string> paths;
  for (const char* name : {"iko_kim1.WAV", "kim_otoc.wav", "iko_knp.WAV", "tlesk.wav", "iko_p1.WAV", "knp_p.WAV",
                           "iko_kim2.WAV", "knp_k.WAV", "iko_z1.WAV", "iko_kon.WAV"})
    paths.push_back(data + "/zvuky/" + name);
  const std::vector<Sound> sounds = tlb::testing::LoadShortSounds(paths);
  const std::string music = data + "/hudba/h_menu.mid";

  std::printf("%-6s %-5s %-14s %-22s %-22s %-22s %s\n", "block", "load", "not whole", "play->sound, opening",
              "open, quiet", "over a sound", "cost while open: program + server");
  for (const std::string load : {"idle", "busy"}) {
    if (loads != "both" && loads != load) continue;
    std::unique_ptr<BusyCores> busy;
    if (load == "busy") busy = std::make_unique<BusyCores>();
    for (int block : blocks) {
      const std::string folder = daemon.Dir() + "/" + std::to_string(block) + "-" + load;
      std::filesystem::create_directories(folder);
      tlb::testing::SoundOnlyBackend backend(CreateSdlAudioDevice({block}));
      SetBackend(&backend);
      AudioDevice* device = backend.Audio();
      if (!device) {
        std::printf("no audio device opens on the server\n");
        return 0;
      }
      // With no output of their own the sounds cannot be told from the music's stream.
      tlb::testing::WholeSounds whole;
      if (block > 0) whole = tlb::testing::PlayOverMusic(daemon, *device, sounds, count, music, folder);
      else whole.why = "the sounds play in the music's stream";
      const Timings t = MeasureTimings(daemon, *device, block > 0, sounds, 5, music, folder);
      double program = 0, server = 0;
      MeasureCost(daemon, *device, sounds, music, 10, program, server);
      PlaySound(nullptr, nullptr, 0);
      SetBackend(nullptr);
      char broken[32];
      std::snprintf(broken, sizeof broken, "%d of %d", whole.broken, whole.played);
      auto cell = [](const std::vector<double>& v) {
        char c[48];
        const long missing = std::count(v.begin(), v.end(), -1.0);
        std::snprintf(c, sizeof c, missing ? "%.1f / %.1f ms (%ld?)" : "%.1f / %.1f ms", Median(v), Worst(v), missing);
        return std::string(c);
      };
      std::printf("%-6d %-5s %-14s %-22s %-22s %-22s %.2f + %.2f = %.2f %%\n", block, load.c_str(),
                  whole.measured ? broken : "?", cell(t.opening).c_str(), cell(t.open).c_str(), cell(t.over).c_str(),
                  program, server, program + server);
      if (!whole.measured) std::printf("       not whole not measured: %s\n", whole.why.c_str());
      if (!whole.detail.empty()) std::printf("       not whole (heard/own span):%s\n", whole.detail.c_str());
    }
  }
  std::printf("(play->sound: median / worst of 5, over the music; (n?): n not found)\n");
  return 0;
}
