#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TIniFile;
struct TColorScheme;

// The texts around every page: the document head with the scheme's style
// sheet and the opening body tag, and the closing tags.
struct TPageFrame {
  std::string PageHeader;
  std::string PageFooter;
};

constexpr const char* kSchemesFileName = "Schemes.ini";

// Builds the frame from the page colours of a scheme.
TPageFrame BuildPageFrame(const TColorScheme& scheme);
// The same from the page keys of `scheme` in "Schemes.ini" of `folder`;
// absent keys take their defaults, present ones are used as written.
TPageFrame BuildPageFrame(const std::string& folder, const std::string& scheme);
TPageFrame BuildPageFrame(const TIniFile& schemes, const std::string& scheme);

// A scheme colour "#RRGGBB" as the colour value 0x00BBGGRR: the first
// character is skipped whatever it is, blanks around the text are removed,
// and anything that is not hexadecimal gives black (0).
std::uint32_t ParseSchemeColorText(std::string_view text);

// Reads `key` of `scheme` (or `defaultText` when the key is absent) and
// parses it as above. A key present with an empty value is black.
std::uint32_t ParseSchemeColor(const TIniFile& schemes, const std::string& scheme, const std::string& key,
                               const std::string& defaultText);
