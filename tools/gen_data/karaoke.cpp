#include "karaoke.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "cp1250.h"

namespace gen {

std::string spokenForm(const std::string& shown) {
  std::vector<std::string> words;
  std::string word;
  for (char ch : shown + " ") {
    if (ch == ',' || ch == '.' || ch == '!' || ch == '?' || ch == ';' || ch == ':' || ch == '"') continue;
    if (ch == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      continue;
    }
    word += (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch;
  }
  // A letter standing alone is read as the letter's name ("o" as "ó", "z" as
  // "zet", "s" as "es"), but a child chanting says its sound. A lone vowel is
  // spelt as its short phoneme; a lone consonant (the prepositions z, v, s, k)
  // is said together with the word that follows it, as it is in speech.
  std::string out, glued;
  bool inPhonemes = false;
  for (const std::string& w : words) {
    const bool vowel = w == "a" || w == "e" || w == "i" || w == "o" || w == "u" || w == "y";
    if (w.size() == 1 && !vowel) {
      glued += w;
      continue;
    }
    if (vowel && glued.empty()) {
      out += inPhonemes ? " '" : std::string(out.empty() ? "" : " ") + "[['";
      out += w == "y" ? "i" : w;
      inPhonemes = true;
      continue;
    }
    if (inPhonemes) out += "]]";
    inPhonemes = false;
    if (!out.empty()) out += " ";
    out += glued + w;
    glued.clear();
  }
  if (inPhonemes) out += "]]";
  if (!glued.empty()) out += (out.empty() ? "" : " ") + glued;
  return out;
}

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
