#include "browse/RandomPick.h"

#include <algorithm>

std::int64_t PickRandomMovie(const std::vector<std::int64_t>& offered, std::int64_t previous, std::mt19937& random) {
  if (offered.empty()) return -1;
  const bool repeatable = std::find(offered.begin(), offered.end(), previous) == offered.end() || offered.size() == 1;
  if (repeatable) return offered[std::uniform_int_distribution<std::size_t>(0, offered.size() - 1)(random)];
  // One of the others, each as likely: a draw among all but one place, the
  // previous movie's place skipped.
  const std::size_t skipped = static_cast<std::size_t>(std::find(offered.begin(), offered.end(), previous) - offered.begin());
  std::size_t place = std::uniform_int_distribution<std::size_t>(0, offered.size() - 2)(random);
  if (place >= skipped) ++place;
  return offered[place];
}
