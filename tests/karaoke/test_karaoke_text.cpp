// The karaoke text reader: titles, syllables, line breaks, bad times and the
// table's capacity, read from bytes as a file would hold them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "karaoke/karaoke_text.h"
#include "platform/core/cp1250.h"

namespace tq {
namespace {

struct Syl {
  int32_t time;
  std::string text;
  int line;
};

struct Read {
  std::vector<std::string> messages;
  std::vector<Syl> syllables;  // entries 1 .. SyllableCount - 1
  KaraokeText text{100};
};

Read ReadText(const std::string& bytes, int entries = 100) {
  Read r{{}, {}, KaraokeText(entries)};
  ParseKaraokeBytes(r.text, bytes, [&](const std::string& m) { r.messages.push_back(m); });
  for (int j = 1; j + 1 <= r.text.SyllableCount; ++j) {
    const tslovo& s = r.text.Entry(j);
    r.syllables.push_back({s.Time, s.Text, s.Line});
  }
  return r;
}

void ExpectSyllables(const Read& r, const std::vector<Syl>& want, const std::string& label) {
  ASSERT_EQ(r.syllables.size(), want.size()) << label;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(r.syllables[i].time, want[i].time) << label << " #" << i + 1;
    EXPECT_EQ(r.syllables[i].text, want[i].text) << label << " #" << i + 1;
    EXPECT_EQ(r.syllables[i].line, want[i].line) << label << " #" << i + 1;
  }
}

const std::string kBad = "Chyba u detekce cisla snimku ";

TEST(KaraokeReader, SyllableLinesTable) {
  struct Case {
    const char* label;
    std::string body;  // the lines after "/T/" and the ignored second line
    std::vector<Syl> syllables;
    std::vector<std::string> messages;
  } cases[] = {
      {"CR LF, CR and LF all end lines", "100*a\r\n200*b@\r300*c\n400*d",
       {{100, "a", 1}, {200, "b", 1}, {300, "c", 2}, {400, "d", 2}}, {}},
      {"a lone @ starts the next display line", "100*a\r\n@\r\n200*b", {{100, "a", 1}, {200, "b", 2}}, {}},
      {"two line breaks leave a line empty", "100*a\r\n@\r\n@\r\n200*b", {{100, "a", 1}, {200, "b", 3}}, {}},
      {"@ closing a syllable keeps it on its line", "100*a@\r\n200*b", {{100, "a", 1}, {200, "b", 2}}, {}},
      {"@ before the * makes the whole line a break", "100@5*a\r\n200*b", {{200, "b", 2}}, {}},
      {"$ is dropped and its neighbours joined", "100*ku$ku", {{100, "kuku", 1}}, {}},
      {"blanks belong to the text", "100* ab ", {{100, " ab ", 1}}, {}},
      {"a second * ends the text", "100*ab*cd@", {{100, "ab", 1}}, {}},
      {"@ after the text ends it and the line", "100*ab@cd\r\n200*e", {{100, "ab", 1}, {200, "e", 2}}, {}},
      {"nothing after the *", "100*", {{100, "", 1}}, {}},
      {"a number without * is time and text", "500", {{500, "500", 1}}, {}},
      {"leading blanks before the time are skipped", "  700*x", {{700, "x", 1}}, {}},
      {"hexadecimal times", "$10*x\r\n0x20*y", {{16, "x", 1}, {32, "y", 1}}, {}},
      {"times are kept in file order", "900*a\r\n100*b", {{900, "a", 1}, {100, "b", 1}}, {}},
      {"nothing before the *", "*ab", {{0, "ab", 1}}, {kBad + ",1"}},
      {"digits then a letter", "10*a\r\n12a*x", {{10, "a", 1}, {12, "x", 1}}, {kBad + "12a,2"}},
      {"a blank between digits and *", "100 *x", {{100, "x", 1}}, {kBad + "100 ,1"}},
      {"an empty line is one empty record", "100*a\r\n\r\n200*b", {{100, "a", 1}, {0, "", 1}, {200, "b", 1}},
       {kBad + ",2"}},
      {"each bad time reported in file order", "x*a\r\ny*b", {{0, "a", 1}, {0, "b", 1}}, {kBad + "x,1", kBad + "y,2"}},
  };
  for (const Case& c : cases) {
    Read r = ReadText("/T/\r\n-\r\n" + c.body);
    ExpectSyllables(r, c.syllables, c.label);
    EXPECT_EQ(r.messages, c.messages) << c.label;
    EXPECT_EQ(r.text.SyllableCount, c.syllables.size() + 1) << c.label;
    // The entry after the last syllable is the empty one.
    const tslovo& empty = r.text.Entry(r.text.SyllableCount);
    EXPECT_EQ(empty.Time, 0) << c.label;
    EXPECT_EQ(empty.Text, "") << c.label;
    EXPECT_EQ(empty.Line, 0) << c.label;
    for (int j = 1; j <= r.text.Entries(); ++j) {
      EXPECT_EQ(r.text.Entry(j).Spare, 0) << c.label;
      EXPECT_EQ(r.text.Entry(j).Done, 0) << c.label;
    }
  }
}

TEST(KaraokeReader, TitleIsTheFirstLineWithoutItsFirstAndLastCharacter) {
  struct Case {
    std::string first, title;
  } cases[] = {
      {"/Jak se chodí do světa.../", "Jak se chodí do světa..."},
      {"/ab", "a"},
      {"/", ""},  // nothing left after the first deletion: the second deletes nothing
      {"//", ""},
  };
  for (const Case& c : cases) {
    Read r = ReadText(tlb::Cz(c.first) + "\r\n");
    EXPECT_EQ(r.text.KaraokeTitle, tlb::Cz(c.title)) << c.first;
    EXPECT_EQ(r.text.SyllableCount, 1) << c.first;
    EXPECT_TRUE(r.messages.empty()) << c.first;
  }
}

TEST(KaraokeReader, TheSecondLineIsNeverRead) {
  Read r = ReadText("/T/\r\n100*a@\r\n200*b");
  ExpectSyllables(r, {{200, "b", 1}}, "second line skipped");
}

TEST(KaraokeReader, AnEmptyTextOrAMissingSlashReportsAndKeepsThePreviousText) {
  struct Case {
    std::string bytes, message;
  } cases[] = {
      {"", "Neni nacteny zadny text pro dekodovani karaoke."},
      {"T/\r\n-\r\n1*x", "Format pro karaoke neni spravny."},
      {"\r\n-\r\n1*x", "Format pro karaoke neni spravny."},  // an empty first line
  };
  for (const Case& c : cases) {
    std::vector<std::string> messages;
    KaraokeText text(100);
    ParseKaraokeBytes(text, "/Old/\r\n-\r\n100*a\r\n200*b", [](const std::string&) {});
    text.Entry(1).Done = 1;
    ParseKaraokeBytes(text, c.bytes, [&](const std::string& m) { messages.push_back(m); });
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_EQ(text.KaraokeTitle, "Old");
    EXPECT_EQ(text.SyllableCount, 3);
    EXPECT_EQ(text.Entry(2).Text, "b");
    EXPECT_EQ(text.Entry(1).Done, 1);
  }
}

TEST(KaraokeReader, ASecondTextReplacesTheWholeTable) {
  KaraokeText text(100);
  auto quiet = [](const std::string&) {};
  ParseKaraokeBytes(text, "/A/\r\n-\r\n1*a\r\n2*b\r\n3*c\r\n4*d", quiet);
  text.Entry(2).Done = 1;
  ParseKaraokeBytes(text, "/B/\r\n-\r\n9*z", quiet);
  EXPECT_EQ(text.KaraokeTitle, "B");
  EXPECT_EQ(text.SyllableCount, 2);
  for (int j = 2; j <= 100; ++j) {
    EXPECT_EQ(text.Entry(j).Text, "") << j;
    EXPECT_EQ(text.Entry(j).Time, 0) << j;
    EXPECT_EQ(text.Entry(j).Done, 0) << j;
  }
}

TEST(KaraokeReader, TextsPastTheTableStopAtItsCapacity) {
  // The rhymes' table holds 99 syllables and the songs' 139; the last entry stays empty.
  for (int entries : {100, 140}) {
    std::string bytes = "/T/\r\n-\r\n";
    for (int i = 1; i <= 300; ++i) bytes += std::to_string(i * 10) + "*s" + std::to_string(i) + "\r\n";
    Read r = ReadText(bytes, entries);
    EXPECT_EQ(r.text.SyllableCount, entries) << entries;
    EXPECT_EQ(r.text.Entry(entries - 1).Text, "s" + std::to_string(entries - 1)) << entries;
    EXPECT_EQ(r.text.Entry(entries).Text, "") << entries;
    EXPECT_EQ(r.text.Entry(entries).Line, 0) << entries;
    EXPECT_EQ(r.text.VisitedEntries(), entries) << entries;
  }
  // A full table followed by line breaks and bad lines stores and reports nothing more.
  std::string bytes = "/T/\r\n-\r\n";
  for (int i = 1; i <= 99; ++i) bytes += "1*x\r\n";
  bytes += "@\r\nbad*y\r\n";
  Read r = ReadText(bytes);
  EXPECT_EQ(r.text.SyllableCount, 100);
  EXPECT_TRUE(r.messages.empty());
}

TEST(KaraokeReader, LongLinesAndManyLinesAreReadWhole) {
  // Past 255 characters in a line and 256 lines in a file: nothing is cut short or overrun.
  std::string longText(300, 'a');
  std::string bytes = "/T/\r\n-\r\n100*" + longText + "\r\n";
  for (int i = 0; i < 299; ++i) bytes += "@\r\n";
  bytes += "200*b";
  Read r = ReadText(bytes);
  ASSERT_EQ(r.syllables.size(), 2u);
  EXPECT_EQ(r.syllables[0].text, longText);
  // The display line is the low 8 bits of the line counter: line 300 is stored as 44.
  EXPECT_EQ(r.syllables[1].line, 300 & 0xFF);
  EXPECT_EQ(r.text.LineCounter, 300);
}

TEST(KaraokeReader, TextsAreCodePage1250Bytes) {
  Read r = ReadText(tlb::Cz("/Ententýky/\r\n-\r\n400*En\r\n700*ten\r\n1000*tý\r\n1300*ky, "));
  EXPECT_EQ(r.text.KaraokeTitle, tlb::Cz("Ententýky"));
  EXPECT_EQ(r.text.KaraokeTitle.size(), 9u);
  EXPECT_EQ(r.syllables[2].text.size(), 2u);  // "tý" is two bytes
}

TEST(KaraokeReader, ClearDoneTouchesOnlyTheVisitedEntries) {
  Read r = ReadText("/T/\r\n-\r\n1*a\r\n2*b");
  for (int j = 1; j <= 5; ++j) r.text.Entry(j).Done = 1;
  r.text.ClearDone();
  EXPECT_EQ(r.text.Entry(3).Done, 0);  // the empty entry is visited
  EXPECT_EQ(r.text.Entry(4).Done, 1);
  r.text.ClearAllDone();
  EXPECT_EQ(r.text.Entry(4).Done, 0);
}

}  // namespace
}  // namespace tq
