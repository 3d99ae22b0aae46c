#include "render/Resources.h"

std::optional<std::string> LoadResourceStream(std::string_view name) {
  for (const TResource& resource : EmbeddedResources()) {
    std::string_view candidate = resource.Name;
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      char a = name[i], b = candidate[i];
      if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
      if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
      same = a == b;
    }
    if (same) return std::string(reinterpret_cast<const char*>(resource.Bytes.data()), resource.Bytes.size());
  }
  return std::nullopt;
}
