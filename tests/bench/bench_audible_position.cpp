// Benchmark of the heard position: a rhyme's recording played through the real
// mixer into a simulated sound card, in real time on threads as the SDL output
// runs. The card plays its buffer at a steady rate into an output with a known
// latency and asks for blocks in bursts when its buffer runs low; the display
// reads the position at each 50 ms tick, as the karaoke's timer does, and the
// reading is compared with what the card has played by then.
//
//   bench_audible_position [rhyme.wav]
//
// Without a file the longest rhyme recording (lym*.wav) in the sample data beside
// the program is used.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "platform/formats/wav_reader.h"
#include "platform/media/mixer.h"

using namespace tlb;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRate = 44100;
const Clock::time_point kEpoch = Clock::now();

int64_t NowUs() { return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - kEpoch).count(); }
void SleepUntilUs(int64_t us) { std::this_thread::sleep_until(kEpoch + std::chrono::microseconds(us)); }

struct Card {
  const char* name;
  int block;         // frames a callback fills
  int burst;         // blocks asked for at once
  int capacity;      // the card's buffer, in frames
  int64_t outputUs;  // latency after the buffer
  int drift;         // the card's clock against the program's, in parts per million
  bool takeOffLatency = true;  // false: the position as handed to the device
};

std::string LongestRhyme(const char* argv0) {
  namespace fs = std::filesystem;
  std::string best;
  uintmax_t bestSize = 0;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(fs::absolute(argv0).parent_path() / "zvuky", ec)) {
    std::string name = e.path().filename().string();
    if (name.rfind("lym", 0) != 0 || e.path().extension() != ".wav") continue;
    if (e.file_size() > bestSize) {
      bestSize = e.file_size();
      best = e.path().string();
    }
  }
  return best;
}

void Run(const Card& card, std::shared_ptr<const WaveData> wave) {
  Mixer mixer(kRate);
  if (card.takeOffLatency) mixer.SetLatencyFrames(card.capacity - card.block + card.outputUs * kRate / 1'000'000);
  const double cardRate = kRate * (1.0 + card.drift / 1e6);
  auto voice = mixer.Add(std::make_unique<WaveSource>(wave, kRate));
  const int64_t length = voice->LengthFrames();
  std::atomic<int64_t> startUs{-1};
  std::atomic<bool> stop{false};
  auto played = [&](int64_t us) {
    int64_t s = startUs.load();
    return s < 0 || us < s ? int64_t(0) : int64_t(double(us - s) * cardRate / 1e6);
  };

  voice->Play();
  std::thread device([&] {
    std::vector<int16_t> out(size_t(card.block) * 2);
    int64_t handed = 0;
    while (!stop) {
      int64_t now = NowUs();
      for (int i = 0; i < card.burst; ++i) {
        mixer.Mix(out.data(), card.block, NowUs());
        handed += card.block;
      }
      if (startUs < 0) startUs = now;
      // Asleep until the buffer has room for the next burst; the system wakes it when it will.
      int64_t roomAt = startUs + int64_t(double(handed - card.capacity + card.block * card.burst) * 1e6 / cardRate);
      SleepUntilUs(std::max(roomAt, now + 100));
    }
  });

  int64_t worst = 0, sum = 0, ticks = 0, ahead = 0, back = 0, previous = 0, heardAllAt = -1, stoppedAt = -1;
  const int64_t deadline = NowUs() + 120'000'000;
  for (int64_t tick = NowUs(); (stoppedAt < 0 || heardAllAt < 0) && tick < deadline; tick += 50'000) {
    SleepUntilUs(tick);
    int64_t now = NowUs();
    int64_t reported = voice->HeardFrame(now);
    bool sounding = voice->Sounding(now);
    int64_t heard = std::min(length, played(now - card.outputUs));
    if (heard >= length && heardAllAt < 0) heardAllAt = now;
    if (!sounding && stoppedAt < 0) stoppedAt = now;
    if (heard >= length) continue;
    int64_t errorUs = (heard - reported) * 1'000'000 / kRate;
    if (errorUs < 0) ++ahead;
    if (reported < previous) ++back;
    previous = reported;
    worst = std::max(worst, std::abs(errorUs));
    sum += std::abs(errorUs);
    ++ticks;
  }
  // The end, to the millisecond: when the last frame is heard and when the voice stops sounding.
  stop = true;
  device.join();
  std::printf("%-48s ticks %4lld: error mean %5.1f ms, worst %5.1f ms; ahead %lld, back %lld; ", card.name,
              (long long)ticks, ticks ? double(sum) / ticks / 1000 : 0.0, double(worst) / 1000, (long long)ahead,
              (long long)back);
  std::printf("stops %+.0f ms from the last frame heard (50 ms ticks)\n",
              heardAllAt >= 0 && stoppedAt >= 0 ? double(stoppedAt - heardAllAt) / 1000 : -1.0);
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : LongestRhyme(argv[0]);
  if (path.empty()) {
    std::printf("no rhyme recording found: give a WAV file\n");
    return 1;
  }
  auto wave = std::make_shared<const WaveData>(LoadWavFile(path));
  std::printf("%s: %.1f s at %d Hz, played at %d Hz\n", path.c_str(), double(wave->durationMs()) / 1000,
              wave->sampleRate, kRate);
  const Card cards[] = {
      {"even 256-frame blocks, 20 ms after the buffer", 256, 1, 768, 20'000, 0},
      {"bursts of 4 blocks, 10 ms after, clock +300 ppm", 256, 4, 2048, 10'000, 300},
      {"server bursts of 8, 25 ms after, clock -300 ppm", 256, 8, 4096, 25'000, -300},
      {"the same, as handed to the device", 256, 8, 4096, 25'000, -300, false},
  };
  for (const Card& card : cards) Run(card, wave);
  return 0;
}
