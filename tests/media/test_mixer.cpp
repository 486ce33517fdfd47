// The mixer that the real audio output runs: voices add up and clip, end on
// their own, report the frame heard between blocks, and the MIDI synthesiser
// sounds its notes at their times along the tempo map.
#include "platform/media/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/core/exceptions.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/midi_synth.h"
#include "tests/support/media_fixtures.h"

namespace tlb {
namespace {

std::unique_ptr<SampleSource> Constant(int16_t value, int frames) {
  return std::make_unique<PcmSource>(std::vector<int16_t>(size_t(frames) * 2, value));
}

TEST(Mixer, PlayingVoicesAddUpAndClip) {
  Mixer mixer(1000);
  auto a = mixer.Add(Constant(10000, 100));
  auto b = mixer.Add(Constant(12000, 100));
  auto c = mixer.Add(Constant(20000, 100));
  std::vector<int16_t> out(20);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[0], 0) << "voices start paused";
  a->Play();
  b->Play();
  mixer.Mix(out.data(), 10);
  EXPECT_NEAR(out[0], 22000, 1);
  c->Play();
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[5], 32767);
  EXPECT_EQ(mixer.PlayingCount(), 3);
}

TEST(Mixer, AVoiceEndsInsideABlockAndStopsPlaying) {
  Mixer mixer(1000);
  auto v = mixer.Add(Constant(1000, 15));
  v->Play();
  std::vector<int16_t> out(20);
  mixer.Mix(out.data(), 10);
  EXPECT_TRUE(v->Playing());
  mixer.Mix(out.data(), 10);
  EXPECT_FALSE(v->Playing());
  EXPECT_NEAR(out[2 * 4], 1000, 1);
  EXPECT_EQ(out[2 * 5], 0) << "silence after the end";
  EXPECT_EQ(v->Frame(), 15);
  v->Play();  // at its end: stays stopped
  EXPECT_FALSE(v->Playing());
  v->SeekFrame(0);
  v->Play();
  EXPECT_TRUE(v->Playing());
}

// A WAV voice plays at the mixer's rate in stereo however it was recorded, and
// ends on the frame its length gives, so a player at its end reads its length.
TEST(Mixer, AWaveVoiceIsConvertedAsItPlaysAndEndsOnItsLength) {
  struct Case {
    int rate, channels;
  } cases[] = {{44100, 1}, {22050, 1}, {22050, 2}, {48000, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
    auto wave = std::make_shared<WaveData>();
    wave->sampleRate = c.rate;
    wave->channels = c.channels;
    for (int i = 0; i < c.rate / 10; ++i)  // 100 ms of a 1 kHz tone, left louder than right
      for (int ch = 0; ch < c.channels; ++ch)
        wave->samples.push_back(int16_t(std::lround((ch ? 4000 : 8000) * std::sin(2 * M_PI * 1000.0 * i / c.rate))));
    Mixer mixer(44100);
    auto v = mixer.Add(std::make_unique<WaveSource>(wave, 44100));
    EXPECT_EQ(v->LengthFrames(), 4410);
    v->Play();
    std::vector<int16_t> out(2 * 256);
    double peakLeft = 0, peakRight = 0;
    int blocks = 0;
    while (v->Playing() && blocks < 100) {
      mixer.Mix(out.data(), 256);
      ++blocks;
      for (size_t i = 0; i < out.size(); i += 2) {
        peakLeft = std::max(peakLeft, std::abs(double(out[i])));
        peakRight = std::max(peakRight, std::abs(double(out[i + 1])));
      }
    }
    EXPECT_EQ(blocks, 18);  // 4410 frames: 17 whole blocks and part of one
    EXPECT_EQ(v->Frame(), 4410);
    EXPECT_NEAR(peakLeft, 8000, 300);
    EXPECT_NEAR(peakRight, c.channels == 1 ? 8000 : 4000, 300);
  }
}

std::vector<int> LeftChannel(const std::vector<int16_t>& out) {
  std::vector<int> left;
  for (size_t i = 0; i < out.size(); i += 2) left.push_back(int(std::lround(out[i] / 100.0)) * 100);
  return left;
}

TEST(Mixer, AVoiceStoppedWhileSoundingFadesOutInsteadOfBreakingOff) {
  Mixer mixer(1000);  // a 4-frame fade
  ASSERT_EQ(mixer.FadeFrames(), 4);
  auto v = mixer.Add(Constant(8000, 100));
  v->Play();
  std::vector<int16_t> out(16);
  mixer.Mix(out.data(), 8);
  v->Pause();
  EXPECT_FALSE(v->Playing());
  EXPECT_EQ(v->Frame(), 8);
  mixer.Mix(out.data(), 8);
  EXPECT_EQ(LeftChannel(out), (std::vector<int>{8000, 6000, 4000, 2000, 0, 0, 0, 0}));
  EXPECT_EQ(v->Frame(), 8) << "the fade is not counted in the position";
  v->Play();
  mixer.Mix(out.data(), 8);
  EXPECT_EQ(LeftChannel(out)[0], 8000);
  EXPECT_EQ(v->Frame(), 16);
  // A sounding voice that is destroyed (PlaySound's channel replaced) fades out too.
  v.reset();
  mixer.Mix(out.data(), 8);
  EXPECT_EQ(LeftChannel(out), (std::vector<int>{8000, 6000, 4000, 2000, 0, 0, 0, 0}));
  EXPECT_EQ(mixer.VoiceCount(), 0);
}

TEST(Mixer, HeardFrameMovesWithTheClockInsideTheLastBlock) {
  Mixer mixer(1000);  // one frame a millisecond
  auto v = mixer.Add(Constant(1, 1000));
  v->Play();
  std::vector<int16_t> out(200);
  mixer.Mix(out.data(), 100, 5'000'000);
  struct {
    int64_t atUs, frame;
  } cases[] = {{5'000'000, 0}, {5'040'000, 40}, {5'099'000, 99}, {5'500'000, 100}, {4'000'000, 0}};
  for (auto c : cases) EXPECT_EQ(v->HeardFrame(c.atUs), c.frame) << c.atUs;
  v->SeekFrame(500);
  EXPECT_EQ(v->HeardFrame(5'040'000), 500) << "a seek is heard from its frame";
  v->Pause();
  EXPECT_EQ(v->HeardFrame(9'000'000), 500);
}

TEST(Mixer, VoicesLeaveTheMixWhenDestroyedAndMayOutliveIt) {
  auto mixer = std::make_unique<Mixer>(1000);
  auto a = mixer->Add(Constant(1000, 100));
  {
    auto b = mixer->Add(Constant(1000, 100));
    EXPECT_EQ(mixer->VoiceCount(), 2);
  }
  EXPECT_EQ(mixer->VoiceCount(), 1);
  a->Play();
  mixer.reset();
  a->Pause();  // the shared state is still there
  EXPECT_FALSE(a->Playing());
}

TEST(Mixer, FirstMixedAtTellsWhenAStartedVoiceWasFirstHeard) {
  Mixer mixer(1000);
  auto v = mixer.Add(Constant(1000, 100));
  std::vector<int16_t> out(20);
  mixer.Mix(out.data(), 10);
  v->Play();
  EXPECT_EQ(v->FirstMixedAt(), -1);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(v->FirstMixedAt(), 10);
}

// A device's thread calling WaitWhileSilent. Waits() waits until it stands in
// the mixer's wait, or has returned without waiting, or 10 s have passed (a
// thread that is slow to start on a busy machine is waited for, not raced with
// a sleep); true when it waits.
class DeviceThread {
 public:
  explicit DeviceThread(Mixer& mixer) : mixer_(mixer), thread_([this] {
    waited_ = mixer_.WaitWhileSilent();
    returned_ = true;
  }) {}
  ~DeviceThread() { Join(); }
  bool Waits() const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!mixer_.DeviceWaiting() && !returned_ && std::chrono::steady_clock::now() < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return mixer_.DeviceWaiting();
  }
  // Whether WaitWhileSilent waited, once it has returned.
  bool Join() {
    if (thread_.joinable()) thread_.join();
    return waited_;
  }

 private:
  Mixer& mixer_;
  std::atomic<bool> returned_{false};
  bool waited_ = false;
  std::thread thread_;
};

// The device's thread waits while nothing sounds: not while a voice plays or
// fades out, until a voice is played, and never again once told to stop waiting.
TEST(Mixer, TheDeviceWaitsWhileNothingSoundsAndWakesOnPlay) {
  Mixer mixer(1000);  // a 4-frame fade
  auto v = mixer.Add(Constant(1000, 100));
  std::vector<int16_t> out(20);
  EXPECT_FALSE(mixer.DeviceWaiting());
  auto waitFor = [&](auto&& wake) {
    DeviceThread device(mixer);
    const bool waits = device.Waits();
    wake();
    const bool waited = device.Join();
    EXPECT_TRUE(waits) << "waited";
    EXPECT_FALSE(mixer.DeviceWaiting()) << "woken";
    return waited;
  };
  EXPECT_TRUE(waitFor([&] { v->Play(); }));
  EXPECT_FALSE(mixer.WaitWhileSilent()) << "a voice plays";
  mixer.Mix(out.data(), 10);
  v->Pause();
  EXPECT_FALSE(mixer.WaitWhileSilent()) << "the voice fades out";
  mixer.Mix(out.data(), 10);
  EXPECT_TRUE(waitFor([&] { mixer.StopWaiting(); }));
  EXPECT_FALSE(mixer.WaitWhileSilent()) << "stopped waiting for good";
}

// The sound output closes after a quiet: the mixer tells since when nothing
// has sounded, counting a fade-out as sound, and after the output opens again
// its thread waits again and the quiet counts from the opening.
TEST(Mixer, TellsSinceWhenItIsQuietAndWaitsAgainAfterReopening) {
  Mixer mixer(1000);  // a 4-frame fade
  auto v = mixer.Add(Constant(1000, 30));
  std::vector<int16_t> out(20);
  EXPECT_EQ(mixer.QuietSinceUs(), 0) << "nothing has sounded yet";
  v->Play();
  EXPECT_EQ(mixer.QuietSinceUs(), -1) << "played, not mixed yet";
  mixer.Mix(out.data(), 10, 1'000);
  mixer.Mix(out.data(), 10, 2'000);
  v->Pause();
  EXPECT_EQ(mixer.QuietSinceUs(), -1) << "fading out";
  mixer.Mix(out.data(), 10, 3'000);  // the fade
  EXPECT_EQ(mixer.QuietSinceUs(), 3'000);
  mixer.Mix(out.data(), 10, 4'000);  // silence
  EXPECT_EQ(mixer.QuietSinceUs(), 3'000) << "a silent block is no sound";
  v->Play();
  mixer.Mix(out.data(), 10, 5'000);  // its last 10 frames
  mixer.Mix(out.data(), 10, 6'000);  // it ends
  EXPECT_EQ(mixer.QuietSinceUs(), 5'000) << "ended on its own";

  mixer.StopWaiting();
  EXPECT_FALSE(mixer.WaitWhileSilent()) << "closing";
  mixer.Reopened(9'000);
  EXPECT_EQ(mixer.QuietSinceUs(), 9'000);
  DeviceThread device(mixer);
  EXPECT_TRUE(device.Waits()) << "waits again once reopened";
  mixer.StopWaiting();
  device.Join();
}

// A voice heard after the output stood still starts at the block that woke it.
TEST(Mixer, AVoicePlayedAfterTheOutputStoodStillIsHeardFromItsFirstBlock) {
  Mixer mixer(1000);
  mixer.SetLatencyFrames(20);
  auto a = mixer.Add(Constant(1000, 50));
  auto b = mixer.Add(Constant(1000, 50));
  std::vector<int16_t> out(20);
  a->Play();
  int64_t t = 0;
  for (; t < 60; t += 10) mixer.Mix(out.data(), 10, t * 1000);  // a ends at output frame 50
  EXPECT_TRUE(a->Sounding(65'000));
  EXPECT_FALSE(a->Sounding(71'000));
  // b plays only once the device's thread waits, as an output that stood still.
  DeviceThread device(mixer);
  const bool waits = device.Waits();
  b->Play();
  ASSERT_TRUE(device.Join() && waits) << "nothing sounds, so the device waits";
  t = 150;  // the output stood still for 90 ms
  mixer.Mix(out.data(), 10, t * 1000);  // b's frame 0 goes out at output frame 60
  EXPECT_EQ(b->HeardFrame(160'000), 0) << "not heard before the latency";
  EXPECT_EQ(b->HeardFrame(170'000), 0);
  mixer.Mix(out.data(), 10, 160'000);
  EXPECT_EQ(b->HeardFrame(175'000), 5);
}

// The output for quick sounds closes after a quiet spell. A sound played just as
// it closes must not go into the closing output: the voices are held where
// they stand until the output opens again, and the sound starts from its
// first frame there. While anything sounds, or has not been quiet long enough,
// nothing is held.
TEST(Mixer, AVoicePlayedWhileTheOutputClosesStartsWholeOnTheNextOne) {
  Mixer mixer(1000);  // a 4-frame fade
  auto click = mixer.Add(Constant(1000, 10));
  auto next = mixer.Add(Constant(2000, 30));
  std::vector<int16_t> out(20);
  click->Play();
  mixer.Mix(out.data(), 10, 1'000);  // the click, whole
  mixer.Mix(out.data(), 10, 2'000);  // silence
  EXPECT_FALSE(mixer.HoldIfQuiet(3'000, 3'000)) << "quiet for 2 ms only";
  next->Play();
  EXPECT_FALSE(mixer.HoldIfQuiet(0, 9'000)) << "a voice plays";
  next->Pause();
  mixer.Mix(out.data(), 10, 10'000);  // its fade-out
  EXPECT_FALSE(mixer.HoldIfQuiet(3'000, 12'000));
  EXPECT_TRUE(mixer.HoldIfQuiet(3'000, 13'000));

  next->SeekFrame(0);
  next->Play();  // as the output closes
  mixer.Mix(out.data(), 10, 13'500);  // the closing output's last block
  EXPECT_EQ(out[0], 0) << "nothing goes into the closing output";
  EXPECT_EQ(next->Frame(), 0);
  EXPECT_EQ(mixer.QuietSinceUs(), -1) << "it is wanted";
  mixer.StopWaiting();
  mixer.Reopened(20'000);
  mixer.Mix(out.data(), 10, 20'000);
  EXPECT_NEAR(out[0], 2000, 1) << "its first frame on the next output";
  EXPECT_EQ(next->Frame(), 10);
}

double Energy(const std::vector<float>& samples, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < to; ++i) e += double(samples[i]) * samples[i];
  return e;
}

// At 22050 Hz the synthesiser runs at the mixer's rate; at 44100 Hz at half of
// it, through a converter whose delay must not shift the note.
TEST(MidiSynth, SoundsTheNoteAtItsTimeAlongTheTempoMap) {
  std::string font = FindSoundFont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  testing::Bytes bytes = testing::MidiWithTempoChange();
  auto song = std::make_shared<const MidiSong>(ReadMidi(bytes.data(), bytes.size()));
  for (int kRate : {22050, 44100}) {
    SCOPED_TRACE(kRate);
    Mixer mixer(kRate);
    auto voice = mixer.Add(std::make_unique<MidiSynthSource>(song, font, kRate));
    EXPECT_EQ(voice->LengthFrames(), kRate * 3 / 2);
    voice->Play();
    std::vector<float> out(size_t(kRate) * 2 * 2);
    for (int at = 0; at < kRate * 2; at += 256) mixer.MixFloat(out.data() + size_t(at) * 2, std::min(256, kRate * 2 - at));
    EXPECT_FALSE(voice->Playing()) << "ends after 1.5 s";
    EXPECT_EQ(voice->Frame(), kRate * 3 / 2);
    // Silent before the note at 1000 ms, sounding from there, silent after the end.
    EXPECT_LT(Energy(out, 0, size_t(kRate) * 2 * 95 / 100), 1e-6);
    EXPECT_GT(Energy(out, size_t(kRate) * 2, size_t(kRate) * 2 * 13 / 10), 1.0);
    EXPECT_EQ(Energy(out, size_t(kRate) * 3 + 2048, out.size()), 0.0);

    // After a rewind the song sounds again.
    voice->SeekFrame(kRate);
    voice->Play();
    std::vector<float> again(size_t(kRate) * 2 * 3 / 10);
    mixer.MixFloat(again.data(), kRate * 3 / 10);
    EXPECT_GT(Energy(again, 0, again.size()), 1.0);
  }
}

TEST(MidiSynth, AMissingSoundfontIsADeviceError) {
  testing::Bytes bytes = testing::MidiWithTempoChange();
  auto song = std::make_shared<const MidiSong>(ReadMidi(bytes.data(), bytes.size()));
  EXPECT_THROW(MidiSynthSource(song, "/nonexistent/none.sf2", 22050), EMCIDeviceError);
}

}  // namespace
}  // namespace tlb
