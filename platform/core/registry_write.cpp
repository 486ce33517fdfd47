#include "platform/core/registry_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tlb {
namespace {

constexpr size_t kBlock = 16384;

// A temporary file is named after the file it replaces, with this and six
// letters or digits chosen when it is made.
constexpr std::string_view kTempInfix = ".tmp.";
constexpr size_t kTempLetters = 6;

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + kTempLetters || name.substr(0, prefix.size()) != prefix) return false;
  for (char c : name.substr(prefix.size())) {
    const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit) return false;
  }
  return true;
}

// Removes the temporary files of target that a writer killed while writing
// left behind: under the folder's lock no other writer is making one. Only
// names are removed, so a link of such a name goes and what it leads to stays.
void RemoveLeftTemporaries(const std::string& target) {
  DIR* dir = ::opendir(FolderOf(target).c_str());
  if (dir == nullptr) return;
  const std::string prefix = NameOf(target) + std::string(kTempInfix);
  while (const dirent* entry = ::readdir(dir)) {
    if (IsTemporaryName(entry->d_name, prefix)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MakeFolders(const std::string& folder) {
  struct stat st;
  if (::stat(folder.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    errno = ENOTDIR;
    return false;
  }
  const size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) return false;
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::optional<std::string> FinalTarget(std::string path) {
  constexpr int kMaxLinks = 40;  // as many as the system follows in one path
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ELOOP) return std::nullopt;
      return path;  // missing, or an error the caller meets again
    }
    if (!S_ISLNK(st.st_mode)) return path;
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) == target.size()) return path;
    target.resize(static_cast<size_t>(n));
    path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
  }
  errno = ELOOP;
  return std::nullopt;
}

FolderLock::FolderLock(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    // A file system without locks: go on unlocked rather than never write.
    break;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReplaceFile(const std::string& target, std::optional<mode_t> mode, const std::function<bool(int fd)>& write) {
  RemoveLeftTemporaries(target);
  // mkostemp creates the file with O_EXCL under a name no file has: it opens
  // nothing that was there, a link included.
  std::string temp = target + std::string(kTempInfix) + std::string(kTempLetters, 'X');
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = (!mode || ::fchmod(fd, *mode) == 0) && write(fd) && ::fsync(fd) == 0;
  int err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    errno = err;
    return false;
  }
  // Make the rename itself durable; a failure here does not undo the write.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool ReplaceFile(const std::string& target, std::optional<mode_t> mode, std::string_view bytes) {
  return ReplaceFile(target, mode, [bytes](int fd) { return WriteAll(fd, bytes); });
}

bool ReplaceWithCopy(const std::string& target, std::optional<mode_t> mode, const std::string& source) {
  const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return false;
  const bool ok = ReplaceFile(target, mode, [from](int fd) {
    char block[kBlock];
    for (;;) {
      const ssize_t n = ReadFull(from, block, sizeof block);
      if (n < 0) return false;
      if (n == 0) return true;
      if (!WriteAll(fd, std::string_view(block, static_cast<size_t>(n)))) return false;
    }
  });
  const int err = errno;
  ::close(from);
  errno = err;
  return ok;
}

ssize_t ReadFull(int fd, char* buffer, size_t size) {
  size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, buffer + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool FileHolds(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool same = true;
  char block[kBlock];
  for (;;) {
    const ssize_t n = ReadFull(fd, block, sizeof block);
    if (n <= 0) {
      same = n == 0 && bytes.empty();
      break;
    }
    const auto got = static_cast<size_t>(n);
    if (got > bytes.size() || bytes.substr(0, got) != std::string_view(block, got)) {
      same = false;
      break;
    }
    bytes.remove_prefix(got);
  }
  ::close(fd);
  return same;
}

bool FilesMatch(const std::string& a, const std::string& b) {
  const int fdA = ::open(a.c_str(), O_RDONLY | O_CLOEXEC);
  if (fdA < 0) return false;
  const int fdB = ::open(b.c_str(), O_RDONLY | O_CLOEXEC);
  if (fdB < 0) {
    ::close(fdA);
    return false;
  }
  struct stat stA, stB;
  bool same = ::fstat(fdA, &stA) == 0 && ::fstat(fdB, &stB) == 0 && stA.st_size == stB.st_size;
  char blockA[kBlock];
  char blockB[kBlock];
  while (same) {
    const ssize_t n = ReadFull(fdA, blockA, sizeof blockA);
    same = n >= 0 && ReadFull(fdB, blockB, sizeof blockB) == n &&
           std::memcmp(blockA, blockB, static_cast<size_t>(n)) == 0;
    if (n == 0) break;
  }
  ::close(fdA);
  ::close(fdB);
  return same;
}

}  // namespace tlb
