#include "RenderFixtures.h"

#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/CollectionStats.h"
#include "render/MoviePictures.h"
#include "render/StatisticsPage.h"
#include "render/TPictureStore.h"

#include <gtest/gtest.h>

namespace {

TMovie Movie(int year, const std::string& category, int rating, const std::string& mediaType,
             const std::string& country, const std::string& director, const std::string& actors, int length,
             int dateAdded) {
  TMovie m;
  m.Year = year;
  m.Category = category;
  m.Rating = rating;
  m.MediaType = mediaType;
  m.Country = country;
  m.Director = director;
  m.Actors = actors;
  m.Length = length;
  m.Date = dateAdded;
  return m;
}

// "label count" for every bar of a chart.
std::vector<std::string> Bars(const TCollectionStats& stats, const std::string& key) {
  std::vector<std::string> bars;
  for (const TStatBar& bar : stats.Chart(key)->Bars) bars.push_back(bar.Label + " " + std::to_string(bar.Count));
  return bars;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(CollectionStats, CountsEveryChartOfAKnownCatalog) {
  std::vector<TMovie> movies;
  // Added 1 May 2001, 31 December 2001 and 1 January 2003.
  movies.push_back(Movie(1994, "Drama, Crime", 85, "DVD", "USA", "Frank D", "Tim R (Andy), Morgan F", 142, 37012));
  movies.push_back(Movie(1999, "Drama", 80, "DVD", "USA", "Frank D", "Tom H", 189, 37256));
  movies.push_back(Movie(2010, "", -1, "", "UK", "", "", 0, 0));
  movies.push_back(Movie(0, "Comedy", 100, "Blu-ray", "UK", "Ann X, Frank D", "Morgan F, Morgan F", 90, 37622));
  movies[0].PictureName = ".jpg";
  movies[3].PictureName = "covers\\m4.jpg";
  movies[0].Source = "C:\\Movies\\first.avi";
  TMovieList catalog;
  LoadMovies(catalog, movies);

  const TCollectionStats stats = CollectStatistics(catalog, "Source");
  EXPECT_EQ(stats.Movies, 4);
  EXPECT_EQ(stats.WithLength, 3);
  EXPECT_EQ(stats.TotalMinutes, 421);
  EXPECT_NEAR(stats.AverageMinutes, 140.33, 0.01);
  EXPECT_EQ(stats.WithCover, 2);
  EXPECT_EQ(stats.WithVideo, 1);
  EXPECT_EQ(Bars(stats, "decades"), (Strings{"1990s 2", "2010s 1"}));
  EXPECT_EQ(Bars(stats, "years"), (Strings{"1994 1", "1999 1", "2010 1"}));
  EXPECT_EQ(Bars(stats, "categories"), (Strings{"Drama 2", "Comedy 1", "Crime 1", "Others 1"}));
  EXPECT_EQ(Bars(stats, "ratings"), (Strings{"8 2", "10 1"}));
  EXPECT_EQ(Bars(stats, "mediaTypes"), (Strings{"DVD 2", "Blu-ray 1", "Others 1"}));
  EXPECT_EQ(Bars(stats, "countries"), (Strings{"UK 2", "USA 2"}));
  EXPECT_EQ(Bars(stats, "directors"), (Strings{"Frank D 3", "Ann X 1"}));
  EXPECT_EQ(Bars(stats, "actors"), (Strings{"Morgan F 2", "Tim R 1", "Tom H 1"}));
  EXPECT_EQ(Bars(stats, "added"), (Strings{"2001 2", "2003 1"}));
  // Bars link to the list of their movies.
  const std::string first = std::to_string(catalog.Items(0).Handle);
  const std::string second = std::to_string(catalog.Items(1).Handle);
  EXPECT_EQ(stats.Chart("categories")->Bars[0].Handles, first + "," + second);
  EXPECT_EQ(stats.Chart("directors")->Bars[0].Handles.size(),
            (first + "," + second + "," + std::to_string(catalog.Items(3).Handle)).size());

  // An empty catalog has figures of nothing and charts without bars.
  TMovieList none;
  const TCollectionStats empty = CollectStatistics(none, "Source");
  EXPECT_EQ(empty.AverageMinutes, 0);
  EXPECT_TRUE(empty.Chart("decades")->Bars.empty());
  EXPECT_NE(StatisticsBlock(empty, true).find("0 %"), std::string::npos);
}

TEST(CollectionStats, ThePageDrawsLabelsAsTextAndLinksOnlyWhenAsked) {
  std::vector<TMovie> movies;
  std::string hostile = "<script>alert('x')</script> & \"quoted\"\x01";
  movies.push_back(Movie(1980, hostile, 50, "", "", "", "", 0, 0));
  movies.push_back(Movie(1981, std::string(80, 'w'), 50, "", "", "", "", 0, 0));
  TMovieList catalog;
  LoadMovies(catalog, movies);
  const TCollectionStats stats = CollectStatistics(catalog, "Source");
  const std::string linked = StatisticsBlock(stats, true);
  EXPECT_EQ(linked.find("<script"), std::string::npos);
  EXPECT_EQ(linked.find('\x01'), std::string::npos);
  EXPECT_NE(linked.find("&lt;script&gt;alert&lt;/script&gt; &amp; &quot;"), std::string::npos);
  // A long name is cut with an ellipsis rather than run into its bar.
  EXPECT_NE(linked.find(std::string(29, 'w') + "\x85</text>"), std::string::npos);
  EXPECT_NE(linked.find("<a href=\"moviebar[0,0].html\">"), std::string::npos);
  const std::string plain = StatisticsBlock(stats, false);
  EXPECT_EQ(plain.find("<a "), std::string::npos);
  EXPECT_NE(plain.find("<svg "), std::string::npos);
}

TEST(CollectionStats, FiguresStayInEnglishWhilePagesSpeakTheLanguage) {
  std::vector<TMovie> movies;
  movies.push_back(Movie(1994, "Drama", 85, "DVD", "USA", "Frank D", "Tim R", 142, 0));
  movies.push_back(Movie(1999, "", 80, "DVD", "USA", "Frank D", "Tom H", 189, 0));
  TMovieList catalog;
  LoadMovies(catalog, movies);
  TranslationTable& german = GlobalTranslationTable();
  german.Insert("Others", "Andere");
  german.Insert("%ss", "%ser");
  german.Insert("Movies of the %ss", "Filme der %ser Jahre");
  german.SetActive(true);

  const TCollectionStats stats = CollectStatistics(catalog, "Source");
  EXPECT_EQ(Bars(stats, "categories"), (Strings{"Drama 1", "Others 1"}));
  EXPECT_TRUE(stats.Chart("categories")->Bars[1].NoValue);
  const std::string page = StatisticsBlock(stats, true);
  EXPECT_NE(page.find(">Andere</text>"), std::string::npos);
  EXPECT_NE(page.find(">1990er</text>"), std::string::npos);
  // One picture per bar, and each heading in one block with its first bar,
  // so paper breaks between bars and never after a heading.
  std::size_t bars = 0;
  for (const TStatChart& chart : stats.Charts) bars += chart.Bars.size();
  std::size_t drawn = 0;
  for (std::size_t at = page.find("<svg "); at != std::string::npos; at = page.find("<svg ", at + 1)) ++drawn;
  EXPECT_EQ(drawn, bars);
  const std::size_t heading = page.find("<div class=\"first\"><h3>Movies by decade</h3>");
  ASSERT_NE(heading, std::string::npos);
  EXPECT_LT(page.find("<svg ", heading), page.find("</div>", heading));
  EXPECT_NE(page.find("break-inside:avoid"), std::string::npos);

  // A bar's list: its movies, counted, under a heading in the language.
  TViewerSettings settings;
  TPageFrame frame;
  TPictureContext pictures;
  TPictureStore store;
  const TPageInput input{catalog, settings, frame, pictures, store};
  std::optional<TResolvedPage> decade = ResolveStatisticsBar("moviebar[0,0].html?part=2", input);
  ASSERT_TRUE(decade);
  EXPECT_EQ(decade->Name, "movie[" + stats.Charts[0].Bars[0].Handles + "].html?part=2");
  EXPECT_EQ(decade->Found, 2);
  EXPECT_EQ(decade->Heading, "Filme der 1990er Jahre");
  EXPECT_EQ(ResolveStatisticsBar("moviebar[2,1].html", input)->Heading, "Category: Andere");
  for (const char* damaged : {"moviebar[99,0].html", "moviebar[0,99].html", "moviebar[0].html", "moviebar[-1,0].html"}) {
    EXPECT_EQ(ResolveStatisticsBar(damaged, input)->Name, "movie[].html") << damaged;
  }
  EXPECT_FALSE(ResolveStatisticsBar("moviestatistics[all].html", input));
  german.Clear();
}
