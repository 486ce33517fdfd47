#include "platform/core/strings.h"

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/paths.h"

namespace tlb {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TStrings& TStrings::operator=(const TStrings& other) {
  Assign(other);
  return *this;
}

void TStrings::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

int TStrings::Add(std::string s) {
  items_.push_back(std::move(s));
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int index, std::string s) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, std::move(s));
  Changed();
}

void TStrings::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

const std::string& TStrings::Strings(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TStrings::SetString(int index, std::string s) {
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)] = std::move(s);
  Changed();
}

int TStrings::IndexOf(std::string_view s) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (AnsiSameText(items_[i], s)) return static_cast<int>(i);
  }
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (const std::string& s : items_) {
    out += s;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(std::string_view text) {
  items_ = SplitLines(text);
  Changed();
}

void TStrings::LoadFromFile(std::string_view windowsPath) {
  const std::vector<uint8_t> bytes = ReadWholeFile(windowsPath);
  SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  items_ = other.items_;
  Changed();
}

void TStrings::Changed() {
  if (OnChange) OnChange();
}

}  // namespace tlb
