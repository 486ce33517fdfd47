#include "platform/core/registry_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/core/cp1250.h"

namespace tlb {
namespace {

constexpr std::string_view kHeaderWord = "tulimbo-registry";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kFileName = "registry";
constexpr std::string_view kTempName = "registry.tmp";
constexpr std::string_view kLockName = "registry.lock";
constexpr std::string_view kDamagedName = "registry.damaged";
constexpr std::string_view kDamagedTempName = "registry.damaged.tmp";

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

// nullopt when the file cannot be opened or read.
std::optional<FileText> ReadRegistryFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  FileText text;
  char chunk[16384];
  for (;;) {
    // One byte past the limit tells a file of exactly the limit from a longer one.
    const size_t room = kMaxRegistryFileSize + 1 - text.bytes.size();
    const ssize_t n = ReadFull(fd, chunk, std::min(sizeof chunk, room));
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      errno = err;
      return std::nullopt;
    }
    if (n == 0) break;
    text.bytes.append(chunk, static_cast<size_t>(n));
    if (text.bytes.size() > kMaxRegistryFileSize) {
      text.bytes.resize(kMaxRegistryFileSize);
      text.complete = false;
      break;
    }
  }
  ::close(fd);
  return text;
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

// Writes data to temp, flushes it and renames it over target.
bool ReplaceFile(const std::string& folder, const std::string& temp, const std::string& target,
                 std::string_view data) {
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
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

// The name for the next older damaged copy, registry.damaged.N with N one past
// the highest number in use, so that the numbers follow the order in which the
// copies were set aside. nullopt (errno set) when the folder cannot be listed.
std::optional<std::string> NextOlderCopyPath(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  const std::string prefix = std::string(kDamagedName) + ".";
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

// Sets the damaged registry file aside as registry.damaged: a copy of its bytes
// when they were read whole (bytes), else the file itself moves there. An
// earlier copy that differs first moves to the next numbered name; one with the
// same bytes is not kept twice.
bool KeepDamagedCopy(const std::string& folder, const std::string& file, const std::string* bytes) {
  const std::string damaged = folder + "/" + std::string(kDamagedName);
  struct stat st;
  if (::lstat(damaged.c_str(), &st) == 0) {
    const bool same = S_ISREG(st.st_mode) && (bytes ? FileHolds(damaged, *bytes) : FilesMatch(file, damaged));
    if (same && bytes != nullptr) return true;
    if (!same) {
      const std::optional<std::string> older = NextOlderCopyPath(folder);
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
  return bytes != nullptr ? ReplaceFile(folder, folder + "/" + std::string(kDamagedTempName), damaged, *bytes)
                          : ::rename(file.c_str(), damaged.c_str()) == 0;
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
    // Line breaks of another system: the lines are still read.
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      damaged = true;
    }

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

std::string RegistryStore::DamagedPath() const { return folder_ + "/" + std::string(kDamagedName); }

RegistryData RegistryStore::Load() const {
  if (folder_.empty()) return {};
  const std::optional<FileText> text = ReadRegistryFile(FilePath());
  if (!text) return {};
  return ParseRegistry(text->bytes).data;
}

bool RegistryStore::Update(const std::function<void(RegistryData&)>& change) {
  const bool ok = UpdateFile(change);
  if (!ok) {
    const int err = errno;
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
      std::fprintf(stderr, "The settings could not be saved in %s: %s\n",
                   folder_.empty() ? "the configuration folder (no home folder is known)" : FilePath().c_str(),
                   std::strerror(err));
    }
    errno = err;
  }
  return ok;
}

bool RegistryStore::UpdateFile(const std::function<void(RegistryData&)>& change) {
  if (folder_.empty()) {
    errno = ENOENT;
    return false;
  }
  if (!MakeFolders(folder_)) return false;
  const FolderLock lock(folder_ + "/" + std::string(kLockName));
  if (!lock.Opened()) return false;

  // What stands in the registry's place: nothing, a file (read or not), or
  // something else, which is not ours to replace.
  struct stat st;
  bool exists = true;
  if (::stat(FilePath().c_str(), &st) != 0) {
    if (errno != ENOENT) return false;
    exists = false;
  } else if (!S_ISREG(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
    return false;
  }
  // A file longer than the limit is read as far as the limit, like one cut
  // off there: what it holds past the limit is kept in the damaged copy.
  const std::optional<FileText> before = exists ? ReadRegistryFile(FilePath()) : std::nullopt;
  const bool readWhole = before && before->complete;
  ParsedRegistry parsed = before ? ParseRegistry(before->bytes) : ParsedRegistry{};
  change(parsed.data);
  const std::string after = SerializeRegistry(parsed.data);
  if (readWhole && before->bytes == after) return true;

  if (exists && !(readWhole && (parsed.whole || before->bytes.empty()))) {
    // Keep the damaged file beside the new one: its bytes when they were read
    // whole, else the file itself (too large or unreadable) moves aside. An
    // empty file holds nothing to keep.
    if (!KeepDamagedCopy(folder_, FilePath(), readWhole ? &before->bytes : nullptr)) return false;
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
      std::fprintf(stderr,
                   "The settings file %s was damaged: it was read as far as it could be, and a copy of it is kept as "
                   "%s\n",
                   FilePath().c_str(), DamagedPath().c_str());
    }
  }
  return ReplaceFile(folder_, folder_ + "/" + std::string(kTempName), FilePath(), after);
}

}  // namespace tlb
