#pragma once
// Karaoke texts: a title, then one syllable per line with the moment in the
// recording at which it is sung, and "@" marks that end the display lines.
//
//   /Ententýky/          the title between its first and last character
//   -                    ignored
//   400*En               a syllable: time in ms, "*", the text shown
//   700*ten@             "@" closes the syllable and its display line
//   @                    a line of its own: the next display line
//
// The reader fills a fixed table of syllable records followed by one empty
// entry. Its size is the program's: 100 entries in the rhymes program, 140 in
// the songs program. A text with more syllables than the table holds stops at
// the capacity: the syllable lines past it are not read, and the last entry
// stays the empty one.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/strings.h"

namespace tq {

// One syllable of the table.
struct tslovo {
  int32_t Time = 0;   // position in the recording, ms, at which it is sung
  std::string Text;   // as shown; never holds "*", "@" or "$" (code page 1250)
  uint8_t Spare = 0;  // always 0
  uint8_t Done = 0;   // 1 once coloured in the current playback
  uint8_t Line = 0;   // display line, 1 up; 0 only in the empty entry
};

// Shows one of the reader's messages to the user and returns when it is closed.
using KaraokeReport = std::function<void(const std::string& message)>;

// The syllable table of a karaoke form and what the reader keeps beside it.
class KaraokeText {
 public:
  // `entries` is the table's size: 100 for the rhymes, 140 for the songs.
  explicit KaraokeText(int entries);

  int Entries() const { return int(table_.size()); }
  // Entry j, 1-based as the table is numbered (1 .. Entries()).
  tslovo& Entry(int j) { return table_.at(size_t(j - 1)); }
  const tslovo& Entry(int j) const { return table_.at(size_t(j - 1)); }

  // The number of syllables plus one, and the entries every loop over the table
  // visits: 1 to the low 8 bits of SyllableCount, which ends with the empty entry.
  uint16_t SyllableCount = 0;
  int VisitedEntries() const;
  uint16_t LineCounter = 0;
  std::string KaraokeTitle;

  // Reads the lines of a text (a list box's items) into the title and the table.
  // An empty list or a first line without "/" reports and changes nothing. A time
  // that does not read as a number reports "Chyba u detekce cisla snimku " with
  // the time text, "," and the record number, and the syllable is stored with the
  // value of the digits before the bad character.
  void Parse(const std::vector<std::string>& lines, const KaraokeReport& report);
  void Parse(const tlb::TStrings& items, const KaraokeReport& report) { Parse(items.Items(), report); }

  // Marks every visited entry as not yet coloured (a rhyme or song played again).
  void ClearDone();
  // Marks every entry of the table as not yet coloured.
  void ClearAllDone();

 private:
  std::vector<tslovo> table_;
};

// Reads a whole file's bytes as the list box would hold them (lines split at CR LF,
// CR or LF) into `text`. For tests and the fuzz target.
void ParseKaraokeBytes(KaraokeText& text, std::string_view bytes, const KaraokeReport& report);

}  // namespace tq
