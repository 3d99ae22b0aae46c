#pragma once

#include <string>
#include <string_view>

// The file name offered when the page shown is saved or the catalog
// exported: `title` (the page's or the catalog's) without what file
// systems refuse or hide (/ \ : * ? " < > |, control characters, leading
// dots and blanks), at most 100 bytes, then `extension` (".pdf"); the
// `fallback` when nothing is left.
std::string SuggestedFileName(std::string_view title, std::string_view fallback, std::string_view extension);
