#include "karaoke.h"

#include <cmath>
#include <stdexcept>

#include "cp1250.h"

namespace gen {

namespace {

std::string spokenForm(const std::string& shown) {
  std::string out;
  for (char ch : shown) {
    if (ch == ',' || ch == '.' || ch == '!' || ch == '?' || ch == ';' || ch == ':' || ch == ' ' || ch == '"') continue;
    out += (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch;
  }
  // A vowel on its own would be read as the letter's name ("é", "á"); say the short sound instead.
  if (out == "a" || out == "e" || out == "i" || out == "o" || out == "u") return "[['" + out + "]]";
  if (out == "y") return "[['i]]";
  return out;
}

}  // namespace

std::vector<Syllable> splitLine(const std::string& line) {
  std::vector<Syllable> out;
  size_t start = 0;
  bool wordStart = true;
  while (start <= line.size()) {
    size_t slash = line.find('/', start);
    std::string piece = line.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    Syllable s;
    size_t eq = piece.find('=');
    if (eq != std::string::npos) {
      s.text = piece.substr(0, eq);
      s.speak = piece.substr(eq + 1);
    } else {
      s.text = piece;
      s.speak = spokenForm(piece);
    }
    for (char bad : {'*', '@', '$'})
      if (s.text.find(bad) != std::string::npos) throw std::runtime_error("karaoke syllable with a mark: " + s.text);
    if (s.speak.empty()) throw std::runtime_error("karaoke syllable with nothing to say: \"" + s.text + "\"");
    s.wordStart = wordStart;
    wordStart = !s.text.empty() && s.text.back() == ' ';
    out.push_back(s);
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  if (!out.empty()) out.back().lineEnd = true;
  return out;
}

std::string synFile(const std::string& title, const std::vector<Syllable>& syllables) {
  std::string t = "/" + title + "/\r\n";
  t += "-\r\n";  // the second line is not read
  for (size_t i = 0; i < syllables.size(); ++i) {
    const Syllable& s = syllables[i];
    t += std::to_string(long(std::lround(s.time * 1000))) + "*" + s.text;
    if (s.lineEnd && i + 1 < syllables.size()) t += "@";
    t += "\r\n";
  }
  return toCp1250(t);
}

}  // namespace gen
