#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

TEST(IntToStr, WritesDecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}

TEST(StrToInt, AcceptsTheClassLibrarysNumberForms) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {" -5", -5},
      {"\t 12", 12},
      {"+7", 7},
      {"007", 7},
      {"$1F", 31},
      {"$1f", 31},
      {"0x10", 16},
      {"0X10", 16},
      {"-$10", -16},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"$7FFFFFFF", INT_MAX},
      {"$FFFFFFFF", -1},  // hexadecimal takes the 32-bit pattern
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    int value = 99;
    EXPECT_TRUE(TryStrToInt(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(StrToInt, RejectsAnythingElseWithTheClassLibrarysMessage) {
  const char* cases[] = {
      "", " ", "-", "+", "$", "0x", "12a", "12 ", "1.5", "abc", "--1", "- 1", "1e3",
      "2147483648",   // one past the largest
      "-2147483649",  // one past the smallest
      "$100000000",   // more than 32 bits
      "99999999999999999999",
  };
  for (const char* text : cases) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "no exception for '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + std::string(text) + "' is not a valid integer value");
    }
    int value = 99;
    EXPECT_FALSE(TryStrToInt(text, value)) << text;
    EXPECT_EQ(value, 99) << "untouched on failure: " << text;
  }
}

TEST(Val, ReturnsTheDigitsBeforeTheFirstBadCharacterAndItsPosition) {
  struct Case {
    const char* text;
    int value;
    int errorPos;
  };
  const Case cases[] = {
      {"42", 42, 0},
      {" -5", -5, 0},
      {"$1F", 31, 0},
      {"12a", 12, 3},
      {"12 ", 12, 3},           // trailing blanks are not skipped
      {"-3x", -3, 3},
      {"$1G", 1, 3},
      {"0x1z", 1, 4},
      {"", 0, 1},               // a digit is expected just past the end
      {"  ", 0, 3},
      {"-", 0, 2},
      {"$", 0, 2},
      {"x1", 0, 1},
      {"2147483648", 214748364, 10},   // the digit that leaves the range is bad
      {"-2147483648", INT_MIN, 0},
  };
  for (const Case& c : cases) {
    int errorPos = -1;
    EXPECT_EQ(Val(c.text, errorPos), c.value) << c.text;
    EXPECT_EQ(errorPos, c.errorPos) << c.text;
  }
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" \x01 "), "");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  // Code page 1250 letters are above ' ' and stay.
  EXPECT_EQ(Trim("\xE8 "), "\xE8");
}

TEST(FileNameParts, SplitAtBackslashSlashAndDrive) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
    const char* ext;
  };
  const Case cases[] = {
      {"C:\\data\\zvuky\\k1_lo.WAV", "C:\\data\\zvuky\\", "k1_lo.WAV", ".WAV"},
      {"/opt/tq\\zvuky\\k1_lo.WAV", "/opt/tq\\zvuky\\", "k1_lo.WAV", ".WAV"},
      {"/opt/tq/tq2_poh", "/opt/tq/", "tq2_poh", ""},
      {"C:tq2.exe", "C:", "tq2.exe", ".exe"},
      {"C:\\", "C:\\", "", ""},
      {"tq2_poh.EXE", "", "tq2_poh.EXE", ".EXE"},
      {"a.dir\\file", "a.dir\\", "file", ""},  // a dot in a folder is no extension
      {"archive.tar.gz", "", "archive.tar.gz", ".gz"},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
  }
}

TEST(FileNameParts, IncludeTrailingBackslashAddsOneOnlyWhenMissing) {
  EXPECT_EQ(IncludeTrailingBackslash("C:"), "C:\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(IncludeTrailingBackslash("/opt/tq/"), "/opt/tq/");
  EXPECT_EQ(IncludeTrailingBackslash("/opt/tq"), "/opt/tq\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
}

TEST(RandomGenerator, FirstValuesFromSeedZeroFollowTheRuntimesFormula) {
  // seed := seed * 134775813 + 1 (mod 2^32); Random(100) = seed * 100 div 2^32.
  // Seeds 1, 134775814, 3698175007, 870078620, ... give these values.
  const int expected[] = {0, 3, 86, 20, 27, 67, 31, 16, 37, 42};
  RandomGenerator generator;
  for (int value : expected) EXPECT_EQ(generator.Random(100), value);
}

TEST(RandomGenerator, SeedAdvancesOncePerDrawWhateverTheRange) {
  // The games draw with different ranges from one sequence; the range changes
  // only the scaling, never the seed. From seed 0: 1, 134775814, 3698175007.
  RandomGenerator generator;
  EXPECT_EQ(generator.Random(4), 0);
  EXPECT_EQ(generator.seed, 1u);
  EXPECT_EQ(generator.Random(19999), 627);
  EXPECT_EQ(generator.seed, 134775814u);
  EXPECT_EQ(generator.Random(29999), 25830);
  EXPECT_EQ(generator.seed, 3698175007u);
  EXPECT_EQ(generator.Random(0), 0);   // no range: 0, the seed still moves
  EXPECT_EQ(generator.seed, 870078620u);
}

TEST(RandomGenerator, RandomizeSetsTheSeedAndValuesStayInRange) {
  RandomGenerator generator;
  generator.Randomize(12345);
  EXPECT_EQ(generator.Random(1000), 385);  // seed 12345 -> 1655067934
  for (int n : {1, 2, 7, 100, 19999, 79999, INT_MAX}) {
    for (int i = 0; i < 2000; ++i) {
      const int v = generator.Random(n);
      ASSERT_GE(v, 0);
      ASSERT_LT(v, n);
    }
  }
}

TEST(RandomGenerator, FreeFunctionsUseTheProcessWideGenerator) {
  RandomizeFrom(0);
  EXPECT_EQ(Random(100), 0);
  EXPECT_EQ(Random(100), 3);
  EXPECT_EQ(RandSeed().seed, 134775814u);
}

}  // namespace
}  // namespace tlb
