#include "platform/core/sysutils.h"

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The one integer scanner behind Val, StrToInt and TryStrToInt. Returns the
// value read so far; errorPos is 0 on success, else the 1-based position of the
// first character that does not belong to the number.
int ScanInteger(std::string_view text, int& errorPos) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }

  // Decimal: the magnitude may reach 2^31 for a negative number. Hexadecimal:
  // any 32-bit pattern.
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  const int base = hex ? 16 : 10;
  uint64_t magnitude = 0;
  const size_t firstDigit = i;
  for (; i < text.size(); ++i) {
    const int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) break;
    const uint64_t next = magnitude * base + static_cast<uint64_t>(digit);
    if (next > limit) break;
    magnitude = next;
  }
  // No digit at all, or something after the digits: i points at the bad
  // character (or just past the end).
  errorPos = (i == firstDigit || i < text.size()) ? static_cast<int>(i) + 1 : 0;

  const auto pattern = static_cast<uint32_t>(magnitude);
  const uint32_t result = negative ? 0u - pattern : pattern;
  return static_cast<int>(result);
}

[[noreturn]] void ThrowNotAnInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

bool IsPathDelimiter(char c) { return c == '\\' || c == '/' || c == ':'; }

size_t AfterLastDelimiter(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsPathDelimiter(path[i - 1])) return i;
  }
  return 0;
}

}  // namespace

std::string IntToStr(int64_t value) { return std::to_string(value); }

int StrToInt(std::string_view text) {
  int errorPos;
  const int value = ScanInteger(text, errorPos);
  if (errorPos != 0) ThrowNotAnInteger(text);
  return value;
}

bool TryStrToInt(std::string_view text, int& value) {
  int errorPos;
  const int scanned = ScanInteger(text, errorPos);
  if (errorPos != 0) return false;
  value = scanned;
  return true;
}

int Val(std::string_view text, int& errorPos) { return ScanInteger(text, errorPos); }

std::string TrimLeft(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && static_cast<uint8_t>(text[begin]) <= ' ') ++begin;
  return std::string(text.substr(begin));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && static_cast<uint8_t>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, AfterLastDelimiter(path)));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(AfterLastDelimiter(path)));
}

std::string ExtractFileExt(std::string_view path) {
  const std::string_view name = path.substr(AfterLastDelimiter(path));
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string out(path);
  if (out.empty() || (out.back() != '\\' && out.back() != '/')) out += '\\';
  return out;
}

int RandomGenerator::Random(int n) {
  seed = seed * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(n)) >> 32);
}

RandomGenerator& RandSeed() {
  static RandomGenerator generator;
  return generator;
}

int Random(int n) { return RandSeed().Random(n); }

void RandomizeFrom(uint32_t millisecondsSinceMidnight) {
  RandSeed().Randomize(millisecondsSinceMidnight);
}

}  // namespace tlb
