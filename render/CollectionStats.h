#pragma once

#include <string>
#include <vector>

class TMovieList;

// The collection as a whole: counts and charts of a catalog's movies.
// Labels are texts of the catalog (categories, people, countries) or made
// here ("1990s", "7"); chart titles are English, translated where shown.
// Nothing here depends on the language: elkcat writes the same figures
// whatever the program folder's language.

// The label of the movies without a value, translated where shown.
constexpr const char* kNoValueLabel = "Others";

struct TStatBar {
  std::string Label;
  int Count = 0;
  // The movies without a value (labelled kNoValueLabel).
  bool NoValue = false;
  // The movies of the bar as a handle list ("3,17,42") for a link to their
  // list page; empty when the bar has no page of its own.
  std::string Handles;
};

struct TStatChart {
  std::string Key;    // "decades", "categories", ... (elkcat stats' names)
  std::string Title;  // "Movies by decade", ...
  std::vector<TStatBar> Bars;
};

struct TCollectionStats {
  int Movies = 0;
  int WithLength = 0;
  long long TotalMinutes = 0;
  // Over the movies with a length; 0 when none has one.
  double AverageMinutes = 0;
  int WithCover = 0;
  int WithVideo = 0;
  std::vector<TStatChart> Charts;

  const TStatChart* Chart(const std::string& key) const;
};

// How many names the people charts show.
constexpr int kTopPeople = 15;

// Counts the catalog. Decades, years and the year added come in time
// order; ratings by their whole points, 0 to 10; categories, media types
// and countries by count, then name; the most frequent directors and
// actors (kTopPeople each) by count, then name. A movie without a value
// counts under kNoValueLabel for texts and nowhere for numbers.
// `videoField` names the field holding the video's path (a movie with a
// path there "has a video file", wherever it is).
TCollectionStats CollectStatistics(const TMovieList& catalog, const std::string& videoField);
