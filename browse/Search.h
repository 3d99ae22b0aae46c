#pragma once

#include "render/TMovieRequestHandler.h"

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

class TMovieList;

// The fields the search box can search, by their index in the chooser.
enum TSearchField {
  sfTitle = 0,
  sfActors,
  sfDirector,
  sfProducer,
  sfDescription,
  sfComments,
  sfOriginalTitle,
  sfTranslatedTitle
};

// True when the whole value matches the pattern: "*" matches any run of
// characters and "?" any one character, except that a pattern ending in two
// or more "*" needs at least one character for them. Linear space and at
// most O(value length x pattern length) time.
bool MatchWildcard(std::string_view value, std::string_view pattern);

// The wildcard pattern of a typed text: "*" around it and for every blank,
// or the text as typed when it starts with a double quote; double quotes
// removed, ASCII letters in lower case.
std::string SearchPattern(std::string_view text);

// The address a search navigates to: the page of all matching movies in
// catalog order, or the no-result page for the text (see MovieAddress.h).
// Nothing for an empty text.
std::optional<std::string> SearchMovies(std::string_view text, int field, const TMovieList& movies, int titleType);

// The same with how many movies it found. A search whose flag is set
// stops early (its result is of no use).
struct TSearchResult {
  std::string Address;
  int Found = 0;
};
std::optional<TSearchResult> FindMovies(std::string_view text, int field, const TMovieList& movies, int titleType,
                                        const std::atomic<bool>* cancelled = nullptr);

// The window's searches are pages of their own ("moviefind[...]", see
// FindPageAddress), so the search runs with the page, on a page worker.
// This resolves such a name into the address the search finds in the
// page's catalog (with the part asked for) and how many it found; nothing
// for any other name. A damaged name gives the empty page.
std::optional<TResolvedPage> ResolveFindPage(std::string_view name, const TPageInput& pages);
