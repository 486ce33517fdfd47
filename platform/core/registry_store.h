#pragma once
// The per-user registry file: where it is, reading it, and changing it with
// an atomic replacement of the file. It is the only file the programs write.
// Its parts: the keys and values in memory (registry_data.h), the file's text
// (registry_format.h), the parse kept while the file stays the same
// (registry_cache.h), writing files safely through links under the folder's
// lock (registry_write.h) and the copies of a damaged file (registry_damaged.h).
//
// The file is $XDG_CONFIG_HOME/tulimbo/registry (or ~/.config/tulimbo/registry).
//
// The registry's path may be a link (say, into a folder of the user's own
// configuration files): reads follow it, and writes replace the file at the
// end of its chain of links, so the links stay as they are.
//
// A file that is there but cannot be read (no permission to read it, a folder
// in its place, links that lead round in a loop) is left as it is: the program
// runs on its defaults and does not save them, and says so once on standard
// error.
#include <functional>
#include <memory>
#include <string>

#include "platform/core/registry_data.h"
#include "platform/core/registry_format.h"

namespace tlb {

// The registry file in one folder (UTF-8 path).
class RegistryStore {
 public:
  explicit RegistryStore(std::string folder);

  // $XDG_CONFIG_HOME/tulimbo when XDG_CONFIG_HOME is an absolute path, else
  // $HOME/.config/tulimbo (the home folder from the user database when HOME
  // is unset). Empty when no home folder is known.
  static std::string DefaultFolder();

  const std::string& Folder() const { return folder_; }
  std::string FilePath() const;

  // Where a damaged file is kept: beside the file the registry's path leads
  // to, through any links, with ".damaged" added to its name.
  std::string DamagedPath() const;

  // The stored registry: what can be read of it (of a file over the size limit,
  // of its first kMaxRegistryFileSize bytes). A missing file reads as empty; so
  // does one that cannot be read, which the first time in the process says so
  // on standard error. What was parsed of a file is kept in the process and
  // used again while the file stays the same (registry_cache.h).
  RegistryData Load() const;
  // The same without a copy: the data stays as it is while the pointer lives.
  std::shared_ptr<const RegistryData> Snapshot() const;

  // Applies change to the stored registry and writes the result at once: under
  // an exclusive lock (registry.lock beside the file) it reads the file again,
  // applies change, writes a new file beside the file, flushes it to disk and
  // renames it over the old file, so a reader sees the old or the new registry
  // and never a mix. The new file keeps the old one's permission bits. When the
  // registry's path is a link, the file is the one at the end of the chain of
  // links (created when missing), and the new file is made beside that one.
  // The folder is created when missing. A result equal to the file as it
  // stands is not written again.
  //
  // A damaged file (one over the size limit too) is first kept as
  // <file>.damaged beside it (registry.damaged, unless the path is a link), so
  // that what could not be read is not lost; the first time in the process this
  // says on standard error where the copy is. A different copy kept before
  // moves to <file>.damaged.N, N one past the highest number in use, so the
  // numbers follow the copies' age; a copy that is the same is not kept twice.
  //
  // A file that cannot be read (a link loop, a folder or a pipe in its place
  // included) is left alone and not written: Update returns false, and the
  // notice that it cannot be read is the only one. Else returns false (errno
  // set) when the file cannot be written, a result over kMaxRegistryFileSize
  // included (EFBIG; its size is counted before it is made, so a file that
  // cannot be saved costs no more than reading it); the first such failure in
  // the process says on standard error that the settings could not be saved,
  // and why. When Update returns false the stored registry, and what reads
  // give, are as they were.
  bool Update(const std::function<void(RegistryData&)>& change);

 private:
  enum class Outcome { Written, Failed, Unreadable };
  Outcome UpdateFile(const std::function<void(RegistryData&)>& change);

  std::string folder_;
};

}  // namespace tlb
