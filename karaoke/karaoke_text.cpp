#include "karaoke/karaoke_text.h"

#include <algorithm>

#include "platform/core/sysutils.h"

namespace tq {

KaraokeText::KaraokeText(int entries) : table_(size_t(std::max(entries, 1))) {}

int KaraokeText::VisitedEntries() const {
  // The loops count with an 8-bit index; the reader never lets the count pass the table.
  return std::min<int>(SyllableCount & 0xFF, Entries());
}

void KaraokeText::ClearDone() {
  for (int j = 1; j <= VisitedEntries(); ++j) Entry(j).Done = 0;
}

void KaraokeText::ClearAllDone() {
  for (tslovo& s : table_) s.Done = 0;
}

void KaraokeText::Parse(const std::vector<std::string>& lines, const KaraokeReport& report) {
  if (lines.empty()) {
    report("Neni nacteny zadny text pro dekodovani karaoke.");
    return;
  }
  if (lines[0].empty() || lines[0][0] != '/') {
    report("Format pro karaoke neni spravny.");
    return;
  }
  // The title is the first line without its first and its last character.
  std::string title = lines[0].substr(1);
  if (!title.empty()) title.pop_back();
  KaraokeTitle = title;

  for (tslovo& s : table_) s = tslovo{};
  LineCounter = 1;
  int j = 1;
  for (size_t i = 2; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    // The time text runs to the first "*"; an "@" before it makes the line a line break.
    size_t star = std::string::npos;
    bool lineBreak = false;
    for (size_t k = 0; k < line.size(); ++k) {
      if (line[k] == '@') {
        lineBreak = true;
        break;
      }
      if (line[k] == '*') {
        star = k;
        break;
      }
    }
    if (lineBreak) {
      ++LineCounter;
      continue;
    }
    // The last entry must stay the empty one: a text longer than the table stops here.
    if (j >= Entries()) break;
    tslovo& entry = Entry(j);
    entry.Spare = 0;
    std::string timeText = star == std::string::npos ? line : line.substr(0, star);
    size_t textStart = star == std::string::npos ? 0 : star + 1;

    int errorPos = 0;
    entry.Time = tlb::Val(timeText, errorPos);
    if (errorPos != 0) report("Chyba u detekce cisla snimku " + timeText + "," + tlb::IntToStr(j));

    entry.Line = uint8_t(LineCounter & 0xFF);
    std::string text;
    for (size_t k = textStart; k < line.size(); ++k) {
      char c = line[k];
      if (c == '*') break;
      if (c == '@') {
        // This syllable ends its display line; the next one starts the next line.
        ++LineCounter;
        break;
      }
      if (c != '$') text += c;
    }
    entry.Text = std::move(text);
    entry.Done = 0;
    ++j;
  }
  SyllableCount = uint16_t(j);
}

void ParseKaraokeBytes(KaraokeText& text, std::string_view bytes, const KaraokeReport& report) {
  text.Parse(tlb::SplitLines(bytes), report);
}

}  // namespace tq
