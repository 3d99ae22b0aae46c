#pragma once

#include "render/CollectionStats.h"
#include "render/MoviePages.h"

#include <optional>
#include <string>
#include <string_view>

// The statistics page's body: the figures, then one bar chart per chart
// of `stats`, each bar drawn as SVG in the page (no script, no picture
// files), in the colours of the page around it. With `linkBars` every bar
// with movies links to its list page (StatisticsBarAddress, relative to
// the page); without, the bars are plain (the static site has no list
// pages).
std::string StatisticsBlock(const TCollectionStats& stats, bool linkBars);

// "moviebar[CHART,BAR].html": the movies of one bar of the statistics.
std::string StatisticsBarAddress(std::size_t chart, std::size_t bar);
// Resolves such a name, counting the page's catalog again: the list of
// the bar's movies (with the part asked for), how many they are, and a
// heading that says what they are ("Movies of the 1970s", "Director: ...").
// A damaged name gives the empty page; nothing for any other name.
std::optional<TResolvedPage> ResolveStatisticsBar(std::string_view name, const TPageInput& pages);

// Text made safe inside markup and its quoted attributes: & < > " ' as
// entities, control characters as blanks (XML allows none of them).
std::string EscapeMarkup(std::string_view text);

// The name of the statistics page under the "movie" scheme, and of its
// bars' lists.
constexpr std::string_view kStatisticsPageName = "moviestatistics";
constexpr std::string_view kStatisticsBarPageName = "moviebar";
