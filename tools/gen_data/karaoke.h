#pragma once
// Karaoke texts: syllables with the moment each is heard, and their file form.
#include <string>
#include <vector>

namespace gen {

struct Syllable {
  std::string text;   // as displayed (UTF-8), blanks and punctuation included
  std::string speak;  // what espeak-ng is asked to say
  bool wordStart = false;
  bool lineEnd = false;  // the last syllable of its display line
  double time = 0;       // seconds into the recording
};

// What espeak-ng is asked to say for a displayed syllable: punctuation and
// capitals dropped, and lone letters spelt so that they sound as in a chant.
std::string spokenForm(const std::string& shown);

// Splits a display line written with "/" between syllables ("En/ten/tý/ky, /dva ...").
// A piece "shown=said" speaks something else than it shows.
std::vector<Syllable> splitLine(const std::string& line);

// The file: "/title/", an ignored second line, then "ms*text" lines with "@"
// ending each display line; CR LF line ends; code page 1250.
std::string synFile(const std::string& title, const std::vector<Syllable>& syllables);

}  // namespace gen
