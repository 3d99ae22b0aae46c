#include "browse/ExportNames.h"

std::string SuggestedFileName(std::string_view title, std::string_view fallback, std::string_view extension) {
  std::string name;
  for (char c : title) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
      name += ' ';
    } else {
      name += c;
    }
  }
  const std::size_t first = name.find_first_not_of(" .");
  name = first == std::string::npos ? std::string() : name.substr(first);
  if (name.size() > 100) name.resize(100);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return (name.empty() ? std::string(fallback) : name) + std::string(extension);
}
