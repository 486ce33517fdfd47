#include "platform/core/registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"

namespace tlb {
namespace {

namespace fs = std::filesystem;

const std::string kBase = "Software\\Orvo Team\\TQ2";
const std::string kGames = "Software\\Orvo Team\\TQ2\\Nastaveni - Hry";

// Points XDG_CONFIG_HOME at a fresh temporary folder for each test.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) savedXdg_ = old;
    char pattern[] = "/tmp/tlb_registry_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    UseConfigHome(root_);
  }
  void TearDown() override {
    if (savedXdg_) {
      ::setenv("XDG_CONFIG_HOME", savedXdg_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    fs::remove_all(root_);
  }
  static void UseConfigHome(const fs::path& folder) { ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }
  fs::path File() const { return root_ / "tulimbo" / "registry"; }
  std::string FileText() const {
    std::ifstream in(File(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::optional<std::string> savedXdg_;
  fs::path root_;
};

TEST_F(RegistryTest, ValuesWrittenAreStoredAtOnceAndReadByAnotherWrapper) {
  TRegistry writer;
  EXPECT_TRUE(writer.CreateKey(kBase));
  ASSERT_TRUE(writer.OpenKey(kGames, true));
  writer.WriteInteger("Hry_starty", 5);
  writer.WriteString("ODKLON_x1", Cz("Ťuk"));

  // The writer is still open: each write has already replaced the file.
  EXPECT_NE(FileText().find("dword \"Hry_starty\" 5\n"), std::string::npos) << FileText();
  TRegistry reader;
  ASSERT_TRUE(reader.OpenKey(kGames, false));
  EXPECT_EQ(reader.ReadInteger("Hry_starty"), 5);
  EXPECT_EQ(reader.ReadString("ODKLON_x1"), Cz("Ťuk"));
  EXPECT_FALSE(fs::exists(root_ / "tulimbo" / "registry.tmp"));
}

TEST_F(RegistryTest, KeysAndNamesIgnoreCase) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Cz("Software\\Čísla"), true));
  reg.WriteInteger("Hry_starty", 3);
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(Cz("SOFTWARE\\ČÍSLA"), false));
  EXPECT_EQ(reg.ReadInteger("HRY_STARTY"), 3);
  EXPECT_TRUE(reg.ValueExists("hry_starty"));
}

TEST_F(RegistryTest, KeysWithoutALeadingBackslashAreRelativeToTheOpenKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", true));
  ASSERT_TRUE(reg.OpenKey("Orvo Team", true));
  EXPECT_EQ(reg.CurrentPath, "Software\\Orvo Team");
  EXPECT_TRUE(reg.CreateKey("TQ2"));  // creates without opening
  EXPECT_EQ(reg.CurrentPath, "Software\\Orvo Team");
  ASSERT_TRUE(reg.OpenKey("\\Software\\Orvo Team\\TQ2", false));
  EXPECT_EQ(reg.CurrentPath, kBase);

  EXPECT_FALSE(reg.OpenKey("Nastaveni - Hry", false));  // missing, not created
  EXPECT_EQ(reg.CurrentPath, kBase) << "a failed open keeps the open key";
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentPath, "");
  EXPECT_FALSE(reg.OpenKey("Orvo Team", false)) << "relative to the root once closed";
  EXPECT_TRUE(reg.OpenKey(kBase, false));
}

TEST_F(RegistryTest, ReadsCheckTheValueType) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kGames, true));
  reg.WriteString("Hry_starty", "5");  // a number stored as a string
  reg.WriteInteger("WAV HLASITOST", -1);

  struct Case {
    const char* name;
    std::function<void()> read;
    const char* valueName;
  };
  const Case cases[] = {
      {"a DWORD stored as a string reads as missing", [&] { reg.ReadInteger("Hry_starty"); }, "Hry_starty"},
      {"a missing DWORD", [&] { reg.ReadInteger("MIDI HLASITOST"); }, "MIDI HLASITOST"},
      {"a string stored as a DWORD", [&] { reg.ReadString("WAV HLASITOST"); }, "WAV HLASITOST"},
  };
  for (const Case& c : cases) {
    try {
      c.read();
      ADD_FAILURE() << "no exception: " << c.name;
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message, std::string("Invalid data type for '") + c.valueName + "'") << c.name;
    }
  }
  EXPECT_EQ(reg.ReadString("ODKLON_x1"), "") << "a missing string reads as empty";
  EXPECT_EQ(reg.ReadInteger("WAV HLASITOST"), -1) << "the 32-bit pattern comes back";
  EXPECT_TRUE(reg.ValueExists("Hry_starty"));
  EXPECT_FALSE(reg.ValueExists("ODKLON_x1"));
}

TEST_F(RegistryTest, OnlyTheCurrentUserRootIsSupported) {
  TRegistry reg;
  reg.RootKey = HKEY_LOCAL_MACHINE;
  EXPECT_THROW(reg.OpenKey(kBase, true), EUnsupported);
  EXPECT_THROW(reg.CreateKey(kBase), EUnsupported);
  EXPECT_THROW(reg.WriteInteger("n", 1), EUnsupported);
  EXPECT_FALSE(fs::exists(File()));
}

TEST_F(RegistryTest, AMissingFolderReadsAsEmptyAndIsCreatedByTheFirstWrite) {
  UseConfigHome(root_ / "deep" / "config");
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(kGames, false));
  EXPECT_EQ(reg.ReadString("x"), "");
  ASSERT_TRUE(reg.OpenKey(kGames, true));
  reg.WriteInteger("Hry_starty", 1);
  EXPECT_TRUE(fs::is_regular_file(root_ / "deep" / "config" / "tulimbo" / "registry"));
}

TEST_F(RegistryTest, ADamagedFileReadsAsEmptyAndIsReplacedAtTheNextWrite) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, true));
    reg.WriteInteger("Hry_starty", 9);
  }
  const std::string good = FileText();
  std::ofstream(File(), std::ios::binary | std::ios::trunc) << good.substr(0, good.size() / 2);

  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(kGames, false));
  EXPECT_FALSE(reg.ValueExists("Hry_starty"));
  ASSERT_TRUE(reg.OpenKey("Other", true));
  reg.WriteInteger("n", 1);
  EXPECT_NE(FileText().find("dword \"n\" 1\n"), std::string::npos) << FileText();
  EXPECT_EQ(FileText().find("Hry_starty"), std::string::npos);
  EXPECT_EQ(FileText().substr(FileText().size() - 4), "end\n");
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenRaisesTheWrappersErrors) {
  // The registry folder's place is taken by a file.
  std::ofstream(root_ / "tulimbo") << "not a folder";
  TRegistry reg;
  try {
    reg.CreateKey(kBase);
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to create key " + kBase);
  }
  EXPECT_FALSE(reg.OpenKey(kGames, true));
  try {
    reg.WriteInteger("Hry_starty", 1);
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to set data for 'Hry_starty'");
  }
}

// A writer killed at any moment leaves the old registry or the new one, never
// a mix: each round starts a child that keeps rewriting two values, kills it
// after a varying delay and checks what the file holds.
TEST_F(RegistryTest, AWriterKilledMidWriteLeavesOldOrNewContent) {
  auto payloadFor = [](int k) {
    std::string s;
    for (int i = 0; i < 20000; ++i) s += std::to_string(k) + ",";
    return s;
  };
  int lastCount = 0;
  int roundsWithData = 0;
  for (int round = 0; round < 25; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Child: count on from what is stored; the payload is written first, so
      // the stored count is the payload's number or one less.
      try {
        TRegistry reg;
        if (!reg.OpenKey("Test", true)) ::_exit(2);
        int k = reg.ValueExists("n") ? reg.ReadInteger("n") : 0;
        for (;;) {
          ++k;
          reg.WriteString("payload", payloadFor(k));
          reg.WriteInteger("n", k);
        }
      } catch (...) {
        ::_exit(3);
      }
    }
    ::usleep(static_cast<useconds_t>(2000 + (round * 7919) % 30000));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

    if (!fs::exists(File())) continue;  // killed before its first write
    const std::optional<RegistryData> data = ParseRegistry(FileText());
    ASSERT_TRUE(data.has_value()) << "round " << round << ": the file is damaged";
    const RegistryValue* payload = data->FindValue("Test", "payload");
    if (payload == nullptr) continue;
    ++roundsWithData;
    const RegistryValue* n = data->FindValue("Test", "n");
    const int count = n ? static_cast<int>(n->dword) : 0;
    const int payloadNumber = std::stoi(payload->text);
    EXPECT_EQ(payload->text, payloadFor(payloadNumber)) << "round " << round;
    EXPECT_TRUE(count == payloadNumber || count == payloadNumber - 1)
        << "round " << round << ": n " << count << ", payload " << payloadNumber;
    EXPECT_GE(count, lastCount) << "round " << round << ": a finished write was lost";
    lastCount = count;
  }
  EXPECT_GT(roundsWithData, 0);
}

}  // namespace
}  // namespace tlb
