#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Prefix rules that carry paths written on another machine over to this
// one: "C:\Covers\" or "\\nas\movies\" become folders here. The rules are
// tried in order and the first whose prefix starts the path wins; letter
// case of the prefix's ASCII letters is ignored. In the path a rule makes,
// every backslash becomes "/".
struct TPathRule {
  std::string From;
  std::string To;
  bool operator==(const TPathRule&) const = default;
};
using TPathMap = std::vector<TPathRule>;

// The path a rule makes of `path`, or nothing when no rule applies. Rules
// with an empty prefix are never applied.
std::optional<std::string> MapPath(const TPathMap& rules, std::string_view path);

// `path` mapped when a rule applies, else as it is.
std::string MapPathOrKeep(const TPathMap& rules, std::string_view path);

// An address rather than a file: "scheme://...".
bool IsUrl(std::string_view path);
