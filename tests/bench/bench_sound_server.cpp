// Benchmark of what the programs cost a sound server. It starts a server of its
// own (a private PulseAudio with a null sink; with "pipewire", a private
// PipeWire with its session manager and its PulseAudio service, when they are
// installed), then runs each program's real binary under an Xvfb of its own on
// that server and measures, over the window, the processor time of the program
// and of the server as a share of one core:
//   (1) the games menu at rest with its music;
//   (2) the songs program singing song 1 (opened by a click on its tile);
//   (3) the rhymes program at rest after its introduction.
// The sink's latency is printed for each. Then, in this process on the same
// server, the time from PlaySound to the sound's first sample on the sink (the
// sink's monitor recorded at 5 ms): after a quiet spell longer than the one
// that closes the output for quick sounds, and right after another sound.
//
//   build/bin/bench_sound_server [seconds=20] [pipewire]
//
// It always ends with 0: the figures are printed beside their targets.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/sdl/sdl_audio.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/playsound.h"
#include "tests/bench/bench_measure.h"
#include "tests/support/pulse_daemon.h"
#include "tests/support/sound_only_backend.h"

using namespace tlb;
using tlb::testing::MonitorRecorder;
using tlb::testing::MonotonicUs;
using tlb::bench::ProcessCpuSeconds;
using tlb::testing::PulseDaemon;

namespace {

void SleepS(double s) { std::this_thread::sleep_for(std::chrono::microseconds(int64_t(s * 1e6))); }

double ServerCpuSeconds(const PulseDaemon& daemon) {
  double sum = 0;
  for (pid_t p : daemon.ServerPids()) sum += std::max(0.0, ProcessCpuSeconds(p));
  return sum;
}

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// One program under an Xvfb of its own, with the server's environment (set in
// this process) and its settings in a fresh folder.
class ProgramRun {
 public:
  ProgramRun(const std::string& binary, const std::string& folder) : folder_(folder) {
    std::filesystem::create_directories(folder_ + "/config");
    std::filesystem::remove(folder_ + "/pid");
    pid_ = fork();
    if (pid_ == 0) {
      setpgid(0, 0);
      setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
      const std::string script = "echo $$ > '" + folder_ + "/pid'; echo \"$DISPLAY\" > '" + folder_ +
                                 "/display'; echo \"$XAUTHORITY\" > '" + folder_ + "/xauthority'; exec \"$0\"";
      execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 800x600x24", "sh", "-c", script.c_str(), binary.c_str(),
             static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 200 && program_ <= 0; ++i) {
      SleepS(0.05);
      program_ = std::atoi(ReadLine(folder_ + "/pid").c_str());
    }
    display_ = ReadLine(folder_ + "/display");
    xauthority_ = ReadLine(folder_ + "/xauthority");
  }
  ~ProgramRun() {
    if (pid_ <= 0) return;
    if (program_ > 0) kill(program_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      SleepS(0.05);
    }
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  bool Started() const { return program_ > 0 && ProcessCpuSeconds(program_) >= 0; }
  pid_t Program() const { return program_; }
  // Runs xdotool on the program's display.
  bool Xdotool(const std::string& args) const {
    const std::string command =
        "DISPLAY='" + display_ + "' XAUTHORITY='" + xauthority_ + "' xdotool " + args + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

 private:
  std::string folder_;
  pid_t pid_ = -1;
  pid_t program_ = -1;
  std::string display_;
  std::string xauthority_;
};

struct Case {
  const char* what;
  const char* binary;
  double targetPercent;
};

// Measures one program over `seconds` once `prepare` has brought it where it is measured.
template <typename Prepare>
void MeasureProgram(const PulseDaemon& daemon, const Case& c, const std::string& folder, double seconds,
                    Prepare prepare) {
  ProgramRun run(c.binary, folder);
  if (!run.Started()) {
    std::printf("%-46s the program did not start\n", c.what);
    return;
  }
  if (!prepare(run)) {
    std::printf("%-46s could not be brought to its state\n", c.what);
    return;
  }
  const double program0 = ProcessCpuSeconds(run.Program());
  const double server0 = ServerCpuSeconds(daemon);
  const int64_t start = MonotonicUs();
  SleepS(seconds / 2);
  auto latency = tlb::testing::ReadSinkLatency(daemon.Env(), PulseDaemon::kSink);
  const int streams = tlb::testing::CountSinkInputs(daemon.Env());
  SleepS(seconds - seconds / 2);
  const double wall = double(MonotonicUs() - start) / 1e6;
  const double program = 100 * (ProcessCpuSeconds(run.Program()) - program0) / wall;
  const double server = 100 * (ServerCpuSeconds(daemon) - server0) / wall;
  std::printf("%-46s program %5.2f %%  server %5.2f %%  sum %5.2f %% (target <= %.1f %%)  sink latency %.1f ms "
              "(configured %.1f), %d stream(s)\n",
              c.what, program, server, program + server, c.targetPercent, latency ? latency->currentMs : -1,
              latency ? latency->configuredMs : -1, streams);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The time from PlaySound to the sound's first sample rendered on the sink, in ms; -1 when it is not heard.
double PlayToFirstSample(MonitorRecorder& monitor, const std::string& wav, const std::vector<float>& sound,
                         long soundOnset, float soundPeak) {
  const int64_t calledUs = MonotonicUs();
  PlaySound(wav.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
  SleepS(0.5);
  std::vector<float> heard = monitor.Samples();
  const size_t from = monitor.SampleAtUs(calledUs);
  const float peak = [&] {
    float p = 0;
    for (size_t i = from; i < std::min(heard.size(), from + sound.size()); ++i) p = std::max(p, std::fabs(heard[i]));
    return p;
  }();
  const long onset = tlb::testing::FindOnset(heard, from, peak / 4);
  if (onset < 0 || peak < soundPeak / 8 || onset < soundOnset) return -1;
  return double(monitor.SampleTimeUs(size_t(onset - soundOnset)) - calledUs) / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const double seconds = argc > 1 ? std::max(2.0, std::atof(argv[1])) : 20.0;
  const bool pipewire = argc > 2 && std::string(argv[2]) == "pipewire";
  const std::string data = std::filesystem::path(TULIMBO_GAMES_BIN).parent_path().string();
  std::unique_ptr<PulseDaemon> server = tlb::testing::StartBenchServer(TULIMBO_BENCH_SERVER_DIR, pipewire);
  if (!server) return 0;
  const PulseDaemon& daemon = *server;
  std::printf("a window of %.0f s for each program\n", seconds);

  // (1) The games menu: its reveal and the music's start take a few seconds.
  MeasureProgram(daemon, {"games menu at rest, its music playing", TULIMBO_GAMES_BIN, 1.2}, daemon.Dir() + "/games",
                 seconds, [](ProgramRun&) {
                   SleepS(8);
                   return true;
                 });

  // (2) Song 1: its tile is the first on the songs menu (62,310 140x140 on the form, which
  // the 800x600 screen shows centred at 80,60); the song is 27 s long.
  const double songSeconds = std::min(seconds, 20.0);
  if (songSeconds < seconds) std::printf("(the song lasts 27 s: its window is %.0f s)\n", songSeconds);
  MeasureProgram(daemon, {"songs program singing song 1", TULIMBO_SONGS_BIN, 2.0}, daemon.Dir() + "/songs",
                 songSeconds, [&](ProgramRun& run) {
                   const std::vector<float> song = tlb::testing::LoadWavAt44k(data + "/zvuky/pis1.wav");
                   SleepS(6);
                   // A click on a program still starting may be lost: up to three, each checked
                   // by looking for what the sink plays in song 1's recording.
                   for (int attempt = 0; attempt < 3; ++attempt) {
                     if (!run.Xdotool("mousemove 200 430 sleep 0.1 mousemove 212 440 sleep 0.2 click 1")) {
                       std::printf("(xdotool cannot click on the program's display)\n");
                       return false;
                     }
                     SleepS(2);
                     MonitorRecorder monitor(daemon, 250, daemon.Dir() + "/songs/monitor.raw");
                     std::string why;
                     if (!monitor.Start(why)) {
                       std::printf("(%s)\n", why.c_str());
                       return false;
                     }
                     SleepS(1.5);
                     monitor.Stop();
                     std::vector<float> heard = monitor.Samples();
                     const size_t settling = std::min(heard.size(), size_t(MonitorRecorder::kRate / 4));
                     heard.erase(heard.begin(), heard.begin() + long(settling));
                     tlb::testing::Match m = tlb::testing::FindWave(song, heard, 0, song.size());
                     std::printf("(what the sink played before the window is song 1's recording at %.1f s, "
                                 "correlation %.2f)\n",
                                 double(m.index) / MonitorRecorder::kRate, m.score);
                     if (m.score >= 0.3) {
                       SleepS(1);
                       return true;
                     }
                   }
                   return false;
                 });

  // (3) The rhymes program: its introduction starts 200 ms after the form shows and lasts
  // as long as its narration.
  double introduction = 25;
  try {
    introduction = 0.2 + double(LoadWavFile(data + "/zvuky/r_uvod1.wav").durationMs()) / 1000.0 + 3.0;
  } catch (const std::exception&) {
  }
  MeasureProgram(daemon, {"rhymes program at rest after its introduction", TULIMBO_RHYMES_BIN, 1.2},
                 daemon.Dir() + "/rhymes", seconds, [&](ProgramRun&) {
                   SleepS(introduction + 2);
                   return true;
                 });

  // Play to first sample, in this process.
  tlb::testing::SoundOnlyBackend backend(CreateSdlAudioDevice());
  SetBackend(&backend);
  if (!backend.Audio()) {
    std::printf("no audio device opens on the server: play to first sample is not measured\n");
    return 0;
  }
  MonitorRecorder monitor(daemon, 5, daemon.Dir() + "/monitor-play.raw");
  std::string why;
  if (!monitor.Start(why)) {
    std::printf("%s\n", why.c_str());
    return 0;
  }
  const std::string wav = data + "/zvuky/kim_ok.wav";
  const std::vector<float> sound = tlb::testing::LoadWavAt44k(wav);
  float soundPeak = 0;
  for (float x : sound) soundPeak = std::max(soundPeak, std::fabs(x));
  const long soundOnset = tlb::testing::FindOnset(sound, 0, soundPeak / 4);
  const double soundSeconds = double(sound.size()) / MonitorRecorder::kRate;
  const double quiet = double(kSoundOutputQuietCloseUs) / 1e6 + 1.0;
  std::vector<double> afterQuiet, afterSound;
  for (int i = 0; i < 5; ++i) {
    SleepS(std::max(0.0, quiet - 0.5));
    afterQuiet.push_back(PlayToFirstSample(monitor, wav, sound, soundOnset, soundPeak));
    // The sound ends, then a short rest with the output still open.
    SleepS(std::max(0.0, soundSeconds - 0.5) + 0.3);
    afterSound.push_back(PlayToFirstSample(monitor, wav, sound, soundOnset, soundPeak));
    SleepS(std::max(0.0, soundSeconds - 0.5));
  }
  PlaySound(nullptr, nullptr, 0);
  monitor.Stop();
  SetBackend(nullptr);
  auto report = [](const char* what, const std::vector<double>& v, double target) {
    std::printf("%-46s median %6.1f ms  largest %6.1f ms (target <= %.0f ms)  all:", what, Median(v),
                *std::max_element(v.begin(), v.end()), target);
    for (double x : v) std::printf(" %.1f", x);
    std::printf("%s\n", std::find(v.begin(), v.end(), -1.0) != v.end() ? "  (-1: not heard)" : "");
  };
  report("play to first sample after a quiet spell", afterQuiet, 50);
  report("play to first sample right after a sound", afterSound, 50);
  std::printf("the sink's monitor during those: %s\n", monitor.RawPath().c_str());
  return 0;
}
