#include "config/TViewerError.h"

TViewerError::TViewerError(const std::string& message) : std::runtime_error(message) {}

std::string FormatMessage(const std::string& pattern, const std::string& value) {
  std::string::size_type at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + value + pattern.substr(at + 2);
}
