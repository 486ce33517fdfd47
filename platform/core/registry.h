#pragma once
// The class library's registry wrapper over the per-user registry file
// (registry_store.h). Every read looks at the file as it stands (parsing it
// again only when it has changed), and every write replaces the file at once,
// so two programs see each other's values.
#include <cstdint>
#include <string>

#include "platform/core/registry_store.h"

namespace tlb {

// Root keys as the system names them. Only HKEY_CURRENT_USER is supported.
using HKEY = uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

class TRegistry {
 public:
  // Uses RegistryStore::DefaultFolder() as it is when the wrapper is made.
  TRegistry();
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Key paths below: a key that starts with a backslash is taken from the
  // root; any other is relative to the open key, or to the root when no key
  // is open. Every operation with a RootKey other than HKEY_CURRENT_USER
  // throws EUnsupported.

  // Creates the key (and its ancestors) without opening it. Returns true, as
  // the key exists afterwards; a failure to write throws
  // ERegistryException("Failed to create key <key>").
  bool CreateKey(const std::string& key);
  // Opens the key, creating it first when canCreate is set. Returns false
  // when the key is missing (and not to be created) or cannot be created.
  // An open key is replaced by the new one.
  bool OpenKey(const std::string& key, bool canCreate);
  void CloseKey();

  // The values of the open key (or of the root when none is open).
  // A missing value or one that is not a DWORD throws
  // ERegistryException("Invalid data type for '<name>'").
  int ReadInteger(const std::string& name);
  // A missing value reads as ""; a value that is not a string throws as above.
  std::string ReadString(const std::string& name);
  // A failure to write throws ERegistryException("Failed to set data for '<name>'").
  void WriteInteger(const std::string& name, int value);
  void WriteString(const std::string& name, const std::string& value);
  bool ValueExists(const std::string& name);

  HKEY RootKey = HKEY_CURRENT_USER;
  // The open key's path without a leading backslash; "" when none is open.
  std::string CurrentPath;

 private:
  void CheckRoot() const;
  std::string FullPath(const std::string& key) const;
  void Write(const std::string& name, RegistryValue value);

  RegistryStore store_;
};

}  // namespace tlb
