#include "browse/Search.h"

#include "catalog/TCatalogReader.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePictures.h"
#include "render/TPictureStore.h"
#include "tools/TCatalogWriter.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// The matching rules written out as they are stated, recursively: the
// reference the fast matcher must agree with.
bool Reference(std::string_view value, std::string_view pattern) {
  if (pattern == "*") return true;
  if (value.empty()) return pattern.empty();
  if (!pattern.empty() && pattern[0] == '*') {
    return Reference(value, pattern.substr(1)) || Reference(value.substr(1), pattern);
  }
  if (!pattern.empty() && pattern[0] == '?') return Reference(value.substr(1), pattern.substr(1));
  if (pattern.empty() || value[0] != pattern[0]) return false;
  return Reference(value.substr(1), pattern.substr(1));
}

class Search : public ::testing::Test {
 protected:
  void SetUp() override { GlobalTranslationTable().Clear(); }
  void Load(const std::vector<std::string>& titles) {
    TCatalogWriter writer(TFormatVersion::V35);
    writer.WriteHeader(TMovieProperties{});
    for (const std::string& title : titles) {
      TMovie movie;
      movie.OriginalTitle = title;
      movie.Description = "About " + title;
      writer.WriteMovie(movie);
    }
    TMemorySource source({reinterpret_cast<const std::uint8_t*>(writer.Bytes().data()), writer.Bytes().size()});
    ReadCatalog(source, m_movies);
  }
  std::string H(int index) { return std::to_string(m_movies.Items(index).Handle); }
  std::string Find(const std::string& text, int field = sfTitle) {
    return SearchMovies(text, field, m_movies, 0).value_or("(nothing)");
  }
  TMovieList m_movies;
};

}  // namespace

TEST(MatchWildcard, AgreesWithTheRecursiveRulesOnRandomInput) {
  std::mt19937 random(7);
  const char alphabet[] = "ab*?";
  for (int round = 0; round < 200000; ++round) {
    std::string value, pattern;
    int valueLength = static_cast<int>(random() % 7);
    int patternLength = static_cast<int>(random() % 7);
    for (int i = 0; i < valueLength; ++i) value += "abc"[random() % 3];
    for (int i = 0; i < patternLength; ++i) pattern += alphabet[random() % 4];
    ASSERT_EQ(MatchWildcard(value, pattern), Reference(value, pattern)) << value << " / " << pattern;
  }
}

TEST(MatchWildcard, TreatsTrailingStarsAsTheRulesSay) {
  EXPECT_TRUE(MatchWildcard("star", "*star*"));
  EXPECT_FALSE(MatchWildcard("star", "*star**"));
  EXPECT_TRUE(MatchWildcard("stars", "*star**"));
  EXPECT_TRUE(MatchWildcard("", "*"));
  EXPECT_FALSE(MatchWildcard("", "**"));
  EXPECT_TRUE(MatchWildcard("", ""));
  EXPECT_FALSE(MatchWildcard("a", ""));
  EXPECT_TRUE(MatchWildcard("abc", "a?c"));
}

TEST(MatchWildcard, StaysFastOnManyStarsAgainstLongValues) {
  std::string value(5000, 'a');
  std::string pattern = "*";
  for (int i = 0; i < 12; ++i) pattern += "a*";
  pattern += "b*";
  EXPECT_FALSE(MatchWildcard(value, pattern));  // the recursive rules would take ages here
}

TEST_F(Search, FindsTitlesContainingEveryWordInOrder) {
  Load({"Aliens", "The Alien", "Star Wars", "Star Trek vs Wars", "Wars of the Stars", "Alien"});
  EXPECT_EQ(SearchPattern("star wars"), "*star*wars*");
  EXPECT_EQ(Find("alien"), "movie://localhost/movie[" + H(0) + "," + H(1) + "," + H(5) + "].html");
  EXPECT_EQ(Find("star wars"), "movie://localhost/movie[" + H(2) + "," + H(3) + "].html");
  EXPECT_EQ(Find("\"alien\""), "movie://localhost/movie[" + H(5) + "].html");
  EXPECT_EQ(Find("\"ALIEN"), "movie://localhost/movie[" + H(5) + "].html");
  EXPECT_EQ(Find("stars "), "movie://localhost/moviesearch[stars ].html") << "a value ending in the last word";
  EXPECT_EQ(Find("star "), "movie://localhost/movie[" + H(2) + "," + H(3) + "," + H(4) + "].html");
  EXPECT_EQ(Find("about alien", sfDescription),
            "movie://localhost/movie[" + H(0) + "," + H(1) + "," + H(5) + "].html");
  EXPECT_EQ(Find(""), "(nothing)");
}

TEST_F(Search, SendsTextsThatFoundNothingAsSearchTexts) {
  Load({"Alien"});
  EXPECT_EQ(Find("zzz"), "movie://localhost/moviesearch[zzz].html");
  EXPECT_EQ(Find("\"\""), "movie://localhost/moviesearch[empty].html");
  EXPECT_EQ(Find(H(0)), "movie://localhost/moviesearch[" + H(0) + "].html") << "digits are never handles";
  EXPECT_EQ(Find("war, \"peace\""), "movie://localhost/moviesearch[war, peace].html");
  EXPECT_EQ(Find("100% #1?"), "movie://localhost/moviesearch[100%25 %231%3F].html");
  EXPECT_EQ(Find("Search ..."), "movie://localhost/moviesearch[Search ...].html");
  EXPECT_EQ(Find("alien", 8), "movie://localhost/moviesearch[alien].html") << "no field, no match";
}

TEST_F(Search, IgnoresWildcardsInValuesAndMatchesTheNoTitleText) {
  Load({"Wh*at?", ""});
  EXPECT_EQ(Find("what"), "movie://localhost/movie[" + H(0) + "].html");
  EXPECT_EQ(Find("title"), "movie://localhost/movie[" + H(1) + "].html");
  EXPECT_EQ(Find("wh?t"), "movie://localhost/movie[" + H(0) + "].html");
}

TEST_F(Search, FindPagesSearchWhenTheyAreAskedFor) {
  Load({"Alien", "Aliens", "Brazil"});
  TViewerSettings settings;
  TPageFrame frame;
  TPictureContext pictures;
  TPictureStore store;
  const TPageInput pages{m_movies, settings, frame, pictures, store};
  auto resolve = [&](const std::string& text, const std::string& query = "", int field = sfTitle) {
    const std::string address = FindPageAddress(text, field) + query;
    return ResolveFindPage(address.substr(std::string("movie://localhost/").size()), pages);
  };
  std::optional<TResolvedPage> found = resolve("alien", "?part=3");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Name, "movie[" + H(0) + "," + H(1) + "].html?part=3");
  EXPECT_EQ(found->Found, 2);
  // Any character may be typed: none splits the page's own address.
  found = resolve("50% a,b: [c]\\d", "", sfDescription);
  EXPECT_EQ(found->Name, "moviesearch[50% a,b: [c]\\d].html");
  EXPECT_EQ(found->Found, 0);
  EXPECT_EQ(resolve("zzz", "", sfActors)->Name, "moviesearch[zzz].html");
  // A damaged or hand-made name is the empty page, never a movie.
  for (const char* name : {"moviefind[0,zz].html", "moviefind[9,61].html", "moviefind[" "0].html", "moviefind[0,61]"}) {
    found = ResolveFindPage(name, pages);
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(found->Name, "movie[].html") << name;
  }
  EXPECT_FALSE(ResolveFindPage("movie[" + H(0) + "].html", pages));
}
