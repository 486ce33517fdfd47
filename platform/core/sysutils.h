#pragma once
// The run-time string, number and file-name routines the programs call, with the
// class library's rules. Texts are code page 1250 byte strings.
#include <cstdint>
#include <string>
#include <string_view>

namespace tlb {

std::string IntToStr(int64_t value);

// Reads a signed 32-bit integer: leading blanks (space, tab) are skipped, then an
// optional sign, then decimal digits, or hexadecimal digits after "$", "0x" or
// "0X". Nothing may follow the digits. Hexadecimal takes up to $FFFFFFFF as the
// 32-bit pattern, so "$FFFFFFFF" is -1, as in the class library. Anything else,
// and decimal values outside the 32-bit range, throw
// EConvertError("'<text>' is not a valid integer value").
int StrToInt(std::string_view text);

// StrToInt without the exception: false and value untouched on bad text.
bool TryStrToInt(std::string_view text, int& value);

// The runtime's Val: returns the value of the digits before the first bad
// character and sets errorPos to that character's 1-based position, or 0 when
// the whole text is a number. Text that ends where a digit is still expected
// (empty, only blanks, a lone sign or "$") reports the position just past the
// end. A digit that would leave the 32-bit range is a bad character.
int Val(std::string_view text, int& errorPos);

// Removes leading and trailing blanks and control characters (bytes up to ' ').
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// File-name parts. The delimiters are '\\', '/' and ':' (a drive), so the
// routines work on the Windows paths the programs build and on Linux paths.
// ExtractFilePath: up to and including the last delimiter ("" when none).
std::string ExtractFilePath(std::string_view path);
// ExtractFileName: what follows the last delimiter.
std::string ExtractFileName(std::string_view path);
// ExtractFileExt: from the last '.' of the file name on, the dot included;
// "" when the file name has no dot.
std::string ExtractFileExt(std::string_view path);
// Appends '\\' unless the path already ends in '\\' or '/'. An empty path
// becomes "\\", the root, as in the class library.
std::string IncludeTrailingBackslash(std::string_view path);

// The runtime's linear congruential generator, reproduced exactly because the
// games' random formulas are part of their behaviour.
class RandomGenerator {
 public:
  // seed := seed * 134775813 + 1 (mod 2^32), then (seed * n) div 2^32, which
  // lies in 0..n-1. For n <= 0 the seed still advances and the result is 0.
  int Random(int n);
  // Sets the seed, as the runtime's Randomize does from the milliseconds since
  // midnight.
  void Randomize(uint32_t millisecondsSinceMidnight) { seed = millisecondsSinceMidnight; }

  uint32_t seed = 0;
};

// The process-wide generator that the free functions use.
RandomGenerator& RandSeed();
int Random(int n);
void RandomizeFrom(uint32_t millisecondsSinceMidnight);

}  // namespace tlb
