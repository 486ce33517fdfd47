#include "platform/core/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"

namespace tlb {
namespace {

struct Component {
  std::string name;  // UTF-8, as found on disk or as given
  bool found;
};

std::string JoinComponents(bool absolute, const std::vector<Component>& parts) {
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '/';
    out += parts[i].name;
  }
  if (out.empty()) out = ".";
  return out;
}

bool EntryExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Looks for wanted (code page 1250) in folder dir. Returns the name on disk.
std::optional<std::string> FindEntry(const std::string& dir, std::string_view wantedCp1250) {
  const std::string wantedUtf8 = Cp1250ToUtf8(wantedCp1250);
  const std::string prefix = dir == "/" ? "/" : dir + "/";
  if (EntryExists(prefix + wantedUtf8)) return wantedUtf8;

  DIR* folder = ::opendir(dir.c_str());
  if (folder == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    // A name the code page cannot hold cannot be what a program asked for.
    const std::string nameCp1250 = Utf8ToCp1250(name);
    if (Cp1250ToUtf8(nameCp1250) != name) continue;
    if (!AnsiSameText(nameCp1250, wantedCp1250)) continue;
    if (!best || name < *best) best = std::string(name);
  }
  ::closedir(folder);
  return best;
}

bool StatPath(std::string_view windowsPath, struct stat& st) {
  if (windowsPath.empty()) return false;
  return ::stat(ResolvePath(windowsPath).c_str(), &st) == 0;
}

std::optional<std::string>& ParamStr0Override() {
  static std::optional<std::string> path;
  return path;
}

[[noreturn]] void ThrowCannotOpen(std::string_view windowsPath) {
  throw EFOpenError("Cannot open file \"" + std::string(windowsPath) + "\"");
}

// Closes a descriptor when the read ends, also by an exception.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string ResolvePath(std::string_view windowsPathCp1250) {
  std::string path(windowsPathCp1250);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  bool absolute = false;
  const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (hasDrive) {
    path.erase(0, 2);
    absolute = true;
  }
  if (!path.empty() && path[0] == '/') absolute = true;
  if (path.empty() && !absolute) return "";

  std::vector<Component> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('/', pos);
    if (end == std::string::npos) end = path.size();
    const std::string_view part = std::string_view(path).substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty() && parts.back().name != "..") {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back({"..", true});
      }
      continue;
    }
    bool parentFound = true;
    for (const Component& c : parts) parentFound = parentFound && c.found;
    std::optional<std::string> onDisk;
    if (parentFound) onDisk = FindEntry(JoinComponents(absolute, parts), part);
    if (onDisk) {
      parts.push_back({*onDisk, true});
    } else {
      parts.push_back({Cp1250ToUtf8(part), false});
    }
  }
  return JoinComponents(absolute, parts);
}

bool FileExists(std::string_view windowsPath) {
  struct stat st;
  return StatPath(windowsPath, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view windowsPath) {
  struct stat st;
  return StatPath(windowsPath, st) && S_ISDIR(st.st_mode);
}

void ChDir(std::string_view windowsPath) {
  if (::chdir(ResolvePath(windowsPath).c_str()) != 0) {
    throw EInOutError("I/O error " + std::to_string(errno));
  }
}

std::string GetCurrentDir() {
  std::vector<char> buffer(512);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) {
      throw EInOutError("I/O error " + std::to_string(errno));
    }
    buffer.resize(buffer.size() * 2);
  }
  return Utf8ToCp1250(buffer.data());
}

std::string ParamStr0() {
  if (ParamStr0Override()) return *ParamStr0Override();
  std::vector<char> buffer(512);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "";
    if (static_cast<size_t>(n) < buffer.size()) return Utf8ToCp1250(std::string_view(buffer.data(), n));
    if (buffer.size() > (1u << 20)) return "";
    buffer.resize(buffer.size() * 2);
  }
}

void SetParamStr0ForTest(std::string pathCp1250) {
  if (pathCp1250.empty()) {
    ParamStr0Override().reset();
  } else {
    ParamStr0Override() = std::move(pathCp1250);
  }
}

std::vector<uint8_t> ReadWholeFile(std::string_view windowsPath) {
  if (windowsPath.empty()) ThrowCannotOpen(windowsPath);
  const FileDescriptor fd(::open(ResolvePath(windowsPath).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) ThrowCannotOpen(windowsPath);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) ThrowCannotOpen(windowsPath);
  if (static_cast<uint64_t>(st.st_size) > kMaxReadFileSize) ThrowCannotOpen(windowsPath);

  // The size is a hint: the file may change while it is read, so read to the
  // end and hold the limit on what actually arrives.
  std::vector<uint8_t> data;
  data.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Read error in file \"" + std::string(windowsPath) + "\"");
    }
    if (n == 0) break;
    if (data.size() + static_cast<size_t>(n) > kMaxReadFileSize) ThrowCannotOpen(windowsPath);
    data.insert(data.end(), chunk, chunk + n);
  }
  return data;
}

}  // namespace tlb
