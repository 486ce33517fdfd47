#include "platform/core/registry_store.h"

#include <gtest/gtest.h>

#include <functional>
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

  const std::string text = SerializeRegistry(data);
  const ParsedRegistry parsed = ParseRegistry(text);
  ASSERT_TRUE(parsed.whole);
  EXPECT_EQ(parsed.data, data);
  EXPECT_EQ(SerializedSize(data), text.size()) << "the size is counted as the text is written";
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
  EXPECT_EQ(data.Keys().rbegin()->first, Cz("Software\\Čísla"));
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
    for (const auto& [path, key] : parsed.data.Keys()) {
      EXPECT_TRUE(whole.KeyExists(path)) << "length " << length << ": " << path;
      for (const auto& [name, value] : key.values) {
        const RegistryValue* original = whole.FindValue(path, name);
        EXPECT_TRUE(original != nullptr && *original == value) << "length " << length << ": " << name;
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
    const std::string text = SerializeRegistry(parsed.data);
    const ParsedRegistry again = ParseRegistry(text);
    ASSERT_TRUE(again.whole);
    EXPECT_EQ(again.data, parsed.data);
    EXPECT_EQ(SerializedSize(parsed.data), text.size());
  }
}

// A large file is read a piece at a time: wherever the pieces are cut (inside
// a line, a CR LF, an escape, a character's UTF-8 bytes), they read as the
// whole text does.
TEST(RegistryFormat, PiecesCutAnywhereReadAsTheWholeText) {
  const std::string whole = SerializeRegistry(SampleRegistry());
  std::string crLf;
  for (char c : whole) crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string texts[] = {
      whole,
      crLf,
      whole.substr(0, whole.size() - 7),  // cut off inside the last value line
      "# a comment\n\ntulimbo-registry 1\nkey \"K\"\n  sz \"n\" \"" + std::string(300, 'x') + "%25\"\nbad line\nend\n",
      "tulimbo-registry 2\nkey \"K\"\nend\n",
      "key \"K\"\n  dword \"n\" 1",
      "",
  };
  for (const std::string& text : texts) {
    const ParsedRegistry expected = ParseRegistry(text);
    for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, size_t{64}, text.size() + 1}) {
      RegistryParser parser;
      for (size_t at = 0; at < text.size(); at += piece) parser.Feed(std::string_view(text).substr(at, piece));
      EXPECT_EQ(parser.Finish(), expected) << "pieces of " << piece << " of:\n" << text;
    }
  }
}

// A log watching the data tells which keys a change touched, as they were, so
// that the size of the changed text can be counted from the old one, and
// taking the change back leaves the data as it was, spellings included.
TEST(RegistryChangeLog, MeasuresAChangeAndTakesItBack) {
  struct Case {
    const char* name;
    std::function<void(RegistryData&)> change;
  };
  const Case cases[] = {
      {"a new key deep down, its ancestors with it", [](RegistryData& d) { d.CreateKey("New\\Deep\\Key"); }},
      {"an existing key spelt otherwise", [](RegistryData& d) { d.CreateKey("software\\ORVO TEAM"); }},
      {"a new value in an existing key",
       [](RegistryData& d) { d.SetValue("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", "x", RegistryValue::Dword(1)); }},
      {"a value replaced, its name spelt otherwise",
       [](RegistryData& d) {
         d.SetValue("SOFTWARE\\orvo team\\tq2\\odklon", "odklon_X1", RegistryValue::Dword(12345));
       }},
      {"a value set as it is", [](RegistryData& d) { d.SetValue("", "at the root", RegistryValue::Dword(0)); }},
      {"a value at the root", [](RegistryData& d) { d.SetValue("", "new at the root", RegistryValue::String("r")); }},
      {"a value in a new key, then changed again",
       [](RegistryData& d) {
         d.SetValue("Other\\Key", "v", RegistryValue::String(std::string(500, '%')));
         d.SetValue("Other\\Key", "v", RegistryValue::Dword(2));
       }},
      {"the whole data replaced",
       [](RegistryData& d) {
         RegistryData other;
         other.SetValue("software\\orvo team\\TQ2", "n", RegistryValue::Dword(3));
         d = other;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegistryData data = SampleRegistry();
    const RegistryData original = data;
    const std::string before = SerializeRegistry(data);
    RegistryChangeLog log(data);
    c.change(data);

    int64_t counted = static_cast<int64_t>(before.size());
    for (const auto& [path, was] : log.Before()) {
      if (const auto now = data.Keys().find(path); now != data.Keys().end())
        counted += static_cast<int64_t>(SerializedSize(now->first, now->second));
      if (was) counted -= static_cast<int64_t>(SerializedSize(path, *was));
    }
    EXPECT_EQ(counted, static_cast<int64_t>(SerializeRegistry(data).size()));

    log.Undo();
    EXPECT_EQ(data, original);
    EXPECT_EQ(SerializeRegistry(data), before);
  }
  // A copy of watched data is not watched.
  RegistryData data = SampleRegistry();
  RegistryChangeLog log(data);
  RegistryData copy = data;
  copy.CreateKey("Elsewhere");
  EXPECT_TRUE(log.Before().empty());
}

}  // namespace
}  // namespace tlb
