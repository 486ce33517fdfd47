#include "platform/core/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/sysutils.h"

namespace tlb {
namespace {

namespace fs = std::filesystem;

// A data folder laid out with the mixed spellings found on real discs, in a
// fresh temporary folder; the current directory is restored afterwards.
class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCwd_ = fs::current_path();
    char pattern[] = "/tmp/tlb_paths_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "hudba");
    fs::create_directories(root_ / "zvuky");
    fs::create_directories(root_ / "Texty");
    fs::create_directories(root_ / "TEXTY");
    fs::create_directories(root_ / "texty");
    fs::create_directories(root_ / "Písničky");
    Write("zvuky/k1_end.wav", "RIFF");
    Write("zvuky/K1_LO.WAV", "lo");
    Write("Písničky/Žába.txt", "kvak");
    Write("hudba/empty.mid", "");
  }
  void TearDown() override {
    fs::current_path(savedCwd_);
    fs::remove_all(root_);
    SetParamStr0ForTest("");
  }
  void Write(const std::string& relative, const std::string& content) {
    std::ofstream(root_ / relative, std::ios::binary) << content;
  }
  // The temporary root as the programs would spell it, with backslashes.
  std::string Win(const std::string& rest) const { return root_.string() + rest; }
  std::string Disk(const std::string& rest) const { return root_.string() + rest; }

  fs::path savedCwd_;
  fs::path root_;
};

TEST_F(PathsTest, ComponentsResolveCaseInsensitively) {
  struct Case {
    std::string windows;
    std::string onDisk;
  };
  const Case cases[] = {
      {"\\HUDBA", "/hudba"},
      {"\\zvuky\\k1_end.WAV", "/zvuky/k1_end.wav"},
      {"\\ZVUKY\\k1_lo.wav", "/zvuky/K1_LO.WAV"},
      {"\\texty", "/texty"},               // an exact match wins
      {"\\tExTy", "/TEXTY"},               // else the first by bytes of TEXTY, Texty, texty
      {Cz("\\PÍSNIČKY\\žÁBA.TXT"), "/Písničky/Žába.txt"},  // Czech letters fold too
      {"\\\\zvuky\\\\", "/zvuky"},         // repeated and trailing separators
      {"\\zvuky\\.\\..\\Hudba", "/hudba"},
      {"/ZVUKY/K1_END.wav", "/zvuky/k1_end.wav"},  // Linux separators work as well
  };
  for (const Case& c : cases) EXPECT_EQ(ResolvePath(Win(c.windows)), Disk(c.onDisk)) << c.windows;
}

TEST_F(PathsTest, MissingComponentsKeepTheirSpelling) {
  EXPECT_EQ(ResolvePath(Win("\\ZVUKY\\Nic\\K1.WAV")), Disk("/zvuky/Nic/K1.WAV"));
  EXPECT_EQ(ResolvePath(Win("\\Neni\\HUDBA")), Disk("/Neni/HUDBA"));
  // A file is no folder: what follows it is not looked up.
  EXPECT_EQ(ResolvePath(Win("\\zvuky\\K1_END.WAV\\X")), Disk("/zvuky/k1_end.wav/X"));
  // Going up out of a missing folder finds the real names again.
  EXPECT_EQ(ResolvePath(Win("\\Neni\\..\\HUDBA")), Disk("/hudba"));
}

TEST_F(PathsTest, DriveRootsAndTheRootMapToSlash) {
  EXPECT_EQ(ResolvePath("/"), "/");
  EXPECT_EQ(ResolvePath("\\"), "/");
  EXPECT_EQ(ResolvePath("/\\"), "/");  // the program in "/" changes to "/" plus a backslash
  EXPECT_EQ(ResolvePath("C:"), "/");
  EXPECT_EQ(ResolvePath("C:\\"), "/");
  EXPECT_EQ(ResolvePath("\\.."), "/");
  EXPECT_EQ(ResolvePath("c:" + Win("\\HUDBA")), Disk("/hudba"));
  EXPECT_EQ(ResolvePath(""), "");
}

TEST_F(PathsTest, RelativePathsResolveAgainstTheCurrentDirectory) {
  ChDir(Win("\\ZVUKY"));
  EXPECT_EQ(ResolvePath("K1_END.wav"), "k1_end.wav");
  EXPECT_EQ(ResolvePath("..\\Hudba"), "../hudba");
  EXPECT_EQ(ResolvePath("."), ".");
  EXPECT_TRUE(FileExists("k1_lo.wav"));
  EXPECT_TRUE(DirectoryExists("..\\HUDBA"));
}

TEST_F(PathsTest, ExistenceChecksTellFilesFromFolders) {
  EXPECT_TRUE(FileExists(Win("\\zvuky\\K1_END.WAV")));
  EXPECT_FALSE(FileExists(Win("\\zvuky")));
  EXPECT_FALSE(FileExists(Win("\\zvuky\\nic.wav")));
  EXPECT_TRUE(DirectoryExists(Win("\\ZVUKY")));
  EXPECT_TRUE(DirectoryExists(Win("\\zvuky\\")));
  EXPECT_FALSE(DirectoryExists(Win("\\zvuky\\k1_end.wav")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(PathsTest, ChDirChangesTheDirectoryAndReportsFailureAsAnIoError) {
  ChDir(Win(Cz("\\PÍSNIČKY")));
  EXPECT_EQ(GetCurrentDir(), Cz(Win("/Písničky")));
  try {
    ChDir(Win("\\neni"));
    ADD_FAILURE() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message, "I/O error 2");  // ENOENT
  }
  EXPECT_EQ(GetCurrentDir(), Cz(Win("/Písničky")));  // unchanged after the failure
}

TEST_F(PathsTest, ParamStr0NamesTheRunningProgramUnlessOverridden) {
  EXPECT_TRUE(FileExists(ParamStr0()));
  SetParamStr0ForTest("C:\\hry\\tq2_poh.EXE");
  EXPECT_EQ(ParamStr0(), "C:\\hry\\tq2_poh.EXE");
  SetParamStr0ForTest("");
  EXPECT_TRUE(FileExists(ParamStr0()));
}

TEST_F(PathsTest, ReadWholeFileReadsThroughTheResolvedName) {
  const std::vector<uint8_t> data = ReadWholeFile(Win("\\ZVUKY\\K1_END.WAV"));
  EXPECT_EQ(std::string(data.begin(), data.end()), "RIFF");
  EXPECT_TRUE(ReadWholeFile(Win("\\hudba\\EMPTY.MID")).empty());
}

TEST_F(PathsTest, ReadWholeFileRefusesWhatIsNoReadableFile) {
  const std::string missing = Win("\\zvuky\\nic.wav");
  fs::path big = root_ / "big.bin";
  std::ofstream(big).close();
  fs::resize_file(big, kMaxReadFileSize + 1);  // sparse: costs no disk space

  for (const std::string& path : {missing, Win("\\zvuky"), Win("\\big.bin"), std::string()}) {
    try {
      ReadWholeFile(path);
      ADD_FAILURE() << "no exception for " << path;
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.Message, "Cannot open file \"" + path + "\"");
    }
  }
}

}  // namespace
}  // namespace tlb
