#pragma once

#include "render/MoviePages.h"

#include <optional>
#include <string>
#include <string_view>

// The window's table pages: the table of the movies the side bar shows
// ("movietable[all,FILTER].html", the filter's text in hexadecimal, empty
// for every movie) or of the list on screen ("movietable[list,PAGE].html",
// the list's page name in hexadecimal). Both are worked out when the page
// is made, on a page worker, and keep their order and part in the query
// ("?sort=year&order=desc&part=2").
std::string SideBarTableAddress(std::string_view filterText);
std::string ListTableAddress(std::string_view pageName);
// The table of the page on screen (`shownPageName`, empty for none) when
// it lists movies (several movies, a search's result, a statistics bar's
// movies), or else of the movies the side bar shows.
std::string MovieTableAddress(std::string_view shownPageName, std::string_view filterText);

// Resolves a table address into the rows' page ("movierows[...]") with
// the query asked for, and how many rows it has; a damaged address gives
// the empty page; nothing for any other name.
std::optional<TResolvedPage> ResolveTablePage(std::string_view name, const TPageInput& pages);

// Every page the browsing makes of other pages: the searches' and the
// tables'. The resolver the viewer and elkcat give their page sessions.
std::optional<TResolvedPage> ResolveBrowsingPage(std::string_view name, const TPageInput& pages);
