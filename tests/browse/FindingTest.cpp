// Finding a movie: the filter as you type, the side bar it narrows, the
// random pick and the table pages' addresses.

#include "browse/Grouping.h"
#include "browse/MovieFilter.h"
#include "browse/RandomPick.h"
#include "browse/Search.h"
#include "browse/TablePages.h"
#include "layout/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/MovieFields.h"
#include "config/PageFrame.h"
#include "config/TLocale.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePictures.h"
#include "render/TPictureStore.h"
#include "tests/support/TTestFolder.h"
#include "tools/SampleCatalog.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using TStrings = std::vector<std::string>;

// A generated catalog of `count` movies without pictures.
void LoadSample(TMovieList& movies, int count) {
  TTestFolder folder;
  TSampleOptions options;
  options.Movies = count;
  options.Seed = 9;
  options.Pictures = TSamplePictures::None;
  WriteSampleCatalog(folder.File("s.qzt"), options);
  movies.LoadFromFile(folder.File("s.qzt"));
}

// The filter's rule written out plainly: every word in some field, folded
// field by field.
std::vector<bool> Reference(const TMovieList& movies, const TStrings& words) {
  std::vector<bool> kept;
  for (int i = 0; i < movies.Count(); ++i) {
    const TMovie& movie = movies.Items(i);
    TStrings fields{FoldText(FormatOptionalNumber(movie.Year))};
    for (const TMovieField& field : MovieFields()) {
      if (IsTextField(field)) fields.push_back(FoldText(*FieldText(movie, field)));
    }
    bool all = true;
    for (const std::string& word : words) {
      bool found = false;
      for (const std::string& text : fields) found = found || text.find(word) != std::string::npos;
      all = all && found;
    }
    kept.push_back(all);
  }
  return kept;
}

}  // namespace

TEST(MovieFilter, FoldsCaseAccentsAndLigaturesOfWindows1252) {
  struct {
    const char* Text;
    const char* Folded;
  } cases[] = {{"Ch\xE2teau", "chateau"},      {"STRA\xDF" "E", "strasse"},   {"\xC6ther \xE6on", "aether aeon"},
               {"\x8Cuvre \x9C", "oeuvre oe"}, {"\xC7" "a va? Oui!", "ca va oui"}, {"\x8E" "i\x9E" "ek \x8A", "zizek s"},
               {"\xDE\xF3r", "thor"},          {"  R2-D2  ", "r2 d2"},          {"\x80 100\xB0", "100"}};
  for (const auto& c : cases) EXPECT_EQ(FoldText(c.Text), c.Folded) << c.Text;
  // Every byte folds to letters, digits and blanks only.
  for (int byte = 0; byte < 256; ++byte) {
    for (char c : FoldText(std::string(1, static_cast<char>(byte)) + "x")) {
      EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ') << byte;
    }
  }
  EXPECT_EQ(FilterWords("Wild  garden WILD, Gard\xE9n"), (TStrings{"wild", "garden"}));
}

TEST(MovieFilter, KeepsWhatThePlainRuleKeepsWhileTheUserTypes) {
  TMovieList movies;
  LoadSample(movies, 400);
  const TFilterIndex index(movies);
  for (const char* typed : {"garden", "wild the", "the wild", "caf\xE9", "ERIKSEN voice", "19", "zzz", ""}) {
    EXPECT_EQ(FilterMovies(index, FilterWords(typed)), Reference(movies, FilterWords(typed))) << typed;
  }
  // Typed a key at a time, and taken back: each text as if typed at once.
  TMovieFilter filter;
  for (const char* typed : {"g", "ga", "gar", "gard", "garden", "garden t", "garden th", "garden", "gar", "wild"}) {
    const TMovieFilter::TResult result = filter.Apply(index, typed);
    EXPECT_EQ(result.Kept, Reference(movies, FilterWords(typed))) << typed;
    EXPECT_EQ(result.Count, std::count(result.Kept.begin(), result.Kept.end(), true));
  }
  EXPECT_EQ(FilterCatalog(movies, FilterWords("wild the")), Reference(movies, FilterWords("wild the")));
}

TEST(MovieFilter, NarrowsTheSideBarToItsMoviesAndItsSectionsToThoseLeft) {
  SetCurrentLocale(MakeCLocale());
  GlobalTranslationTable().Clear();
  TMovieList movies;
  LoadSample(movies, 120);
  const std::vector<bool> kept = FilterMovies(TFilterIndex(movies), FilterWords("garden"));
  const int count = static_cast<int>(std::count(kept.begin(), kept.end(), true));
  ASSERT_GT(count, 0);
  ASSERT_LT(count, 120);
  TSideBarModel bar;
  // By category: a movie in several sections is counted once.
  const TSideBarPlan byCategory = ArrangeSideBar(movies, 1, false, 11, false);
  EXPECT_EQ(FillSideBar(byCategory, movies, bar, 0, nullptr), 120);
  const int sections = bar.Items().Count();
  EXPECT_EQ(FillSideBar(byCategory, movies, bar, 0, &kept), count);
  EXPECT_LT(bar.Items().Count(), sections);
  for (int s = 0; s < bar.Items().Count(); ++s) {
    const TSideBarItem& section = bar.Items()[s];
    EXPECT_TRUE(section.Expanded());
    ASSERT_GT(section.Items().Count(), 0);
    EXPECT_NE(section.Caption().find("(" + std::to_string(section.Items().Count()) + ")"), std::string::npos);
    for (int i = 0; i < section.Items().Count(); ++i) {
      const TMovie* movie = SideBarItemMovie(bar, s, i);
      EXPECT_TRUE(kept[static_cast<std::size_t>(movies.PlaceOf(movie->Handle))]);
    }
  }
  // By actors: each name keeps only its movies the filter keeps.
  const TSideBarPlan byActors = ArrangeSideBar(movies, 17, false, 11, false);
  FillSideBar(byActors, movies, bar, 0, &kept);
  ASSERT_TRUE(IsPeopleMode(bar));
  for (int s = 0; s < bar.Items().Count(); ++s) {
    for (int i = 0; i < bar.Items()[s].Items().Count(); ++i) {
      for (const std::string& handle : SplitNameList(SideBarItemHandles(bar, s, i))) {
        EXPECT_TRUE(kept[static_cast<std::size_t>(movies.PlaceOf(std::stoll(handle)))]) << handle;
      }
    }
  }
}

TEST(RandomPick, NeverTheSameTwiceInARowAndOnlyAmongThoseOffered) {
  std::mt19937 random(5);
  const std::vector<std::int64_t> offered{4, 8, 15};
  std::int64_t previous = -1;
  std::set<std::int64_t> seen;
  for (int i = 0; i < 300; ++i) {
    const std::int64_t picked = PickRandomMovie(offered, previous, random);
    EXPECT_NE(picked, previous);
    EXPECT_TRUE(picked == 4 || picked == 8 || picked == 15) << picked;
    seen.insert(picked);
    previous = picked;
  }
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(PickRandomMovie({7}, 7, random), 7);
  EXPECT_EQ(PickRandomMovie({}, 7, random), -1);
}

TEST(TablePages, ListTheSideBarsMoviesOrTheListShown) {
  TMovieList movies;
  LoadSample(movies, 60);
  TViewerSettings settings;
  TPageFrame frame;
  TPictureContext pictures;
  TPictureStore store;
  const TPageInput pages{movies, settings, frame, pictures, store};
  auto resolve = [&](const std::string& address) {
    return ResolveTablePage(address.substr(kMovieUrlPrefix.size()), pages);
  };
  // Every movie, or those the filter keeps, in the catalog's order.
  std::optional<TResolvedPage> all = resolve(SideBarTableAddress("") + "?sort=year&part=2");
  ASSERT_TRUE(all);
  EXPECT_EQ(all->Found, 60);
  EXPECT_EQ(all->Name.rfind("movierows[" + MovieHandleText(movies.Items(0)) + ",", 0), 0u) << all->Name;
  EXPECT_NE(all->Name.find("].html?sort=year&part=2"), std::string::npos);
  const std::vector<bool> kept = FilterCatalog(movies, FilterWords("garden"));
  EXPECT_EQ(resolve(SideBarTableAddress("Garden"))->Found, std::count(kept.begin(), kept.end(), true));
  // The list of a search, found again.
  const std::string find = FindPageAddress("garden", sfTitle).substr(kMovieUrlPrefix.size());
  std::optional<TResolvedPage> list = resolve(ListTableAddress(find));
  EXPECT_EQ(list->Found, ResolveFindPage(find, pages)->Found);
  for (const char* damaged : {"movietable[list,xzz].html", "movietable[list,61].html", "movietable[other,x61].html",
                              "movietable[all].html"}) {
    EXPECT_EQ(resolve(std::string("movie://localhost/") + damaged)->Name, "movie[].html") << damaged;
  }
  EXPECT_FALSE(ResolveTablePage("movie[1].html", pages));
  // The table command lists the page on screen only when it lists movies.
  for (const std::string& shown : {std::string("movie[1,2].html"), find, std::string("moviebar[3,x41].html")}) {
    EXPECT_EQ(MovieTableAddress(shown, "garden"), ListTableAddress(shown)) << shown;
  }
  for (const char* shown : {"", "movie[1].html", "moviestatistics.html", "movietable[all,x].html"}) {
    EXPECT_EQ(MovieTableAddress(shown, "garden"), SideBarTableAddress("garden")) << shown;
  }
}
