// Smoke test of the real audio outputs (no sound card needed): on SDL's null
// output, on ALSA's null device and on SDL's file output, a MIDI song and a WAV
// sound played together both reach their ends, their positions moving and never
// going back. ALSA takes two outputs, so the song plays on the music output with
// its long blocks; on the file output everything plays on the one output, and
// the recording holds the sound. (SDL's null output takes one output only.)
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
  return expect.failures ? 1 : 0;
}
