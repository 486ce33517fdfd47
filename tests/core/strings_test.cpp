#include "platform/core/strings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"

namespace tlb {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, EndsLinesAtCrLfLoneCrAndLoneLf) {
  struct Case {
    const char* name;
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"last line without an end is kept", "a\r\nb", {"a", "b"}},
      {"lone CR and lone LF", "a\rb\nc", {"a", "b", "c"}},
      {"empty lines between", "a\n\nb", {"a", "", "b"}},
      {"LF then CR is two ends", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF is two ends", "a\r\r\nb", {"a", "", "b"}},
      {"one line break alone", "\r\n", {""}},
      {"empty text", "", {}},
      {"code page bytes and NUL stay", std::string("\xE8\0x\r\n", 5), {std::string("\xE8\0x", 3)}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.name;
}

class StringListFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tlb_strings_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::filesystem::path root_;
};

TEST_F(StringListFile, LoadFromFileReplacesTheListAndFiresOnChangeOnce) {
  std::ofstream(root_ / "lym1.syn", std::ios::binary) << Cz("Enty- den-ty\r\ndva-cet\rsou-dků\n");
  TStringList list;
  list.Add("old");
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.LoadFromFile(root_.string() + "\\LYM1.SYN");
  EXPECT_EQ(list.Items(), (Lines{Cz("Enty- den-ty"), Cz("dva-cet"), Cz("sou-dků")}));
  EXPECT_EQ(changes, 1);
}

TEST_F(StringListFile, AMissingFileThrowsAndLeavesTheListAlone) {
  TStringList list;
  list.Add("kept");
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  EXPECT_THROW(list.LoadFromFile(root_.string() + "\\nic.syn"), EFOpenError);
  EXPECT_EQ(list.Items(), Lines{"kept"});
  EXPECT_EQ(changes, 0);
}

TEST(TStrings, EditsKeepOrderAndFireOnChangeAfterEachChange) {
  TStringList list;
  Lines seen;
  int changes = 0;
  list.OnChange = [&] {
    ++changes;
    seen = list.Items();  // the change is visible to the handler
  };
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.Add("d"), 1);
  list.Insert(0, "a");
  list.Insert(2, "c");
  list.Insert(4, "e");  // Count() appends
  EXPECT_EQ(seen, (Lines{"a", "b", "c", "d", "e"}));
  list.Delete(1);
  list.SetString(0, "A");
  EXPECT_EQ(seen, (Lines{"A", "c", "d", "e"}));
  EXPECT_EQ(changes, 7);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  list.Clear();  // nothing to remove: no change
  EXPECT_EQ(changes, 8);
}

TEST(TStrings, IndexOutOfRangeThrowsListError) {
  TStringList list;
  list.Add("a");
  struct Case {
    const char* name;
    std::function<void()> call;
    int index;
  };
  const Case cases[] = {
      {"read past the end", [&] { (void)list[1]; }, 1},
      {"read before the start", [&] { (void)list.Strings(-1); }, -1},
      {"delete past the end", [&] { list.Delete(1); }, 1},
      {"insert beyond Count", [&] { list.Insert(2, "x"); }, 2},
      {"set past the end", [&] { list.SetString(5, "x"); }, 5},
  };
  for (const Case& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no exception: " << c.name;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message, "List index out of bounds (" + std::to_string(c.index) + ")") << c.name;
    }
  }
  EXPECT_EQ(list.Items(), Lines{"a"});
}

TEST(TStrings, IndexOfIgnoresCaseInTheCodePage) {
  TStringList list;
  list.Add(Cz("Kámen"));
  list.Add(Cz("Nůžky"));
  list.Add(Cz("nůžky"));
  EXPECT_EQ(list.IndexOf(Cz("NŮŽKY")), 1);  // the first match
  EXPECT_EQ(list.IndexOf(Cz("kámen")), 0);
  EXPECT_EQ(list.IndexOf("Kamen"), -1);
}

TEST(TStrings, TextEndsEveryLineWithCrLfAndReadsBack) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("a");
  list.Add("");
  list.Add("b");
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  TStringList copy;
  copy.SetText(list.Text());
  EXPECT_EQ(copy.Items(), list.Items());
}

TEST(TStrings, AssignCopiesTheStringsButNotTheHandler) {
  TStringList source;
  source.Add("x");
  int sourceChanges = 0;
  source.OnChange = [&] { ++sourceChanges; };
  TStringList target;
  int targetChanges = 0;
  target.OnChange = [&] { ++targetChanges; };
  target = source;
  EXPECT_EQ(target.Items(), Lines{"x"});
  EXPECT_EQ(targetChanges, 1);
  target.Add("y");
  EXPECT_EQ(sourceChanges, 0);
  EXPECT_EQ(targetChanges, 2);
}

}  // namespace
}  // namespace tlb
