#pragma once

#include "render/MoviePages.h"

#include <string>
#include <string_view>
#include <vector>

struct TMovie;

// A table of a list of movies, made like the other pages (the page frame of
// the scheme, no script): a small cover, the title leading to the movie's
// page, year, director, length, rating, category and country. A click on
// a column's head orders by it, a second click the other way; a long table
// comes in the parts of the list pages. Its page is
// "movierows[HANDLES].html?sort=COLUMN&order=desc&part=N", named by the
// window's table addresses once they are resolved.

constexpr std::string_view kTableRowsPageName = "movierows";

enum class TTableColumn { Title, Year, Director, Length, Rating, Category, Country };

struct TTableOrder {
  TTableColumn Column = TTableColumn::Title;
  bool Descending = false;
};

// The order a table address asks for ("?sort=year&order=desc" in its last
// token); by title, ascending, when it names none.
TTableOrder TableOrderOf(std::string_view lastToken);

// The movies in the order asked: numbers as numbers, texts as the locale
// orders them, movies without a value last either way, the list's own
// order among equals.
std::vector<const TMovie*> SortTableRows(std::vector<const TMovie*> movies, TTableOrder order, int titleType);

// The page of a "movierows[...]" address (its tokens).
std::string RenderTablePage(const std::vector<std::string>& tokens, const TPageInput& input);
