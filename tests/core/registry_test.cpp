#include "platform/core/registry.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/registry_cache.h"

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
  // The settings folder and a folder of the user's own files, both empty, for the next case.
  static void EmptyFolders(const fs::path& config, const fs::path& dotfiles) {
    fs::remove_all(config);
    fs::remove_all(dotfiles);
    fs::create_directories(config);
    fs::create_directories(dotfiles);
  }
  fs::path File() const { return root_ / "tulimbo" / "registry"; }
  std::string FileText() const { return TextOf(File()); }
  static std::string TextOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The names in a folder, sorted.
  static std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

TEST_F(RegistryTest, ADamagedFileKeepsWhatCanBeReadAndIsKeptAsideWhenReplaced) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, true));
    reg.WriteInteger("Hry_starty", 9);
  }
  // Edited by hand: a line after the end and no final line break.
  const std::string damaged = FileText() + "key \"Pozn\xC3\xA1mka\"\n  sz \"n\" \"x\"\nend";
  std::ofstream(File(), std::ios::binary | std::ios::trunc) << damaged;

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kGames, false));
  EXPECT_EQ(reg.ReadInteger("Hry_starty"), 9);
  ASSERT_TRUE(reg.OpenKey(Cz("\\Poznámka"), false));
  EXPECT_EQ(reg.ReadString("n"), "x");
  EXPECT_EQ(FileText(), damaged) << "reading does not write";

  reg.WriteInteger("m", 1);
  const ParsedRegistry now = ParseRegistry(FileText());
  EXPECT_TRUE(now.whole) << FileText();
  EXPECT_EQ(now.data.FindValue(kGames, "Hry_starty")->dword, 9u);
  EXPECT_EQ(now.data.FindValue(Cz("Poznámka"), "m")->dword, 1u);
  std::ifstream kept(root_ / "tulimbo" / "registry.damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
  EXPECT_FALSE(fs::exists(root_ / "tulimbo" / "registry.damaged.tmp"));

  // A whole file is replaced without a copy: the kept one stays as it was.
  fs::remove(root_ / "tulimbo" / "registry.damaged");
  reg.WriteInteger("m", 2);
  EXPECT_FALSE(fs::exists(root_ / "tulimbo" / "registry.damaged"));
}

// What survives each kind of damage, read through the wrapper and after the
// next write.
TEST_F(RegistryTest, WhatSurvivesEachDamagedFile) {
  const std::string head = "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 7\n";
  std::string randomBytes;
  for (int i = 0; i < 600; ++i) randomBytes += static_cast<char>((i * 7919 + 13) % 251);
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::pair<std::string, uint32_t>> survivors;  // value names under kGames
    std::vector<std::string> lost;
  };
  const Case cases[] = {
      {"a trailing line after the end", head + "end\nx\n", {{"Hry_starty", 7}}, {}},
      {"a value after the end keeps its own key",
       head + "end\nkey \"" + kGames + "\"\n  dword \"b\" 2\n", {{"Hry_starty", 7}, {"b", 2}}, {}},
      {"no final line break", head + "end", {{"Hry_starty", 7}}, {}},
      {"cut off inside a number", head + "  dword \"b\" 12", {{"Hry_starty", 7}}, {"b"}},
      {"a bad line in the middle", head + "  dword \"bad\" -3\n  sz \"a\n  dword \"b\" 2\nend\n",
       {{"Hry_starty", 7}, {"b", 2}}, {"bad", "a"}},
      {"values under a bad key line are lost with it",
       head + "key \"" + kGames + "\n  dword \"b\" 2\nkey \"" + kGames + "\"\n  dword \"c\" 3\nend\n",
       {{"Hry_starty", 7}, {"c", 3}}, {"b"}},
      {"no header", "key \"" + kGames + "\"\n  dword \"Hry_starty\" 7\nend\n", {{"Hry_starty", 7}}, {}},
      {"a CR alone as a line break", head + "  dword \"b\" 2\rend\n", {{"Hry_starty", 7}}, {"b"}},
      {"random bytes", randomBytes, {}, {"Hry_starty"}},
      {"another version of the format", "tulimbo-registry 2\n" + head.substr(19) + "end\n", {}, {"Hry_starty"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_ / "tulimbo");
    fs::create_directories(root_ / "tulimbo");
    std::ofstream(File(), std::ios::binary) << c.text;
    for (int pass = 0; pass < 2; ++pass) {
      SCOPED_TRACE(pass == 0 ? "as read" : "after the next write");
      const RegistryData data = RegistryStore(root_ / "tulimbo").Load();
      for (const auto& [name, value] : c.survivors) {
        const RegistryValue* v = data.FindValue(kGames, name);
        ASSERT_NE(v, nullptr) << name;
        EXPECT_EQ(v->dword, value) << name;
      }
      for (const std::string& name : c.lost) EXPECT_EQ(data.FindValue(kGames, name), nullptr) << name;
      TRegistry reg;
      ASSERT_TRUE(reg.OpenKey("Other", true));
      reg.WriteInteger("written", 1);
    }
    EXPECT_TRUE(ParseRegistry(FileText()).whole);
    std::ifstream kept(root_ / "tulimbo" / "registry.damaged", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), c.text) << "the damaged file is kept";
  }
}

TEST_F(RegistryTest, ADirectoryInTheFilesPlaceIsLeftAloneAndNothingIsSaved) {
  fs::create_directories(root_ / "tulimbo" / "registry" / "inside");
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(kGames, false));
  EXPECT_FALSE(reg.OpenKey(kGames, true));
  EXPECT_THROW(reg.WriteInteger("Hry_starty", 1), ERegistryException);
  EXPECT_TRUE(fs::is_directory(root_ / "tulimbo" / "registry" / "inside"));
  EXPECT_FALSE(fs::exists(root_ / "tulimbo" / "registry.damaged"));
}

// A file edited on another system ends its lines with CR LF: it is read whole,
// and the next write replaces it without keeping a damaged copy.
TEST_F(RegistryTest, ACrLfFileIsReadWholeAndReplacedWithoutADamagedCopy) {
  fs::create_directories(root_ / "tulimbo");
  std::ofstream(File(), std::ios::binary) << "# edited elsewhere\r\ntulimbo-registry 1\r\nkey \"" + kGames +
                                                 "\"\r\n  dword \"Hry_starty\" 7\r\n  sz \"ODKLON_x1\" \"Ťuk\"\r\nend\r\n";
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kGames, false));
  EXPECT_EQ(reg.ReadInteger("Hry_starty"), 7);
  EXPECT_EQ(reg.ReadString("ODKLON_x1"), Cz("Ťuk"));
  reg.WriteInteger("m", 1);
  const ParsedRegistry now = ParseRegistry(FileText());
  ASSERT_TRUE(now.whole) << FileText();
  EXPECT_EQ(now.data.FindValue(kGames, "Hry_starty")->dword, 7u);
  EXPECT_EQ(now.data.FindValue(kGames, "ODKLON_x1")->text, Cz("Ťuk"));
  EXPECT_EQ(NamesIn(root_ / "tulimbo"), (std::vector<std::string>{"registry", "registry.lock"}));
}

// The registry's path may lead through links to a file kept elsewhere, as in
// a folder of the user's own configuration files. Reads follow the links; a
// write replaces the file at the end of the chain, in that file's folder, and
// the links stay as they were.
TEST_F(RegistryTest, WritesGoThroughLinksToTheFileAtTheirEnd) {
  const fs::path config = root_ / "tulimbo";
  const fs::path dotfiles = root_ / "dotfiles";
  struct Link {
    fs::path at;
    fs::path to;  // as the link holds it
  };
  struct Case {
    const char* name;
    std::vector<Link> links;
    fs::path target;
    bool targetExists;
  };
  const Case cases[] = {
      {"an absolute link", {{config / "registry", dotfiles / "registry"}}, dotfiles / "registry", true},
      {"a relative link", {{config / "registry", "../dotfiles/registry"}}, dotfiles / "registry", true},
      {"a chain of links, each read from its own folder",
       {{config / "registry", "../dotfiles/link"}, {dotfiles / "link", "sub/tulimbo"}},
       dotfiles / "sub" / "tulimbo", true},
      {"a link to a file not made yet", {{config / "registry", "../dotfiles/new"}}, dotfiles / "new", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(config);
    fs::remove_all(dotfiles);
    fs::create_directories(config);
    fs::create_directories(c.target.parent_path());
    if (c.targetExists) {
      std::ofstream(c.target, std::ios::binary)
          << SerializeRegistry([] {
               RegistryData d;
               d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(7));
               return d;
             }());
    }
    for (const Link& link : c.links) fs::create_symlink(link.to, link.at);

    TRegistry reg;
    EXPECT_EQ(reg.OpenKey(kGames, false), c.targetExists);
    if (c.targetExists) {
      EXPECT_EQ(reg.ReadInteger("Hry_starty"), 7);
    }
    ASSERT_TRUE(reg.OpenKey("\\" + kGames, true));
    reg.WriteInteger("written", 8);
    reg.WriteString("again", "x");

    for (const Link& link : c.links) {
      ASSERT_TRUE(fs::is_symlink(link.at)) << link.at;
      EXPECT_EQ(fs::read_symlink(link.at), link.to);
    }
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(c.target))) << c.target;
    const ParsedRegistry now = ParseRegistry(TextOf(c.target));
    ASSERT_TRUE(now.whole) << TextOf(c.target);
    EXPECT_EQ(now.data.FindValue(kGames, "written")->dword, 8u);
    EXPECT_EQ(now.data.FindValue(kGames, "Hry_starty") != nullptr, c.targetExists);
    EXPECT_EQ(NamesIn(config), (std::vector<std::string>{"registry", "registry.lock"}));
    for (const auto& entry : fs::recursive_directory_iterator(dotfiles))
      EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    TRegistry reader;
    ASSERT_TRUE(reader.OpenKey(kGames, false));
    EXPECT_EQ(reader.ReadString("again"), "x");
  }
}

// What was parsed of the file is kept by the file itself, however the path
// reaches it: a write through a link leaves the parse of the file at the
// link's end, and the reads that follow use it. The file is parsed once.
TEST_F(RegistryTest, AFileIsParsedOnceAcrossWritesAndReadsThroughLinks) {
  const fs::path config = root_ / "tulimbo";
  const fs::path dotfiles = root_ / "dotfiles";
  struct Case {
    const char* name;
    std::vector<std::pair<fs::path, fs::path>> links;  // at, to
    fs::path target;
  };
  const Case cases[] = {
      {"a file in the folder", {}, config / "registry"},
      {"a link", {{config / "registry", "../dotfiles/registry"}}, dotfiles / "registry"},
      {"a chain of links", {{config / "registry", dotfiles / "link"}, {dotfiles / "link", "registry"}},
       dotfiles / "registry"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyFolders(config, dotfiles);
    std::ofstream(c.target, std::ios::binary)
        << "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 7\nend\n";
    for (const auto& [at, to] : c.links) fs::create_symlink(to, at);

    const uint64_t parsesBefore = RegistryFileParses();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, false));
    EXPECT_EQ(reg.ReadInteger("Hry_starty"), 7);
    for (int i = 0; i < 3; ++i) {
      reg.WriteInteger("Hry_starty", 10 + i);
      TRegistry reader;
      ASSERT_TRUE(reader.OpenKey(kGames, false));
      EXPECT_EQ(reader.ReadInteger("Hry_starty"), 10 + i);
    }
    EXPECT_EQ(RegistryFileParses() - parsesBefore, 1u);
    EXPECT_EQ(ParseRegistry(TextOf(c.target)).data.FindValue(kGames, "Hry_starty")->dword, 12u);
  }
}

// A write keeps the permission bits of the file it replaces (a file in a
// folder of the user's own configuration files is often readable by all),
// through a link too, and a damaged file's copy has them as well. A new file
// gets the default, 0600 as the user's umask allows.
TEST_F(RegistryTest, AWriteKeepsTheFilesPermissions) {
  const fs::path config = root_ / "tulimbo";
  const fs::path dotfiles = root_ / "dotfiles";
  const std::string whole = "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 7\nend\n";
  struct Case {
    const char* name;
    std::optional<std::string> text;  // none: no file yet
    bool linked;
    mode_t mode;  // of the file before, and expected after
  };
  const Case cases[] = {
      {"a file readable by all", whole, false, 0644},
      {"a file its group may write", whole, false, 0660},
      {"a file no one may write", whole, false, 0444},
      {"a linked file readable by all", whole, true, 0644},
      {"a damaged file readable by all", "damaged\n", false, 0644},
      {"no file yet", std::nullopt, false, 0600},
      {"no file yet at the end of a link", std::nullopt, true, 0600},
  };
  // The usual umask while the test runs, the one there was after it.
  struct Umask {
    mode_t saved = ::umask(022);
    ~Umask() { ::umask(saved); }
  } umask;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyFolders(config, dotfiles);
    const fs::path target = c.linked ? dotfiles / "registry" : File();
    if (c.linked) fs::create_symlink(target, File());
    if (c.text) {
      std::ofstream(target, std::ios::binary) << *c.text;
      ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, true));
    reg.WriteInteger("Hry_starty", 8);

    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, c.mode);
    EXPECT_EQ(ParseRegistry(TextOf(target)).data.FindValue(kGames, "Hry_starty")->dword, 8u);
    if (c.text && *c.text != whole) {
      ASSERT_EQ(::stat((target.string() + ".damaged").c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, c.mode) << "the damaged copy";
    }
  }
}

// The new file is made under a fresh name: a link standing where a new file
// could be made (the file's name with ".tmp" added, or the name of a file left
// by a writer that was killed) is never followed, and the file it leads to is
// never written.
TEST_F(RegistryTest, ALinkPlantedWhereTheNewFileIsMadeIsNeverFollowed) {
  const fs::path config = root_ / "tulimbo";
  const fs::path dotfiles = root_ / "dotfiles";
  const fs::path victim = root_ / "victim";
  const std::string whole = "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 7\nend\n";
  struct Case {
    const char* name;
    bool linked;
    std::string text;  // of the registry before
    std::vector<fs::path> planted;
  };
  const Case cases[] = {
      {"beside the file", false, whole, {config / "registry.tmp"}},
      {"beside the file at a link's end", true, whole, {dotfiles / "registry.tmp", config / "registry.tmp"}},
      {"beside a damaged file and its copy", false, "damaged\n",
       {config / "registry.tmp", config / "registry.damaged.tmp"}},
      {"under a name a killed writer leaves", false, whole, {config / "registry.tmp.AbC123"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyFolders(config, dotfiles);
    std::ofstream(victim, std::ios::binary | std::ios::trunc) << "not the registry\n";
    const fs::path target = c.linked ? dotfiles / "registry" : File();
    std::ofstream(target, std::ios::binary) << c.text;
    if (c.linked) fs::create_symlink(target, File());
    for (const fs::path& at : c.planted) fs::create_symlink(victim, at);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, true));
    reg.WriteInteger("Hry_starty", 8);
    reg.WriteInteger("Hry_starty", 9);

    EXPECT_EQ(TextOf(victim), "not the registry\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
    EXPECT_EQ(ParseRegistry(TextOf(target)).data.FindValue(kGames, "Hry_starty")->dword, 9u);
  }
}

// A write that is not saved (a result over the size limit, a change that
// throws) leaves what reads give as it was, and the kept parse of the file
// with it: the change is taken back, not parsed away.
TEST_F(RegistryTest, AChangeThatIsNotSavedIsNotSeenByLaterReads) {
  fs::create_directories(root_ / "tulimbo");
  const std::string stored = "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 7\nend\n";
  struct Case {
    const char* name;
    std::function<void(RegistryData&)> change;
  };
  const Case cases[] = {
      {"a result over the size limit",
       [](RegistryData& d) {
         d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(8));
         d.SetValue("Software\\Big", "v", RegistryValue::String(std::string(kMaxRegistryFileSize, 'x')));
       }},
      {"a change that throws",
       [](RegistryData& d) {
         d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(8));
         d.CreateKey("Software\\Big");
         throw ERegistryException("no");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(File(), std::ios::binary | std::ios::trunc) << stored;
    RegistryStore store(root_ / "tulimbo");
    ASSERT_EQ(store.Snapshot()->FindValue(kGames, "Hry_starty")->dword, 7u);
    const uint64_t parsesBefore = RegistryFileParses();
    try {
      EXPECT_FALSE(store.Update(c.change));
    } catch (const ERegistryException&) {
    }
    const RegistryData data = store.Load();
    EXPECT_EQ(data.FindValue(kGames, "Hry_starty")->dword, 7u);
    EXPECT_FALSE(data.KeyExists("Software\\Big"));
    EXPECT_EQ(RegistryFileParses(), parsesBefore);
    EXPECT_EQ(FileText(), stored);
  }
}

// Data read from the store stays as it is while it is held, whatever is
// written meanwhile.
TEST_F(RegistryTest, DataHeldFromTheStoreStaysAsItIsWhileTheFileIsRewritten) {
  RegistryStore store(root_ / "tulimbo");
  ASSERT_TRUE(store.Update([](RegistryData& d) { d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(7)); }));
  const std::shared_ptr<const RegistryData> held = store.Snapshot();
  ASSERT_TRUE(store.Update([](RegistryData& d) {
    d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(8));
    d.CreateKey("Other");
  }));
  EXPECT_EQ(held->FindValue(kGames, "Hry_starty")->dword, 7u);
  EXPECT_FALSE(held->KeyExists("Other"));
  EXPECT_EQ(store.Snapshot()->FindValue(kGames, "Hry_starty")->dword, 8u);
}

// A damaged file reached through a link is kept beside that file, under its
// own name, and an earlier copy there moves to the next number.
TEST_F(RegistryTest, ADamagedLinkedFileIsKeptBesideTheFileTheLinkLeadsTo) {
  const fs::path dotfiles = root_ / "dotfiles";
  fs::create_directories(root_ / "tulimbo");
  fs::create_directories(dotfiles);
  std::ofstream(dotfiles / "tulimbo") << "damaged\n";
  std::ofstream(dotfiles / "tulimbo.damaged") << "an earlier copy\n";
  fs::create_symlink("../dotfiles/tulimbo", File());

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kGames, true));
  reg.WriteInteger("Hry_starty", 1);
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_TRUE(ParseRegistry(TextOf(dotfiles / "tulimbo")).whole);
  EXPECT_EQ(TextOf(dotfiles / "tulimbo.damaged"), "damaged\n");
  EXPECT_EQ(TextOf(dotfiles / "tulimbo.damaged.1"), "an earlier copy\n");
  EXPECT_EQ(NamesIn(dotfiles), (std::vector<std::string>{"tulimbo", "tulimbo.damaged", "tulimbo.damaged.1"}));
  EXPECT_TRUE(fs::equivalent(RegistryStore(root_ / "tulimbo").DamagedPath(), dotfiles / "tulimbo.damaged"));
}

// Runs the rest of the process as the unprivileged user "nobody", owner of
// everything under folder, so that a file's permissions apply to it.
bool BecomeNobodyOwning(const fs::path& folder) {
  if (::geteuid() != 0) return true;
  constexpr uid_t kNobody = 65534;
  bool ok = ::lchown(folder.c_str(), kNobody, kNobody) == 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    ok &= ::lchown(entry.path().c_str(), kNobody, kNobody) == 0;
  return ok && ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// True when a child process can give up the administrator's rights (always
// true for a user without them).
bool CanBecomeNobody() {
  if (::geteuid() != 0) return true;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0 ? 0 : 1);
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// True when reading the file at path fails with EINVAL though it is a regular
// file, as a process's security attribute in /proc does when no security
// module provides one.
bool ReadingFailsWithInvalidArgument(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  char bytes[64];
  const ssize_t n = ::read(fd, bytes, sizeof bytes);
  const int err = errno;
  ::close(fd);
  return regular && n < 0 && err == EINVAL;
}

// A file that is there but cannot be read is not taken for a damaged one: it
// is left as it is, the program runs on its defaults without saving them, and
// one notice on standard error says why, however often the program reads and
// writes.
TEST_F(RegistryTest, AFileThatCannotBeReadIsLeftAsItIsAndReportedOnce) {
  const fs::path config = root_ / "tulimbo";
  const std::string stored = "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 7\nend\n";
  struct Case {
    const char* name;
    std::function<void()> place;
    std::function<bool()> unchanged;
    int error;  // 0: "it is not a regular file"
    bool asNobody;
    std::function<bool()> possibleHere = nullptr;
  };
  const char* const kRefusesReading = "/proc/self/attr/current";
  const Case cases[] = {
      {"a folder in its place", [&] { fs::create_directories(File() / "inside"); },
       [&] { return fs::is_directory(File() / "inside"); }, EISDIR, false},
      {"links that lead round in a loop",
       [&] {
         fs::create_symlink("loop", File());
         fs::create_symlink("registry", config / "loop");
       },
       [&] { return fs::read_symlink(File()) == "loop" && fs::read_symlink(config / "loop") == "registry"; }, ELOOP,
       false},
      {"a pipe in its place, which nothing writes into", [&] { ::mkfifo(File().c_str(), 0600); },
       [&] { return fs::is_fifo(File()); }, 0, false},
      {"a regular file whose reading fails with an error of its own, EINVAL",
       [&] { fs::create_symlink(kRefusesReading, File()); },
       [&] { return fs::read_symlink(File()) == kRefusesReading; }, EINVAL, false,
       [&] { return ReadingFailsWithInvalidArgument(kRefusesReading); }},
      {"a file its user may not read",
       [&] {
         std::ofstream(File(), std::ios::binary) << stored;
         fs::permissions(File(), fs::perms::none);
       },
       [&] { return fs::status(File()).permissions() == fs::perms::none && FileText() == stored; }, EACCES, true},
  };
  // A fresh process for each case: the notice is said once per process.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.asNobody && !CanBecomeNobody()) GTEST_SKIP() << "cannot give up the administrator's rights here";
    if (c.possibleHere && !c.possibleHere()) {
      std::printf("Not run here: %s\n", c.name);
      continue;
    }
    fs::remove_all(config);
    fs::create_directories(config);
    c.place();
    EXPECT_EXIT(
        {
          if (c.asNobody && !BecomeNobodyOwning(root_)) std::exit(2);
          bool defaults = RegistryStore(config).Load() == RegistryData{};
          TRegistry reg;
          defaults &= !reg.OpenKey(kGames, false) && !reg.OpenKey(kGames, true);
          for (int i = 0; i < 2; ++i) {
            try {
              reg.WriteInteger("Hry_starty", i);
              defaults = false;
            } catch (const ERegistryException&) {
            }
          }
          defaults &= !RegistryStore(config).Update([](RegistryData& data) { data.CreateKey("K"); });
          std::exit(defaults ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "^The settings file [^\n]*/tulimbo/registry cannot be read \\(" +
            std::string(c.error ? std::strerror(c.error) : "it is not a regular file") +
            "\\): it is left as it is, and the program runs on its default settings without saving them\n$");
    EXPECT_TRUE(c.unchanged());
    for (const std::string& name : NamesIn(config))
      EXPECT_TRUE(name == "registry" || name == "registry.lock" || name == "loop") << name;
  }
}

// What was parsed of the file is used again only while the file is the same:
// each change is seen at the next read and by the next write, however soon it
// comes and whatever time stamp it leaves.
TEST_F(RegistryTest, EveryChangeToTheFileIsSeenAtTheNextReadAndWrite) {
  const fs::path folder = root_ / "tulimbo";
  auto textWith = [](uint32_t n) {
    RegistryData d;
    d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(n));
    return SerializeRegistry(d);
  };
  auto setModified = [&](const timespec& when) {
    const timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, File().c_str(), times, 0), 0);
  };
  auto modified = [&] {
    struct stat st;
    ::stat(File().c_str(), &st);
    return st.st_mtim;
  };
  auto rewriteInPlace = [&](uint32_t n) {
    const timespec before = modified();
    std::ofstream(File(), std::ios::binary | std::ios::trunc) << textWith(n);
    setModified(before);
  };
  auto replaceByRename = [&](uint32_t n) {
    std::ofstream(folder / "other", std::ios::binary) << textWith(n);
    fs::rename(folder / "other", File());
  };
  auto anotherProcessWrites = [&](uint32_t n) {
    const pid_t child = ::fork();
    if (child == 0) {
      const bool ok = RegistryStore(folder.string()).Update(
          [n](RegistryData& d) { d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(n)); });
      ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  };
  struct Case {
    const char* name;
    bool writtenLongAgo;
    std::function<void(uint32_t)> change;
  };
  const Case cases[] = {
      {"rewritten in place, its modification time put back", false, rewriteInPlace},
      {"written long ago, then rewritten in place, its modification time put back", true, rewriteInPlace},
      {"replaced by another file of the same size", false, replaceByRename},
      {"written long ago, then replaced by another file of the same size", true, replaceByRename},
      {"written by another process", false, anotherProcessWrites},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(File(), std::ios::binary) << textWith(1);
    if (c.writtenLongAgo) setModified({std::time(nullptr) - 3600, 0});
    const RegistryStore store(folder.string());
    for (int i = 0; i < 2; ++i) EXPECT_EQ(store.Load().FindValue(kGames, "Hry_starty")->dword, 1u);

    c.change(2);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, false));
    EXPECT_EQ(reg.ReadInteger("Hry_starty"), 2);

    c.change(3);
    ASSERT_TRUE(RegistryStore(folder.string()).Update([](RegistryData& d) {
      d.SetValue(kGames, "Hry_starty", RegistryValue::Dword(d.FindValue(kGames, "Hry_starty")->dword + 10));
    }));
    EXPECT_EQ(ParseRegistry(FileText()).data.FindValue(kGames, "Hry_starty")->dword, 13u);
    EXPECT_EQ(reg.ReadInteger("Hry_starty"), 13);
  }
}

// A file over the size limit is read up to the limit, as far as it parses, and
// moved aside whole at the next write. Its first 16 MB end with an end line
// exactly at the limit: the file still counts as damaged, since it goes on.
TEST_F(RegistryTest, AFileOverTheSizeLimitKeepsWhatItsFirstLinesHoldAndIsMovedAside) {
  const fs::path folder = root_ / "tulimbo";
  const std::string volumes = kBase + "\\Nastaveni - obecne";
  fs::create_directories(folder);
  std::ofstream(folder / "registry.damaged", std::ios::binary) << "an earlier damaged file\n";
  {
    std::string text = "tulimbo-registry 1\nkey \"" + kGames + "\"\n  dword \"Hry_starty\" 41\nkey \"" + volumes +
                       "\"\n  dword \"WAV HLASITOST\" 200\n  dword \"MIDI HLASITOST\" 90\n";
    text += "#" + std::string(kMaxRegistryFileSize - 4 - text.size() - 2, 'x') + "\n";
    text += "end\n";
    ASSERT_EQ(text.size(), kMaxRegistryFileSize);
    text += "key \"" + kGames + "\"\n  dword \"past the limit\" 5\n";
    text += "#" + std::string(size_t{4} << 20, 'y') + "\nend\n";
    std::ofstream(File(), std::ios::binary) << text;
  }
  ASSERT_EQ(::chmod(File().c_str(), 0640), 0);
  const auto size = fs::file_size(File());

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(volumes, false));
  EXPECT_EQ(reg.ReadInteger("WAV HLASITOST"), 200);
  EXPECT_EQ(reg.ReadInteger("MIDI HLASITOST"), 90);
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(kGames, false));
  EXPECT_EQ(reg.ReadInteger("Hry_starty"), 41);
  EXPECT_FALSE(reg.ValueExists("past the limit"));
  EXPECT_EQ(fs::file_size(File()), size) << "reading does not write";

  reg.WriteInteger("Hry_starty", 42);
  EXPECT_EQ(fs::file_size(folder / "registry.damaged"), size);
  std::ifstream older(folder / "registry.damaged.1", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(older), {}), "an earlier damaged file\n");
  const ParsedRegistry now = ParseRegistry(FileText());
  ASSERT_TRUE(now.whole);
  EXPECT_EQ(now.data.FindValue(kGames, "Hry_starty")->dword, 42u);
  EXPECT_EQ(now.data.FindValue(volumes, "WAV HLASITOST")->dword, 200u);
  EXPECT_EQ(now.data.FindValue(volumes, "MIDI HLASITOST")->dword, 90u);
  EXPECT_EQ(fs::status(File()).permissions(), fs::perms(0640)) << "the new file keeps the old one's permissions";
}

// A file whose keys alone fill more than the limit is not rewritten: what was
// read of it would make a file over the limit again, which would lose its last
// keys when read and be set aside as damaged at every write, a copy of 16 MB
// each time. It stays as it is, and no copies pile up.
TEST_F(RegistryTest, AResultOverTheSizeLimitIsNotWrittenAndSetsNoCopiesAside) {
  const fs::path folder = root_ / "tulimbo";
  fs::create_directories(folder);
  std::string text = "tulimbo-registry 1\n";
  for (int i = 0; text.size() < kMaxRegistryFileSize + (size_t{1} << 20); ++i)
    text += "key \"Software\\Big\\K" + std::to_string(1000000 + i) + "\"\n  sz \"v\" \"" + std::string(40, 'x') + "\"\n";
  text += "end\n";
  std::ofstream(File(), std::ios::binary) << text;
  const uint64_t parsesBefore = RegistryFileParses();
  for (int run = 0; run < 3; ++run) {
    TRegistry reg;
    try {
      if (reg.OpenKey(kGames, true)) reg.WriteInteger("Hry_starty", run);
    } catch (const ERegistryException&) {
    }
  }
  EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"registry", "registry.lock"}));
  EXPECT_TRUE(FileText() == text) << "the file is left as it was";
  EXPECT_EQ(RegistryFileParses() - parsesBefore, 1u)
      << "the changes that were not saved were taken back, not parsed away";
}

// The size of the result is counted before it is made: a result of exactly
// the limit is written, one a byte longer is not, and a file at the limit
// that a change makes smaller is written.
TEST_F(RegistryTest, AResultUpToTheSizeLimitIsWrittenAndOneByteMoreIsNot) {
  RegistryStore store(root_ / "tulimbo");
  auto valueOf = [](size_t length) {
    return [length](RegistryData& d) { d.SetValue("Big", "v", RegistryValue::String(std::string(length, 'x'))); };
  };
  RegistryData empty;
  valueOf(0)(empty);
  const size_t fits = kMaxRegistryFileSize - SerializeRegistry(empty).size();  // the longest value that fits
  struct Case {
    const char* name;
    size_t before;  // the value's length in the file before
    std::function<void(RegistryData&)> change;
    bool written;
  };
  const Case cases[] = {
      {"grown to the limit", 100, valueOf(fits), true},
      {"grown a byte past it", 100, valueOf(fits + 1), false},
      {"at the limit, made smaller and a key added", fits,
       [](RegistryData& d) {
         d.SetValue("Big", "v", RegistryValue::String("short"));
         d.CreateKey("Other");
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(store.Update(valueOf(c.before)));
    const std::string before = FileText();
    EXPECT_EQ(store.Update(c.change), c.written);
    const std::string after = FileText();
    EXPECT_LE(after.size(), kMaxRegistryFileSize);
    if (!c.written) {
      EXPECT_TRUE(after == before) << "the file is left as it was";
      continue;
    }
    RegistryData expected;
    valueOf(c.before)(expected);
    c.change(expected);
    EXPECT_TRUE(after == SerializeRegistry(expected));
  }
}

// Every damaged file replaced is kept: a different earlier copy moves to the
// next number, a copy with the same bytes is not kept twice.
TEST_F(RegistryTest, EarlierDamagedCopiesAreKeptUnderNumbersAndTheSameOneOnlyOnce) {
  const fs::path folder = root_ / "tulimbo";
  fs::create_directories(folder);
  auto replaceDamaged = [&](const std::string& text) {
    std::ofstream(File(), std::ios::binary | std::ios::trunc) << text;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kGames, true));
    reg.WriteInteger("Hry_starty", 1);
    ASSERT_TRUE(ParseRegistry(FileText()).whole);
  };
  auto copies = [&] {
    std::map<std::string, std::string> found;  // file name -> contents
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("registry.damaged", 0) != 0) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      found[name] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return found;
  };
  using Copies = std::map<std::string, std::string>;

  replaceDamaged("first\n");
  replaceDamaged("second\n");
  replaceDamaged("second\n");
  EXPECT_EQ(copies(), (Copies{{"registry.damaged", "second\n"}, {"registry.damaged.1", "first\n"}}));
  replaceDamaged("third\n");
  EXPECT_EQ(copies(), (Copies{{"registry.damaged", "third\n"},
                              {"registry.damaged.1", "first\n"},
                              {"registry.damaged.2", "second\n"}}));
  // A number freed by a copy the user removed is not reused: the numbers keep
  // the copies' order.
  fs::remove(folder / "registry.damaged.1");
  replaceDamaged("fourth\n");
  EXPECT_EQ(copies(), (Copies{{"registry.damaged", "fourth\n"},
                              {"registry.damaged.2", "second\n"},
                              {"registry.damaged.3", "third\n"}}));
}

// Setting a damaged file aside says so once in a run, with where the copy is,
// however many damaged files the run replaces.
TEST_F(RegistryTest, ADamagedFileIsReportedOnceOnStandardErrorWithWhereItsCopyIs) {
  fs::create_directories(root_ / "tulimbo");
  // A fresh process: the notice is said once per process, and other tests may
  // have said it already.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        for (int i = 0; i < 3; ++i) {
          std::ofstream(File(), std::ios::binary | std::ios::trunc) << "damaged " << i << "\n";
          TRegistry reg;
          if (reg.OpenKey(kGames, true)) reg.WriteInteger("Hry_starty", i);
        }
        const bool allKept = fs::exists(root_ / "tulimbo" / "registry.damaged.2");
        fs::remove_all(root_);
        std::exit(allKept ? 0 : 1);
      },
      ::testing::ExitedWithCode(0),
      "^The settings file [^\n]*/tulimbo/registry was damaged: it was read as far as it could be, and a copy of it "
      "is kept as [^\n]*/tulimbo/registry\\.damaged\n$");
}

// The first failure to save says so once on standard error; the program goes on.
TEST_F(RegistryTest, AFolderThatCannotBeWrittenIsReportedOnceOnStandardError) {
  std::ofstream(root_ / "tulimbo") << "not a folder";
  // A fresh process: the notice is said once per process, and other tests may
  // have said it already.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKey(kGames, true));
        for (int i = 0; i < 3; ++i) {
          try {
            reg.WriteInteger("Hry_starty", i);
          } catch (const ERegistryException&) {
          }
        }
        std::exit(0);
      },
      ::testing::ExitedWithCode(0),
      "^The settings could not be saved in [^\n]*/tulimbo/registry: Not a directory\n$");
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
// after a varying delay and checks what the file holds. The delay starts when
// the child has finished its first write, so that however busy the machine is,
// it falls among the child's writes.
TEST_F(RegistryTest, AWriterKilledMidWriteLeavesOldOrNewContent) {
  auto payloadFor = [](int k) {
    std::string s;
    for (int i = 0; i < 20000; ++i) s += std::to_string(k) + ",";
    return s;
  };
  constexpr int kRounds = 25;
  int lastCount = 0;
  int roundsWithData = 0;
  for (int round = 0; round < kRounds; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Child: count on from what is stored; the payload is written first, so
      // the stored count is the payload's number or one less. After its first
      // write it says so.
      ::close(ready[0]);
      try {
        TRegistry reg;
        if (!reg.OpenKey("Test", true)) ::_exit(2);
        int k = reg.ValueExists("n") ? reg.ReadInteger("n") : 0;
        for (bool first = true;; first = false) {
          ++k;
          reg.WriteString("payload", payloadFor(k));
          reg.WriteInteger("n", k);
          if (first && (::write(ready[1], "w", 1) != 1 || ::close(ready[1]) != 0)) ::_exit(4);
        }
      } catch (...) {
        ::_exit(3);
      }
    }
    ::close(ready[1]);
    char written = 0;
    ssize_t got;
    while ((got = ::read(ready[0], &written, 1)) < 0 && errno == EINTR) {
    }
    ::close(ready[0]);
    if (got == 1) ::usleep(static_cast<useconds_t>(2000 + (round * 7919) % 30000));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(got, 1) << "the writer ended before its first write, status " << status;
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

    const ParsedRegistry parsed = ParseRegistry(FileText());
    ASSERT_TRUE(parsed.whole) << "round " << round << ": the file is damaged";
    const RegistryData* data = &parsed.data;
    const RegistryValue* payload = data->FindValue("Test", "payload");
    ASSERT_NE(payload, nullptr) << "round " << round << ": a finished write was lost";
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
  EXPECT_EQ(roundsWithData, kRounds);
  // What a killed writer left beside the file goes with the next write.
  ASSERT_TRUE(RegistryStore(root_ / "tulimbo").Update([](RegistryData& d) { d.CreateKey("After"); }));
  EXPECT_EQ(NamesIn(root_ / "tulimbo"), (std::vector<std::string>{"registry", "registry.lock"}));
}

}  // namespace
}  // namespace tlb
