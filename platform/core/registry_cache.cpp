#include "platform/core/registry_cache.h"

#include <fcntl.h>
#include <unistd.h>

#include <time.h>

#include <atomic>
#include <cerrno>
#include <functional>
#include <mutex>

#include "platform/core/registry_write.h"

namespace tlb {
namespace {

// A file is read, parsed and digested in pieces of this size, so that no more
// than a piece of it is held at once. The digest depends on it: the size
// limit is a whole number of pieces, so every file is cut in the same places.
constexpr size_t kPiece = size_t{64} << 10;
static_assert(kMaxRegistryFileSize % kPiece == 0);

// A digest of a file's bytes, to tell whether a file whose stamp is the same
// still holds what was parsed. Nobody crafts these files against it, so the
// library's string hash of each piece does, chained in order.
uint64_t ChainDigest(uint64_t digest, std::string_view piece) {
  const uint64_t h = digest ^ std::hash<std::string_view>{}(piece);
  return (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
}
constexpr uint64_t kDigestStart = 0x9E3779B97F4A7C15ull;

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

std::atomic<uint64_t> gParses{0};
std::mutex gKeptMutex;
std::optional<KeptParse> gKept;  // guarded by gKeptMutex

// What reading a file in pieces found.
struct Pieces {
  uint64_t digest = kDigestStart;
  bool complete = true;  // false when the file goes on past kMaxRegistryFileSize
};

// Reads the open file from its start up to the size limit, a piece at a time,
// handing each piece to parser when there is one. nullopt (errno set) when it
// cannot be read.
std::optional<Pieces> ReadPieces(int fd, RegistryParser* parser) {
  if (::lseek(fd, 0, SEEK_SET) != 0) return std::nullopt;
  Pieces pieces;
  const std::unique_ptr<char[]> buffer(new char[kPiece]);
  size_t total = 0;
  while (total < kMaxRegistryFileSize) {
    const ssize_t n = ReadFull(fd, buffer.get(), kPiece);
    if (n < 0) return std::nullopt;
    if (n == 0) return pieces;
    const std::string_view piece(buffer.get(), static_cast<size_t>(n));
    pieces.digest = ChainDigest(pieces.digest, piece);
    if (parser != nullptr) parser->Feed(piece);
    total += piece.size();
  }
  // One byte past the limit tells a file of exactly the limit from a longer one.
  char past;
  const ssize_t n = ReadFull(fd, &past, 1);
  if (n < 0) return std::nullopt;
  pieces.complete = n == 0;
  return pieces;
}

// The kept parse of the file with this stamp, if there is one.
std::optional<KeptParse> KeptFor(const FileStamp& stamp) {
  const std::lock_guard<std::mutex> hold(gKeptMutex);
  if (gKept && gKept->stamp == stamp) return gKept;
  return std::nullopt;
}

// Reads the file's bytes and parses them, and keeps the parse.
std::optional<RegistryFileRead> ParseOpenFile(int fd, const FileStamp& stamp, bool settled) {
  RegistryParser parser;
  const std::optional<Pieces> pieces = ReadPieces(fd, &parser);
  if (!pieces) return std::nullopt;
  ++gParses;
  auto parsed = std::make_shared<ParsedRegistry>(parser.Finish());
  KeepParse({parsed, stamp, pieces->digest, pieces->complete, settled, std::nullopt, false});
  return RegistryFileRead{std::move(parsed), stamp, pieces->complete};
}

// Whether an open file whose stamp is that of the kept parse still holds the
// bytes parsed.
enum class Bytes { Same, Changed, Unreadable };
Bytes CompareWithKept(int fd, const KeptParse& known, bool settledNow) {
  const std::optional<Pieces> pieces = ReadPieces(fd, nullptr);
  if (!pieces) return Bytes::Unreadable;
  if (pieces->digest != known.digest || pieces->complete != known.complete) return Bytes::Changed;
  if (settledNow) {
    const std::lock_guard<std::mutex> hold(gKeptMutex);
    if (gKept && gKept->parsed == known.parsed) gKept->settled = true;
  }
  return Bytes::Same;
}

}  // namespace

FileStamp StampOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ctim.tv_sec,
          st.st_ctim.tv_nsec};
}

std::optional<RegistryFileRead> ReadRegistryFile(const std::string& path, ReadProblem& problem) {
  // Taken before the file is read: a write after this moment gives the file
  // a later modification time.
  const int64_t nowNs = RealTimeNowNs();
  // Opened without waiting, so that a pipe in the file's place does not hold
  // the program up until something writes into it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    problem = {errno, false};
    return std::nullopt;
  }
  std::optional<RegistryFileRead> read;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    problem = {errno, false};
  } else if (!S_ISREG(st.st_mode)) {
    problem = S_ISDIR(st.st_mode) ? ReadProblem{EISDIR, false} : ReadProblem{0, true};
  } else {
    const FileStamp stamp = StampOf(st);
    const bool settledNow = nowNs - (stamp.modifiedSec * 1'000'000'000 + stamp.modifiedNsec) >= kCoarseStampNs;
    const std::optional<KeptParse> known = KeptFor(stamp);
    const Bytes bytes = !known           ? Bytes::Changed
                        : known->settled ? Bytes::Same
                                         : CompareWithKept(fd, *known, settledNow);
    if (bytes == Bytes::Same) read = RegistryFileRead{known->parsed, stamp, known->complete};
    if (bytes == Bytes::Changed) read = ParseOpenFile(fd, stamp, settledNow);
    if (!read) problem = {errno, false};
  }
  ::close(fd);
  return read;
}

KeptParse TakeParse(RegistryFileRead read) {
  std::shared_ptr<ParsedRegistry> shared;
  {
    const std::lock_guard<std::mutex> hold(gKeptMutex);
    if (gKept && gKept->parsed == read.parsed && gKept->stamp == read.stamp) {
      read.parsed.reset();
      if (gKept->parsed.use_count() == 1) {
        KeptParse taken = std::move(*gKept);
        gKept.reset();
        taken.fromCache = true;
        return taken;
      }
      shared = gKept->parsed;
    }
  }
  // Someone else reads it: it stays as it is, and the change goes to a copy.
  const ParsedRegistry& original = shared ? *shared : *read.parsed;
  KeptParse copy;
  copy.parsed = std::make_shared<ParsedRegistry>(original);
  copy.stamp = read.stamp;
  copy.complete = read.complete;
  return copy;
}

void KeepParse(KeptParse parse) {
  parse.fromCache = false;
  const std::lock_guard<std::mutex> hold(gKeptMutex);
  gKept = std::move(parse);
}

uint64_t DigestOf(std::string_view bytes) {
  uint64_t digest = kDigestStart;
  for (size_t at = 0; at < bytes.size(); at += kPiece) digest = ChainDigest(digest, bytes.substr(at, kPiece));
  return digest;
}

uint64_t RegistryFileParses() { return gParses; }

}  // namespace tlb
