#pragma once

#include "catalog/TMovie.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The shared rules that turn a movie's fields into display text. They take
// the relevant setting as a parameter; dates and ratings follow
// CurrentLocale(), fixed words pass through Translate().

// The 21 text fields that a setting may name, in record order.
extern const std::array<const char*, 21> kMovieFieldNames;

// The names of one field text (categories, people): pieces between commas,
// remarks in parentheses left out, blanks trimmed, a piece equal to the one
// before it dropped; an empty text gives the single name "Others"
// (translated).
std::vector<std::string> SplitNameList(std::string_view text);

// The display title: the preferred title (original for TitleType 0, else
// translated), the other one when it is empty, else "< no title >".
std::string GetMovieTitle(const TMovie& movie, int titleType);
// The stored title GetMovieTitle shows, without a copy; empty when the
// movie has none (GetMovieTitle then shows "< no title >").
std::string_view StoredMovieTitle(const TMovie& movie, int titleType);

// The text of the field named `fieldName` (ASCII case ignored); empty for an
// empty or unknown name.
std::string GetVideoPath(const TMovie* movie, std::string_view fieldName);

// Empty for -1, else the decimal digits.
std::string FormatOptionalNumber(std::int32_t value);

// The day number (day 0 = 30 December 1899) in the date pattern: d, dd,
// ddd, dddd, m, mm, mmm, mmmm, yy, yyyy, "/" for the locale's separator,
// quoted literals. Days outside the years 1 to 9999 give the empty text.
std::string FormatMovieDate(std::int32_t dayNumber, std::string_view pattern);

// Rating in tenths as points with at most one decimal ("7.5", "7", "10").
// An unrated movie (-1) gives the empty text.
std::string FormatRating(std::int32_t rating);

// 0..10: the rating clamped to 0..100, divided by 10, rounded half to even.
int RatingStep(std::int32_t rating);

// "Yes" or "No", translated.
std::string CheckedText(bool checked);

// Every CR LF, then every lone CR, then every lone LF becomes "<br>".
std::string LineBreaksToHtml(std::string_view text);

// The calendar date of a day number; false outside the years 1 to 9999.
bool DecodeDayNumber(std::int32_t dayNumber, int& year, int& month, int& day);
