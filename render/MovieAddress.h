#pragma once

#include "catalog/TMovie.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Page addresses of the "movie" scheme.
//
// A movie is named in addresses by its handle: the decimal text of
// TMovie::Handle, which counts up over the whole run of the program and is
// never given twice (see TMovieList::Append). "movie[" list "].html" lists
// handles and texts: an item that is the handle of a loaded movie shows that
// movie, anything else shows a no-result block for the item.
//
// A search that found nothing must never have its text read as handles (a
// search for "12" is not movie 12). Its address therefore uses the marked
// name "moviesearch[" text "].html", in which every item is a search text,
// whatever it looks like. Typed text can never produce a "movie[" address
// of handles, and every "movie[" address renders exactly as before.

constexpr std::string_view kMovieUrlPrefix = "movie://localhost/";
constexpr std::string_view kSearchPageName = "moviesearch";
// The viewer's own page for a page whose process kept ending.
constexpr std::string_view kProcessEndedPageName = "movieended";
// A search made when its page is asked for: "moviefind[" field "," text in
// hexadecimal "].html". Its items are never handles.
constexpr std::string_view kFindPageName = "moviefind";

std::string MovieHandleText(const TMovie& movie);

// "movie://localhost/movie[" + items + "].html"
std::string MoviePageAddress(std::string_view items);

// "movie://localhost/moviesearch[" + text + "].html", with "%", "#", "?"
// and control characters percent-encoded so the browser passes them on
// unchanged (the request handler decodes them).
std::string SearchPageAddress(std::string_view text);

std::string PercentEncodeForAddress(std::string_view text);
// Every "%" and two hexadecimal digits as the byte they name.
std::string PercentDecoded(std::string_view text);

// "movie://localhost/moviestatistics[all].html": the collection as a whole.
std::string StatisticsPageAddress();

// "movie://localhost/moviefind[" + field + "," + the text in hexadecimal +
// "].html": hexadecimal, because a typed text may hold any character that
// addresses are split at.
std::string FindPageAddress(std::string_view text, int field);

// Two lower-case hexadecimal digits per byte, and back (nothing when the
// text is not such digits).
std::string HexText(std::string_view bytes);
std::optional<std::string> BytesOfHexText(std::string_view hex);

// "movie://localhost/movieended[" + the failed address in hexadecimal +
// "].html": the page says the failed one could not be shown and links to
// it. Hexadecimal, because the address holds the very characters (":",
// "[", ",", "%") that requests and page addresses are split at.
std::string ProcessEndedPageAddress(std::string_view failedAddress);
// The failed address of such a page's token: only a "movie" address of
// printable ASCII, so the link can never lead anywhere else.
std::optional<std::string> ProcessEndedFailedAddress(std::string_view token);

// A list of more movies than this is shown in parts of this many, so the
// web view never lays out a page of thousands of movies (it takes seconds
// and tens of megabytes); a part still scrolls like one page.
constexpr int kListPartMovies = 100;

// The part of a list an address asks for: "?part=N" after ".html" (in its
// last token). 1 when it names none; the renderer keeps it within the list.
int ListPartOf(std::string_view lastToken);

// The relative address of a part of the list shown: "?part=N", resolved
// against the page's own address.
std::string ListPartLink(int part);

// Splits a page address into tokens at ",", "[" and "]": blanks, CR and LF
// before a token are skipped, a quoted stretch (single or double quotes)
// does not split, empty tokens are dropped.
std::vector<std::string> TokenizeMovieAddress(std::string_view address);

// The integer a token spells completely (optional sign, decimal digits).
std::optional<std::int64_t> ParseHandle(std::string_view token);
