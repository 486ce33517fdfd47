#include "platform/core/registry_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/core/cp1250.h"

namespace tlb {
namespace {

constexpr std::string_view kHeaderWord = "tulimbo-registry";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kFileName = "registry";
constexpr std::string_view kLockName = "registry.lock";
// Suffixes added to the name of the file the registry's path leads to.
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kDamagedSuffix = ".damaged";

// ---- names and strings between quotes ----

bool NeedsEscape(uint8_t b) {
  return b < 0x20 || b == 0x7F || b == '"' || b == '%' || Cp1250ToCodePoint(b) == 0xFFFD;
}

void AppendQuoted(std::string& out, std::string_view cp1250) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '"';
  for (char c : cp1250) {
    const auto b = static_cast<uint8_t>(c);
    if (NeedsEscape(b)) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += Cp1250ToUtf8(std::string_view(&c, 1));
    }
  }
  out += '"';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Appends the code page 1250 form of a run of literal UTF-8; false when the run
// holds something the writer would have escaped or cannot come from the code page.
bool AppendLiteral(std::string& out, std::string_view utf8) {
  for (char c : utf8) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x20 || b == 0x7F) return false;
  }
  std::string bytes = Utf8ToCp1250(utf8);
  if (Cp1250ToUtf8(bytes) != utf8) return false;
  out += bytes;
  return true;
}

// Reads the tokens of one line: bare words and quoted strings.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ == line_.size();
  }

  std::optional<std::string_view> Word() {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t' && line_[pos_] != '"') ++pos_;
    if (pos_ == start) return std::nullopt;
    return line_.substr(start, pos_ - start);
  }

  std::optional<std::string> Quoted() {
    SkipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') return std::nullopt;
    const size_t close = line_.find('"', pos_ + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view body = line_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    std::string out;
    size_t runStart = 0;
    for (size_t i = 0; i < body.size(); ++i) {
      if (body[i] != '%') continue;
      if (!AppendLiteral(out, body.substr(runStart, i - runStart))) return std::nullopt;
      if (i + 2 >= body.size()) return std::nullopt;  // '%' needs two hex digits
      const int hi = HexValue(body[i + 1]);
      const int lo = HexValue(body[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
      runStart = i + 1;
    }
    if (!AppendLiteral(out, body.substr(runStart))) return std::nullopt;
    return out;
  }

 private:
  void SkipBlanks() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  }

  std::string_view line_;
  size_t pos_ = 0;
};

std::optional<uint32_t> ParseDword(std::string_view word) {
  if (word.empty() || word.size() > 10) return std::nullopt;
  uint64_t v = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(v);
}

// ---- files ----

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

// Reads into buffer until it is full or the file ends; the count read, -1 on error.
// The error a pipe, a device or a socket in the file's place is told by: no
// regular file is read with it, and the notice says what it stands for.
constexpr int kNotARegularFile = EINVAL;

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

// A registry file as read: the whole of it, or its first kMaxRegistryFileSize
// bytes when it is longer, so that no file takes more memory than the limit.
struct FileText {
  std::string bytes;
  bool complete = true;  // false when the file goes on past what was read
};

// Reads an open file of about sizeHint bytes; nullopt (errno set) when it
// cannot be read.
std::optional<FileText> ReadOpenFile(int fd, off_t sizeHint) {
  FileText text;
  // Room for the whole file at once: a large file is not copied as it grows.
  text.bytes.reserve(static_cast<size_t>(std::clamp<off_t>(sizeHint, 0, kMaxRegistryFileSize)) + 1);
  char chunk[16384];
  for (;;) {
    // One byte past the limit tells a file of exactly the limit from a longer one.
    const size_t room = kMaxRegistryFileSize + 1 - text.bytes.size();
    const ssize_t n = ReadFull(fd, chunk, std::min(sizeof chunk, room));
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    text.bytes.append(chunk, static_cast<size_t>(n));
    if (text.bytes.size() > kMaxRegistryFileSize) {
      text.bytes.resize(kMaxRegistryFileSize);
      text.complete = false;
      break;
    }
  }
  return text;
}

// True for the errors that mean there is no file: none by that name, or no
// folder to hold it (a file stands where a folder of the path should be).
bool NoSuchFile(int err) { return err == ENOENT || err == ENOTDIR; }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path leads to: the path itself when it is not a link, else the
// end of its chain of links, a relative link read from the link's own folder.
// That file need not exist. nullopt (errno ELOOP) when the chain does not end.
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

// ---- the parsed file, kept while the file stays the same ----

// What tells one state of a file from another without reading it.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modifiedSec = 0, modifiedNsec = 0;
  int64_t changedSec = 0, changedNsec = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ctim.tv_sec,
          st.st_ctim.tv_nsec};
}

// A digest of a file's bytes, to tell whether a file whose stamp is the same
// still holds what was parsed. Nobody crafts these files against it, so the
// library's string hash does.
uint64_t Digest(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

// A file system may keep time stamps as coarse as two seconds, so a change
// within the same tick as the last one leaves the stamp as it was. A file
// modified less than this long before it was read is therefore also compared
// by its bytes; one older than this changes its stamp with any later write.
constexpr int64_t kCoarseStampNs = int64_t{3'000'000'000};

// The real time now, in nanoseconds. The one clock read in platform/core
// outside the event loop: file time stamps are set by the system from the
// real time, and the loop's clock (which tests advance) cannot be compared
// with them.
int64_t RealTimeNowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// The last registry file parsed in this process. Reading a file of some
// megabytes takes milliseconds, parsing it takes most of a second, and the
// programs read a value at a time: each read uses this while the file is the
// same.
struct ParsedFile {
  std::string path;  // as opened
  FileStamp stamp;
  uint64_t digest = 0;  // of the bytes parsed
  bool complete = true;
  // The bytes were compared when the file's modification was already older
  // than kCoarseStampNs: any later change shows in the stamp.
  bool settled = false;
  std::shared_ptr<const ParsedRegistry> parsed;
};

std::mutex gParsedMutex;
std::optional<ParsedFile> gParsed;  // guarded by gParsedMutex

void Remember(ParsedFile file) {
  const std::lock_guard<std::mutex> hold(gParsedMutex);
  gParsed = std::move(file);
}

// A registry file as parsed, with its bytes when they were asked for.
struct ReadRegistry {
  std::shared_ptr<const ParsedRegistry> parsed;
  bool complete = true;  // false when the file is longer than the limit
  off_t size = 0;        // of the file
  std::optional<std::string> bytes;
};

// Opens, reads and parses the file at path, or takes what was parsed of it
// before when it is unchanged. nullopt (errno set) when it cannot be opened
// or read; a folder reads as the error EISDIR.
std::optional<ReadRegistry> ReadParsed(const std::string& path, bool withBytes) {
  // Taken before the file is read: a write after this moment gives the file
  // a later modification time.
  const int64_t nowNs = RealTimeNowNs();
  // Opened without waiting, so that a pipe in the file's place does not hold
  // the program up until something writes into it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = S_ISDIR(st.st_mode) ? EISDIR : kNotARegularFile;
    return std::nullopt;
  }
  const FileStamp stamp = StampOf(st);
  const bool settledNow = nowNs - (stamp.modifiedSec * 1'000'000'000 + stamp.modifiedNsec) >= kCoarseStampNs;

  std::optional<ParsedFile> known;
  {
    const std::lock_guard<std::mutex> hold(gParsedMutex);
    if (gParsed && gParsed->path == path && gParsed->stamp == stamp) known = gParsed;
  }
  if (known && known->settled && !withBytes) {
    ::close(fd);
    return ReadRegistry{known->parsed, known->complete, stamp.size, std::nullopt};
  }

  std::optional<FileText> text = ReadOpenFile(fd, st.st_size);
  const int err = errno;
  ::close(fd);
  if (!text) {
    errno = err;
    return std::nullopt;
  }
  const uint64_t digest = Digest(text->bytes);
  ReadRegistry result{nullptr, text->complete, stamp.size, std::nullopt};
  if (known && known->digest == digest && known->complete == text->complete) {
    result.parsed = known->parsed;
    if (settledNow && !known->settled) {
      known->settled = true;
      Remember(*known);
    }
  } else {
    result.parsed = std::make_shared<const ParsedRegistry>(ParseRegistry(text->bytes));
    Remember({path, stamp, digest, text->complete, settledNow, result.parsed});
  }
  if (withBytes) result.bytes = std::move(text->bytes);
  return result;
}

// True when the file at path holds exactly bytes. Compared block by block, so
// a large file is not held in memory; a file that cannot be read differs.
bool FileHolds(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool same = true;
  char chunk[16384];
  for (;;) {
    const ssize_t n = ReadFull(fd, chunk, sizeof chunk);
    if (n <= 0) {
      same = n == 0 && bytes.empty();
      break;
    }
    const auto got = static_cast<size_t>(n);
    if (got > bytes.size() || bytes.substr(0, got) != std::string_view(chunk, got)) {
      same = false;
      break;
    }
    bytes.remove_prefix(got);
  }
  ::close(fd);
  return same;
}

// True when the two files hold the same bytes, compared block by block.
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
  char chunkA[16384];
  char chunkB[16384];
  while (same) {
    const ssize_t n = ReadFull(fdA, chunkA, sizeof chunkA);
    same = n >= 0 && ReadFull(fdB, chunkB, sizeof chunkB) == n &&
           std::memcmp(chunkA, chunkB, static_cast<size_t>(n)) == 0;
    if (n == 0) break;
  }
  ::close(fdA);
  ::close(fdB);
  return same;
}

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

// Writes data to temp, flushes it and renames it over target (in the same folder).
bool ReplaceFile(const std::string& temp, const std::string& target, std::string_view data) {
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
  const int savedErrno = errno;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    const int err = ok ? errno : savedErrno;
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

// Holds the folder's lock file exclusively while it lives.
class FolderLock {
 public:
  explicit FolderLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      // A file system without locks: go on unlocked rather than never write.
      break;
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Opened() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The name for the next older damaged copy of file, <file>.damaged.N with N
// one past the highest number in use, so that the numbers follow the order in
// which the copies were set aside. nullopt (errno set) when the folder cannot
// be listed.
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
    const std::optional<uint32_t> n = ParseDword(name.substr(prefix.size()));
    if (n) highest = std::max<uint64_t>(highest, *n);
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

// Sets the damaged file aside as <file>.damaged beside it: a copy of its bytes
// when they were read whole (bytes), else the file itself moves there. An
// earlier copy that differs first moves to the next numbered name; one with the
// same bytes is not kept twice.
bool KeepDamagedCopy(const std::string& file, const std::string* bytes) {
  const std::string damaged = file + std::string(kDamagedSuffix);
  struct stat st;
  if (::lstat(damaged.c_str(), &st) == 0) {
    const bool same = S_ISREG(st.st_mode) && (bytes ? FileHolds(damaged, *bytes) : FilesMatch(file, damaged));
    if (same && bytes != nullptr) return true;
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
  return bytes != nullptr ? ReplaceFile(damaged + std::string(kTempSuffix), damaged, *bytes)
                          : ::rename(file.c_str(), damaged.c_str()) == 0;
}

// Says once in the process that the registry file cannot be read and is left
// alone; err is the reason.
void ReportUnreadable(const std::string& path, int err) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr,
               "The settings file %s cannot be read (%s): it is left as it is, and the program runs on its default "
               "settings without saving them\n",
               path.c_str(), err == kNotARegularFile ? "it is not a regular file" : std::strerror(err));
}

}  // namespace

// ---- RegistryData ----

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

RegistryData::Key* RegistryData::FindKey(std::string_view normalized) {
  const auto it = keys_.find(AnsiLowerCase(normalized));
  return it == keys_.end() ? nullptr : &it->second;
}

const RegistryData::Key* RegistryData::FindKey(std::string_view normalized) const {
  const auto it = keys_.find(AnsiLowerCase(normalized));
  return it == keys_.end() ? nullptr : &it->second;
}

bool RegistryData::KeyExists(std::string_view path) const {
  const std::string normalized = NormalizeKey(path);
  return normalized.empty() || FindKey(normalized) != nullptr;
}

void RegistryData::CreateKey(std::string_view path) {
  const std::string normalized = NormalizeKey(path);
  // Every prefix ending before a backslash, then the whole path.
  for (size_t end = 0; end <= normalized.size(); ++end) {
    if (end != normalized.size() && normalized[end] != '\\') continue;
    if (end == 0) continue;
    const std::string prefix = normalized.substr(0, end);
    const std::string lower = AnsiLowerCase(prefix);
    if (keys_.find(lower) == keys_.end()) keys_.emplace(lower, Key{prefix, {}});
  }
}

const RegistryValue* RegistryData::FindValue(std::string_view key, std::string_view name) const {
  const Key* k = FindKey(NormalizeKey(key));
  if (k == nullptr) return nullptr;
  const auto it = k->values.find(AnsiLowerCase(name));
  return it == k->values.end() ? nullptr : &it->second.value;
}

void RegistryData::SetValue(std::string_view key, std::string_view name, RegistryValue value) {
  const std::string normalized = NormalizeKey(key);
  CreateKey(normalized);
  Key* k = FindKey(normalized);
  if (k == nullptr) k = &keys_.emplace("", Key{"", {}}).first->second;  // the root
  const std::string lower = AnsiLowerCase(name);
  auto it = k->values.find(lower);
  if (it == k->values.end()) {
    k->values.emplace(lower, NamedValue{std::string(name), std::move(value)});
  } else {
    it->second.value = std::move(value);
  }
}

// ---- the file format ----

std::string SerializeRegistry(const RegistryData& data) {
  std::string out;
  out += "# Tulimbo registry: the programs' per-user settings.\n";
  out += "# Keys and value names are case-insensitive; texts are code page 1250, %XX escapes a byte.\n";
  out += kHeaderWord;
  out += ' ';
  out += kVersion;
  out += '\n';
  for (const auto& [lower, key] : data.Keys()) {
    out += "key ";
    AppendQuoted(out, key.path);
    out += '\n';
    for (const auto& [lowerName, named] : key.values) {
      if (named.value.type == RegistryType::Dword) {
        out += "  dword ";
        AppendQuoted(out, named.name);
        out += ' ';
        out += std::to_string(named.value.dword);
      } else {
        out += "  sz ";
        AppendQuoted(out, named.name);
        out += ' ';
        AppendQuoted(out, named.value.text);
      }
      out += '\n';
    }
  }
  out += "end\n";
  return out;
}

namespace {

// Reads one entry line into data; false when the line cannot be read.
// currentKey is the key the value lines belong to (none after a bad key line).
bool ReadEntry(std::string_view word, LineReader& reader, RegistryData& data,
               std::optional<std::string>& currentKey) {
  if (word == "key") {
    currentKey.reset();
    std::optional<std::string> path = reader.Quoted();
    if (!path || !reader.AtEnd()) return false;
    data.CreateKey(*path);
    currentKey = RegistryData::NormalizeKey(*path);
    return true;
  }
  if (word != "dword" && word != "sz") return false;
  if (!currentKey) return false;
  const std::optional<std::string> name = reader.Quoted();
  if (!name) return false;
  RegistryValue value;
  if (word == "dword") {
    const std::optional<std::string_view> number = reader.Word();
    const std::optional<uint32_t> v = number ? ParseDword(*number) : std::nullopt;
    if (!v) return false;
    value = RegistryValue::Dword(*v);
  } else {
    std::optional<std::string> s = reader.Quoted();
    if (!s) return false;
    value = RegistryValue::String(std::move(*s));
  }
  if (!reader.AtEnd()) return false;
  data.SetValue(*currentKey, *name, std::move(value));
  return true;
}

}  // namespace

ParsedRegistry ParseRegistry(std::string_view text) {
  ParsedRegistry result;
  bool damaged = false;
  bool headerSeen = false;
  bool contentSeen = false;  // a line that is neither blank nor a comment
  bool ended = false;
  std::optional<std::string> currentKey;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t newline = text.find('\n', pos);
    const bool cutOff = newline == std::string_view::npos;
    if (cutOff) newline = text.size();
    std::string_view line = text.substr(pos, newline - pos);
    pos = newline + 1;
    // A CR before the line feed is part of the line break (files edited on
    // another system); a CR anywhere else is damage, found as the line is read.
    if (!cutOff && !line.empty() && line.back() == '\r') line.remove_suffix(1);

    LineReader reader(line);
    if (reader.AtEnd()) {
      damaged |= cutOff;
      continue;
    }
    const size_t first = line.find_first_not_of(" \t");
    if (line[first] == '#') {
      damaged |= cutOff;
      continue;
    }
    if (!contentSeen) {
      contentSeen = true;
      LineReader header(line);
      if (header.Word() == kHeaderWord) {
        // Another version of the format is not guessed at.
        if (header.Word() != kVersion) return result;
        headerSeen = true;
        damaged |= cutOff || !header.AtEnd();
        continue;
      }
      damaged = true;  // the header is missing
    }
    damaged |= ended;  // nothing belongs after the end line

    const std::optional<std::string_view> word = reader.Word();
    if (word && *word == "end" && reader.AtEnd()) {
      // Values after the end line need a key line of their own.
      ended = true;
      currentKey.reset();
      damaged |= cutOff;
      continue;
    }
    if (cutOff || !word || !ReadEntry(*word, reader, result.data, currentKey)) damaged = true;
  }
  result.whole = headerSeen && ended && !damaged;
  return result;
}

// ---- RegistryStore ----

RegistryStore::RegistryStore(std::string folder) : folder_(std::move(folder)) {}

std::string RegistryStore::DefaultFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/tulimbo";
  std::string home;
  if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') {
    home = h;
  } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    home = pw->pw_dir;
  }
  if (home.empty()) return "";
  return home + "/.config/tulimbo";
}

std::string RegistryStore::FilePath() const { return folder_ + "/" + std::string(kFileName); }

std::string RegistryStore::DamagedPath() const {
  return FinalTarget(FilePath()).value_or(FilePath()) + std::string(kDamagedSuffix);
}

std::shared_ptr<const RegistryData> RegistryStore::Snapshot() const {
  static const auto kEmpty = std::make_shared<const RegistryData>();
  if (folder_.empty()) return kEmpty;
  const std::optional<ReadRegistry> read = ReadParsed(FilePath(), false);
  if (!read) {
    if (!NoSuchFile(errno)) ReportUnreadable(FilePath(), errno);
    return kEmpty;
  }
  // Shares the parsed file's lifetime.
  return std::shared_ptr<const RegistryData>(read->parsed, &read->parsed->data);
}

RegistryData RegistryStore::Load() const { return *Snapshot(); }

bool RegistryStore::Update(const std::function<void(RegistryData&)>& change) {
  const Outcome outcome = UpdateFile(change);
  if (outcome == Outcome::Failed) {
    const int err = errno;
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
      std::fprintf(stderr, "The settings could not be saved in %s: %s\n",
                   folder_.empty() ? "the configuration folder (no home folder is known)" : FilePath().c_str(),
                   std::strerror(err));
    }
    errno = err;
  }
  return outcome == Outcome::Written;
}

RegistryStore::Outcome RegistryStore::UpdateFile(const std::function<void(RegistryData&)>& change) {
  if (folder_.empty()) {
    errno = ENOENT;
    return Outcome::Failed;
  }
  if (!MakeFolders(folder_)) return Outcome::Failed;
  const FolderLock lock(folder_ + "/" + std::string(kLockName));
  if (!lock.Opened()) return Outcome::Failed;

  // Unreadable: said once, and nothing is written over what cannot be read.
  auto unreadable = [this](int err) {
    ReportUnreadable(FilePath(), err);
    errno = err;
    return Outcome::Unreadable;
  };
  // The file the registry's path leads to, through any links: it is replaced
  // in its own folder, so that the links stay.
  const std::optional<std::string> target = FinalTarget(FilePath());
  if (!target) return unreadable(errno);

  // What stands there: nothing, a file, or something else (a folder, a pipe),
  // which cannot be read and is not ours to replace.
  struct stat st;
  bool exists = true;
  if (::stat(target->c_str(), &st) != 0) {
    if (!NoSuchFile(errno)) return unreadable(errno);
    exists = false;
  } else if (!S_ISREG(st.st_mode)) {
    return unreadable(S_ISDIR(st.st_mode) ? EISDIR : kNotARegularFile);
  }
  // Read under the lock, so that no write in between is lost; what was parsed
  // before is used only when the file is unchanged. A damaged file is read
  // with its bytes, which its copy keeps.
  std::optional<ReadRegistry> before;
  if (exists) {
    before = ReadParsed(*target, false);
    if (before && !(before->complete && before->parsed->whole)) before = ReadParsed(*target, true);
    if (!before) {
      if (!NoSuchFile(errno)) return unreadable(errno);
      exists = false;
    }
  }
  RegistryData data = before ? before->parsed->data : RegistryData{};
  change(data);
  std::string after = SerializeRegistry(data);
  // A result over the size limit would be read back cut off at the limit: its
  // last keys (the programs' own among them) would be lost, and every later
  // write would set another copy of it aside as damaged. It is not written;
  // the file stays as it is.
  if (after.size() > kMaxRegistryFileSize) {
    errno = EFBIG;
    return Outcome::Failed;
  }
  // A file equal to the result is not written again.
  if (before && before->complete && static_cast<off_t>(after.size()) == before->size &&
      (before->bytes ? *before->bytes == after : FileHolds(*target, after)))
    return Outcome::Written;

  if (before && !(before->complete && (before->parsed->whole || before->bytes->empty()))) {
    // Keep the damaged file beside the new one: its bytes when they were read
    // whole, else the file itself (over the size limit) moves aside. An empty
    // file holds nothing to keep.
    if (!KeepDamagedCopy(*target, before->complete ? &*before->bytes : nullptr)) return Outcome::Failed;
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
      std::fprintf(stderr,
                   "The settings file %s was damaged: it was read as far as it could be, and a copy of it is kept as "
                   "%s%s\n",
                   FilePath().c_str(), target->c_str(), std::string(kDamagedSuffix).c_str());
    }
  }
  if (!ReplaceFile(*target + std::string(kTempSuffix), *target, after)) return Outcome::Failed;
  // The file now holds what was written: the next read need not parse it.
  if (::stat(target->c_str(), &st) == 0) {
    auto parsed = std::make_shared<ParsedRegistry>();
    parsed->data = std::move(data);
    parsed->whole = true;
    Remember({*target, StampOf(st), Digest(after), true, false, std::move(parsed)});
  }
  return Outcome::Written;
}

}  // namespace tlb
