#pragma once
// The registry file's text format. The file is UTF-8 text:
//
//   # comment lines and blank lines are ignored
//   tulimbo-registry 1
//   key "Software\Orvo Team\TQ2\Nastaveni - Hry"
//     dword "Hry_starty" 5
//     sz "ODKLON_x1" "some text"
//   end
//
// The first line that is not a comment names the format and its version; each
// "key" line opens a key (its ancestors exist with it), and the "dword" and
// "sz" lines after it are that key's values. Names and strings are code page
// 1250 byte strings written between quotes: a character of the code page is
// written as its UTF-8 form; the quote, '%', control bytes and the code page's
// undefined bytes are written as %XX. Any byte string therefore survives. The
// closing "end" line shows the file is whole.
//
// A line ends with a line feed, or with CR LF as files edited on other systems
// do; a CR anywhere else is damage.
//
// A text that breaks these rules (edited by hand, cut off, or written over) is
// damaged: every entry that can still be read is kept, and only what cannot be
// read is left out. A line that cannot be read is skipped; the values under a
// key line that cannot be read are skipped with it, since they have no key. A
// last line without its line break may have been cut off and is skipped (a
// number cut short would read as another number). A text of another version of
// the format reads as empty.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/registry_data.h"

namespace tlb {

// The largest registry text: a file is read up to this size (a larger one
// reads as far as its first kMaxRegistryFileSize bytes parse, and counts as
// damaged), and no larger one is written.
inline constexpr size_t kMaxRegistryFileSize = size_t{16} << 20;

std::string SerializeRegistry(const RegistryData& data);
// The size of SerializeRegistry(data), counted without making the text: a
// fixed part and what each key adds.
size_t SerializedSize(const RegistryData& data);
// What one key adds to it: its key line and the lines of its values.
size_t SerializedSize(std::string_view path, const RegistryData::Key& key);

struct ParsedRegistry {
  RegistryData data;   // every entry that could be read
  bool whole = false;  // false when the text was damaged and something was left out
  bool operator==(const ParsedRegistry&) const = default;
};

// Reads a registry text a piece at a time, so that a large file need not be
// held whole: the pieces together read as ParseRegistry of the whole text,
// wherever they are cut.
class RegistryParser {
 public:
  // Reads the lines this piece completes; a line it leaves open waits for the
  // next piece.
  void Feed(std::string_view piece);
  // The text has ended: its last line, if it has no line break, may have been
  // cut off and is skipped.
  ParsedRegistry Finish();

 private:
  void ReadLine(std::string_view line, bool cutOff);
  bool ReadEntry(std::string_view word, std::string_view rest);

  std::string open_;  // the start of a line the next piece goes on with
  ParsedRegistry result_;
  bool damaged_ = false;
  bool contentSeen_ = false;   // a line that is neither blank nor a comment
  bool headerSeen_ = false;
  bool otherVersion_ = false;  // the rest is not read
  bool ended_ = false;
  // The key the value lines belong to (none after a key line that cannot be
  // read), and its entry once made (the root's is made with its first value).
  std::optional<std::string> currentKey_;
  std::optional<RegistryData::KeyMap::iterator> currentEntry_;
};

ParsedRegistry ParseRegistry(std::string_view text);

}  // namespace tlb
