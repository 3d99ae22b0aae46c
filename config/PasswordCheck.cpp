#include "config/PasswordCheck.h"

#include "config/AsciiText.h"

bool PasswordMatches(std::string_view typed, std::string_view stored) {
  return SameTextAscii(typed, stored);
}
