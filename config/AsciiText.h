#pragma once

#include <string>
#include <string_view>

// Letter case of the ASCII letters only: the catalog's other bytes
// (accented letters of Windows-1252) are never folded by these.

constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

// Equal when A..Z are taken as a..z.
bool SameTextAscii(std::string_view a, std::string_view b);

// The value of a hexadecimal digit, or -1.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
