#include "platform/core/cp1250.h"

#include <gtest/gtest.h>

namespace tlb {
namespace {

TEST(Cp1250, CzechAndSlovakTextsRoundTripWithOneBytePerCharacter) {
  struct Case {
    const char* utf8;
    size_t characters;
  };
  const Case cases[] = {
      {"Kámen, nůžky, papír", 19},
      {"Kameň, nožnice, papier", 22},
      {"Maličká som", 11},
      {"Příliš žluťoučký kůň úpěl ďábelské ódy", 38},
      {"ĽUDIA ÔSMI, Ŕ Ĺ Ä", 17},
  };
  for (const Case& c : cases) {
    const std::string bytes = Cz(c.utf8);
    EXPECT_EQ(bytes.size(), c.characters) << c.utf8;
    EXPECT_EQ(Cp1250ToUtf8(bytes), c.utf8);
  }
}

TEST(Cp1250, LettersHaveTheirCodePageBytes) {
  struct Case {
    const char* utf8;
    uint8_t byte;
  };
  const Case cases[] = {
      {"€", 0x80}, {"Š", 0x8A}, {"Ť", 0x8D}, {"ž", 0x9E}, {"ˇ", 0xA1}, {"Ľ", 0xBC},
      {"ľ", 0xBE}, {"Č", 0xC8}, {"Ě", 0xCC}, {"Ř", 0xD8}, {"Ů", 0xD9}, {"á", 0xE1},
      {"č", 0xE8}, {"ň", 0xF2}, {"ô", 0xF4}, {"ř", 0xF8}, {"ů", 0xF9}, {"˙", 0xFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cz(c.utf8), std::string(1, static_cast<char>(c.byte))) << c.utf8;
    EXPECT_EQ(Cp1250ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8);
  }
}

TEST(Cp1250, EveryDefinedByteRoundTripsAndTheFiveUndefinedOnesDoNot) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const bool undefined = b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
    if (undefined) {
      EXPECT_EQ(Cp1250ToCodePoint(static_cast<uint8_t>(b)), U'\uFFFD') << b;
      EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(byte)), "?") << b;
    } else {
      EXPECT_NE(Cp1250ToCodePoint(static_cast<uint8_t>(b)), U'\uFFFD') << b;
      EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(byte)), byte) << b;
    }
  }
}

TEST(Cp1250, UnmappableAndMalformedUtf8BecomesQuestionMarks) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string cp1250;
  };
  const Case cases[] = {
      {"character outside the code page", "a\xE6\x97\xA5z", "a?z"},
      {"character beyond the BMP", "\xF0\x9F\x98\x80", "?"},
      {"U+FFFD itself", "\xEF\xBF\xBD", "?"},
      {"stray continuation byte", "a\x80z", "a?z"},
      {"sequence cut off by the end", "ab\xC3", "ab?"},
      {"lead byte followed by ASCII", "\xC3z", "?z"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"invalid lead byte", "\xFF", "?"},
      {"NUL survives", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCp1250(c.utf8), c.cp1250) << c.name;
}

TEST(Cp1250, CaseMappingCoversTheAccentedLetters) {
  EXPECT_EQ(AnsiUpperCase(Cz("čďěňřšťůžýáíéó ľĺŕô äś źżąęłőűţ az")),
            Cz("ČĎĚŇŘŠŤŮŽÝÁÍÉÓ ĽĹŔÔ ÄŚ ŹŻĄĘŁŐŰŢ AZ"));
  EXPECT_EQ(AnsiLowerCase(Cz("ČĎĚŇŘŠŤŮŽÝÁÍÉÓ ĽĹŔÔ ÄŚ ŹŻĄĘŁŐŰŢ AZ")),
            Cz("čďěňřšťůžýáíéó ľĺŕô äś źżąęłőűţ az"));
  // Signs and letters without a partner in the code page stay as they are.
  for (const char* unchanged : {"×", "÷", "ß", "˙", "µ", "€", "0", "@", "[", "{"}) {
    EXPECT_EQ(AnsiUpperCase(Cz(unchanged)), Cz(unchanged)) << unchanged;
    EXPECT_EQ(AnsiLowerCase(Cz(unchanged)), Cz(unchanged)) << unchanged;
  }
}

TEST(Cp1250, SameTextIgnoresCaseOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"Nastavení - Hry", "NASTAVENÍ - HRY", true},
      {"Řeřicha", "řEŘICHA", true},
      {"Kůň", "KŮŇ", true},
      {"Kůň", "KUN", false},  // accents matter
      {"abc", "abcd", false},
      {"", "", true},
      {"[", "{", false},  // only letters fold
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiSameText(Cz(c.a), Cz(c.b)), c.same) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace tlb
