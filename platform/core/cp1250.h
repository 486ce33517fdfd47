#pragma once
// Code page 1250 (Central European), the code page of every text in the system.
// Strings inside the platform and the programs are byte strings in this code
// page, so a character count is a byte count. UTF-8 appears only at the edges:
// file names handed to the operating system, fonts, and source files.
#include <cstdint>
#include <string>
#include <string_view>

namespace tlb {

// The Unicode code point of one code page 1250 byte. The five positions the
// code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) give U+FFFD.
char32_t Cp1250ToCodePoint(uint8_t byte);

// The code page 1250 byte of a code point, or '?' when the code page has none.
char CodePointToCp1250(char32_t codePoint);

// Converts UTF-8 to code page 1250. A character the code page cannot hold and
// each byte of a malformed UTF-8 sequence become '?'.
std::string Utf8ToCp1250(std::string_view utf8);

// Converts code page 1250 to UTF-8. Undefined bytes become U+FFFD.
std::string Cp1250ToUtf8(std::string_view cp1250);

// Lets program code write its Czech texts readably in UTF-8 source:
// Cz("Kámen") is the code page 1250 byte string of "Kámen".
inline std::string Cz(std::string_view utf8) { return Utf8ToCp1250(utf8); }

// Case mapping in code page 1250: ASCII letters and the accented letters of the
// code page (Č/č, Ř/ř, Ů/ů, Ľ/ľ, ...). Letters without a partner in the code
// page (ß) and all other bytes stay as they are.
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Case-insensitive equality in code page 1250.
bool AnsiSameText(std::string_view a, std::string_view b);

}  // namespace tlb
