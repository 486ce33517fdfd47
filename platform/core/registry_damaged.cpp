#include "platform/core/registry_damaged.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "platform/core/registry_write.h"

namespace tlb {
namespace {

// The number ending a copy's name, when it is one: digits only, no more than
// a 32-bit number holds.
std::optional<uint32_t> CopyNumber(std::string_view digits) {
  uint32_t n = 0;
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return n;
}

// The name for the next older damaged copy of file, <file>.damaged.N with N
// one past the highest number in use. nullopt (errno set) when the folder
// cannot be listed.
std::optional<std::string> NextOlderCopyPath(const std::string& file) {
  const std::string folder = FolderOf(file);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  const std::string prefix = NameOf(file) + std::string(kDamagedSuffix) + ".";
  uint64_t highest = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
    if (const std::optional<uint32_t> n = CopyNumber(name.substr(prefix.size())))
      highest = std::max<uint64_t>(highest, *n);
  }
  const int err = errno;
  ::closedir(dir);
  if (err != 0) {
    // A number missed in a list cut short could be written over.
    errno = err;
    return std::nullopt;
  }
  return folder + "/" + prefix + std::to_string(highest + 1);
}

}  // namespace

bool KeepDamagedCopy(const std::string& file, bool readWhole, std::optional<mode_t> mode) {
  const std::string damaged = file + std::string(kDamagedSuffix);
  struct stat st;
  if (::lstat(damaged.c_str(), &st) == 0) {
    const bool same = S_ISREG(st.st_mode) && FilesMatch(file, damaged);
    if (same && readWhole) return true;
    if (!same) {
      const std::optional<std::string> older = NextOlderCopyPath(file);
      if (!older) return false;
      if (::lstat(older->c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
      }
      if (errno != ENOENT) return false;
      if (::rename(damaged.c_str(), older->c_str()) != 0) return false;
    }
  } else if (errno != ENOENT) {
    return false;
  }
  return readWhole ? ReplaceWithCopy(damaged, mode, file) : ::rename(file.c_str(), damaged.c_str()) == 0;
}

}  // namespace tlb
