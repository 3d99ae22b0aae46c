#include "config/PathMap.h"

#include "config/AsciiText.h"

#include <algorithm>

std::optional<std::string> MapPath(const TPathMap& rules, std::string_view path) {
  for (const TPathRule& rule : rules) {
    if (rule.From.empty() || path.size() < rule.From.size()) continue;
    if (!SameTextAscii(path.substr(0, rule.From.size()), rule.From)) continue;
    std::string mapped = rule.To + std::string(path.substr(rule.From.size()));
    std::replace(mapped.begin(), mapped.end(), '\\', '/');
    return mapped;
  }
  return std::nullopt;
}

std::string MapPathOrKeep(const TPathMap& rules, std::string_view path) {
  return MapPath(rules, path).value_or(std::string(path));
}

bool IsUrl(std::string_view path) {
  std::size_t scheme = path.find("://");
  if (scheme == std::string_view::npos || scheme == 0) return false;
  // A scheme is letters, digits, "+", "-" and "."; a drive letter is not one.
  return scheme > 1 && std::all_of(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(scheme), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
                  c == '-' || c == '.';
         });
}
