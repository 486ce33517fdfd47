// PlaySound's one channel: SND_ASYNC replaces the sound that plays, SND_NOSTOP
// leaves it alone, a null name stops it, and bad files play nothing.
#include "platform/media/playsound.h"

#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/media/audio_device.h"
#include "tests/support/headless_run.h"
#include "tests/support/media_fixtures.h"

namespace tlb {
namespace {

using namespace testing;

struct PlaySoundFixture : ::testing::Test {
  HeadlessRun run;
  TempDir files;
  std::string a = WriteFile(files.str() + "/a.wav", WavFile(1000));
  std::string b = WriteFile(files.str() + "/b.wav", WavFile(300));

  std::vector<SoundRecord> Played() { return AsHeadlessAudio(run.backend.Audio())->Played(); }
  int Playing() { return AsHeadlessAudio(run.backend.Audio())->PlayingCount(); }
};

TEST_F(PlaySoundFixture, AsyncStopsTheSoundThatPlaysAndStartsTheNewOne) {
  EXPECT_TRUE(PlaySound(a.c_str(), nullptr, SND_ASYNC));
  run.RunUntil(200);
  EXPECT_TRUE(PlaySound(b.c_str(), nullptr, SND_ASYNC));
  EXPECT_EQ(Playing(), 1);
  run.RunUntil(499);
  EXPECT_TRUE(PlaySoundPlaying());
  run.RunUntil(500);
  // b ended after its 300 ms; a did not go on under it.
  EXPECT_FALSE(PlaySoundPlaying());
  auto played = Played();
  ASSERT_EQ(played.size(), 2u);
  EXPECT_EQ(played[1].file, b);
  EXPECT_EQ(played[1].startMs, 200);
}

TEST_F(PlaySoundFixture, NoStopDoesNothingWhileASoundPlays) {
  constexpr unsigned kHoverFlags = SND_ASYNC | SND_NOSTOP;
  static_assert(kHoverFlags == 17);
  ASSERT_TRUE(PlaySound(a.c_str(), nullptr, SND_ASYNC));
  run.RunUntil(500);
  EXPECT_FALSE(PlaySound(b.c_str(), nullptr, kHoverFlags));
  EXPECT_EQ(Played().size(), 1u);
  run.RunUntil(1000);  // a has ended
  EXPECT_TRUE(PlaySound(b.c_str(), nullptr, kHoverFlags));
  ASSERT_EQ(Played().size(), 2u);
  EXPECT_EQ(Played()[1].flags, 17u);
  EXPECT_EQ(Played()[1].startMs, 1000);
}

TEST_F(PlaySoundFixture, NullNameStopsTheSound) {
  ASSERT_TRUE(PlaySound(a.c_str(), nullptr, SND_ASYNC));
  run.RunUntil(100);
  EXPECT_TRUE(PlaySound(nullptr, nullptr, 0));
  EXPECT_FALSE(PlaySoundPlaying());
  EXPECT_EQ(Playing(), 0);
  EXPECT_TRUE(PlaySound(nullptr, nullptr, 0));  // nothing plays: still fine
}

TEST_F(PlaySoundFixture, MissingOrDamagedFilesPlayNothing) {
  Bytes wav = WavFile(300);
  std::string truncated = WriteFile(files.str() + "/t.wav", Bytes(wav.begin(), wav.begin() + 20));
  std::string notWave = WriteFile(files.str() + "/n.wav", MidiWithTempoChange());
  // A name far longer than the system's 124-byte buffer is handled whole.
  std::string longName = files.str() + "/" + std::string(300, 'x') + ".wav";
  for (const std::string& name : {files.str() + "/missing.wav", truncated, notWave, longName, std::string()}) {
    ASSERT_TRUE(PlaySound(a.c_str(), nullptr, SND_ASYNC));
    EXPECT_FALSE(PlaySound(name.c_str(), nullptr, SND_ASYNC)) << name;
    EXPECT_FALSE(PlaySoundPlaying()) << name;
  }
  EXPECT_EQ(Played().size(), 5u);  // only the good sound was started
}

TEST_F(PlaySoundFixture, SynchronousAndLoopingRequestsAreRefusedLoudly) {
  EXPECT_THROW(PlaySound(a.c_str(), nullptr, SND_SYNC), EUnsupported);
  EXPECT_THROW(PlaySound(a.c_str(), nullptr, SND_ASYNC | SND_LOOP), EUnsupported);
  EXPECT_TRUE(Played().empty());
}

TEST_F(PlaySoundFixture, WaveDeviceCountFollowsTheBackend) {
  EXPECT_EQ(waveOutGetNumDevs(), 1u);
  run.backend.SetAudioEnabled(false);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  EXPECT_FALSE(PlaySound(a.c_str(), nullptr, SND_ASYNC));
}

}  // namespace
}  // namespace tlb
