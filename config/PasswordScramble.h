#pragma once

#include <string>
#include <string_view>

// The reversible encoding under which "Config.ini" stores the password: the
// bit layout of Base64 with a symbol table of the program's own. It keeps the
// password from standing in plain text; it is not a cipher.
std::string ScramblePassword(std::string_view password);
std::string UnscramblePassword(std::string_view stored);

// The 65 symbols: entries 0..63 for the six-bit values, entry 64 the padding.
extern const char kScrambleTable[66];
