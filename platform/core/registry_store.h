#pragma once
// The per-user registry: keys, typed values, the text file that holds them and
// the atomic replacement of that file. It is the only file the programs write.
//
// The file, $XDG_CONFIG_HOME/tulimbo/registry (or ~/.config/tulimbo/registry),
// is UTF-8 text:
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
// A file that breaks these rules (edited by hand, cut off, or written over) is
// damaged: every entry that can still be read is kept, and only what cannot be
// read is left out. A line that cannot be read is skipped; the values under a
// key line that cannot be read are skipped with it, since they have no key. A
// last line without its line break may have been cut off and is skipped (a
// number cut short would read as another number). A file of another version of
// the format reads as empty.
//
// The registry's path may be a link (say, into a folder of the user's own
// configuration files): reads follow it, and writes replace the file at the
// end of its chain of links, so the links stay as they are.
//
// A file that is there but cannot be read (no permission to read it, a folder
// in its place, links that lead round in a loop) is left as it is: the program
// runs on its defaults and does not save them, and says so once on standard
// error.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tlb {

enum class RegistryType : uint8_t { Dword, String };

struct RegistryValue {
  RegistryType type = RegistryType::String;
  uint32_t dword = 0;  // for Dword
  std::string text;    // for String, code page 1250
  bool operator==(const RegistryValue&) const = default;

  static RegistryValue Dword(uint32_t v) { return {RegistryType::Dword, v, {}}; }
  static RegistryValue String(std::string s) { return {RegistryType::String, 0, std::move(s)}; }
};

// All keys and values in memory. Key paths are backslash-separated and
// case-insensitive (code page 1250 rules), as are value names; the spelling
// that created a key or value is kept for the file.
class RegistryData {
 public:
  struct NamedValue {
    std::string name;
    RegistryValue value;
    bool operator==(const NamedValue&) const = default;
  };
  struct Key {
    std::string path;                              // normalised spelling
    std::map<std::string, NamedValue> values;      // by lower-case name
    bool operator==(const Key&) const = default;
  };

  // Drops leading, trailing and repeated backslashes: "\\A\\\\B\\" -> "A\\B".
  // "" is the root key, which always exists.
  static std::string NormalizeKey(std::string_view path);

  bool KeyExists(std::string_view path) const;
  // Creates the key and its missing ancestors.
  void CreateKey(std::string_view path);
  const RegistryValue* FindValue(std::string_view key, std::string_view name) const;
  // Sets a value, creating the key when it is missing.
  void SetValue(std::string_view key, std::string_view name, RegistryValue value);

  // Keys by lower-case normalised path; a parent sorts before its children.
  const std::map<std::string, Key>& Keys() const { return keys_; }
  bool operator==(const RegistryData&) const = default;

 private:
  Key* FindKey(std::string_view normalized);
  const Key* FindKey(std::string_view normalized) const;

  std::map<std::string, Key> keys_;
};

// The file format.
std::string SerializeRegistry(const RegistryData& data);

struct ParsedRegistry {
  RegistryData data;   // every entry that could be read
  bool whole = false;  // false when the text was damaged and something was left out
};
ParsedRegistry ParseRegistry(std::string_view text);

// How much of a registry file is read; a larger file is read up to this size,
// as far as it parses, and counts as damaged.
inline constexpr size_t kMaxRegistryFileSize = size_t{16} << 20;

// The registry file in one folder (UTF-8 path).
class RegistryStore {
 public:
  explicit RegistryStore(std::string folder);

  // $XDG_CONFIG_HOME/tulimbo when XDG_CONFIG_HOME is an absolute path, else
  // $HOME/.config/tulimbo (the home folder from the user database when HOME
  // is unset). Empty when no home folder is known.
  static std::string DefaultFolder();

  const std::string& Folder() const { return folder_; }
  std::string FilePath() const;

  // Where a damaged file is kept: beside the file the registry's path leads
  // to, through any links, with ".damaged" added to its name.
  std::string DamagedPath() const;

  // The stored registry: what can be read of it (of a file over the size limit,
  // of its first kMaxRegistryFileSize bytes). A missing file reads as empty; so
  // does one that cannot be read, which the first time in the process says so
  // on standard error. What was parsed of a file is kept in the process and
  // used again while the file stays the same: same device, inode, size and
  // modification and change times, and, while its modification is recent
  // enough to hide in a coarse time stamp, the same bytes.
  RegistryData Load() const;
  // The same without a copy: the data stays as it is while the pointer lives.
  std::shared_ptr<const RegistryData> Snapshot() const;

  // Applies change to the stored registry and writes the result at once: under
  // an exclusive lock (registry.lock beside the file) it reads the file again,
  // applies change, writes a temporary file beside the file, flushes it to disk
  // and renames it over the old file, so a reader sees the old or the new
  // registry and never a mix. When the registry's path is a link, the file is
  // the one at the end of the chain of links (created when missing), and the
  // temporary file goes beside that one. The folder is created when missing. A
  // result equal to the file as it stands is not written again.
  //
  // A damaged file (one over the size limit too) is first kept as
  // <file>.damaged beside it (registry.damaged, unless the path is a link), so
  // that what could not be read is not lost; the first time in the process this
  // says on standard error where the copy is. A different copy kept before
  // moves to <file>.damaged.N, N one past the highest number in use, so the
  // numbers follow the copies' age; a copy that is the same is not kept twice.
  //
  // A file that cannot be read (a link loop, a folder or a pipe in its place
  // included) is left alone and not written: Update
  // returns false, and the notice that it cannot be read is the only one. Else
  // returns false (errno set) when the file cannot be written; the first such
  // failure in the process says on standard error that the settings could not
  // be saved, and why.
  bool Update(const std::function<void(RegistryData&)>& change);

 private:
  enum class Outcome { Written, Failed, Unreadable };
  Outcome UpdateFile(const std::function<void(RegistryData&)>& change);

  std::string folder_;
};

}  // namespace tlb
