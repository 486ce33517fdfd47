#pragma once
// The class library's string lists: the items of list boxes and memos, and the
// karaoke texts read from files. Strings are code page 1250 byte strings.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tlb {

class TStrings {
 public:
  TStrings() = default;
  TStrings(const TStrings& other) : items_(other.items_) {}
  TStrings& operator=(const TStrings& other);
  virtual ~TStrings() = default;

  // Appends and returns the new string's index.
  int Add(std::string s);
  // Inserts before index; index may be Count() to append.
  void Insert(int index, std::string s);
  void Delete(int index);
  // Empties the list; OnChange fires only when there was something to remove.
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }

  // Index out of range throws EListError("List index out of bounds (<i>)").
  const std::string& operator[](int index) const { return Strings(index); }
  const std::string& Strings(int index) const;
  void SetString(int index, std::string s);

  // The first index of a string equal to s ignoring case (code page 1250
  // rules, as the class library compares list strings), or -1.
  int IndexOf(std::string_view s) const;

  // Every string followed by CR LF.
  std::string Text() const;
  // Replaces the list by the lines of text, split as LoadFromFile does.
  void SetText(std::string_view text);

  // Replaces the list by the lines of a file (through ReadWholeFile, so a
  // missing file throws EFOpenError and leaves the list as it was). Lines end
  // with CR LF, a lone CR or a lone LF; a last line without an end is kept, and
  // a final line break adds no empty line.
  void LoadFromFile(std::string_view windowsPath);

  void Assign(const TStrings& other);

  const std::vector<std::string>& Items() const { return items_; }

  // Fired after every change of the list.
  std::function<void()> OnChange;

 protected:
  // Called after each change; the default fires OnChange.
  virtual void Changed();

 private:
  void CheckIndex(int index, int count) const;

  std::vector<std::string> items_;
};

class TStringList : public TStrings {
 public:
  using TStrings::TStrings;
};

// Splits text into lines at CR LF, a lone CR or a lone LF.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace tlb
