#include "platform/core/registry.h"

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

[[noreturn]] void ThrowInvalidType(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

}  // namespace

TRegistry::TRegistry() : store_(RegistryStore::DefaultFolder()) {}

TRegistry::~TRegistry() = default;

void TRegistry::CheckRoot() const {
  if (RootKey != HKEY_CURRENT_USER) {
    throw EUnsupported("TRegistry: only the root key HKEY_CURRENT_USER is supported");
  }
}

std::string TRegistry::FullPath(const std::string& key) const {
  if (!key.empty() && key[0] == '\\') return RegistryData::NormalizeKey(key);
  if (CurrentPath.empty()) return RegistryData::NormalizeKey(key);
  return RegistryData::NormalizeKey(CurrentPath + "\\" + key);
}

bool TRegistry::CreateKey(const std::string& key) {
  CheckRoot();
  const std::string path = FullPath(key);
  if (store_.Snapshot()->KeyExists(path)) return true;
  if (!store_.Update([&path](RegistryData& data) { data.CreateKey(path); })) {
    throw ERegistryException("Failed to create key " + key);
  }
  return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  CheckRoot();
  const std::string path = FullPath(key);
  if (!store_.Snapshot()->KeyExists(path)) {
    if (!canCreate) return false;
    if (!store_.Update([&path](RegistryData& data) { data.CreateKey(path); })) return false;
  }
  CurrentPath = path;
  return true;
}

void TRegistry::CloseKey() { CurrentPath.clear(); }

int TRegistry::ReadInteger(const std::string& name) {
  CheckRoot();
  const std::shared_ptr<const RegistryData> data = store_.Snapshot();
  const RegistryValue* value = data->FindValue(CurrentPath, name);
  if (value == nullptr || value->type != RegistryType::Dword) ThrowInvalidType(name);
  return static_cast<int>(value->dword);
}

std::string TRegistry::ReadString(const std::string& name) {
  CheckRoot();
  const std::shared_ptr<const RegistryData> data = store_.Snapshot();
  const RegistryValue* value = data->FindValue(CurrentPath, name);
  if (value == nullptr) return "";
  if (value->type != RegistryType::String) ThrowInvalidType(name);
  return value->text;
}

void TRegistry::Write(const std::string& name, RegistryValue value) {
  CheckRoot();
  const std::string path = CurrentPath;
  if (!store_.Update([&](RegistryData& data) { data.SetValue(path, name, value); })) {
    throw ERegistryException("Failed to set data for '" + name + "'");
  }
}

void TRegistry::WriteInteger(const std::string& name, int value) {
  Write(name, RegistryValue::Dword(static_cast<uint32_t>(value)));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  Write(name, RegistryValue::String(value));
}

bool TRegistry::ValueExists(const std::string& name) {
  CheckRoot();
  return store_.Snapshot()->FindValue(CurrentPath, name) != nullptr;
}

}  // namespace tlb
