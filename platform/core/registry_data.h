#pragma once
// The registry in memory: keys and their typed values. Key paths are
// backslash-separated and case-insensitive (code page 1250 rules), as are value
// names; the spelling that created a key or value is kept for the file, and
// only that spelling is stored.
//
// A RegistryChangeLog watching the data records what a change did to it, so
// that the change can be measured (the size of the file it would make) and
// taken back (when that file is not written).
#include <cstdint>
#include <map>
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

class RegistryChangeLog;

// Orders strings as their lower-case forms (code page 1250) order them, so
// that strings that differ only in case are the same. It takes string views,
// so a lookup needs no string of its own.
struct CaseInsensitiveLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// All keys and values in memory. Every key's ancestors exist with it.
class RegistryData {
 public:
  // A key's values, by name: the spelling that made each.
  using Values = std::map<std::string, RegistryValue, CaseInsensitiveLess>;
  struct Key {
    Values values;
    bool operator==(const Key&) const = default;
  };
  // Keys by normalised path: the spelling that made each. A parent sorts
  // before its children.
  using KeyMap = std::map<std::string, Key, CaseInsensitiveLess>;

  RegistryData() = default;
  // A copy is data of its own: the log watching the original does not watch
  // it. Data assigned to watched data is a change of every key it touches.
  RegistryData(const RegistryData& other) : keys_(other.keys_) {}
  RegistryData(RegistryData&& other) noexcept : keys_(std::move(other.keys_)) {}
  RegistryData& operator=(const RegistryData& other);
  RegistryData& operator=(RegistryData&& other);

  // Drops leading, trailing and repeated backslashes: "\\A\\\\B\\" -> "A\\B".
  // "" is the root key, which always exists.
  static std::string NormalizeKey(std::string_view path);

  bool KeyExists(std::string_view path) const;
  // Creates the key and its missing ancestors.
  void CreateKey(std::string_view path);
  const RegistryValue* FindValue(std::string_view key, std::string_view name) const;
  // Sets a value, creating the key when it is missing.
  void SetValue(std::string_view key, std::string_view name, RegistryValue value);

  const KeyMap& Keys() const { return keys_; }
  bool operator==(const RegistryData& other) const { return keys_ == other.keys_; }

 private:
  friend class RegistryChangeLog;
  friend class RegistryParser;  // fills the data a line at a time, without looking each key up again

  // The key at a normalised path, made with its missing ancestors when it is
  // missing ("" makes the root's entry, which holds the root's values).
  KeyMap::iterator MakeKey(std::string_view normalized);
  void SetValueOf(KeyMap::iterator key, std::string_view name, RegistryValue value);
  // Tells the watching log, before a change, what the key at path was
  // (nullptr: it is about to be made).
  void BeforeChange(std::string_view path, const Key* before);
  void BeforeReplacedBy(const KeyMap& keys);

  KeyMap keys_;
  RegistryChangeLog* log_ = nullptr;
};

// Watches a RegistryData while it lives and remembers each key as it was
// before its first change. One log watches a data at a time.
class RegistryChangeLog {
 public:
  explicit RegistryChangeLog(RegistryData& data) : data_(data) { data_.log_ = this; }
  ~RegistryChangeLog() { data_.log_ = nullptr; }
  RegistryChangeLog(const RegistryChangeLog&) = delete;
  RegistryChangeLog& operator=(const RegistryChangeLog&) = delete;

  using Changed = std::map<std::string, std::optional<RegistryData::Key>, CaseInsensitiveLess>;
  // The keys changed, by path, each as it was before its first change;
  // nullopt for a key the changes made.
  const Changed& Before() const { return before_; }
  // Puts every changed key back as it was (the data is equal to what it was
  // when the log began to watch it) and forgets the changes.
  void Undo();

 private:
  friend class RegistryData;
  RegistryData& data_;
  Changed before_;
};

}  // namespace tlb
