#pragma once
// The file layer. The programs build Windows paths in code page 1250, such as
// "C:\\data\\zvuky\\k1_lo.WAV" or, on Linux, "/opt/tq\\zvuky\\k1_lo.WAV", and
// expect the case-insensitive file system they were written for. Every file
// name goes through ResolvePath before it reaches the operating system.
//
// Drive letters: a leading "X:" names the root "/", so "C:\\zvuky" is
// "/zvuky" and the drive root "C:\\" (and "C:") is "/". This keeps the
// programs' drive-root rule (a folder shorter than three characters gets a
// backslash appended before the directory change) working: "/" plus "\\" is
// still the root.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tlb {

// Turns a Windows path in code page 1250 into a UTF-8 Linux path: '\\' becomes
// '/', and each component is looked up case-insensitively (code page 1250
// rules) in its parent folder. An exact match wins; among several
// case-insensitive matches the lexicographically first (by bytes) is taken.
// From the first component that is not found on, the rest keep their spelling,
// so the result names a path that does not exist. "." is dropped and ".." goes
// up one component. A relative path stays relative (it is resolved against the
// current directory). Repeated and trailing separators are dropped.
std::string ResolvePath(std::string_view windowsPathCp1250);

// True for an existing regular file (symbolic links followed).
bool FileExists(std::string_view windowsPath);
// True for an existing directory (symbolic links followed).
bool DirectoryExists(std::string_view windowsPath);

// Changes the current directory; a failure throws EInOutError("I/O error <errno>").
void ChDir(std::string_view windowsPath);
// The current directory in code page 1250 (a character it cannot hold is '?').
std::string GetCurrentDir();

// The program's own path in code page 1250, from /proc/self/exe.
std::string ParamStr0();
// Makes ParamStr0 return this path; an empty path restores the real one.
void SetParamStr0ForTest(std::string pathCp1250);

// The largest file ReadWholeFile accepts.
inline constexpr size_t kMaxReadFileSize = size_t{512} << 20;

// Reads a whole regular file. A missing, unreadable or oversized file (or a
// folder) throws EFOpenError("Cannot open file \"<path>\""); a failure while
// reading throws EReadError.
std::vector<uint8_t> ReadWholeFile(std::string_view windowsPath);

}  // namespace tlb
