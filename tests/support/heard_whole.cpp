#include "tests/support/heard_whole.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/backend/sdl/sdl_audio.h"
#include "platform/formats/midi_file.h"
#include "platform/media/audio_device.h"
#include "platform/media/playsound.h"
#include "platform/media/sound_font.h"

namespace tlb::testing {

int OnlySinkInput(const PulseEnv& env) {
  std::string out;
  if (!RunWithEnv(env, "pactl list short sink-inputs", out)) return -1;
  std::istringstream in(out);
  std::vector<int> ids;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) ids.push_back(std::atoi(line.c_str()));
  return ids.size() == 1 ? ids.front() : -1;
}

StreamRecorder::StreamRecorder(const PulseDaemon& daemon, int sinkInput, std::string wavPath)
    : daemon_(daemon), sinkInput_(sinkInput), wavPath_(std::move(wavPath)) {}

StreamRecorder::~StreamRecorder() { Stop(); }

bool StreamRecorder::Start(std::string& why) {
  std::string out;
  if (!RunWithEnv(daemon_.Env(), "command -v parec", out) || out.empty()) {
    why = "parec is not installed (Debian: pulseaudio-utils)";
    return false;
  }
  pid_ = fork();
  if (pid_ < 0) {
    why = "cannot start a process";
    return false;
  }
  if (pid_ == 0) {
    daemon_.Env().Apply();
    // A long latency: the recorder must not hold the sink at a short one.
    const std::string stream = "--monitor-stream=" + std::to_string(sinkInput_);
    execlp("parec", "parec", stream.c_str(), "--format=s16le", "--rate=44100", "--channels=2",
           "--latency-msec=250", "--file-format=wav", wavPath_.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return true;
}

void StreamRecorder::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGINT);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::vector<float> StreamRecorder::Samples() const {
  std::ifstream in(wavPath_, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The file is a WAV file: its samples follow the "data" chunk's header.
  size_t data = 12;
  while (data + 8 <= bytes.size() && std::string(&bytes[data], 4) != "data") {
    uint32_t size = uint8_t(bytes[data + 4]) | uint8_t(bytes[data + 5]) << 8 | uint8_t(bytes[data + 6]) << 16 |
                    uint32_t(uint8_t(bytes[data + 7])) << 24;
    data += 8 + size;
  }
  data += 8;
  std::vector<float> mono;
  for (size_t i = data; i + 4 <= bytes.size(); i += 4) {
    int16_t l = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
    int16_t r = int16_t(uint8_t(bytes[i + 2]) | uint8_t(bytes[i + 3]) << 8);
    mono.push_back((float(l) + float(r)) / 65536.0f);
  }
  return mono;
}

bool Subtract(const std::vector<float>& mixed, const std::vector<float>& part, size_t alignFrom, size_t alignLength,
              size_t searchSamples, std::vector<float>& rest, long& shift) {
  if (alignFrom + alignLength > part.size()) return false;
  const std::vector<float> piece(part.begin() + long(alignFrom), part.begin() + long(alignFrom + alignLength));
  // The part was recorded from about the same moment as the whole.
  const size_t from = alignFrom > searchSamples ? alignFrom - searchSamples : 0;
  Match m = FindWave(mixed, piece, from, alignFrom + searchSamples);
  if (m.index < 0 || m.score < 0.99) return false;
  shift = m.index - long(alignFrom);
  rest = mixed;
  for (size_t i = 0; i < rest.size(); ++i) {
    const long k = long(i) - shift;
    if (k >= 0 && size_t(k) < part.size()) rest[i] -= part[size_t(k)];
  }
  return true;
}

namespace {

float PeakOf(const std::vector<float>& v, size_t from, size_t to) {
  float peak = 0;
  for (size_t i = from; i < std::min(to, v.size()); ++i) peak = std::max(peak, std::fabs(v[i]));
  return peak;
}

// The first and one past the last sample of [from, to) louder than `threshold`.
std::pair<long, long> LoudSpan(const std::vector<float>& v, size_t from, size_t to, float threshold) {
  long first = -1, last = -1;
  for (size_t i = from; i < std::min(to, v.size()); ++i) {
    if (std::fabs(v[i]) <= threshold) continue;
    if (first < 0) first = long(i);
    last = long(i) + 1;
  }
  return {first, last};
}

}  // namespace

HeardSpan MeasureSpan(const std::vector<float>& rest, const std::vector<float>& sound, size_t from, size_t to) {
  HeardSpan span;
  to = std::min(to, rest.size());
  if (from >= to || sound.empty()) return span;
  const float ownPeak = PeakOf(sound, 0, sound.size());
  const auto own = LoudSpan(sound, 0, sound.size(), ownPeak / 32);
  const float heardPeak = PeakOf(rest, from, to);
  const auto heard = LoudSpan(rest, from, to, heardPeak / 32);
  if (heard.first < 0 || own.first < 0) return span;
  span.at = heard.first;
  span.heardMs = double(heard.second - heard.first) * 1000.0 / MonitorRecorder::kRate;
  span.ownMs = double(own.second - own.first) * 1000.0 / MonitorRecorder::kRate;
  // How well the recording fits there, lined up by its first loud sample.
  const long start = heard.first - own.first;
  if (start >= 0 && size_t(start) + sound.size() <= rest.size()) {
    double dot = 0, a = 0, b = 0;
    for (size_t k = 0; k < sound.size(); ++k) {
      dot += double(rest[size_t(start) + k]) * sound[k];
      a += double(rest[size_t(start) + k]) * rest[size_t(start) + k];
      b += double(sound[k]) * sound[k];
    }
    span.score = a > 0 && b > 0 ? dot / std::sqrt(a * b) : 0;
  }
  return span;
}

namespace {
void SleepS(double s) { std::this_thread::sleep_for(std::chrono::microseconds(int64_t(s * 1e6))); }
}  // namespace

LoopingMusic::LoopingMusic(AudioDevice& device, const std::string& midiPath) {
  auto song = std::make_shared<const MidiSong>(LoadMidiFile(midiPath));
  stream_ = device.OpenMidi(song, FindSoundFont());
  stream_->Play();
  thread_ = std::thread([this] {
    while (!stop_) {
      if (!stream_->Playing()) {
        stream_->Seek(0);
        stream_->Play();
      }
      SleepS(0.2);
    }
  });
}

LoopingMusic::~LoopingMusic() {
  stop_ = true;
  thread_.join();
}

std::vector<ShortSound> LoadShortSounds(const std::vector<std::string>& paths) {
  std::vector<ShortSound> sounds;
  for (const std::string& path : paths) sounds.push_back({path, LoadWavAt44k(path)});
  return sounds;
}

WholeSounds PlayOverMusic(const PulseDaemon& daemon, AudioDevice& device, const std::vector<ShortSound>& sounds,
                          int count, const std::string& midiPath, const std::string& folder) {
  // A sound heard whole lasts as long as its recording, to within this.
  constexpr double kToleranceMs = 3;
  constexpr int kRate = MonitorRecorder::kRate;
  WholeSounds result;
  const bool withMusic = !midiPath.empty();
  std::unique_ptr<LoopingMusic> music;
  if (withMusic) music = std::make_unique<LoopingMusic>(device, midiPath);
  SleepS(1.5);
  const int musicStream = withMusic ? OnlySinkInput(daemon.Env()) : -1;
  if (withMusic && musicStream < 0) {
    result.why = "the music's stream is not the only one on the server";
    return result;
  }
  MonitorRecorder monitor(daemon, 250, folder + "/monitor-sounds.raw");
  StreamRecorder musicAlone(daemon, musicStream, folder + "/music-stream.wav");
  if (!monitor.Start(result.why) || (withMusic && !musicAlone.Start(result.why))) return result;
  // Music alone first, to line the two recordings up by.
  SleepS(2.0);
  std::vector<int64_t> playedUs;
  for (int i = 0; i < count; ++i) {
    SleepS(i % 5 == 0 ? double(kSoundOutputQuietCloseUs) / 1e6 + 0.7 : 0.4);
    playedUs.push_back(MonotonicUs());
    PlaySound(sounds[size_t(i) % sounds.size()].path.c_str(), nullptr, SND_ASYNC | SND_FILENAME);
    while (PlaySoundPlaying()) SleepS(0.005);
  }
  SleepS(1.0);
  const int64_t endUs = MonotonicUs();
  // The monitor first: the music's recording then runs past its end.
  monitor.Stop();
  musicAlone.Stop();
  std::vector<float> rest = monitor.Samples();
  long shift = 0;
  if (withMusic && !Subtract(monitor.Samples(), musicAlone.Samples(), kRate / 2, kRate, kRate, rest, shift)) {
    result.why = "the music's stream does not line up with the sink's monitor";
    return result;
  }
  result.measured = true;
  result.played = count;
  for (int i = 0; i < count; ++i) {
    const ShortSound& sound = sounds[size_t(i) % sounds.size()];
    const size_t from = monitor.SampleAtUs(playedUs[size_t(i)] - 50'000);
    const size_t to = std::min(monitor.SampleAtUs(i + 1 < count ? playedUs[size_t(i) + 1] : endUs),
                               from + sound.samples.size() + kRate / 2);
    const HeardSpan span = MeasureSpan(rest, sound.samples, from, to);
    if (span.at >= 0 && std::fabs(span.heardMs - span.ownMs) <= kToleranceMs) continue;
    ++result.broken;
    char line[256];
    std::snprintf(line, sizeof line, " %s %.1f/%.1f ms", std::filesystem::path(sound.path).filename().c_str(),
                  span.heardMs, span.ownMs);
    result.detail += line;
  }
  return result;
}

}  // namespace tlb::testing
