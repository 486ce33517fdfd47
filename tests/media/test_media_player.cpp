// The media player on the headless device: modes, positions along the virtual
// clock, the auto-rewind loop, MIDI lengths along the tempo map, and failures.
#include "platform/media/media_player.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/exceptions.h"
#include "platform/media/audio_device.h"
#include "platform/media/playsound.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"
#include "tests/support/media_fixtures.h"

namespace tlb {
namespace {

using namespace testing;

struct PlayerFixture : ::testing::Test {
  HeadlessRun run;
  TempDir files;
  TForm* form = new TForm(Application);
  TMediaPlayer* player = new TMediaPlayer(form);

  std::string File(const std::string& name, const Bytes& bytes) { return WriteFile(files.str() + "/" + name, bytes); }
  std::vector<SoundRecord> Played() { return AsHeadlessAudio(run.backend.Audio())->Played(); }
  void OpenWav(int ms) {
    player->FileName = File("sound.wav", WavFile(ms));
    player->Open();
  }
};

TEST_F(PlayerFixture, ModeGoesFromNotReadyToStoppedToPlayingAndBackAtTheEnd) {
  EXPECT_EQ(player->Mode(), mpNotReady);
  OpenWav(1000);
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(player->Length(), 1000);
  EXPECT_EQ(player->Position(), 0);
  player->Play();
  // Play settles at once: the queue player counts a file only if Mode is 2 right after Play.
  EXPECT_EQ(player->Mode(), mpPlaying);
  run.RunUntil(999);
  EXPECT_EQ(player->Mode(), mpPlaying);
  run.RunUntil(1000);
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(player->Position(), 1000);
  player->Close();
  EXPECT_EQ(player->Mode(), mpNotReady);
}

TEST_F(PlayerFixture, PositionFollowsTheVirtualClockToTheMillisecond) {
  OpenWav(5000);
  run.RunUntil(100);
  player->Play();
  for (int64_t t : {100, 101, 150, 1337, 4099, 5099}) {
    run.RunUntil(t);
    EXPECT_EQ(player->Position(), t - 100) << "at " << t;
  }
  run.RunUntil(7000);
  EXPECT_EQ(player->Position(), 5000);
}

TEST_F(PlayerFixture, PumpingWhilePlayingEndsExactlyAtTheEndOfTheSound) {
  OpenWav(1234);
  player->Play();
  // No timers at all: the idle clock jumps to the sound's end through the wake source.
  PumpUntil([&] { return player->Mode() != mpPlaying; });
  EXPECT_EQ(run.backend.NowMs(), 1234);
}

TEST_F(PlayerFixture, PollingForStoppedAndPlayingLoopsTheMusic) {
  player->FileName = File("song.mid", MidiWithTempoChange());
  player->Open();
  TTimer* loop = new TTimer(form);
  loop->SetInterval(500);
  loop->SetOnTimer([&](TObject*) {
    if (player->Mode() == mpStopped) player->Play();
  });
  run.RunUntil(4000);
  std::vector<int64_t> starts;
  for (const SoundRecord& r : Played()) {
    EXPECT_EQ(r.kind, SoundKind::Midi);
    starts.push_back(r.startMs);
  }
  // 1500 ms long, noticed by the next 500 ms tick after its end.
  EXPECT_EQ(starts, (std::vector<int64_t>{500, 2000, 3500}));
  EXPECT_EQ(player->Mode(), mpPlaying);
  EXPECT_EQ(player->Position(), 500);
}

TEST_F(PlayerFixture, WithoutAutoRewindPlayAtTheEndStaysAtTheEnd) {
  player->AutoRewind = false;
  OpenWav(300);
  player->Play();
  run.RunUntil(400);
  player->Play();
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(player->Position(), 300);
  EXPECT_EQ(Played().size(), 1u);
}

TEST_F(PlayerFixture, StopKeepsThePositionRewindGoesToTheStartPauseToggles) {
  OpenWav(2000);
  player->Play();
  run.RunUntil(400);
  player->Stop();
  EXPECT_EQ(player->Mode(), mpStopped);
  run.RunUntil(600);
  EXPECT_EQ(player->Position(), 400);
  player->Play();  // resumes where it stopped
  run.RunUntil(700);
  EXPECT_EQ(player->Position(), 500);
  player->Pause();
  EXPECT_EQ(player->Mode(), mpPaused);
  run.RunUntil(900);
  EXPECT_EQ(player->Position(), 500);
  player->Pause();  // a paused device resumes
  EXPECT_EQ(player->Mode(), mpPlaying);
  run.RunUntil(1000);
  EXPECT_EQ(player->Position(), 600);
  player->Rewind();
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(player->Position(), 0);
  player->SetPosition(1500);
  player->Play();
  run.RunUntil(1200);
  EXPECT_EQ(player->Position(), 1700);
}

TEST_F(PlayerFixture, WithoutAnOpenDeviceControlCallsRaiseAndNothingReadsPlaying) {
  player->Close();  // nothing open: nothing happens
  TMediaPlayer* p = player;
  std::function<void()> calls[] = {[p] { p->Play(); }, [p] { p->Stop(); }, [p] { p->Rewind(); }, [p] { p->Pause(); }};
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no exception";
    } catch (const EMCIDeviceError& e) {
      EXPECT_EQ(e.Message, "No MCI device open");
    }
  }
  EXPECT_EQ(player->Mode(), mpNotReady);
  EXPECT_EQ(player->Position(), 0);
  EXPECT_EQ(player->Length(), 0);
}

TEST_F(PlayerFixture, OpenFailuresRaiseAndLeaveNoDeviceOpen) {
  Bytes wav = WavFile(500);
  Bytes truncated(wav.begin(), wav.begin() + 30);
  Bytes midi = MidiWithTempoChange();
  midi[9] = 2;  // format 2 is refused
  struct Case {
    const char* name;
    const char* file;
    Bytes bytes;
  } cases[] = {
      {"missing file", "missing.wav", {}},
      {"empty WAV", "empty.wav", Bytes{}},
      {"truncated WAV", "short.wav", truncated},
      {"MIDI bytes in a WAV", "midi.wav", MidiWithTempoChange()},
      {"bad MIDI", "bad.mid", midi},
      {"WAV bytes in a MIDI", "wave.mid", wav},
      {"unknown kind", "sound.mp3", wav},
  };
  for (const Case& c : cases) {
    OpenWav(500);
    ASSERT_EQ(player->Mode(), mpStopped);
    player->FileName = files.str() + "/" + c.file;
    if (std::string(c.name) != "missing file") WriteFile(player->FileName, c.bytes);
    EXPECT_THROW(player->Open(), EMCIDeviceError) << c.name;
    // Open closed the device that was open before it failed.
    EXPECT_EQ(player->Mode(), mpNotReady) << c.name;
    EXPECT_THROW(player->Play(), EMCIDeviceError) << c.name;
  }
}

TEST_F(PlayerFixture, MidiLengthAndPositionFollowTheTempoMap) {
  player->FileName = File("song.mid", MidiWithTempoChange());
  player->Open();
  EXPECT_EQ(player->OpenDevice(), dtSequencer);
  EXPECT_EQ(player->Length(), 1500);
  player->Play();
  run.RunUntil(1200);
  EXPECT_EQ(player->Position(), 1200);
  EXPECT_EQ(player->Mode(), mpPlaying);
  run.RunUntil(1500);
  EXPECT_EQ(player->Mode(), mpStopped);
}

TEST_F(PlayerFixture, MidiWithoutASoundfontFailsToOpen) {
  std::string path = File("song.mid", MidiWithTempoChange());
  setenv("TULIMBO_SOUNDFONT", (files.str() + "/none.sf2").c_str(), 1);
  player->FileName = path;
  EXPECT_THROW(player->Open(), EMCIDeviceError);
  unsetenv("TULIMBO_SOUNDFONT");
  EXPECT_EQ(player->Mode(), mpNotReady);
}

TEST_F(PlayerFixture, WindowsPathsFindFilesIgnoringCase) {
  std::filesystem::create_directory(files.path() / "Zvuky");
  File("Zvuky/K1_Lo.wav", WavFile(250));
  player->FileName = files.str() + "\\zvuky\\k1_lo.WAV";
  player->Open();
  EXPECT_EQ(player->OpenDevice(), dtWaveAudio);
  EXPECT_EQ(player->Length(), 250);
}

TEST_F(PlayerFixture, SeveralPlayersAndPlaySoundPlayAtOnce) {
  player->FileName = File("song.mid", MidiWithTempoChange());
  player->Open();
  auto* narration = new TMediaPlayer(form);
  narration->FileName = File("speech.wav", WavFile(3000));
  narration->Open();
  std::string effect = File("hover.wav", WavFile(200));
  player->Play();
  run.RunUntil(100);
  narration->Play();
  run.RunUntil(250);
  EXPECT_TRUE(PlaySound(effect.c_str(), nullptr, SND_ASYNC));
  EXPECT_EQ(AsHeadlessAudio(run.backend.Audio())->PlayingCount(), 3);
  run.RunUntil(400);
  EXPECT_EQ(player->Position(), 400);
  EXPECT_EQ(narration->Position(), 300);
  EXPECT_TRUE(PlaySoundPlaying());
  run.RunUntil(450);
  EXPECT_FALSE(PlaySoundPlaying());
  EXPECT_EQ(player->Mode(), mpPlaying);
  EXPECT_EQ(narration->Mode(), mpPlaying);
  auto played = Played();
  ASSERT_EQ(played.size(), 3u);
  EXPECT_EQ(played[0].kind, SoundKind::Midi);
  EXPECT_EQ(played[1].kind, SoundKind::Wave);
  EXPECT_EQ(played[1].file, narration->FileName);
  EXPECT_EQ(played[1].startMs, 100);
  EXPECT_EQ(played[2].kind, SoundKind::Effect);
  EXPECT_EQ(played[2].flags, SND_ASYNC);
  EXPECT_EQ(played[2].startMs, 250);
}

TEST_F(PlayerFixture, WithoutAnAudioDeviceNothingOpensOrPlays) {
  run.backend.SetAudioEnabled(false);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  player->FileName = File("sound.wav", WavFile(100));
  EXPECT_THROW(player->Open(), EMCIDeviceError);
  EXPECT_EQ(player->Mode(), mpNotReady);
  EXPECT_FALSE(PlaySound(player->FileName.c_str(), nullptr, SND_ASYNC));
  EXPECT_TRUE(PlaySound(nullptr, nullptr, 0));
}

// The headless device as a machine without a sound device has it: an output
// that keeps time but is heard nowhere.
class UnheardDevice : public AudioDevice {
 public:
  explicit UnheardDevice(AudioDevice& inner) : inner_(inner) {}
  std::unique_ptr<AudioStream> OpenWave(std::shared_ptr<const WaveData> wave, bool quickStart) override {
    return inner_.OpenWave(wave, quickStart);
  }
  std::unique_ptr<AudioStream> OpenMidi(std::shared_ptr<const MidiSong> song, const std::string& font) override {
    return inner_.OpenMidi(song, font);
  }
  int64_t NextEndMs() const override { return inner_.NextEndMs(); }
  bool Audible() const override { return false; }

 private:
  AudioDevice& inner_;
};

TEST_F(PlayerFixture, OnAnOutputHeardNowhereNoWaveDeviceIsCountedButPlayersPlayToTheirEnd) {
  AudioDevice* headless = run.backend.Audio();
  UnheardDevice unheard(*headless);
  run.backend.SetAudioDevice(&unheard);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  OpenWav(1500);
  EXPECT_EQ(player->Length(), 1500);
  player->Play();
  run.RunUntil(700);
  EXPECT_EQ(player->Mode(), mpPlaying);
  EXPECT_EQ(player->Position(), 700);
  run.RunUntil(1500);
  EXPECT_EQ(player->Mode(), mpStopped);
  EXPECT_EQ(player->Position(), 1500);
  player->Close();
  // A file that is not there still fails to open.
  player->FileName = files.str() + "/missing.wav";
  EXPECT_THROW(player->Open(), EMCIDeviceError);
  run.backend.SetAudioDevice(headless);
}

TEST_F(PlayerFixture, FormDescriptionsSetTheHiddenPlayers) {
  TForm* root = new TForm(Application);
  LoadFormDescriptionText(root,
                          "object Menu: TForm\n"
                          "  object MIDIPlayer: TMediaPlayer\n"
                          "    Left = 8\n"
                          "    Top = 8\n"
                          "    Width = 57\n"
                          "    Height = 30\n"
                          "    VisibleButtons = [btPlay, btStop]\n"
                          "    AutoRewind = True\n"
                          "    Visible = False\n"
                          "    TabOrder = 0\n"
                          "  end\n"
                          "end\n",
                          "menu.dfm", HandlerTable{});
  auto* p = FindAs<TMediaPlayer>(root, "MIDIPlayer");
  EXPECT_EQ(p->VisibleButtons, (1u << btPlay) | (1u << btStop));
  EXPECT_FALSE(p->Visible());
  EXPECT_TRUE(p->AutoRewind);
  EXPECT_EQ(p->Mode(), mpNotReady);
}

}  // namespace
}  // namespace tlb
