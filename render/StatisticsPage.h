#pragma once

#include "render/CollectionStats.h"

#include <string>
#include <string_view>

// The statistics page's body: the figures, then one bar chart per chart
// of `stats`, drawn as SVG in the page (no script, no picture files), in
// the colours of the page around it. With `linkBars` every bar with movies
// links to their list page ("movie[...].html", relative to the page);
// without, the bars are plain (the static site has no list pages).
std::string StatisticsBlock(const TCollectionStats& stats, bool linkBars);

// Text made safe inside markup and its quoted attributes: & < > " ' as
// entities, control characters as blanks (XML allows none of them).
std::string EscapeMarkup(std::string_view text);

// The name of the statistics page under the "movie" scheme.
constexpr std::string_view kStatisticsPageName = "moviestatistics";
