// The sound outputs opened and closed again and again in one process, on a
// sound server of the test's own (a private PulseAudio with a null sink; the
// test is skipped where none can be started). Beside a device that stays open,
// as a program's does, each round opens a second device (its long output),
// plays a short tone as a quick sound, which opens its output for quick
// sounds, waits for the tone's end and closes the device. Every round must
// open and play. Under the leak checker, reopen_leaks.sh runs this once with
// one round and once with many and compares what the leak suppressions hid:
// SDL's sound code loses memory a few times in a process, and a leak of each
// opening must not hide behind those suppressions.
//
//   smoke_output_reopen SERVER_FOLDER ROUNDS
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "platform/backend/sdl/sdl_audio.h"
#include "platform/formats/wav_reader.h"
#include "tests/support/pulse_daemon.h"

using namespace tlb;
using tlb::testing::PulseDaemon;

namespace {

constexpr int kSkip = 77;

// 50 ms of a 1 kHz tone, mono at 22.05 kHz.
std::shared_ptr<const WaveData> Tone() {
  auto wave = std::make_shared<WaveData>();
  wave->sampleRate = 22050;
  wave->channels = 1;
  for (int i = 0; i < wave->sampleRate / 20; ++i)
    wave->samples.push_back(int16_t(std::lround(8000 * std::sin(2 * M_PI * 1000.0 * i / wave->sampleRate))));
  return wave;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: smoke_output_reopen SERVER_FOLDER ROUNDS\n");
    return 2;
  }
  // Each line as it comes: the leak checker ends the process without flushing.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const int rounds = std::atoi(argv[2]);
  PulseDaemon daemon(argv[1]);
  if (!daemon.Ready()) {
    std::printf("no sound server can be started here, so nothing is checked: %s\n", daemon.Why().c_str());
    if (!daemon.Dir().empty()) std::filesystem::remove_all(daemon.Dir());
    return kSkip;
  }
  daemon.Env().Apply();
  const auto tone = Tone();
  // A device that stays open, as a program's does: the sound library stays
  // started, and each round's device opens and closes outputs beside it.
  std::unique_ptr<AudioDevice> kept = CreateSdlAudioDevice();
  if (!kept || !kept->Audible()) {
    std::printf("the device does not open on the server\n");
    return 1;
  }
  int failures = 0;
  for (int round = 1; round <= rounds; ++round) {
    std::unique_ptr<AudioDevice> device = CreateSdlAudioDevice();
    if (!device || !device->Audible()) {
      std::printf("round %d: the device does not open on the server\n", round);
      ++failures;
      break;
    }
    auto stream = device->OpenWave(tone, /*quickStart=*/true);
    stream->Play();
    // The output opens on a thread of its own, at once.
    bool quickOpen = false;
    for (int i = 0; i < 200 && !quickOpen && stream->Playing(); ++i) {
      quickOpen = SdlSoundOutputOpen(device.get());
      if (!quickOpen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (stream->Playing() && std::chrono::steady_clock::now() < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool ended = !stream->Playing() && stream->PositionMs() == stream->LengthMs();
    if (!quickOpen || !ended) {
      std::printf("round %d: the output for quick sounds %s, the tone %s\n", round, quickOpen ? "opened" : "did not open",
                  ended ? "played to its end" : "did not end");
      ++failures;
    }
    stream.reset();
    device.reset();
  }
  kept.reset();
  std::printf("%d rounds of opening, playing and closing: %d failed\n", rounds, failures);
  daemon.Stop();
  if (failures == 0) std::filesystem::remove_all(daemon.Dir());
  return failures == 0 ? 0 : 1;
}
