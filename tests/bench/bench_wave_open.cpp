// Benchmark of opening WAV sounds: the time from a click that opens a recording
// to the player ready to play (the file read, decoded and put into the mixer),
// and to its first sound heard through the SDL output; the audio thread's
// share of converting it while it plays; and opening the worst files a damaged
// or hostile input can be (the highest and lowest rates, a converter at its widest).
//
//   bench_wave_open [sound.wav]
//
// Without a file the longest WAV in the sample data beside the program is used.
// Run it with SDL_AUDIODRIVER=dummy (the default here) or with a real output.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/backend/sdl/sdl_audio.h"
#include "platform/core/exceptions.h"
#include "platform/core/paths.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/audio_device.h"
#include "platform/media/mixer.h"
#include "tests/support/media_fixtures.h"

using namespace tlb;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

std::string LongestSampleWav(const char* argv0) {
  namespace fs = std::filesystem;
  fs::path dir = fs::absolute(argv0).parent_path() / "zvuky";
  std::string best;
  uintmax_t bestSize = 0;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    if (e.path().extension() != ".wav") continue;
    if (e.file_size() > bestSize) {
      bestSize = e.file_size();
      best = e.path().string();
    }
  }
  return best;
}

struct Stats {
  std::vector<double> values;
  double Median() {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
  }
  double Worst() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

// Decoding and conversion of a file the program could be given, up to the first block mixed.
double OpenInMemory(const testing::Bytes& file, int mixerRate) {
  auto t0 = Clock::now();
  try {
    auto wave = std::make_shared<const WaveData>(ReadWav(file.data(), file.size()));
    WaveSource source(wave, mixerRate);
    std::vector<float> block(512, 0.0f);
    source.Render(block.data(), 256);
  } catch (const Exception&) {
  }
  return Ms(t0);
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : LongestSampleWav(argv[0]);
  if (path.empty()) {
    std::printf("no sound to open: give a WAV file\n");
    return 1;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  auto device = CreateSdlAudioDevice();
  if (!device) {
    std::printf("no audio device could be opened\n");
    return 1;
  }
  int rate = 0, block = 0;
  SdlAudioFormat(device.get(), rate, block);
  WaveData probe = LoadWavFile(path);
  std::printf("%s: %.1f s, %d Hz, %d channel(s); output %d Hz (%s driver), block %d frames\n", path.c_str(),
              double(probe.durationMs()) / 1000, probe.sampleRate, probe.channels, rate, std::getenv("SDL_AUDIODRIVER"),
              block);

  Stats open, audible;
  for (int i = 0; i < 20; ++i) {
    // Clicks at different points of the device's block cycle.
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + (i * 2713) % 12000));
    auto t0 = Clock::now();
    auto wave = std::make_shared<const WaveData>(LoadWavFile(path));
    auto stream = device->OpenWave(std::move(wave));
    open.values.push_back(Ms(t0));
    stream->Play();
    while (stream->PositionMs() <= 0 && Ms(t0) < 1000) std::this_thread::sleep_for(std::chrono::microseconds(200));
    audible.values.push_back(Ms(t0));
  }
  std::printf("  open, ready to play: median %.2f ms, worst %.2f ms\n", open.Median(), open.Worst());
  std::printf("  open to first sound heard (position past 0): median %.1f ms, worst %.1f ms\n", audible.Median(),
              audible.Worst());

  // The conversion while it plays, on the audio thread: the whole sound in the device's blocks.
  auto wave = std::make_shared<const WaveData>(std::move(probe));
  WaveSource source(wave, rate);
  std::vector<float> out(size_t(block) * 2);
  double worstBlock = 0, total = 0;
  int64_t blocks = 0;
  for (;;) {
    std::fill(out.begin(), out.end(), 0.0f);
    double c0 = ThreadCpuSeconds();
    int n = source.Render(out.data(), block);
    double spent = ThreadCpuSeconds() - c0;
    total += spent;
    worstBlock = std::max(worstBlock, spent);
    ++blocks;
    if (n < block) break;
  }
  double seconds = double(wave->durationMs()) / 1000;
  std::printf("  converting while it plays: %.2f%% of one core, worst block %.3f ms (a block lasts %.1f ms)\n",
              total * 100 / seconds, worstBlock * 1e3, 1000.0 * block / rate);

  // Hostile files of the size a fuzzer makes (4 KB) and larger, at the rate extremes.
  struct Case {
    const char* name;
    testing::Bytes file;
  } cases[] = {
      {"1 Hz (refused)", testing::WavFile(0, 1, 1)},
      {"4000 Hz mono, 4 KB", testing::WavFile(500, 4000, 1)},
      {"384 kHz stereo, 4 KB", testing::WavFile(5, 384000, 2)},
      {"4000 Hz mono, 10 min", testing::WavFile(600000, 4000, 1)},
      {"384 kHz stereo, 10 s", testing::WavFile(10000, 384000, 2)},
  };
  for (auto& c : cases) {
    Stats s;
    for (int i = 0; i < 5; ++i) s.values.push_back(OpenInMemory(c.file, rate));
    std::printf("  open %-24s (%7zu bytes): worst %.2f ms\n", c.name, c.file.size(), s.Worst());
  }
  return 0;
}
