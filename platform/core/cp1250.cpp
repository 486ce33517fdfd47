#include "platform/core/cp1250.h"

#include <array>

namespace tlb {
namespace {

constexpr char32_t kUndefined = 0xFFFD;

// Code points of the bytes 0x80 to 0xFF; 0x00 to 0x7F are ASCII.
constexpr std::array<char32_t, 128> kHighHalf = {
    0x20AC, kUndefined, 0x201A, kUndefined, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    kUndefined, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,      // 88
    kUndefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,      // 90
    kUndefined, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,      // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,          // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,          // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,          // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,          // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,          // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,          // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,          // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,          // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,          // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,          // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,          // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,          // F8
};

// Upper-case and lower-case partners among the bytes 0x80 to 0xFF.
struct CasePair {
  uint8_t upper;
  uint8_t lower;
};
constexpr CasePair kHighCasePairs[] = {
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},  // Š Ś Ť Ž Ź
    {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE},  // Ł Ą Ş Ż Ľ
};

struct CaseTables {
  std::array<uint8_t, 256> upper{};
  std::array<uint8_t, 256> lower{};
};

constexpr CaseTables MakeCaseTables() {
  CaseTables t;
  for (int i = 0; i < 256; ++i) {
    t.upper[i] = static_cast<uint8_t>(i);
    t.lower[i] = static_cast<uint8_t>(i);
  }
  auto pair = [&t](int upper, int lower) {
    t.upper[lower] = static_cast<uint8_t>(upper);
    t.lower[upper] = static_cast<uint8_t>(lower);
  };
  for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
  for (const CasePair& p : kHighCasePairs) pair(p.upper, p.lower);
  // 0xC0..0xDE pair with 0xE0..0xFE, except the signs × (0xD7) and ÷ (0xF7).
  // 0xDF is ß, whose partner 0xFF is the dot above and not a letter.
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) pair(c, c + 32);
  }
  return t;
}

constexpr CaseTables kCase = MakeCaseTables();

// The inverse of the high half, built once: code point -> byte.
char HighByteOf(char32_t codePoint) {
  for (int i = 0; i < 128; ++i) {
    if (kHighHalf[i] == codePoint && codePoint != kUndefined) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[pos]. Returns the code point and sets
// length to the bytes used; a malformed sequence (bad lead byte, missing or bad
// continuation, overlong form, surrogate, beyond U+10FFFF) uses one byte and
// gives U+FFFD.
char32_t DecodeUtf8(std::string_view text, size_t pos, size_t& length) {
  length = 1;
  const auto lead = static_cast<uint8_t>(text[pos]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t cp;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return kUndefined;
  }
  if (pos + extra >= text.size()) return kUndefined;  // sequence cut off by the end
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<uint8_t>(text[pos + i]);
    if ((b & 0xC0) != 0x80) return kUndefined;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kUndefined;
  length = static_cast<size_t>(extra) + 1;
  return cp;
}

}  // namespace

char32_t Cp1250ToCodePoint(uint8_t byte) {
  return byte < 0x80 ? static_cast<char32_t>(byte) : kHighHalf[byte - 0x80];
}

char CodePointToCp1250(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<char>(codePoint);
  return HighByteOf(codePoint);
}

std::string Utf8ToCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t length;
    const char32_t cp = DecodeUtf8(utf8, pos, length);
    out += CodePointToCp1250(cp);
    pos += length;
  }
  return out;
}

std::string Cp1250ToUtf8(std::string_view cp1250) {
  std::string out;
  out.reserve(cp1250.size() * 2);
  for (char c : cp1250) AppendUtf8(out, Cp1250ToCodePoint(static_cast<uint8_t>(c)));
  return out;
}

char AnsiUpperChar(char c) { return static_cast<char>(kCase.upper[static_cast<uint8_t>(c)]); }
char AnsiLowerChar(char c) { return static_cast<char>(kCase.lower[static_cast<uint8_t>(c)]); }

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AnsiUpperChar(c);
  return out;
}

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AnsiLowerChar(c);
  return out;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AnsiLowerChar(a[i]) != AnsiLowerChar(b[i])) return false;
  }
  return true;
}

}  // namespace tlb
