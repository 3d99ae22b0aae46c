#pragma once

#include <string>
#include <string_view>

// Conversions between the catalog's single-byte code page (Windows-1252) and
// Unicode (UTF-8, UTF-16). Texts stay in Windows-1252 inside the program;
// these run only where text leaves it (screen, JSON output, URLs) or enters
// it from the system.

char32_t Cp1252ToCodePoint(unsigned char byte);

std::string Cp1252ToUtf8(std::string_view text);

// Characters that Windows-1252 cannot hold become "?". Malformed UTF-8 bytes
// are kept as they are so that nothing is silently dropped.
std::string Utf8ToCp1252(std::string_view text);

// One code point to Windows-1252, or '?' when it has no place there.
char CodePointToCp1252(char32_t codePoint);

void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-16 (with surrogate pairs) to UTF-8 and back. Malformed input is
// carried over as well as it goes, never dropped.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
