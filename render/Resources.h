#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The program's built-in pictures, drawn at build time and compiled in:
// "stars00" to "stars10" (rating images) and "blank".
struct TResource {
  const char* Name;
  std::span<const std::uint8_t> Bytes;
};

const std::vector<TResource>& EmbeddedResources();

// The bytes of the resource of that name (letter case ignored), or nothing.
std::optional<std::string> LoadResourceStream(std::string_view name);
