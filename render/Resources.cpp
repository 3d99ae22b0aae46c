#include "render/Resources.h"

#include "config/AsciiText.h"

std::optional<std::string> LoadResourceStream(std::string_view name) {
  for (const TResource& resource : EmbeddedResources()) {
    if (SameTextAscii(resource.Name, name)) return std::string(reinterpret_cast<const char*>(resource.Bytes.data()), resource.Bytes.size());
  }
  return std::nullopt;
}
