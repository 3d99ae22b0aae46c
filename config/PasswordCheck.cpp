#include "config/PasswordCheck.h"

namespace {

unsigned char FoldAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

bool PasswordMatches(std::string_view typed, std::string_view stored) {
  if (typed.size() != stored.size()) return false;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    if (FoldAscii(static_cast<unsigned char>(typed[i])) != FoldAscii(static_cast<unsigned char>(stored[i]))) {
      return false;
    }
  }
  return true;
}
