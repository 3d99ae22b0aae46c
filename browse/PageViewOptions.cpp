#include "browse/PageViewOptions.h"

#include "config/TextEncoding.h"

std::string PageViewStyleSheet(const TPageViewOptions& options) {
  std::string css = Cp1252ToUtf8(options.StyleSheet);
  if (!options.TextSelectable) css += "\n* { -webkit-user-select: none; user-select: none; }";
  return css;
}
