#pragma once
// Reading the registry file, and what was parsed of it, kept in the process
// while the file stays the same. Reading a file of some megabytes takes
// milliseconds, parsing it takes most of a second, and the programs read a
// value at a time: each read uses the kept parse while the file is the same.
//
// The parse is kept by the file it was read from (its device and inode), not
// by the path that led there, so that a file reached through a link and
// written at the link's end is the same file to both. The same file is
// unchanged while its size and its modification and change times are; while
// its modification is recent enough to hide in a coarse time stamp, its bytes
// are compared too.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/registry_format.h"

namespace tlb {

// What tells one state of a file from another without reading it.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modifiedSec = 0, modifiedNsec = 0;
  int64_t changedSec = 0, changedNsec = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const struct stat& st);

// Why a registry file could not be read.
struct ReadProblem {
  int error = 0;                // the system's reason, when there is one
  bool notRegularFile = false;  // a pipe, a device or a socket in the file's place
  // No file by that name, or no folder to hold it (a file stands where a
  // folder of the path should be).
  bool NoSuchFile() const { return !notRegularFile && (error == ENOENT || error == ENOTDIR); }
};

// A registry file as read.
struct RegistryFileRead {
  std::shared_ptr<const ParsedRegistry> parsed;
  FileStamp stamp;
  bool complete = true;  // false when the file goes on past kMaxRegistryFileSize
};

// Opens the file at path (through any links), without waiting on a pipe in
// its place. Gives what was parsed of the same file before while it is
// unchanged, else reads it (up to kMaxRegistryFileSize bytes) and parses it, a
// piece at a time. nullopt when it cannot be read, with the reason in problem;
// a folder reads as the error EISDIR.
std::optional<RegistryFileRead> ReadRegistryFile(const std::string& path, ReadProblem& problem);

// A parse of a file, as the cache keeps it.
struct KeptParse {
  std::shared_ptr<ParsedRegistry> parsed;
  FileStamp stamp;
  uint64_t digest = 0;  // of the bytes parsed, as DigestOf gives it
  bool complete = true;
  // The bytes were compared when the file's modification was already older
  // than a coarse time stamp: any later change shows in the stamp.
  bool settled = false;
  // SerializedSize(parsed->data), once it has been counted.
  std::optional<size_t> serializedSize;
  // Taken out of the cache (and to go back when it is given back unchanged),
  // not a copy.
  bool fromCache = false;
};

// The parse just read, to be changed: taken out of the cache when nothing
// else holds it, so that it changes in place and no reader sees it change,
// else a copy of it.
KeptParse TakeParse(RegistryFileRead read);
// Keeps a parse in the cache: one taken and given back as it was, or that of
// a file just written. It takes the place of the one kept before.
void KeepParse(KeptParse parse);

// The digest of a file's bytes, as ReadRegistryFile computes it while reading.
uint64_t DigestOf(std::string_view bytes);

// How many times this process has parsed a registry file (texts parsed
// directly with ParseRegistry not counted). Tests and benchmarks read it to
// see the kept parse used.
uint64_t RegistryFileParses();

}  // namespace tlb
