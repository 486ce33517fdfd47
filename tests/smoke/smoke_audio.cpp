// Smoke test of the real audio outputs (no sound card needed): on SDL's null
// output, on ALSA's null device and on SDL's file output, a MIDI song and a WAV
// sound played together both reach their ends, their positions moving and never
// going back. ALSA takes two outputs, so the song plays on the music output with
// its long blocks; on the file output everything plays on the one output, and
// the recording holds the sound. (SDL's null output takes one output only.)
// The null and file outputs, which have no clock of their own, take sound in
// real time: a long sound's position moves one second a second. And on a
// machine without a sound device (ALSA pointed at a device that is not there)
// the device is a silent output that plays in real time too, counted as no
// wave-output device, and says so once on standard error.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/sdl/sdl_audio.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/sound_font.h"
#include "tests/smoke/smoke_checks.h"
#include "tests/support/media_fixtures.h"

using namespace tlb;
using Clock = std::chrono::steady_clock;

namespace {

// One stream's course as polled: whether its position moved before the end or
// went back, and whether it ended.
struct Course {
  AudioStream* stream;
  int64_t previous = 0;
  bool moved = false;
  bool backwards = false;
  bool ended = false;
};

enum class MusicOutput { Own, Shared, Either };

struct Output {
  const char* driver;
  const char* alsaDevice;  // AUDIODEV, for the ALSA driver
  MusicOutput music;
  bool mustOpen;
};

void PlayTogether(const Output& out, const std::string& recording, tlb::smoke::SmokeChecks& expect) {
  setenv("SDL_AUDIODRIVER", out.driver, 1);
  setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
  if (out.alsaDevice) setenv("AUDIODEV", out.alsaDevice, 1);
  const std::string name = out.driver;
  auto device = CreateSdlAudioDevice();
  if (!device && !out.mustOpen) {
    std::printf("%s: no output here, left out\n", out.driver);
    return;
  }
  expect((name + ": the output opens").c_str(), device != nullptr);
  if (!device) return;
  int rate = 0, block = 0;
  bool musicOutput = SdlMusicFormat(device.get(), rate, block);
  if (musicOutput) expect((name + ": the music output takes long blocks").c_str(), block >= 1024);
  SdlAudioFormat(device.get(), rate, block);
  expect((name + ": sounds play in short blocks").c_str(), block <= 512);
  if (out.music == MusicOutput::Shared)
    expect((name + ": songs play on the one output").c_str(), !musicOutput);
  else if (out.music == MusicOutput::Own)
    expect((name + ": songs play on an output of their own").c_str(), musicOutput);

  testing::Bytes wavBytes = testing::WavFile(400, 22050, 1, 660);
  auto wave = device->OpenWave(std::make_shared<const WaveData>(ReadWav(wavBytes.data(), wavBytes.size())));
  std::unique_ptr<AudioStream> song;
  const std::string font = FindSoundFont();
  if (!font.empty()) {
    testing::Bytes midiBytes = testing::MidiWithTempoChange();
    song = device->OpenMidi(std::make_shared<const MidiSong>(ReadMidi(midiBytes.data(), midiBytes.size())), font);
  } else {
    std::printf("no soundfont installed: the song is left out\n");
  }
  std::vector<Course> courses{{wave.get()}};
  if (song) courses.push_back({song.get()});

  const auto start = Clock::now();
  for (auto& c : courses) c.stream->Play();
  const auto limit = start + std::chrono::seconds(8);
  while (Clock::now() < limit && std::any_of(courses.begin(), courses.end(), [](const Course& c) { return !c.ended; })) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    for (auto& c : courses) {
      if (c.ended) continue;
      bool playing = c.stream->Playing();
      int64_t pos = c.stream->PositionMs();
      c.backwards |= pos < c.previous;
      c.moved |= playing && pos > 0 && pos < c.stream->LengthMs();
      c.previous = pos;
      c.ended = !playing;
    }
  }
  const char* names[] = {"WAV", "MIDI"};
  for (size_t i = 0; i < courses.size(); ++i) {
    const Course& c = courses[i];
    const std::string what = name + ": the " + names[i] + " stream";
    expect((what + " plays to its end").c_str(), c.ended && c.stream->PositionMs() == c.stream->LengthMs());
    expect((what + "'s position moves while it plays").c_str(), c.moved);
    expect((what + "'s position never goes back").c_str(), !c.backwards);
  }
  wave.reset();
  song.reset();
  device.reset();
  if (name == "disk") {
    std::ifstream in(recording, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      int16_t s = int16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
      loud += std::abs(int(s)) > 1000;
    }
    expect("disk: the recording holds the sound", loud > 1000);
  }
}

// Seconds of sound a second of wall time, read from a playing sound's
// position over two seconds.
double SoundPerSecond(AudioDevice& device) {
  testing::Bytes bytes = testing::WavFile(2600, 22050, 1, 660);
  auto wave = device.OpenWave(std::make_shared<const WaveData>(ReadWav(bytes.data(), bytes.size())));
  wave->Play();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto t1 = Clock::now();
  const int64_t p1 = wave->PositionMs();
  std::this_thread::sleep_until(t1 + std::chrono::seconds(2));
  const int64_t p2 = wave->PositionMs();
  const auto t2 = Clock::now();
  const double seconds = std::chrono::duration<double>(t2 - t1).count();
  return double(p2 - p1) / 1000.0 / seconds;
}

void KeepsRealTime(const char* driver, const std::string& recording, tlb::smoke::SmokeChecks& expect) {
  setenv("SDL_AUDIODRIVER", driver, 1);
  setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
  auto device = CreateSdlAudioDevice();
  expect((std::string(driver) + ": the output opens").c_str(), device != nullptr);
  if (!device) return;
  double rate = SoundPerSecond(*device);
  std::printf("%s: %.4f s of sound a second\n", driver, rate);
  expect((std::string(driver) + ": takes 0.99-1.01 s of sound a second").c_str(), rate >= 0.99 && rate <= 1.01);
}

void WithoutASoundDevice(const std::string& scratch, tlb::smoke::SmokeChecks& expect) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "no_such_device", 1);
  std::unique_ptr<AudioDevice> device;
  std::string said = tlb::smoke::StandardError(scratch, [&] {
    device = CreateSdlAudioDevice();
    device.reset();
    device = CreateSdlAudioDevice();
  });
  // The line gives the reason the output gave: here, ALSA's for the missing device.
  const std::string line = "No sound device was found: the program runs without sound (the output said: ";
  size_t first = said.find(line);
  std::printf("no device: standard error: %s", said.c_str());
  expect("no device: standard error says so, with the output's reason",
         first != std::string::npos && said.compare(first + line.size(), 3, ").\n") != 0);
  expect("no device: and says it once", first == std::string::npos || said.find(line, first + 1) == std::string::npos);
  expect("no device: a silent output opens", device != nullptr);
  if (!device) return;
  expect("no device: it counts as no wave-output device", !device->Audible());
  double rate = SoundPerSecond(*device);
  std::printf("no device: %.4f s of sound a second\n", rate);
  expect("no device: a sound plays in real time", rate >= 0.99 && rate <= 1.01);
  // A sound plays to its end on time, also after another device has tried the
  // missing card and fallen back in its turn: the silent output is started
  // through SDL's own count of its subsystems, so the other device's start and
  // end leave it running.
  testing::Bytes bytes = testing::WavFile(700, 22050, 1, 660);
  for (const char* when : {"", " after another device came and went"}) {
    if (*when) CreateSdlAudioDevice().reset();
    auto wave = device->OpenWave(std::make_shared<const WaveData>(ReadWav(bytes.data(), bytes.size())));
    const auto start = Clock::now();
    wave->Play();
    while (wave->Playing() && Clock::now() < start + std::chrono::seconds(3))
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("no device: a 0.7 s sound ended after %.3f s%s\n", took, when);
    expect((std::string("no device: a sound ends on time") + when).c_str(),
           !wave->Playing() && wave->PositionMs() == 700 && took >= 0.69 && took <= 0.74);
  }
  unsetenv("AUDIODEV");
}

}  // namespace

int main(int argc, char** argv) {
  std::string recording = argc > 1 ? argv[1] : "smoke_audio.raw";
  tlb::smoke::SmokeChecks expect;
  const Output outputs[] = {
      {"dummy", nullptr, MusicOutput::Either, true},
      {"alsa", "null", MusicOutput::Own, false},
      {"disk", nullptr, MusicOutput::Shared, true},
  };
  for (const Output& out : outputs) PlayTogether(out, recording, expect);
  KeepsRealTime("dummy", recording, expect);
  KeepsRealTime("disk", recording, expect);
  WithoutASoundDevice(recording + ".stderr", expect);
  return expect.failures ? 1 : 0;
}
