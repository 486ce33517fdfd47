// The rhymes are chanted, not spelt: a syllable that is a lone letter ("o",
// "a u", "z e") must reach the speech engine spelt so that it says the sound,
// not the letter's name. espeak-ng -x prints the phonemes it says for a text.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "karaoke.h"
#include "songbook.h"

namespace {

// The phonemes espeak-ng says for `text` in `voice`, blanks trimmed; empty
// when the program cannot be run.
std::string phonemes(const std::string& voice, const std::string& text) {
  std::string quoted = "'";
  for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  quoted += "'";
  std::string command = "espeak-ng -q -x -v " + voice + " " + quoted + " 2>/dev/null";
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[256];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  size_t first = out.find_first_not_of(" \r\n"), last = out.find_last_not_of(" \r\n");
  return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

TEST(RhymeSpeech, LoneLettersAreSaidAsSoundsNotLetterNames) {
  if (phonemes("cs", "a").empty()) GTEST_SKIP() << "espeak-ng cannot be run";
  struct Case {
    const char* shown;
    const char* said;  // espeak-ng's phonemes
  };
  const Case cases[] = {
      {"o ", "'o"},     // "nos o plot": not the name "ó"
      {"a ", "'a"},     // "a to/mu": not "á"
      {"u", "'u"},      // "u/li/ty"
      {"E", "'e"},      // "E/ny/ky": not "é"
      {"e", "'e"},      // "e/ne, be/ne"
      {"z e", "z'e"},   // "z e/lek/tri/ky": not "s é"
      {"a u", "'a 'u"}, // "a u/le/tě/la": two sounds, no diphthong
      {"V po", "fp'o"}, // "V po/to/ce": the preposition joins its word
  };
  for (const Case& c : cases) EXPECT_EQ(phonemes("cs", gen::spokenForm(c.shown)), c.said) << "\"" << c.shown << "\"";
}

// Every syllable of every rhyme: one spoken piece (a letter said on its own
// would stand apart, after a pause "_"), and a long vowel only where the
// syllable is written with one (a letter's name is long: "ó", "é", "á").
TEST(RhymeSpeech, EverySyllableIsOnePieceWithLongVowelsOnlyWhereWritten) {
  if (phonemes("cs", "a").empty()) GTEST_SKIP() << "espeak-ng cannot be run";
  std::set<std::string> seen;
  for (const gen::Rhyme& r : gen::rhymes())
    for (const std::string& line : r.lines)
      for (const gen::Syllable& s : gen::splitLine(line)) {
        if (!seen.insert(s.speak).second) continue;
        const std::string said = phonemes("cs", s.speak);
        SCOPED_TRACE("\"" + s.text + "\" said as " + said);
        EXPECT_FALSE(said.empty());
        EXPECT_EQ(said.find('_'), std::string::npos) << "said in pieces";
        bool longWritten = false;
        for (const char* v : {"á", "é", "í", "ó", "ú", "ů", "ý", "Á", "É", "Í", "Ó", "Ú", "Ý"})
          longWritten = longWritten || s.text.find(v) != std::string::npos;
        if (!longWritten) {
          EXPECT_EQ(said.find(':'), std::string::npos) << "a long vowel that is not written";
        }
      }
}

}  // namespace
