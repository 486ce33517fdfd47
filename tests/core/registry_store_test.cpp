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

  const std::optional<RegistryData> parsed = ParseRegistry(SerializeRegistry(data));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(*parsed, data);
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

TEST(RegistryFormat, DamagedTextsAreRejected) {
  const std::string head = "tulimbo-registry 1\nkey \"K\"\n";
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"empty", ""},
      {"no header", "key \"K\"\nend\n"},
      {"other version", "tulimbo-registry 2\nend\n"},
      {"no end line", head},
      {"end without line break", head + "end"},
      {"text after the end", head + "end\nkey \"L\"\n"},
      {"value before any key", "tulimbo-registry 1\ndword \"n\" 1\nend\n"},
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
  };
  for (const Case& c : cases) EXPECT_FALSE(ParseRegistry(c.text).has_value()) << c.name;

  const std::optional<RegistryData> good = ParseRegistry(head + "# note\n\n  sz \"n\" \"%25\"\nend\n");
  ASSERT_TRUE(good.has_value());
  EXPECT_EQ(good->FindValue("K", "n")->text, "%");
}

TEST(RegistryFormat, EveryTruncatedFileIsRejected) {
  // A file cut off anywhere must not read as a smaller registry.
  const std::string text = SerializeRegistry(SampleRegistry());
  for (size_t length = 0; length < text.size(); ++length) {
    EXPECT_FALSE(ParseRegistry(text.substr(0, length)).has_value()) << "length " << length;
  }
}

TEST(RegistryFormat, MutatedFilesNeverCrashAndWhatParsesReadsBackTheSame) {
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
    const std::optional<RegistryData> parsed = ParseRegistry(mutated);
    if (parsed) {
      const std::optional<RegistryData> again = ParseRegistry(SerializeRegistry(*parsed));
      ASSERT_TRUE(again.has_value());
      EXPECT_EQ(*again, *parsed);
    }
  }
}

}  // namespace
}  // namespace tlb
