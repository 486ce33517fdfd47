// Benchmark of the sound mixer: the processor time to render the games' worst
// case (a MIDI song through FluidSynth, a WAV narration and a PlaySound effect
// together) offline, per second of audio; and, with the SDL backend built, the
// time from Play to the first sample handed to the SDL audio device.
//
//   bench_mixer [seconds] [song.mid] [speech.wav]
//
// Without files, a busy General MIDI song (chords, bass, pad, drums) and a
// synthetic narration are made in memory. Run the latency part with
// SDL_AUDIODRIVER=dummy (the default here) or with a real output.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>

#include "platform/core/paths.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/midi_synth.h"
#include "platform/media/mixer.h"
#include "tests/support/media_fixtures.h"

#ifdef TULIMBO_BENCH_SDL
#include "platform/backend/sdl/sdl_audio.h"
#include "platform/media/audio_device.h"
#endif

using namespace tlb;
using tlb::testing::Bytes;

namespace {

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// A format 0 song at 120 beats a minute: a three-note piano chord and a bass
// note on every beat, a string pad changing every bar, kick and hi-hat.
Bytes BusySong(int seconds) {
  std::multimap<uint32_t, Bytes> events;  // by absolute tick
  auto note = [&](uint32_t at, uint32_t len, int ch, int key, int vel) {
    events.insert({at, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(vel)}});
    events.insert({at + len, {uint8_t(0x80 | ch), uint8_t(key), 0}});
  };
  events.insert({0, {0xC0, 0}});
  events.insert({0, {0xC1, 33}});
  events.insert({0, {0xC2, 48}});
  const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
  int beats = seconds * 2;
  for (int b = 0; b < beats; ++b) {
    uint32_t at = uint32_t(b) * 96;
    const int* chord = chords[(b / 4) % 4];
    for (int i = 0; i < 3; ++i) note(at, 80, 0, chord[i], 90);
    note(at, 90, 1, chord[0] - 24, 100);
    if (b % 4 == 0)
      for (int i = 0; i < 3; ++i) note(at, 4 * 96 - 4, 2, chord[i] + 12, 60);
    note(at, 20, 9, b % 2 ? 38 : 36, 110);
    note(at, 10, 9, 42, 80);
    note(at + 48, 10, 9, 42, 70);
  }
  std::vector<Bytes> track;
  uint32_t last = 0;
  for (const auto& [at, bytes] : events) {
    track.push_back(testing::MidiEv(at - last, bytes));
    last = at;
  }
  return testing::MidiFile(0, 96, {testing::MidiTrack(track)});
}

// A narration-like sound: a voiced buzz whose pitch and loudness wander.
WaveData Narration(int seconds) {
  WaveData w;
  w.sampleRate = 22050;
  w.channels = 1;
  w.samples.resize(size_t(w.sampleRate) * seconds);
  double phase = 0;
  for (size_t i = 0; i < w.samples.size(); ++i) {
    double t = double(i) / w.sampleRate;
    double f = 140 + 30 * std::sin(2 * M_PI * 0.7 * t);
    phase += 2 * M_PI * f / w.sampleRate;
    double env = 0.5 + 0.5 * std::sin(2 * M_PI * 3 * t);
    w.samples[i] = int16_t(6000 * env * (std::sin(phase) + 0.3 * std::sin(3 * phase)));
  }
  return w;
}

void OfflineMix(int seconds, std::shared_ptr<const MidiSong> song, const WaveData& speech) {
  constexpr int kRate = 44100, kBlock = 512;
  std::string font = FindSoundFont();
  if (font.empty()) {
    std::printf("no soundfont installed: the MIDI part is left out\n");
  }
  Mixer mixer(kRate);
  double t0 = ThreadCpuSeconds();
  std::unique_ptr<MixerVoice> music;
  if (!font.empty()) music = mixer.Add(std::make_unique<MidiSynthSource>(song, font, kRate));
  double openMidi = ThreadCpuSeconds() - t0;
  t0 = ThreadCpuSeconds();
  auto narration = mixer.Add(std::make_unique<PcmSource>(Resample(speech, kRate, 2)));
  double openWave = ThreadCpuSeconds() - t0;
  Bytes clickBytes = testing::WavFile(400, 22050, 1, 880);
  WaveData click = ReadWav(clickBytes.data(), clickBytes.size());
  std::vector<int16_t> effectSamples = Resample(click, kRate, 2);

  if (music) music->Play();
  narration->Play();
  std::unique_ptr<MixerVoice> effect;
  std::vector<int16_t> out(size_t(kBlock) * 2);
  int64_t frames = int64_t(seconds) * kRate;
  int64_t nextEffect = 0;
  double mixCpu = 0, effectCpu = 0;
  for (int64_t done = 0; done < frames; done += kBlock) {
    if (done >= nextEffect) {
      // PlaySound replaces its sound once a second, as hover names do.
      double e0 = ThreadCpuSeconds();
      effect = mixer.Add(std::make_unique<PcmSource>(effectSamples));
      effect->Play();
      effectCpu += ThreadCpuSeconds() - e0;
      nextEffect += kRate;
    }
    double m0 = ThreadCpuSeconds();
    mixer.Mix(out.data(), kBlock, done * 1000000 / kRate);
    mixCpu += ThreadCpuSeconds() - m0;
  }
  std::printf("offline mix, %d s of 44.1 kHz stereo: MIDI%s + WAV narration + PlaySound effect each second\n", seconds,
              music ? "" : " (left out)");
  std::printf("  open: MIDI synthesiser with soundfont %.1f ms, WAV resampling %.1f ms\n", openMidi * 1e3, openWave * 1e3);
  std::printf("  mixing: %.2f ms of processor time per second of audio = %.2f%% of one core\n",
              mixCpu * 1e3 / seconds, mixCpu * 100 / seconds);
  std::printf("  effect starts: %.2f ms per second\n", effectCpu * 1e3 / seconds);
}

#ifdef TULIMBO_BENCH_SDL
struct StartTimes {
  double mean = 0, worst = 0;
};

// Plays `stream` from its start `trials` times, each after a different pause
// (so at different points of the device's block cycle, which repeats within
// `cycleUs`), and times Play to its position moving.
StartTimes TimeStarts(AudioStream& stream, int trials, int stepUs, int cycleUs) {
  StartTimes t;
  for (int i = 0; i < trials; ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(1000 + (i * stepUs) % cycleUs));
    auto t0 = std::chrono::steady_clock::now();
    stream.Play();
    while (stream.PositionMs() <= 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    t.worst = std::max(t.worst, ms);
    t.mean += ms / trials;
    stream.Pause();
    stream.Seek(0);
  }
  return t;
}

// The time from a MIDI song's Play to its position moving, on the output the
// songs play on.
void MidiStart(AudioDevice& device, std::shared_ptr<const MidiSong> song) {
  std::string font = FindSoundFont();
  if (font.empty()) return;
  int rate = 0, block = 0;
  bool own = SdlMusicFormat(&device, rate, block);
  if (!own) SdlAudioFormat(&device, rate, block);
  auto stream = device.OpenMidi(song, font);
  StartTimes t = TimeStarts(*stream, 20, 7919, 40000);
  std::printf("  MIDI on the %s output (block %d frames = %.1f ms): Play to position moving: mean %.1f ms, worst %.1f ms\n",
              own ? "music" : "sound", block, 1000.0 * block / rate, t.mean, t.worst);
}

void Latency(std::shared_ptr<const MidiSong> song) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  auto device = CreateSdlAudioDevice();
  if (!device) {
    std::printf("SDL latency: no audio device could be opened\n");
    return;
  }
  int rate = 0, block = 0;
  SdlAudioFormat(device.get(), rate, block);
  Bytes b = testing::WavFile(2000, 22050, 1, 440);
  auto wave = std::make_shared<const WaveData>(ReadWav(b.data(), b.size()));
  auto stream = device->OpenWave(wave);
  StartTimes starts = TimeStarts(*stream, 40, 2713, 12000);
  double worst = starts.worst;
  double blockMs = 1000.0 * block / rate;
  std::printf("SDL device (%s driver): %d Hz, block %d frames = %.1f ms\n", std::getenv("SDL_AUDIODRIVER"), rate,
              block, blockMs);
  std::printf("  Play to first sample handed to the device: mean %.1f ms, worst %.1f ms\n", starts.mean, worst);
  std::printf("  Play to sound out (plus one block in the device): worst %.1f ms\n", worst + blockMs);

  // Position against the wall clock while it plays. The device's own clock may
  // run a little slow or fast (the dummy driver sleeps after each block), so the
  // positions are fitted to a line: its slope is the device's speed, and the
  // largest distance from it is the position's jitter around the samples handed out.
  stream->Seek(0);
  stream->Play();
  while (stream->PositionMs() <= 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
  auto start = std::chrono::steady_clock::now();
  std::vector<std::pair<double, double>> samples;  // wall ms, position ms
  bool backwards = false;
  int64_t previous = 0;
  for (int i = 0; i < 300; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    int64_t pos = stream->PositionMs();
    if (pos >= stream->LengthMs()) break;
    double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    backwards |= pos < previous;
    previous = pos;
    samples.push_back({wall, double(pos)});
  }
  double n = double(samples.size()), sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (auto [x, y] : samples) {
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx), offset = (sy - slope * sx) / n, jitter = 0;
  for (auto [x, y] : samples) jitter = std::max(jitter, std::abs(y - (offset + slope * x)));
  std::printf("  Position while playing: device speed %.3f of real time, largest jitter %.1f ms%s\n", slope, jitter,
              backwards ? ", WENT BACKWARDS" : "");
  stream->Pause();
  MidiStart(*device, song);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  std::shared_ptr<const MidiSong> song;
  WaveData speech;
  if (argc > 2) {
    song = std::make_shared<const MidiSong>(LoadMidiFile(ResolvePath(argv[2])));
  } else {
    Bytes s = BusySong(seconds + 2);
    song = std::make_shared<const MidiSong>(ReadMidi(s.data(), s.size()));
  }
  speech = argc > 3 ? LoadWavFile(ResolvePath(argv[3])) : Narration(seconds + 2);
  OfflineMix(seconds, song, speech);
#ifdef TULIMBO_BENCH_SDL
  Latency(song);
#endif
  return 0;
}
