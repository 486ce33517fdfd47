// Start-up of the data folder, the media switches, the registry settings and PlayWave.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/core/cp1250.h"
#include "platform/core/paths.h"
#include "platform/core/registry.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "platform/ui/dialogs.h"
#include "shared/Technic2.h"
#include "tests/support/headless_run.h"

namespace tq {
namespace {

using namespace tlb;
using tlb::testing::HeadlessRun;
using tlb::testing::TempDir;
namespace fs = std::filesystem;

struct Technic2Fixture : ::testing::Test {
  HeadlessRun run;
  TempDir program;
  Technic2Fixture() { ResetTechnic2(); }
  ~Technic2Fixture() override { SetParamStr0ForTest(""); }

  // The program file in a folder; `marker` makes the data folder marker beside it.
  void PlaceProgram(const fs::path& folder, const char* marker) {
    fs::create_directories(folder);
    if (marker) fs::create_directories(folder / marker);
    SetParamStr0ForTest((folder / "tq2_hry").string());
  }
  void WriteRegistry(const std::function<void(TRegistry&)>& fill) {
    TRegistry reg;
    fill(reg);
  }
  int StoredLaunchCount() {
    TRegistry reg;
    EXPECT_TRUE(reg.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", false));
    return reg.ReadInteger("Hry_starty");
  }
};

TEST_F(Technic2Fixture, FindsTheDataBesideTheProgramAndMakesItTheCurrentDirectory) {
  PlaceProgram(program.path() / "tq", "zvuky");
  Technic2Startup(ProgramKind::Games);
  EXPECT_EQ(DataDir(), (program.path() / "tq").string());
  EXPECT_EQ(fs::current_path(), program.path() / "tq");
  EXPECT_TRUE(run.backend.Dialogs().empty());
  EXPECT_TRUE(WaveOn());
  EXPECT_TRUE(MusicOn());
  EXPECT_TRUE(MidiAllowed());
}

TEST_F(Technic2Fixture, MarkerIsMatchedIgnoringCase) {
  // The rhymes and songs programs look for "\HUDBA"; the folder is spelled hudba.
  PlaceProgram(program.path() / "tq", "hudba");
  Technic2Startup(ProgramKind::RhymesOrSongs);
  EXPECT_TRUE(run.backend.Dialogs().empty());
}

TEST_F(Technic2Fixture, MissingMarkerAsksForThePathAndATrailingBackslashIsStripped) {
  PlaceProgram(program.path() / "bin", nullptr);
  fs::create_directories(program.path() / "cd" / "zvuky");
  DialogAnswer typed;
  typed.text = Cz((program.path() / "cd").string() + "\\");
  run.backend.AnswerDialog({});  // the error box
  run.backend.AnswerDialog(typed);
  Technic2Startup(ProgramKind::Games);
  ASSERT_EQ(run.backend.Dialogs().size(), 2u);
  EXPECT_EQ(run.backend.Dialogs()[0].kind, "error");
  EXPECT_EQ(run.backend.Dialogs()[0].caption, "Error");
  EXPECT_EQ(run.backend.Dialogs()[0].text,
            Cz("Chyba umístění programu (nenalezen adresář ZVUKY) v místě programu tq2_poh.EXE."));
  EXPECT_EQ(run.backend.Dialogs()[1].kind, "input");
  EXPECT_EQ(run.backend.Dialogs()[1].caption, Cz("Umístění dat programu"));
  EXPECT_EQ(run.backend.Dialogs()[1].text, Cz("Prosím zadej plnou cestu k teto casti (CD-ROM):"));
  EXPECT_EQ(DataDir(), (program.path() / "cd").string());
  // The current directory is not changed the second time.
  EXPECT_EQ(fs::current_path(), program.path() / "bin");
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Technic2Fixture, CancelKeepsTheOldPathAndTheSecondMessageFollows) {
  PlaceProgram(program.path() / "bin", nullptr);
  run.backend.AnswerDialog({});
  DialogAnswer cancel;
  cancel.button = IDCANCEL;
  cancel.text = "/somewhere/else";
  run.backend.AnswerDialog(cancel);
  Technic2Startup(ProgramKind::RhymesOrSongs);
  ASSERT_EQ(run.backend.Dialogs().size(), 3u);
  EXPECT_EQ(run.backend.Dialogs()[0].text,
            Cz("Chyba umístění programu (nenalezen adresář HUDBA) v místě programu kvak32.EXE."));
  EXPECT_EQ(run.backend.Dialogs()[2].text,
            Cz("Znovu nenalezeno. Program se nyní pokusí pokračovat, ale pravděpodobně nebude fungovat správně..."));
  EXPECT_EQ(DataDir(), (program.path() / "bin").string());
}

TEST(StripTrailingBackslash, FollowsTheTwoCharacterRule) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"C:\\", "C:"}, {"C:", "C:"}, {"/", "/"}, {"/tq/", "/tq"}, {"D:\\TQ\\", "D:\\TQ"}, {"ab", "ab"},
               {"abc\\", "abc"}};
  for (const auto& c : cases) EXPECT_EQ(StripTrailingBackslash(c.in), c.out) << c.in;
}

TEST_F(Technic2Fixture, ProgramInTheRootUsesTheRootAsDataFolder) {
  // "/" stays "/" (shorter than three characters), as a drive root stays "C:".
  SetParamStr0ForTest("/tq2_hry");
  Technic2Startup(ProgramKind::RhymesOrSongs);
  EXPECT_EQ(DataDir(), "/");
  EXPECT_EQ(fs::current_path(), fs::path("/"));
}

TEST_F(Technic2Fixture, LaunchCounterStartsAtOneAndRisesEachRun) {
  PlaceProgram(program.path() / "tq", "zvuky");
  for (int expected = 1; expected <= 3; ++expected) {
    ResetTechnic2();
    Technic2Startup(ProgramKind::Games);
    Technic2Shutdown();
    EXPECT_EQ(StoredLaunchCount(), expected);
  }
}

// Runs of the games program may overlap: each adds its own one to the stored
// counter at its end, while each run keeps the count it read at its start.
TEST_F(Technic2Fixture, OverlappingRunsAreAllCounted) {
  PlaceProgram(program.path() / "tq", "zvuky");
  auto start = [] {
    ResetTechnic2();
    Technic2Startup(ProgramKind::Games);
    return Technic2();
  };
  auto end = [](const Technic2State& run) {
    Technic2() = run;
    Technic2Shutdown();
  };
  const Technic2State first = start();
  const Technic2State second = start();
  EXPECT_EQ(first.LaunchCount, 1);
  EXPECT_EQ(second.LaunchCount, 1);
  end(first);
  const Technic2State third = start();
  EXPECT_EQ(third.LaunchCount, 2);
  end(third);
  end(second);
  EXPECT_EQ(StoredLaunchCount(), 3);

  // Processes that end together: the counter is read and raised under the
  // file's lock.
  constexpr int kProcesses = 4, kRunsEach = 10;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t child = ::fork();
    if (child == 0) {
      for (int r = 0; r < kRunsEach; ++r) AddThisRunToTheLaunchCount();
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(StoredLaunchCount(), 3 + kProcesses * kRunsEach);
}

// What the end of a run counts on from: the value stored at that moment.
TEST_F(Technic2Fixture, TheEndOfARunCountsOnFromTheStoredValue) {
  struct Case {
    const char* why;
    std::function<void(TRegistry&)> store;
    int expected;
  } cases[] = {
      {"no value", [](TRegistry&) {}, 1},
      {"a number", [](TRegistry& r) { r.WriteInteger("Hry_starty", 41); }, 42},
      {"a string counts as 0", [](TRegistry& r) { r.WriteString("Hry_starty", "41"); }, 1},
      {"the largest value stays", [](TRegistry& r) { r.WriteInteger("Hry_starty", 2147483647); }, 2147483647},
  };
  for (const auto& c : cases) {
    fs::remove_all(run.config.path() / "tulimbo");
    WriteRegistry([&](TRegistry& r) {
      r.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", true);
      c.store(r);
    });
    AddThisRunToTheLaunchCount();
    EXPECT_EQ(StoredLaunchCount(), c.expected) << c.why;
  }
}

TEST_F(Technic2Fixture, RegistryValuesAndTheirDefaults) {
  PlaceProgram(program.path() / "tq", "zvuky");
  struct Case {
    const char* why;
    std::function<void(TRegistry&)> fill;
    int wav, midi, launch;
  } cases[] = {
      {"both volumes stored",
       [](TRegistry& r) {
         r.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - obecne", true);
         r.WriteInteger("WAV HLASITOST", 100);
         r.WriteInteger("MIDI HLASITOST", 20);
       },
       100, 20, 1},
      {"only MIDI HLASITOST missing: both take the defaults",
       [](TRegistry& r) {
         r.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - obecne", true);
         r.WriteInteger("WAV HLASITOST", 100);
       },
       255, 60, 1},
      {"Hry_starty stored as a string counts as missing",
       [](TRegistry& r) {
         r.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", true);
         r.WriteString("Hry_starty", "41");
       },
       255, 60, 1},
      {"the counter at its largest value stays there",
       [](TRegistry& r) {
         r.OpenKey("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", true);
         r.WriteInteger("Hry_starty", 2147483647);
       },
       255, 60, 2147483647},
  };
  for (const auto& c : cases) {
    fs::remove_all(run.config.path() / "tulimbo");
    WriteRegistry(c.fill);
    ResetTechnic2();
    Technic2Startup(ProgramKind::Games);
    EXPECT_EQ(Technic2().WavVolume, c.wav) << c.why;
    EXPECT_EQ(Technic2().MidiVolume, c.midi) << c.why;
    EXPECT_EQ(Technic2().LaunchCount, c.launch) << c.why;
  }
}

TEST_F(Technic2Fixture, OdklonStringsAreReadButTheKeyIsNeverCreated) {
  PlaceProgram(program.path() / "tq", "zvuky");
  Technic2Startup(ProgramKind::Games);
  Technic2Shutdown();
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software\\Orvo Team\\TQ2\\Odklon", false));
  reg.OpenKey("Software\\Orvo Team\\TQ2\\Odklon", true);
  reg.WriteString("ODKLON_x2", "abc");
  reg.WriteInteger("ODKLON_x3", 5);
  ResetTechnic2();
  Technic2Startup(ProgramKind::Games);
  EXPECT_EQ(Technic2().OdklonX1, "");
  EXPECT_EQ(Technic2().OdklonX2, "abc");
  EXPECT_EQ(Technic2().OdklonX3, "");
}

TEST_F(Technic2Fixture, RhymesAndSongsKeepNoRegistry) {
  PlaceProgram(program.path() / "tq", "HUDBA");
  Technic2Startup(ProgramKind::RhymesOrSongs);
  Technic2Shutdown();
  EXPECT_FALSE(fs::exists(run.config.path() / "tulimbo" / "registry"));
}

TEST_F(Technic2Fixture, PlayWaveReportsAMissingFileOnEveryCall) {
  PlaceProgram(program.path() / "tq", "zvuky");
  Technic2Startup(ProgramKind::Games);
  std::string missing = DataDir() + "\\zvuky\\nic.WAV";
  PlayWave(missing, 1);
  PlayWave(missing, 17);
  EXPECT_EQ(run.backend.DialogTexts(),
            (std::vector<std::string>{Cz("Nenalezen zvuk: ") + missing, Cz("Nenalezen zvuk: ") + missing}));
}

// A second of silence as a 16-bit mono PCM WAV file.
void WriteWav(const fs::path& path) {
  const uint32_t rate = 22050, bytes = rate * 2;
  std::ofstream f(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  f.write("RIFF", 4); u32(36 + bytes); f.write("WAVEfmt ", 8); u32(16); u16(1); u16(1); u32(rate); u32(rate * 2);
  u16(2); u16(16); f.write("data", 4); u32(bytes);
  std::string silence(bytes, '\0');
  f.write(silence.data(), bytes);
}

TEST_F(Technic2Fixture, FlagsSeventeenDoNotCutOffASoundThatPlays) {
  PlaceProgram(program.path() / "tq", "zvuky");
  WriteWav(program.path() / "tq" / "zvuky" / "a.wav");
  WriteWav(program.path() / "tq" / "zvuky" / "b.wav");
  Technic2Startup(ProgramKind::Games);
  HeadlessAudio* audio = AsHeadlessAudio(run.backend.Audio());
  ASSERT_NE(audio, nullptr);
  PlayWave(DataDir() + "\\zvuky\\a.WAV", 1);
  PlayWave(DataDir() + "\\zvuky\\b.wav", 17);   // a.wav still plays: nothing happens
  PlayWave(DataDir() + "\\zvuky\\nic.wav", 17);  // a missing file is still reported
  run.RunFor(1500);
  PlayWave(DataDir() + "\\zvuky\\b.wav", 17);   // now nothing plays
  std::vector<std::string> started;
  for (const auto& r : audio->Played()) started.push_back(ExtractFileName(r.file));
  EXPECT_EQ(started, (std::vector<std::string>{"a.WAV", "b.wav"}));
  EXPECT_EQ(run.backend.Dialogs().size(), 1u);
  StopWave();
  EXPECT_EQ(audio->PlayingCount(), 0);
}

TEST_F(Technic2Fixture, WithoutAWaveDeviceEverythingIsSilentAndTheCursorIsTheDefault) {
  PlaceProgram(program.path() / "tq", "zvuky");
  run.backend.SetAudioEnabled(false);
  Screen->SetCursor(crHourGlass);
  Technic2Startup(ProgramKind::Games);
  EXPECT_FALSE(WaveOn());
  EXPECT_FALSE(MusicOn());
  EXPECT_FALSE(Technic2().WaveDevicePresent);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  PlayWave(DataDir() + "\\zvuky\\nic.WAV", 1);
  StopWave();
  EXPECT_TRUE(run.backend.Dialogs().empty());
}

}  // namespace
}  // namespace tq
