#pragma once

#include <string>

class TIniFile;
struct TColorScheme;

// The texts around every page: the document head with the scheme's style
// sheet and the opening body tag, and the closing tags.
struct TPageFrame {
  std::string PageHeader;
  std::string PageFooter;
};

// Builds the frame from the page colours of a scheme.
TPageFrame BuildPageFrame(const TColorScheme& scheme);
// The same from the page keys of `scheme` in "Schemes.ini" of `folder`;
// absent keys take their defaults, present ones are used as written.
TPageFrame BuildPageFrame(const std::string& folder, const std::string& scheme);
TPageFrame BuildPageFrame(const TIniFile& schemes, const std::string& scheme);
