#pragma once
// Writing the registry's files safely: the file a path leads to through its
// links, the folder's lock under which programs take turns, and the
// replacement of a file by a new one, so that a reader sees the old file or
// the new one and never a mix.
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tlb {

// The folder of a path ("." for a bare name) and the name in it.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Creates the folder and its missing parents; false (errno set) when it cannot.
bool MakeFolders(const std::string& folder);

// The file a path leads to: the path itself when it is not a link, else the
// end of its chain of links, a relative link read from the link's own folder.
// That file need not exist. nullopt (errno ELOOP) when the chain does not end.
std::optional<std::string> FinalTarget(std::string path);

// Holds a lock file exclusively while it lives; the file is created when missing.
class FolderLock {
 public:
  explicit FolderLock(const std::string& path);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Opened() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Replaces target with a new file whose bytes write(fd) writes: the new file
// is made beside target under a fresh name, in a way that never opens a file
// already there (a link of that name is not followed), flushed to disk and
// renamed over target. It has the permission bits mode, or, without one, those
// a new file of the user's gets (0600 as the user's umask allows). Temporary
// files that an earlier writer, killed while writing, left beside target are
// removed first; the caller holds the folder's lock. False (errno set) when it
// fails, and then no temporary file is left.
bool ReplaceFile(const std::string& target, std::optional<mode_t> mode, const std::function<bool(int fd)>& write);
bool ReplaceFile(const std::string& target, std::optional<mode_t> mode, std::string_view bytes);
// Replaces target with a copy of the file at source, as above.
bool ReplaceWithCopy(const std::string& target, std::optional<mode_t> mode, const std::string& source);

// Reads into buffer until it is full or the file ends; the count read, -1
// (errno set) on an error.
ssize_t ReadFull(int fd, char* buffer, size_t size);

// True when the file at path holds exactly bytes. Compared block by block, so
// a large file is not held in memory; a file that cannot be read differs.
bool FileHolds(const std::string& path, std::string_view bytes);
// True when the two files hold the same bytes, compared block by block.
bool FilesMatch(const std::string& a, const std::string& b);

}  // namespace tlb
