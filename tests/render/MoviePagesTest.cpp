#include "RenderFixtures.h"

#include "config/PageFrame.h"
#include "config/TLocale.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/TPictureStore.h"
#include "render/TablePage.h"

#include <gtest/gtest.h>

namespace {

class MoviePages : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentLocale(MakeCLocale());
    GlobalTranslationTable().Clear();
    m_frame = TPageFrame{"<H>", "<F>"};
    m_pictures.BlankImage = "BLANK";
    m_settings.Template = {"ONE $TITLE"};
    m_settings.ListTemplate = {"LIST $TITLE"};
  }
  void TearDown() override { GlobalTranslationTable().Clear(); }

  void Load(const std::vector<std::string>& titles) {
    std::vector<TMovie> movies(titles.size());
    for (std::size_t i = 0; i < titles.size(); ++i) movies[i].OriginalTitle = titles[i];
    LoadMovies(m_movies, movies);
  }
  std::string Handle(int index) { return std::to_string(m_movies.Items(index).Handle); }
  std::string Render(const std::string& address, int workers = 0) {
    TPageInput input{m_movies, m_settings, m_frame, m_pictures, m_store, workers};
    input.WholeLists = m_wholeLists;
    return RenderMoviePage(address, input);
  }

  TMovieList m_movies;
  TViewerSettings m_settings;
  TPageFrame m_frame;
  TPictureContext m_pictures;
  TPictureStore m_store;
  // As a static site makes pages: lists whole, their pictures made first.
  bool m_wholeLists = false;
};

TMovie Titled(const std::string& title) {
  TMovie movie;
  movie.OriginalTitle = title;
  return movie;
}

// A movie with an embedded cover of this size.
TMovie Covered(const std::string& title, int width, int height) {
  TMovie movie = Titled(title);
  std::string jpeg = EncodeJpegFile(DrawSampleCover(width, height, 3), 80);
  movie.PictureName = ".jpg";
  movie.Picture = std::make_unique<TPictureBytes>(jpeg.size());
  std::copy(jpeg.begin(), jpeg.end(), movie.Picture->Data());
  return movie;
}

}  // namespace

TEST(MovieAddress, SplitsAtSeparatorsAndKeepsQuotedStretches) {
  using Tokens = std::vector<std::string>;
  EXPECT_EQ(TokenizeMovieAddress("movie[12,34].html"), (Tokens{"movie", "12", "34", ".html"}));
  EXPECT_EQ(TokenizeMovieAddress("movie[ war,  peace ].html"), (Tokens{"movie", "war", "peace ", ".html"}));
  EXPECT_EQ(TokenizeMovieAddress("movie[\"a,b\",'c]d'].html"), (Tokens{"movie", "\"a,b\"", "'c]d'", ".html"}));
  EXPECT_EQ(TokenizeMovieAddress("movie[].html"), (Tokens{"movie", ".html"}));
  EXPECT_EQ(TokenizeMovieAddress("movie[\"open"), (Tokens{"movie", "\"open"}));
  EXPECT_EQ(TokenizeMovieAddress("a\r\nb"), (Tokens{"a", "b"}));
  EXPECT_EQ(ParseHandle("12"), 12);
  EXPECT_EQ(ParseHandle("-3"), -3);
  EXPECT_FALSE(ParseHandle("12a"));
  EXPECT_FALSE(ParseHandle(""));
  EXPECT_FALSE(ParseHandle("99999999999999999999999"));
  EXPECT_EQ(SearchPageAddress("50% #1?\x01"), "movie://localhost/moviesearch[50%25 %231%3F%01].html");
}

TEST_F(MoviePages, OneHandleGivesTheMovieTemplateSeveralTheListTemplate) {
  Load({"Alien", "Brazil"});
  EXPECT_EQ(Render("movie[" + Handle(0) + "].html"), "<H>ONE Alien\r\n<F>");
  EXPECT_EQ(Render("movie[" + Handle(0) + "," + Handle(0) + "].html"), "<H>LIST Alien\r\nLIST Alien\r\n<F>");
  EXPECT_EQ(Render("movie[" + Handle(1) + "," + Handle(0) + "].html"), "<H>LIST Brazil\r\nLIST Alien\r\n<F>");
}

TEST_F(MoviePages, ShortAddressesGiveTheFrameAlone) {
  Load({"Alien"});
  EXPECT_EQ(Render("movie[].html"), "<H><F>");
  EXPECT_EQ(Render("movie[" + Handle(0) + "]"), "<H><F>");
  EXPECT_EQ(Render("movie.html"), "<H><F>");
  EXPECT_EQ(m_store.Count(), 0u);
}

TEST_F(MoviePages, TextsThatAreNoLoadedHandleGiveNoResultBlocks) {
  Load({"Alien"});
  const std::string sorry =
      "<br><br><br><br><br><br><center>Sorry, your search for <b>\"X\"</b> did not return any results.<br>"
      "Please try again or select a movie from the menu.</center>";
  auto block = [&](const std::string& text) {
    std::string b = sorry;
    ReplaceAll(b, "X", text);
    return b;
  };
  EXPECT_EQ(Render("movie[Alien].html"), "<H>" + block("Alien") + "<F>");
  EXPECT_EQ(Render("movie[war, peace].html"), "<H>" + block("war") + block("peace") + "<F>");
  EXPECT_EQ(Render("movie[\"war, peace\"].html"), "<H>" + block("\"war, peace\"") + "<F>");
  // An integer that names no loaded movie never reaches one.
  EXPECT_EQ(Render("movie[999999999].html"), "<H>" + block("999999999") + "<F>");
  EXPECT_EQ(Render("movie[-1].html"), "<H>" + block("-1") + "<F>");
  // The marked search address never reads digits as handles.
  EXPECT_EQ(Render("moviesearch[" + Handle(0) + "].html"), "<H>" + block(Handle(0)) + "<F>");
  EXPECT_EQ(Render("moviesearch[<b>&].html"), "<H>" + block("<b>&") + "<F>");
}

TEST_F(MoviePages, NoResultTextsAreTranslatedBeforeTheSearchIsInserted) {
  Load({});
  GlobalTranslationTable().Insert("Sorry, your search for <b>\"$SEARCH\"</b> did not return any results.", "Nichts.");
  GlobalTranslationTable().SetActive(true);
  EXPECT_EQ(Render("movie[zzz].html"),
            "<H><br><br><br><br><br><br><center>Nichts.<br>Please try again or select a movie from the menu.</center><F>");
}

TEST_F(MoviePages, ReplacesVariablesInTheirOrder) {
  TMovie movie = Titled("A <b>&amp; B");
  movie.Media = "Shelf";
  movie.MediaType = "DVD";
  movie.Rating = 75;
  movie.Year = -1;
  movie.Date = 0;
  movie.Description = "Rated $RATING\r\nfine";
  movie.Checked = true;
  movie.Number = -1;
  movie.Disks = 2;
  movie.Size = "700 MB";
  movie.VideoBitrate = 900;
  std::vector<TMovie> movies;
  movies.push_back(std::move(movie));
  LoadMovies(m_movies, movies);
  m_settings.Template = {"$MEDIATYPE|$MEDIA|$TITLE|$YEAR|$DATE|$DESCRIPTION|$CHECKED|$NUMBER|$DISKS|$BITRATE|"
                         "$RATINGIMG|$RATING|$SIZE|$LINK|$PICTURE|$SMALLPICTURE"};
  std::string h = Handle(0);
  EXPECT_EQ(Render("movie[" + h + "].html"),
            "<H>DVD|Shelf|A <b>&amp; B||12/30/1899|Rated 7.5<br>fine|Yes||2|900|<img src=\"rating08.gif\">|7.5|"
            "700 MB|movie://localhost/movie[" + h + "].html|<img src=\"image-large-" + h +
                ".gif\">|<img src=\"image-small-" + h + ".gif\">\r\n<F>");
}

TEST_F(MoviePages, HostileTextsCannotMakeAPageTooLongToShow) {
  TMovie movie = Titled("Long");
  movie.Description.assign(kMaxPageText + 10, 'd');
  movie.Comments = std::string(200000, 'c');
  // A text that names a variable substituted after it, 100,000 times.
  movie.Actors.clear();
  for (int i = 0; i < 100000; ++i) movie.Actors += "$COMMENTS";
  std::vector<TMovie> movies;
  movies.push_back(std::move(movie));
  LoadMovies(m_movies, movies);
  m_settings.Template = {"<p>$DESCRIPTION</p><p>$ACTORS</p>"};
  const std::string page = Render("movie[" + Handle(0) + "].html");
  const std::string shown = "<p>" + std::string(kMaxPageText, 'd') + "\x85</p>";
  EXPECT_EQ(page.substr(0, 3 + shown.size()), "<H>" + shown);
  EXPECT_LE(page.size(), kMaxPageBytes + 6);
  EXPECT_EQ(page.substr(page.size() - 3), "<F>");
  // The same for a list, however many movies it names.
  const std::string list = Render("movie[" + Handle(0) + "," + Handle(0) + "," + Handle(0) + "].html");
  EXPECT_LE(list.size(), kMaxPageBytes + 6);
}

TEST_F(MoviePages, AppliesUserVariablesAfterTheBuiltInOnes) {
  Load({"Alien"});
  m_settings.Template = {"$TITLE a=b 95 Minutes $TITLE"};
  m_settings.UserVars.Set("Minutes", "min.");
  m_settings.UserVars.Set("a&equal;b", "c&equal;d");
  m_settings.UserVars.Set("$TITLE", "never");
  m_settings.UserVars.Set("Alien", "Aliens");
  EXPECT_EQ(Render("movie[" + Handle(0) + "].html"), "<H>Aliens c=d 95 min. Aliens\r\n<F>");
  // No-result blocks get them too; the frame does not.
  m_frame = TPageFrame{"<Minutes>", "</Minutes>"};
  EXPECT_NE(Render("movie[Minutes].html").find("<b>\"min.\"</b>"), std::string::npos);
  EXPECT_EQ(Render("movie[Minutes].html").rfind("<Minutes>", 0), 0u);
}

TEST_F(MoviePages, PutsBothPicturesOfEveryMovieBlockIntoTheStore) {
  std::vector<TMovie> movies;
  for (int i = 0; i < 3; ++i) {
    TMovie movie = Titled("M" + std::to_string(i));
    std::string png = EncodePngFile(SolidBitmap(600, 900, static_cast<std::uint8_t>(i * 80), 10, 10));
    movie.PictureName = ".png";
    movie.Picture = std::make_unique<TPictureBytes>(png.size());
    std::copy(png.begin(), png.end(), movie.Picture->Data());
    movies.push_back(std::move(movie));
  }
  LoadMovies(m_movies, movies);
  m_settings.Template = {"[$TITLE]"};  // the template shows no picture, yet both are made
  Render("movie[" + Handle(1) + "].html");
  ASSERT_EQ(m_store.Count(), 2u);
  EXPECT_EQ(m_store.NameAt(0), "image-large-" + Handle(1) + ".jpg");
  EXPECT_EQ(m_store.NameAt(1), "image-small-" + Handle(1) + ".jpg");
}

TEST_F(MoviePages, ParallelPicturesGiveTheSamePageAndStoreAsSerialOnes) {
  std::vector<TMovie> movies;
  for (int i = 0; i < 12; ++i) {
    TMovie movie = Titled("M" + std::to_string(i));
    if (i % 4 != 3) {
      std::string jpeg = EncodeJpegFile(DrawSampleCover(300, 450, static_cast<std::uint32_t>(i)), 80);
      movie.PictureName = ".jpg";
      movie.Picture = std::make_unique<TPictureBytes>(jpeg.size());
      std::copy(jpeg.begin(), jpeg.end(), movie.Picture->Data());
    }
    movies.push_back(std::move(movie));
  }
  LoadMovies(m_movies, movies);
  m_settings.ListTemplate = {"$PICTURE $SMALLPICTURE $TITLE"};
  std::string address = "movie[";
  for (int i = 0; i < 12; ++i) address += Handle(i) + (i < 11 ? "," : "");
  address += "," + Handle(2) + "].html";

  m_wholeLists = true;
  std::string serial = Render(address, 1);
  TPictureStore parallelStore;
  TPageInput parallelInput{m_movies, m_settings, m_frame, m_pictures, parallelStore, 4};
  parallelInput.WholeLists = true;
  std::string parallel = RenderMoviePage(address, parallelInput);
  EXPECT_EQ(parallel, serial);
  ASSERT_EQ(parallelStore.Count(), m_store.Count());
  EXPECT_EQ(parallelStore.Count(), 24u);
  for (std::size_t i = 0; i < parallelStore.Count(); ++i) {
    EXPECT_EQ(parallelStore.NameAt(i), m_store.NameAt(i));
    EXPECT_EQ(*parallelStore.Find(parallelStore.NameAt(i)), *m_store.Find(m_store.NameAt(i)));
  }
}

TEST_F(MoviePages, RenderingAgainDoesNotGrowTheStore) {
  Load({"A", "B"});
  m_wholeLists = true;
  std::string address = "movie[" + Handle(0) + "," + Handle(1) + "].html";
  std::string first = Render(address);
  std::size_t bytes = m_store.TotalBytes();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(Render(address), first);
  EXPECT_EQ(m_store.Count(), 4u);
  EXPECT_EQ(m_store.TotalBytes(), bytes);
}

TEST_F(MoviePages, WithoutAPictureBoxServesTheEmbeddedFileUnchanged) {
  std::vector<TMovie> movies(1);
  std::string jpeg = EncodeJpegFile(SolidBitmap(900, 900, 1, 2, 3), 80);
  movies[0].PictureName = ".jpg";
  movies[0].Picture = std::make_unique<TPictureBytes>(jpeg.size());
  std::copy(jpeg.begin(), jpeg.end(), movies[0].Picture->Data());
  LoadMovies(m_movies, movies);
  m_settings.MaxImageWidth = 0;
  m_settings.Template = {"$PICTURE"};
  EXPECT_EQ(Render("movie[" + Handle(0) + "].html"), "<H><img src=\"image-large-" + Handle(0) + ".jpg\">\r\n<F>");
  ASSERT_TRUE(m_store.Find("image-large-" + Handle(0) + ".jpg"));
  EXPECT_EQ(*m_store.Find("image-large-" + Handle(0) + ".jpg"), jpeg);
}

TEST_F(MoviePages, LongListsComeInPartsWithLinksToTheOthers) {
  Load({"A", "B", "C"});
  // A list of `items` movies (the three again and again).
  auto list = [&](int items, const std::string& query) {
    std::string address = "movie[";
    for (int i = 0; i < items; ++i) address += (i > 0 ? "," : "") + Handle(i % 3);
    return Render(address + "].html" + query);
  };
  auto blocks = [](const std::string& page) {
    int count = 0;
    for (std::size_t at = page.find("LIST "); at != std::string::npos; at = page.find("LIST ", at + 1)) ++count;
    return count;
  };
  auto topLine = [](const std::string& page) {
    const std::size_t start = page.find("<p class=\"elk-parts\"");
    return start == std::string::npos ? std::string() : page.substr(start, page.find("</p>", start) + 4 - start);
  };
  const int size = kListPartMovies;
  EXPECT_EQ(list(1, ""), "<H>ONE A\r\n<F>");
  EXPECT_EQ(blocks(list(size, "")), size);
  EXPECT_EQ(topLine(list(size, "")), "");

  const std::string first = list(size + 1, "");
  EXPECT_EQ(blocks(first), size);
  EXPECT_EQ(topLine(first), "<p class=\"elk-parts\" align=\"center\">Movies 1\x96" + std::to_string(size) + " of " +
                                std::to_string(size + 1) +
                                " &nbsp; First | Previous | <a id=\"elk-part-next\" rel=\"next\" href=\"?part=2\">Next</a>"
                                " | <a id=\"elk-part-last\" href=\"?part=2\">Last</a></p>");
  // The line below repeats the links without their ids.
  EXPECT_NE(first.find("<a rel=\"next\" href=\"?part=2\">Next</a>"), std::string::npos);
  const std::string second = list(size + 1, "?part=2");
  EXPECT_EQ(blocks(second), 1);
  EXPECT_EQ(topLine(second), "<p class=\"elk-parts\" align=\"center\">Movies " + std::to_string(size + 1) + "\x96" +
                                 std::to_string(size + 1) + " of " + std::to_string(size + 1) +
                                 " &nbsp; <a id=\"elk-part-first\" href=\"?part=1\">First</a> | <a "
                                 "id=\"elk-part-previous\" rel=\"prev\" href=\"?part=1\">Previous</a> | Next | Last</p>");

  // A search's worth: the last part, asked for by number or by any number past it.
  const int many = 61352;
  const int lastPart = (many + size - 1) / size;
  const std::string last = list(many, "?part=" + std::to_string(lastPart));
  EXPECT_EQ(blocks(last), many - (lastPart - 1) * size);
  EXPECT_NE(topLine(last).find("Movies 61,301\x96" "61,352 of 61,352"), std::string::npos) << topLine(last);
  EXPECT_EQ(list(many, "?part=999999999999"), last);
  EXPECT_EQ(list(many, "?part=x"), list(many, ""));
}

TEST_F(MoviePages, ListsNameTheirPicturesLazilyAndLeaveThemToBeAskedFor) {
  std::vector<TMovie> movies;
  movies.push_back(Covered("Covered", 60, 90));
  movies.push_back(Titled("Bare"));
  LoadMovies(m_movies, movies);
  m_settings.ListTemplate = {"$SMALLPICTURE"};
  EXPECT_EQ(Render("movie[" + Handle(0) + "," + Handle(1) + "].html"),
            "<H><img src=\"image-small-" + Handle(0) + ".jpg\" loading=\"lazy\">\r\n<img src=\"image-small-" +
                Handle(1) + ".gif\" loading=\"lazy\">\r\n<F>");
  EXPECT_EQ(m_store.Count(), 0u);

  TPageInput input{m_movies, m_settings, m_frame, m_pictures, m_store};
  std::shared_ptr<const std::string> covered = MakePagePicture("image-small-" + Handle(0) + ".jpg", input);
  ASSERT_TRUE(covered);
  EXPECT_EQ(covered->substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(*MakePagePicture("image-SMALL-" + Handle(1) + ".GIF", input), "BLANK");
  EXPECT_EQ(m_store.Count(), 2u);
  // Only the names a page gives are made.
  EXPECT_FALSE(MakePagePicture("image-small-" + Handle(1) + ".jpg", input));
  EXPECT_FALSE(MakePagePicture("image-huge-" + Handle(0) + ".jpg", input));
  EXPECT_FALSE(MakePagePicture("image-small-" + Handle(0) + "0.jpg", input));
  EXPECT_FALSE(MakePagePicture("image-small-.jpg", input));
  EXPECT_EQ(m_store.Count(), 2u);
}

TEST_F(MoviePages, ASitesCoverComesWithThePagesPicturesFromOneDecoding) {
  std::vector<TMovie> movies;
  movies.push_back(Covered("Covered", 300, 450));
  LoadMovies(m_movies, movies);
  m_wholeLists = true;
  TPageInput input{m_movies, m_settings, m_frame, m_pictures, m_store};
  const std::vector<std::string> others = AddMoviePagePictures(m_movies.Items(0), {{"cover", 75, 113}}, input);
  ASSERT_EQ(others, std::vector<std::string>{"image-cover-" + Handle(0) + ".jpg"});
  EXPECT_EQ(m_store.Count(), 3u);
  // The page finds its two pictures made and makes nothing more.
  m_settings.Template = {"$PICTURE $SMALLPICTURE"};
  EXPECT_EQ(Render("movie[" + Handle(0) + "].html"), "<H><img src=\"image-large-" + Handle(0) +
                                                          ".jpg\"> <img src=\"image-small-" + Handle(0) + ".jpg\">\r\n<F>");
  EXPECT_EQ(m_store.Count(), 3u);
}

TEST_F(MoviePages, TablesOrderByAnyColumnWithEmptyValuesLast) {
  std::vector<TMovie> movies(4);
  const int years[] = {1990, -1, 980, 2001};
  const char* titles[] = {"beta", "", "Alpha", "gamma"};
  const char* directors[] = {"Zed", "Ann", "", "bob"};
  for (std::size_t i = 0; i < movies.size(); ++i) {
    movies[i].OriginalTitle = titles[i];
    movies[i].Year = years[i];
    movies[i].Director = directors[i];
  }
  LoadMovies(m_movies, movies);
  std::vector<const TMovie*> rows;
  for (int i = 0; i < m_movies.Count(); ++i) rows.push_back(&m_movies.Items(i));
  auto order = [&](TTableOrder by) {
    std::vector<int> places;
    for (const TMovie* movie : SortTableRows(rows, by, 0)) places.push_back(m_movies.PlaceOf(movie->Handle));
    return places;
  };
  // Numbers as numbers (980 before 1990), texts without regard to case.
  EXPECT_EQ(order({TTableColumn::Year, false}), (std::vector<int>{2, 0, 3, 1}));
  EXPECT_EQ(order({TTableColumn::Year, true}), (std::vector<int>{3, 0, 2, 1}));
  EXPECT_EQ(order({TTableColumn::Title, false}), (std::vector<int>{2, 0, 3, 1}));
  EXPECT_EQ(order({TTableColumn::Director, true}), (std::vector<int>{0, 3, 1, 2}));
  EXPECT_EQ(TableOrderOf(".html?sort=director&order=desc&part=3").Column, TTableColumn::Director);
  EXPECT_TRUE(TableOrderOf(".html?sort=director&order=desc&part=3").Descending);
  EXPECT_EQ(TableOrderOf(".html?sort=nothing").Column, TTableColumn::Title);

  // A long table in parts that keep its order; a head shown again turns it.
  std::string address = "movierows[";
  for (int i = 0; i <= kListPartMovies; ++i) address += (i > 0 ? "," : "") + Handle(i % 4);
  const std::string second = Render(address + "].html?sort=year&order=desc&part=2");
  EXPECT_NE(second.find("Movies 101\x96" "101 of 101"), std::string::npos);
  EXPECT_NE(second.find("href=\"?sort=year&order=desc&part=1\">First</a>"), std::string::npos);
  EXPECT_NE(second.find("<a href=\"?sort=year\">Year &#9660;</a>"), std::string::npos);
  EXPECT_NE(second.find("<a href=\"?sort=title\">Title</a>"), std::string::npos);
  EXPECT_EQ(second.find("<script"), std::string::npos);
}
