#include "config/PasswordScramble.h"

#include <cstring>

const char kScrambleTable[66] = "l7T_48JfPVwDKydHRxiZt-Mo90U6Y25AmsW3zqQrbhcFg1pSOjIGLaXnuBNCkevE.";

namespace {

constexpr int kPadding = 64;

int IndexOf(char c) {
  const char* at = std::strchr(kScrambleTable, c);
  // A character outside the table (or the terminating zero) counts as 0.
  if (c == '\0' || at == nullptr) return 0;
  return static_cast<int>(at - kScrambleTable);
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  std::string result;
  result.reserve((password.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < password.size(); i += 3) {
    std::size_t left = password.size() - i;
    unsigned b0 = static_cast<unsigned char>(password[i]);
    unsigned b1 = left > 1 ? static_cast<unsigned char>(password[i + 1]) : 0;
    unsigned b2 = left > 2 ? static_cast<unsigned char>(password[i + 2]) : 0;
    int i0 = static_cast<int>(b0 >> 2);
    int i1 = static_cast<int>(((b0 & 3) << 4) + (b1 >> 4));
    int i2 = left > 1 ? static_cast<int>(((b1 & 15) << 2) + (b2 >> 6)) : kPadding;
    int i3 = left > 2 ? static_cast<int>(b2 & 63) : kPadding;
    result += kScrambleTable[i0];
    result += kScrambleTable[i1];
    result += kScrambleTable[i2];
    result += kScrambleTable[i3];
  }
  return result;
}

std::string UnscramblePassword(std::string_view stored) {
  std::string result;
  // A group is taken while its first character lies before the last one, so
  // a single character left over at the end is ignored.
  for (std::size_t g = 0; g + 1 < stored.size(); g += 4) {
    int index[4];
    for (int k = 0; k < 4; ++k) {
      index[k] = g + k < stored.size() ? IndexOf(stored[g + k]) : kPadding;
    }
    result += static_cast<char>(((index[0] & 63) << 2) + ((index[1] & 48) >> 4));
    if (index[2] == kPadding) continue;
    result += static_cast<char>(((index[1] & 15) << 4) + ((index[2] & 60) >> 2));
    if (index[3] == kPadding) continue;
    result += static_cast<char>(((index[2] & 3) << 6) + (index[3] & 63));
  }
  return result;
}
