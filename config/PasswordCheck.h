#pragma once

#include <string_view>

// True when a typed password equals the stored one: same length, the ASCII
// letters A..Z equal to a..z, every other byte exactly equal.
bool PasswordMatches(std::string_view typed, std::string_view stored);
