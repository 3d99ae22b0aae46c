// Side bar building and search on 20,000 movies with about ten actors each.
//
//   bench_browse [--dir DIR]

#include "BenchUtil.h"

#include "browse/Grouping.h"
#include "browse/Search.h"
#include "layout/TSideBarModel.h"
#include "catalog/TCatalogReader.h"
#include "catalog/TMovieList.h"
#include "tools/TCatalogWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

template <typename Body>
double BestOf(int rounds, Body body) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    auto start = std::chrono::steady_clock::now();
    body();
    best = std::min(best, SecondsSince(start));
  }
  return best;
}

// Movies whose descriptions are `length` characters of ordinary words.
void LongDescriptions(TMovieList& movies, int count, int length) {
  const char* words[] = {"the ", "night ", "river ", "a ", "stranger ", "comes ", "home ", "and ", "finds ", "war "};
  TCatalogWriter writer(TFormatVersion::V35);
  writer.WriteHeader(TMovieProperties{});
  for (int i = 0; i < count; ++i) {
    TMovie movie;
    std::string text;
    for (int w = i; static_cast<int>(text.size()) < length; w = w * 7 + 3) text += words[w % 10];
    movie.Description = text.substr(0, static_cast<std::size_t>(length));
    writer.WriteMovie(movie);
  }
  TMemorySource source({reinterpret_cast<const std::uint8_t*>(writer.Bytes().data()), writer.Bytes().size()});
  ReadCatalog(source, movies);
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = EnsureSampleCatalog(DataFolder(argc, argv), "plain-20000", 20000, TSamplePictures::None);
  TMovieList movies;
  movies.LoadFromFile(path);
  std::size_t actors = 0;
  for (int i = 0; i < movies.Count(); ++i) actors += SplitNameList(movies.Items(i).Actors).size();
  std::printf("catalog: %d movies, %.1f actors each\n", movies.Count(), static_cast<double>(actors) / movies.Count());

  TSideBarModel sideBar;
  sideBar.SetClientSize(249, 800);
  struct {
    const char* Name;
    int Group;
  } builds[] = {{"grouped by Actors (people mode)", 17}, {"grouped by Category", 1}, {"no grouping", 0}};
  for (const auto& build : builds) {
    double seconds = BestOf(5, [&] { BuildSideBar(movies, sideBar, 0, build.Group, false, 11, false); });
    std::printf("BuildSideBar %-32s %7.1f ms  (%zu rows)\n", build.Name, seconds * 1000, sideBar.Rows().size());
  }

  double search = BestOf(10, [&] { SearchMovies("stranger town", sfDescription, movies, 0); });
  std::printf("search \"stranger town\" in Description    %7.1f ms\n", search * 1000);

  // Twelve words that mostly do not occur in this order against long
  // descriptions: the worst case for a matcher that tries every star.
  const char* twelve = "night river stranger comes home finds war river night stranger home zebra";
  for (int length : {1250, 2500, 5000}) {
    TMovieList longMovies;
    LongDescriptions(longMovies, 5000, length);
    double seconds = BestOf(3, [&] { SearchMovies(twelve, sfDescription, longMovies, 0); });
    std::printf("12-word search, 5,000 descriptions of %4d characters: %7.1f ms (%.2f us per 1,000 characters)\n",
                length, seconds * 1000, seconds * 1e6 / (5000.0 * length / 1000));
  }
  return 0;
}
