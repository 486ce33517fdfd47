#include "tune.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace gen {

namespace {

int pitchClass(char letter) {
  switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
  }
}

double lengthOf(const std::string& s, size_t& i, const std::string& token) {
  if (i >= s.size()) throw std::runtime_error("note without a length: " + token);
  double len;
  switch (s[i]) {
    case 'w': len = 4; break;
    case 'h': len = 2; break;
    case 'q': len = 1; break;
    case 'e': len = 0.5; break;
    case 's': len = 0.25; break;
    default: throw std::runtime_error("bad note length in " + token);
  }
  ++i;
  if (i < s.size() && s[i] == '.') len *= 1.5, ++i;
  if (i != s.size()) throw std::runtime_error("trailing text in note " + token);
  return len;
}

}  // namespace

double Tune::lengthBeats() const {
  double end = 0;
  for (const auto& n : melody) end = std::max(end, n.beat + n.length);
  for (const auto& c : chords) end = std::max(end, c.beat + c.length);
  return end;
}

std::vector<NoteEvent> parseMelody(const std::string& text, double startBeat) {
  std::vector<NoteEvent> out;
  std::istringstream in(text);
  std::string tok;
  double beat = startBeat;
  bool rest = false;
  while (in >> tok) {
    if (tok == "|") continue;
    if (tok == "r") {
      rest = true;
      continue;
    }
    size_t i = 0;
    if (rest) {
      beat += lengthOf(tok, i, "r " + tok);
      rest = false;
      continue;
    }
    int pc = pitchClass(tok[0]);
    if (pc < 0) throw std::runtime_error("bad note " + tok);
    i = 1;
    if (i < tok.size() && tok[i] == '#') ++pc, ++i;
    else if (i < tok.size() && tok[i] == 'b') --pc, ++i;
    if (i >= tok.size() || tok[i] < '0' || tok[i] > '8') throw std::runtime_error("note without octave: " + tok);
    int octave = tok[i++] - '0';
    double len = lengthOf(tok, i, tok);
    out.push_back({beat, len, 12 * (octave + 1) + pc});
    beat += len;
  }
  return out;
}

std::vector<ChordEvent> parseChords(const std::string& text, int beatsPerBar, double startBeat) {
  std::vector<ChordEvent> out;
  std::vector<std::string> bars;
  std::string cur;
  for (char ch : text + "|") {
    if (ch == '|') bars.push_back(cur), cur.clear();
    else cur += ch;
  }
  double beat = startBeat;
  for (const std::string& bar : bars) {
    std::istringstream in(bar);
    std::vector<std::string> syms;
    std::string s;
    while (in >> s) syms.push_back(s);
    if (syms.empty()) continue;
    double each = double(beatsPerBar) / syms.size();
    for (const std::string& sym : syms) {
      int pc = pitchClass(sym[0]);
      if (pc < 0) throw std::runtime_error("bad chord " + sym);
      size_t i = 1;
      if (i < sym.size() && sym[i] == '#') ++pc, ++i;
      else if (i < sym.size() && sym[i] == 'b') --pc, ++i;
      std::string kind = sym.substr(i);
      std::vector<int> iv;
      if (kind == "") iv = {0, 4, 7};
      else if (kind == "m") iv = {0, 3, 7};
      else if (kind == "7") iv = {0, 4, 7, 10};
      else if (kind == "m7") iv = {0, 3, 7, 10};
      else if (kind == "maj7") iv = {0, 4, 7, 11};
      else if (kind == "6") iv = {0, 4, 7, 9};
      else throw std::runtime_error("bad chord kind " + sym);
      out.push_back({beat, each, 60 + ((pc % 12) + 12) % 12, iv});
      beat += each;
    }
  }
  return out;
}

}  // namespace gen
