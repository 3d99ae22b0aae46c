#pragma once

#include <stdexcept>
#include <string>

// The one exception type of the viewer. Its message is the exact text the
// user sees in the error box, so callers build it with the documented wording.
class TViewerError : public std::runtime_error {
 public:
  explicit TViewerError(const std::string& message);
};

// Replaces the first "%s" of `pattern` with `value` (a tiny printf for the
// fixed message texts; no other conversions are needed).
std::string FormatMessage(const std::string& pattern, const std::string& value);
