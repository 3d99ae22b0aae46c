#include "render/CollectionStats.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "render/MovieAddress.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

// Movies under each label, in the catalog's order.
using TTally = std::map<std::string, std::vector<const TMovie*>>;

std::string HandleList(const std::vector<const TMovie*>& movies) {
  std::string list;
  for (const TMovie* movie : movies) {
    if (!list.empty()) list += ',';
    list += MovieHandleText(*movie);
  }
  return list;
}

// Movies without a value are tallied under the label followed by a zero
// byte: apart from a category that happens to be called so, yet sorted
// right after it.
const std::string kNoValueKey = std::string(kNoValueLabel) + '\0';

TStatBar Bar(const std::string& label, const std::vector<const TMovie*>& movies) {
  const bool noValue = label == kNoValueKey;
  return {noValue ? kNoValueLabel : label, static_cast<int>(movies.size()), noValue, HandleList(movies)};
}

// Bars in the order of their numeric keys.
TStatChart NumberChart(std::string key, std::string title, const std::map<int, std::vector<const TMovie*>>& tally,
                       const std::function<std::string(int)>& label) {
  TStatChart chart{std::move(key), std::move(title), {}};
  for (const auto& [value, movies] : tally) chart.Bars.push_back(Bar(label(value), movies));
  return chart;
}

// Bars by count, then label; at most `limit` of them.
TStatChart CountChart(std::string key, std::string title, const TTally& tally, std::size_t limit = SIZE_MAX) {
  TStatChart chart{std::move(key), std::move(title), {}};
  std::vector<const TTally::value_type*> order;
  for (const auto& entry : tally) order.push_back(&entry);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto* a, const auto* b) { return a->second.size() > b->second.size(); });
  for (std::size_t i = 0; i < order.size() && i < limit; ++i) chart.Bars.push_back(Bar(order[i]->first, order[i]->second));
  return chart;
}

void AddOnce(TTally& tally, const std::vector<std::string>& names, const TMovie* movie) {
  for (const std::string& name : names) {
    std::vector<const TMovie*>& movies = tally[name];
    // A name given twice in one field counts the movie once.
    if (movies.empty() || movies.back() != movie) movies.push_back(movie);
  }
}

std::vector<std::string> Names(const std::string& text) {
  return text.empty() ? std::vector<std::string>{kNoValueKey} : SplitNameList(text);
}

std::vector<std::string> OneName(const std::string& text) { return {text.empty() ? kNoValueKey : text}; }

}  // namespace

const TStatChart* TCollectionStats::Chart(const std::string& key) const {
  auto found = std::find_if(Charts.begin(), Charts.end(), [&](const TStatChart& c) { return c.Key == key; });
  return found == Charts.end() ? nullptr : &*found;
}

TCollectionStats CollectStatistics(const TMovieList& catalog, const std::string& videoField) {
  TCollectionStats stats;
  std::map<int, std::vector<const TMovie*>> decades, years, ratings, added;
  TTally categories, mediaTypes, countries, directors, actors;
  for (int i = 0; i < catalog.Count(); ++i) {
    const TMovie& movie = catalog.Items(i);
    ++stats.Movies;
    if (movie.Length > 0) {
      ++stats.WithLength;
      stats.TotalMinutes += movie.Length;
    }
    if (movie.Picture || !movie.PictureName.empty()) ++stats.WithCover;
    if (!GetVideoPath(&movie, videoField).empty()) ++stats.WithVideo;
    if (movie.Year > 0) {
      decades[movie.Year / 10 * 10].push_back(&movie);
      years[movie.Year].push_back(&movie);
    }
    if (movie.Rating >= 0) ratings[RatingStep(movie.Rating)].push_back(&movie);
    int year = 0, month = 0, day = 0;
    if (movie.Date > 0 && DecodeDayNumber(movie.Date, year, month, day)) added[year].push_back(&movie);
    AddOnce(categories, Names(movie.Category), &movie);
    AddOnce(mediaTypes, OneName(movie.MediaType), &movie);
    AddOnce(countries, OneName(movie.Country), &movie);
    // Without a name the movie is in no one's bar.
    if (!movie.Director.empty()) AddOnce(directors, SplitNameList(movie.Director), &movie);
    if (!movie.Actors.empty()) AddOnce(actors, SplitNameList(movie.Actors), &movie);
  }
  if (stats.WithLength > 0) stats.AverageMinutes = static_cast<double>(stats.TotalMinutes) / stats.WithLength;
  auto number = [](int value) { return std::to_string(value); };
  stats.Charts.push_back(NumberChart("decades", "Movies by decade", decades,
                                     [](int decade) { return std::to_string(decade) + "s"; }));
  stats.Charts.push_back(NumberChart("years", "Movies by year", years, number));
  stats.Charts.push_back(CountChart("categories", "Movies by category", categories));
  stats.Charts.push_back(NumberChart("ratings", "Movies by rating", ratings, number));
  stats.Charts.push_back(CountChart("mediaTypes", "Movies by media type", mediaTypes));
  stats.Charts.push_back(CountChart("countries", "Movies by country", countries));
  stats.Charts.push_back(CountChart("directors", "Most frequent directors", directors, kTopPeople));
  stats.Charts.push_back(CountChart("actors", "Most frequent actors", actors, kTopPeople));
  stats.Charts.push_back(NumberChart("added", "Movies added per year", added, number));
  return stats;
}
