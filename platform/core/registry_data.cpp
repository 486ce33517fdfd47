#include "platform/core/registry_data.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/core/cp1250.h"

namespace tlb {

namespace {

// AnsiLowerChar as a table, for the comparisons that order the keys.
struct LowerTable {
  std::array<uint8_t, 256> lower{};
  LowerTable() {
    for (int b = 0; b < 256; ++b) lower[b] = static_cast<uint8_t>(AnsiLowerChar(static_cast<char>(b)));
  }
};
}  // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  static const LowerTable kLower;  // made at first use, whatever the order of start-up
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (;;) {
    // Paths share long beginnings: equal bytes are passed eight at a time.
    for (uint64_t wordA, wordB; i + 8 <= common; i += 8) {
      std::memcpy(&wordA, a.data() + i, 8);
      std::memcpy(&wordB, b.data() + i, 8);
      if (wordA != wordB) break;
    }
    while (i < common && a[i] == b[i]) ++i;
    if (i == common) return a.size() < b.size();
    const uint8_t lowerA = kLower.lower[static_cast<uint8_t>(a[i])];
    const uint8_t lowerB = kLower.lower[static_cast<uint8_t>(b[i])];
    if (lowerA != lowerB) return lowerA < lowerB;
    ++i;
  }
}

std::string RegistryData::NormalizeKey(std::string_view path) {
  std::string out;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    if (end > pos) {
      if (!out.empty()) out += '\\';
      out.append(path.substr(pos, end - pos));
    }
    pos = end + 1;
  }
  return out;
}

RegistryData& RegistryData::operator=(const RegistryData& other) {
  if (this != &other) {
    BeforeReplacedBy(other.keys_);
    keys_ = other.keys_;
  }
  return *this;
}

RegistryData& RegistryData::operator=(RegistryData&& other) {
  if (this != &other) {
    BeforeReplacedBy(other.keys_);
    keys_ = std::move(other.keys_);
  }
  return *this;
}

bool RegistryData::KeyExists(std::string_view path) const {
  const std::string normalized = NormalizeKey(path);
  return normalized.empty() || keys_.count(normalized) != 0;
}

void RegistryData::CreateKey(std::string_view path) {
  const std::string normalized = NormalizeKey(path);
  if (!normalized.empty()) MakeKey(normalized);
}

const RegistryValue* RegistryData::FindValue(std::string_view key, std::string_view name) const {
  const auto k = keys_.find(NormalizeKey(key));
  if (k == keys_.end()) return nullptr;
  const auto v = k->second.values.find(name);
  return v == k->second.values.end() ? nullptr : &v->second;
}

void RegistryData::SetValue(std::string_view key, std::string_view name, RegistryValue value) {
  SetValueOf(MakeKey(NormalizeKey(key)), name, std::move(value));
}

RegistryData::KeyMap::iterator RegistryData::MakeKey(std::string_view normalized) {
  auto at = keys_.lower_bound(normalized);
  if (at != keys_.end() && !keys_.key_comp()(normalized, at->first)) return at;
  BeforeChange(normalized, nullptr);
  const auto made = keys_.emplace_hint(at, normalized, Key{});
  // Its missing ancestors, the nearest first: one that exists has all of its own.
  for (size_t slash = normalized.rfind('\\'); slash != std::string_view::npos; slash = normalized.rfind('\\')) {
    normalized = normalized.substr(0, slash);
    at = keys_.lower_bound(normalized);
    if (at != keys_.end() && !keys_.key_comp()(normalized, at->first)) break;
    BeforeChange(normalized, nullptr);
    keys_.emplace_hint(at, normalized, Key{});
  }
  return made;
}

void RegistryData::SetValueOf(KeyMap::iterator key, std::string_view name, RegistryValue value) {
  Values& values = key->second.values;
  const auto at = values.lower_bound(name);
  if (at != values.end() && !values.key_comp()(name, at->first)) {
    if (at->second == value) return;
    BeforeChange(key->first, &key->second);
    at->second = std::move(value);
  } else {
    BeforeChange(key->first, &key->second);
    values.emplace_hint(at, name, std::move(value));
  }
}

void RegistryData::BeforeChange(std::string_view path, const Key* before) {
  if (log_ == nullptr || log_->before_.count(path) != 0) return;
  log_->before_.emplace(path, before != nullptr ? std::optional<Key>(*before) : std::nullopt);
}

void RegistryData::BeforeReplacedBy(const KeyMap& keys) {
  if (log_ == nullptr) return;
  for (const auto& [path, key] : keys_) BeforeChange(path, &key);
  for (const auto& [path, key] : keys)
    if (keys_.count(path) == 0) BeforeChange(path, nullptr);
}

void RegistryChangeLog::Undo() {
  RegistryData::KeyMap& keys = data_.keys_;
  for (auto& [path, before] : before_) {
    // Erased and made again, so that the key has the spelling it had.
    keys.erase(path);
    if (before) keys.emplace(path, std::move(*before));
  }
  before_.clear();
}

}  // namespace tlb
