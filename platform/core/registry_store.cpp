#include "platform/core/registry_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/core/registry_cache.h"
#include "platform/core/registry_damaged.h"
#include "platform/core/registry_write.h"

namespace tlb {
namespace {

constexpr std::string_view kFileName = "registry";
constexpr std::string_view kLockName = "registry.lock";

// Says once in the process that the registry file cannot be read and is left
// alone, and why.
void ReportUnreadable(const std::string& path, const ReadProblem& problem) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr,
               "The settings file %s cannot be read (%s): it is left as it is, and the program runs on its default "
               "settings without saving them\n",
               path.c_str(), problem.notRegularFile ? "it is not a regular file" : std::strerror(problem.error));
}

// Says once in the process where a damaged file that was replaced is kept.
void ReportDamagedCopy(const std::string& path, const std::string& copy) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr,
               "The settings file %s was damaged: it was read as far as it could be, and a copy of it is kept as %s\n",
               path.c_str(), copy.c_str());
}

// The file an update writes: the one the registry's path leads to.
struct TargetFile {
  std::string path;
  // Its permission bits, which the new file keeps; none when there is no file
  // yet, and a new one gets the default.
  std::optional<mode_t> mode;
};

// Follows the registry's path through its links to the file an update
// writes, and looks at what stands there: nothing, a file, or something that
// cannot be read and is not ours to replace (a folder, a pipe), for which it
// gives nullopt with the reason in problem.
std::optional<TargetFile> FindTarget(const std::string& path, ReadProblem& problem) {
  const std::optional<std::string> target = FinalTarget(path);
  if (!target) {
    problem = {errno, false};
    return std::nullopt;
  }
  struct stat st;
  if (::stat(target->c_str(), &st) != 0) {
    problem = {errno, false};
    if (!problem.NoSuchFile()) return std::nullopt;
    return TargetFile{*target, std::nullopt};
  }
  if (!S_ISREG(st.st_mode)) {
    problem = S_ISDIR(st.st_mode) ? ReadProblem{EISDIR, false} : ReadProblem{0, true};
    return std::nullopt;
  }
  return TargetFile{*target, st.st_mode & 0777};
}

// The parse of a registry file that is not there yet: empty.
KeptParse NoFileYet() {
  KeptParse none;
  none.parsed = std::make_shared<ParsedRegistry>();
  return none;
}

// The stored registry with a change applied in place to its parse, watched by
// a log. Unless the result is stored, the change is taken back when this
// goes, and a parse taken out of the cache goes back to it as it was: what
// reads give stays as it was.
class ChangedRegistry {
 public:
  explicit ChangedRegistry(KeptParse parse) : parse_(std::move(parse)) {
    if (!parse_.serializedSize) parse_.serializedSize = SerializedSize(parse_.parsed->data);
    log_.emplace(parse_.parsed->data);
  }
  ~ChangedRegistry() {
    if (!log_) return;
    log_->Undo();
    log_.reset();
    if (parse_.fromCache) KeepParse(std::move(parse_));
  }
  ChangedRegistry(const ChangedRegistry&) = delete;
  ChangedRegistry& operator=(const ChangedRegistry&) = delete;

  RegistryData& Data() { return parse_.parsed->data; }

  // The size of the text the data makes now, counted from the size before
  // the change and the keys it changed.
  size_t SerializedSizeNow() const {
    const RegistryData& data = parse_.parsed->data;
    int64_t size = static_cast<int64_t>(*parse_.serializedSize);
    for (const auto& [path, before] : log_->Before()) {
      if (const auto now = data.Keys().find(path); now != data.Keys().end())
        size += static_cast<int64_t>(SerializedSize(now->first, now->second));
      if (before) size -= static_cast<int64_t>(SerializedSize(path, *before));
    }
    return static_cast<size_t>(size);
  }

  // The file, unchanged, already holds text, the data's text.
  void AlreadyStored(std::string_view text) { Stored(parse_.stamp, text, parse_.settled); }
  // The data is what the file with this stamp holds, written as text.
  void Stored(const FileStamp& stamp, std::string_view text, bool settled) {
    log_.reset();
    parse_.parsed->whole = true;
    KeepParse({parse_.parsed, stamp, DigestOf(text), true, settled, text.size(), false});
  }

 private:
  KeptParse parse_;
  std::optional<RegistryChangeLog> log_;  // none once the result is stored
};

}  // namespace

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
  ReadProblem problem;
  const std::optional<RegistryFileRead> read = ReadRegistryFile(FilePath(), problem);
  if (!read) {
    if (!problem.NoSuchFile()) ReportUnreadable(FilePath(), problem);
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
  ReadProblem problem;
  auto unreadable = [&] {
    ReportUnreadable(FilePath(), problem);
    errno = problem.notRegularFile ? EINVAL : problem.error;
    return Outcome::Unreadable;
  };
  const std::optional<TargetFile> target = FindTarget(FilePath(), problem);
  if (!target) return unreadable();
  // Read under the lock, so that no write in between is lost.
  std::optional<RegistryFileRead> read;
  if (target->mode) {
    read = ReadRegistryFile(target->path, problem);
    if (!read && !problem.NoSuchFile()) return unreadable();
  }
  const bool complete = !read || read->complete;
  const off_t sizeBefore = read ? read->stamp.size : -1;
  // A damaged file is kept beside the new one; an empty one holds nothing to keep.
  const bool keepDamaged = read && !(read->complete && (read->parsed->whole || read->stamp.size == 0));

  ChangedRegistry changed(read ? TakeParse(std::move(*read)) : NoFileYet());
  change(changed.Data());
  // A result over the size limit would be read back cut off at the limit: its
  // last keys (the programs' own among them) would be lost, and every later
  // write would set another copy of it aside as damaged. It is neither made
  // nor written; the file stays as it is.
  if (changed.SerializedSizeNow() > kMaxRegistryFileSize) {
    errno = EFBIG;
    return Outcome::Failed;
  }
  const std::string text = SerializeRegistry(changed.Data());
  if (text.size() > kMaxRegistryFileSize) {
    errno = EFBIG;
    return Outcome::Failed;
  }
  // A file equal to the result is not written again.
  if (complete && static_cast<off_t>(text.size()) == sizeBefore && FileHolds(target->path, text)) {
    changed.AlreadyStored(text);
    return Outcome::Written;
  }
  if (keepDamaged) {
    if (!KeepDamagedCopy(target->path, complete, target->mode)) return Outcome::Failed;
    ReportDamagedCopy(FilePath(), target->path + std::string(kDamagedSuffix));
  }
  if (!ReplaceFile(target->path, target->mode, text)) return Outcome::Failed;
  // The file now holds what was written: the next read need not parse it.
  struct stat st;
  if (::stat(target->path.c_str(), &st) == 0) changed.Stored(StampOf(st), text, false);
  return Outcome::Written;
}

}  // namespace tlb
