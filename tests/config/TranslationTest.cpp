#include "tests/support/TTestFolder.h"

#include "config/Translation.h"

#include <gtest/gtest.h>

namespace {

class Translation : public ::testing::Test {
 protected:
  void TearDown() override { GlobalTranslationTable().Clear(); }
  TTestFolder m_folder;
};

}  // namespace

TEST_F(Translation, WithoutAFileEveryTextStaysEnglish) {
  LoadLanguage(m_folder.File("English.lng"));
  EXPECT_FALSE(GlobalTranslationTable().Active());
  EXPECT_EQ(Translate("Movies"), "Movies");
  EXPECT_EQ(Translate(""), "");
}

TEST_F(Translation, LooksUpKeysByteForByte) {
  m_folder.Write("German.lng",
                 "[Translations]\r\nMovies=Filme\r\nopen=\xF6" "ffnen\r\nOpen=\r\n&OK=&Gut\r\n"
                 "Sorry, your search for <b>\"$SEARCH\"</b> did not return any results.=Nichts f\xFCr $SEARCH\r\n");
  LoadLanguage(m_folder.File("German.lng"));
  EXPECT_EQ(Translate("Movies"), "Filme");
  EXPECT_EQ(Translate("movies"), "movies");
  EXPECT_EQ(Translate("Open"), "Open") << "an empty translation leaves the text English";
  EXPECT_EQ(Translate("open"), "\xF6" "ffnen");
  EXPECT_EQ(Translate("&OK"), "&Gut");
  EXPECT_EQ(Translate("Sorry, your search for <b>\"$SEARCH\"</b> did not return any results."),
            "Nichts f\xFCr $SEARCH");
}

TEST_F(Translation, TheLaterOfTwoEqualKeysWins) {
  m_folder.Write("X.lng", "[Translations]\nMovies=Erst\nMovies=Zweit\n");
  LoadLanguage(m_folder.File("X.lng"));
  EXPECT_EQ(Translate("Movies"), "Zweit");
}

TEST_F(Translation, LoadingAMissingFileSwitchesBackToEnglish) {
  m_folder.Write("X.lng", "[Translations]\nMovies=Filme\n");
  LoadLanguage(m_folder.File("X.lng"));
  EXPECT_EQ(Translate("Movies"), "Filme");
  LoadLanguage(m_folder.File("Missing.lng"));
  EXPECT_EQ(Translate("Movies"), "Movies");
}

TEST_F(Translation, SeesOnlyTheKeysThatFitTheKeyList) {
  // Keys of 5 bytes take 6 bytes each in the list: 2730 keys ("k0000" to
  // "k2729") fill 16380 bytes, the next one would need 16386.
  std::string text = "[Translations]\n";
  char key[8];
  for (int i = 0; i < 2732; ++i) {
    std::snprintf(key, sizeof key, "k%04d", i);
    text += std::string(key) + "=v\n";
  }
  m_folder.Write("Big.lng", text);
  LoadLanguage(m_folder.File("Big.lng"));
  EXPECT_EQ(Translate("k2729"), "v");
  EXPECT_EQ(Translate("k2730"), "k2730");
}

TEST(TranslationTable, BucketsBySumOfBytes) {
  EXPECT_EQ(TranslationTable::BucketOf(""), 0);
  EXPECT_EQ(TranslationTable::BucketOf("A"), 65);
  EXPECT_EQ(TranslationTable::BucketOf("AA"), 30);
  EXPECT_EQ(TranslationTable::BucketOf("\xFF"), 55);
  TranslationTable table;
  table.Insert("AA", "first");  // same bucket as "A\x41"
  table.Insert("\x01\x81", "other");
  table.Insert("", "x");
  table.Insert("y", "");
  table.SetActive(true);
  EXPECT_EQ(table.Translate("AA"), "first");
  EXPECT_EQ(table.Translate("\x01\x81"), "other");
  EXPECT_EQ(table.Translate("y"), "y");
}

TEST_F(Translation, ShippedGermanFileTranslatesEveryText) {
  // Every English text the window, menus, side bar, pages and dialogs show.
  const char* keys[] = {
      "Close", "Open", "Edit", "Settings", "Play", "Back", "My Private", "Movie Collection", "No Movie", "1 Movie",
      "Movies", "Open a catalog file first ...", "Title", "Actors", "Director", "Producer", "Description", "Comments",
      "Original Title", "Translated Title", "Group by", "Order by", "<none>", "Others", "Ascending", "Descending",
      "Category", "Rating", "Year", "Decade", "Country", "Movie Number", "Date Added", "Media", "Media Type",
      "Borrower", "Length", "Video Format", "Video Bitrate", "Audio Format", "Audio Bitrate", "Resolution",
      "Framerate", "Disks", "Languages", "Subtitles", "All Movies", "< n/a >", "Letter", "Minutes", "Kbps", "1 Disc",
      "Discs", "Language", "Number", "Date", "< no title >",
      "Sorry, your search for <b>\"$SEARCH\"</b> did not return any results.",
      "Please try again or select a movie from the menu.", "No", "Yes", "Open Movie Catalog",
      "Open this file on every program start", "&OK", "&Cancel", "Password Required", "Enter Password", "Loading ...",
      "Loading catalog file ...",
      // What screen readers call the picture-only controls.
      "Search", "Search in", "Covers",
      // The status line, Play, Edit and the recent catalogs.
      "(changed on disk, but the new file could not be read)", "%s of %s Movies found", "(the file ends early)",
      "This movie names no video file.", "Choose one movie to play; a list plays nothing.",
      "No field is chosen for the video paths: choose it as \"Field used to store video path\" on the General tab "
      "of the settings (F10).",
      "\"%s\" is no field of a movie: choose the field of the video paths on the General tab of the settings (F10).",
      "No program is registered to edit .qzt files: register the catalog editor for them in the desktop's settings "
      "(default applications).",
      "Recent Catalogs", "No catalog opened yet", "(covers: %s of %s)",
      "The page's process ended; the page is shown again.",
      "The page could not be shown: its process ended three times within a minute.", "Try again",
      // Statistics, print, PDF and CSV.
      "Statistics", "Print...", "Save as PDF...", "Export as CSV...", "Save as PDF", "Export as CSV", "Total length", "Average length", "minutes", "With a cover", "With a video file", "Movies by decade", "Movies by year", "Movies by category", "Movies by rating", "Movies by media type", "Movies by country", "Most frequent directors", "Most frequent actors", "Movies added per year",
      // Long lists in parts, slow pages.
      "Movies %s\x96%s of %s", "First", "Previous", "Next", "Last", "Making the page...",
      // The search box, decades and the lists of the statistics' bars.
      "Search ...", "%ss", "Movies of the %ss", "Movies of %s", "Category: %s", "Rating: %s", "Media type: %s",
      "Country: %s", "Director: %s", "Actor: %s", "Added in %s",
      // The filter, the table and the random pick.
      "Length", "Filter ...", "Filter", "%s of %s Movies", "Table of the List", "Random Movie", "Table"};
  EXPECT_EQ(std::size(keys), 130u);
  LoadLanguage(std::string(ELK_SOURCE_DIR) + "/data/Deutsch.lng");
  for (const char* key : keys) {
    // Words that are the same in German ("&OK", "Discs") are still listed.
    bool same = std::string(key) == "&OK" || std::string(key) == "Discs" || std::string(key) == "1 Disc" ||
                std::string(key) == "Filter";
    std::string translated = Translate(key);
    EXPECT_FALSE(translated.empty()) << key;
    if (!same) {
      EXPECT_NE(translated, key) << key;
    }
  }
  EXPECT_EQ(Translate("Movies"), "Filme");
  EXPECT_EQ(Translate("Back"), "Zur\xFC" "ck");
}
