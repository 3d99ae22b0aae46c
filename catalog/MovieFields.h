#pragma once

#include "catalog/TMovie.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Every field of a movie record and every page variable, described once:
// the record's fields in file order, then the page variables that are made
// from several fields or from the page itself. Pages, the settings window's
// lists, the JSON and CSV of elkcat and the video path setting all read
// this table.
enum class TFieldKind {
  Text,           // kept as read
  MultilineText,  // kept as read; its line breaks become <br> on pages
  Number,         // -1 for none
  Date,           // a day number, day 0 = 30 December 1899
  Rating,         // tenths of a point, -1 for none
  Checked,        // yes or no
  Derived,        // a page variable only, not a field of the record
};

struct TMovieField {
  using TMember = std::variant<std::monostate, std::string TMovie::*, std::int32_t TMovie::*, bool TMovie::*>;
  // The field's name in the record ("OriginalTitle"), or the variable's
  // ("Title") when it is not a field.
  const char* Name;
  TFieldKind Kind;
  TMember Member;
  // The page variable ("$ORIGINALTITLE"), or nullptr when pages have none.
  const char* Variable = nullptr;
  // What the settings window's Insert Info menu calls it, and its place
  // there (from 1).
  const char* Caption = nullptr;
  int MenuPosition = 0;
};

const std::vector<TMovieField>& MovieFields();

// The field or variable of that name (exact spelling), or nullptr.
const TMovieField* FindMovieField(std::string_view name);
const TMovieField* FindPageVariable(std::string_view variable);

// A text field may hold a video's path: a text field that pages show.
bool IsTextField(const TMovieField& field);

// The value of a record field: the text of a text field (else nullptr),
// the number of any other field (0 for derived variables).
const std::string* FieldText(const TMovie& movie, const TMovieField& field);
std::int32_t FieldNumber(const TMovie& movie, const TMovieField& field);
