#include "platform/core/registry_store.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/core/cp1250.h"

namespace tlb {
namespace {

RegistryData SampleRegistry() {
  RegistryData data;
  data.CreateKey("Software\\Orvo Team\\TQ2");
  data.SetValue("Software\\Orvo Team\\TQ2\\Nastaveni - obecne", "WAV HLASITOST", RegistryValue::Dword(255));
  data.SetValue("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", "Hry_starty", RegistryValue::Dword(0xFFFFFFFF));
  data.SetValue("Software\\Orvo Team\\TQ2\\Odklon", "ODKLON_x1", RegistryValue::String(Cz("Žluťoučký kůň")));
  data.SetValue(Cz("Nastavení"), "", RegistryValue::String(""));
  data.SetValue("", "at the root", RegistryValue::Dword(0));
  return data;
}

TEST(RegistryFormat, AnyByteStringSurvivesInNamesKeysAndData) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  RegistryData data = SampleRegistry();
  data.SetValue("Key \"quoted\" 100%", allBytes, RegistryValue::String(allBytes + allBytes));
  data.SetValue(allBytes.substr(0, 92) + allBytes.substr(93), "n", RegistryValue::Dword(7));  // no '\\'

  const ParsedRegistry parsed = ParseRegistry(SerializeRegistry(data));
  ASSERT_TRUE(parsed.whole);
  EXPECT_EQ(parsed.data, data);
}

TEST(RegistryFormat, FileIsReadableUtf8Text) {
  const std::string text = SerializeRegistry(SampleRegistry());
  EXPECT_NE(text.find("key \"Software\\Orvo Team\\TQ2\\Nastaveni - Hry\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  dword \"Hry_starty\" 4294967295\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  sz \"ODKLON_x1\" \"Žluťoučký kůň\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("key \"Nastavení\"\n"), std::string::npos) << text;
}

TEST(RegistryFormat, KeysAndNamesAreCaseInsensitiveAndKeepTheirFirstSpelling) {
  RegistryData data;
  data.SetValue(Cz("Software\\Čísla"), "Hry_starty", RegistryValue::Dword(1));
  data.SetValue(Cz("\\SOFTWARE\\\\ČÍSLA\\"), "HRY_STARTY", RegistryValue::Dword(2));
  ASSERT_EQ(data.Keys().size(), 2u);  // Software and Software\Čísla
  EXPECT_EQ(data.Keys().rbegin()->second.path, Cz("Software\\Čísla"));
  EXPECT_EQ(data.FindValue(Cz("software\\čísla"), "hry_starty")->dword, 2u);
  EXPECT_TRUE(data.KeyExists("SOFTWARE"));
  EXPECT_TRUE(data.KeyExists(""));
  EXPECT_FALSE(data.KeyExists("Soft"));
  EXPECT_EQ(data.FindValue("Software", "Hry_starty"), nullptr);
}

// Each damaged text is flagged and loses only its unreadable line: the value
// "keep" before it survives.
TEST(RegistryFormat, DamagedTextsAreFlaggedAndLoseOnlyWhatCannotBeRead) {
  const std::string head = "tulimbo-registry 1\nkey \"K\"\n  dword \"keep\" 1\n";
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"no header", "key \"K\"\n  dword \"keep\" 1\nend\n"},
      {"no end line", head},
      {"end without line break", head + "end"},
      {"text after the end", head + "end\nkey \"L\"\n"},
      {"value before any key", "tulimbo-registry 1\ndword \"n\" 1\nkey \"K\"\n  dword \"keep\" 1\nend\n"},
      {"unknown type", head + "qword \"n\" 1\nend\n"},
      {"dword too large", head + "dword \"n\" 4294967296\nend\n"},
      {"dword negative", head + "dword \"n\" -1\nend\n"},
      {"dword missing", head + "dword \"n\"\nend\n"},
      {"string missing", head + "sz \"n\"\nend\n"},
      {"unterminated quote", head + "sz \"n\" \"abc\nend\n"},
      {"bad escape", head + "sz \"n\" \"%G1\"\nend\n"},
      {"escape cut off", head + "sz \"n\" \"%4\"\nend\n"},
      {"raw control byte", head + "sz \"n\" \"a\tb\"\nend\n"},
      {"character outside the code page", head + "sz \"n\" \"\xE6\x97\xA5\"\nend\n"},
      {"malformed UTF-8", head + "sz \"n\" \"\xC3\"\nend\n"},
      {"trailing garbage", head + "sz \"n\" \"v\" x\nend\n"},
      {"a second header", head + "tulimbo-registry 1\nend\n"},
      {"a CR before the CR LF", head + "  dword \"n\" 1\r\r\nend\n"},
      {"a CR alone as a line break", head + "  dword \"n\" 1\rend\n"},
  };
  for (const Case& c : cases) {
    const ParsedRegistry parsed = ParseRegistry(c.text);
    EXPECT_FALSE(parsed.whole) << c.name;
    const RegistryValue* keep = parsed.data.FindValue("K", "keep");
    EXPECT_TRUE(keep != nullptr && keep->dword == 1) << c.name;
    EXPECT_EQ(parsed.data.FindValue("K", "n"), nullptr) << c.name;
  }
  for (const char* text : {"", "tulimbo-registry 2\nkey \"K\"\n  dword \"keep\" 1\nend\n"}) {
    const ParsedRegistry parsed = ParseRegistry(text);
    EXPECT_FALSE(parsed.whole) << text;
    EXPECT_EQ(parsed.data, RegistryData{}) << text;
  }

  const ParsedRegistry good = ParseRegistry(head + "# note\n\n  sz \"n\" \"%25\"\nend\n");
  ASSERT_TRUE(good.whole);
  EXPECT_EQ(good.data.FindValue("K", "n")->text, "%");
}

// Files edited on another system end their lines with CR LF: every line is
// read and the file is whole.
TEST(RegistryFormat, CrLfLineBreaksReadAsWhole) {
  const RegistryData data = SampleRegistry();
  std::string text;
  for (char c : SerializeRegistry(data)) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const ParsedRegistry parsed = ParseRegistry(text);
  EXPECT_TRUE(parsed.whole);
  EXPECT_EQ(parsed.data, data);
}

// A file cut off anywhere is flagged, and what it still holds is part of the
// whole registry with the same values: a number cut short is not read.
TEST(RegistryFormat, EveryTruncatedFileIsFlaggedAndHoldsNoChangedValue) {
  const RegistryData whole = SampleRegistry();
  const std::string text = SerializeRegistry(whole);
  for (size_t length = 0; length < text.size(); ++length) {
    const ParsedRegistry parsed = ParseRegistry(text.substr(0, length));
    EXPECT_FALSE(parsed.whole) << "length " << length;
    for (const auto& [lower, key] : parsed.data.Keys()) {
      EXPECT_TRUE(whole.KeyExists(key.path)) << "length " << length << ": " << key.path;
      for (const auto& [lowerName, named] : key.values) {
        const RegistryValue* original = whole.FindValue(key.path, named.name);
        EXPECT_TRUE(original != nullptr && *original == named.value) << "length " << length << ": " << named.name;
      }
    }
  }
}

TEST(RegistryFormat, MutatedFilesNeverCrashAndWhatIsReadWritesBackTheSame) {
  const std::string text = SerializeRegistry(SampleRegistry());
  std::mt19937 random(1250);
  for (int round = 0; round < 3000; ++round) {
    std::string mutated = text;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random() % mutated.size();
      switch (random() % 3) {
        case 0: mutated[at] = static_cast<char>(random()); break;
        case 1: mutated.erase(at, 1 + random() % 8); break;
        default: mutated.insert(at, 1, "\"%\\\n 0"[random() % 6]); break;
      }
      if (mutated.empty()) mutated = "x";
    }
    const ParsedRegistry parsed = ParseRegistry(mutated);
    const ParsedRegistry again = ParseRegistry(SerializeRegistry(parsed.data));
    ASSERT_TRUE(again.whole);
    EXPECT_EQ(again.data, parsed.data);
  }
}

}  // namespace
}  // namespace tlb
