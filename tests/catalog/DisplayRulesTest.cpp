#include "catalog/DisplayRules.h"
#include "config/TLocale.h"
#include "config/Translation.h"

#include <gtest/gtest.h>

namespace {

// A locale with German names and separators, to show that nothing is
// hard-wired to English.
class TGermanLocale : public TLocale {
 public:
  TGermanLocale() {
    const char* months[] = {"Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni",
                            "Juli", "August", "September", "Oktober", "November", "Dezember"};
    for (int i = 0; i < 12; ++i) {
      m_longMonths[i] = months[i];
      m_shortMonths[i] = std::string(months[i]).substr(0, 3);
    }
    for (int i = 0; i < 7; ++i) m_longDays[i] = m_shortDays[i] = "Tag" + std::to_string(i + 1);
    m_dateSeparator = '.';
    m_decimalSeparator = ',';
  }
};

class DisplayRules : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentLocale(MakeCLocale());
    GlobalTranslationTable().Clear();
  }
  void TearDown() override {
    SetCurrentLocale(MakeCLocale());
    GlobalTranslationTable().Clear();
  }
};

}  // namespace

TEST_F(DisplayRules, TitleFallsBackToTheOtherTitleThenToNoTitle) {
  TMovie movie;
  EXPECT_EQ(GetMovieTitle(movie, 0), "< no title >");
  EXPECT_EQ(GetMovieTitle(movie, 1), "< no title >");
  movie.OriginalTitle = "Original";
  EXPECT_EQ(GetMovieTitle(movie, 1), "Original");
  movie.TranslatedTitle = "Translated";
  EXPECT_EQ(GetMovieTitle(movie, 0), "Original");
  EXPECT_EQ(GetMovieTitle(movie, 1), "Translated");
  EXPECT_EQ(GetMovieTitle(movie, 7), "Translated");

  GlobalTranslationTable().Insert("< no title >", "< ohne Titel >");
  GlobalTranslationTable().SetActive(true);
  EXPECT_EQ(GetMovieTitle(TMovie{}, 0), "< ohne Titel >");
}

TEST_F(DisplayRules, VideoPathNamesAFieldIgnoringCase) {
  TMovie movie;
  movie.Description = "/films/a.avi";
  movie.Size = "700 MB";
  EXPECT_EQ(GetVideoPath(&movie, "description"), "/films/a.avi");
  EXPECT_EQ(GetVideoPath(&movie, "SIZE"), "700 MB");
  EXPECT_EQ(GetVideoPath(&movie, "Year"), "");
  EXPECT_EQ(GetVideoPath(&movie, ""), "");
  EXPECT_EQ(GetVideoPath(nullptr, "Size"), "");
  EXPECT_EQ(kMovieFieldNames.size(), 21u);
}

TEST_F(DisplayRules, OptionalNumbersHideMinusOne) {
  EXPECT_EQ(FormatOptionalNumber(-1), "");
  EXPECT_EQ(FormatOptionalNumber(0), "0");
  EXPECT_EQ(FormatOptionalNumber(-2), "-2");
  EXPECT_EQ(FormatOptionalNumber(2147483647), "2147483647");
}

TEST_F(DisplayRules, RatingStepRoundsHalvesToEven) {
  const std::pair<int, int> cases[] = {{-1, 0}, {0, 0},  {4, 0},  {5, 0},  {15, 2},  {25, 2},  {35, 4},
                                       {45, 4}, {55, 6}, {65, 6}, {75, 8}, {85, 8},  {95, 10}, {100, 10},
                                       {250, 10}, {-2147483647 - 1, 0}, {2147483647, 10}, {16, 2}};
  for (auto [rating, step] : cases) EXPECT_EQ(RatingStep(rating), step) << rating;
}

TEST_F(DisplayRules, RatingTextHasAtMostOneDecimalInTheLocalesForm) {
  EXPECT_EQ(FormatRating(75), "7.5");
  EXPECT_EQ(FormatRating(70), "7");
  EXPECT_EQ(FormatRating(0), "0");
  EXPECT_EQ(FormatRating(100), "10");
  EXPECT_EQ(FormatRating(5), "0.5");
  EXPECT_EQ(FormatRating(-15), "-1.5");
  EXPECT_EQ(FormatRating(-1), "");
  SetCurrentLocale(std::make_shared<TGermanLocale>());
  EXPECT_EQ(FormatRating(75), "7,5");
}

TEST_F(DisplayRules, CheckedTextIsTranslated) {
  EXPECT_EQ(CheckedText(true), "Yes");
  EXPECT_EQ(CheckedText(false), "No");
  GlobalTranslationTable().Insert("Yes", "Ja");
  GlobalTranslationTable().SetActive(true);
  EXPECT_EQ(CheckedText(true), "Ja");
}

TEST_F(DisplayRules, LineBreaksBecomeBrInEveryForm) {
  EXPECT_EQ(LineBreaksToHtml("a\r\nb\rc\nd"), "a<br>b<br>c<br>d");
  EXPECT_EQ(LineBreaksToHtml("a\n\rb"), "a<br><br>b");
  EXPECT_EQ(LineBreaksToHtml("\r\r\n\n"), "<br><br><br>");
  EXPECT_EQ(LineBreaksToHtml(""), "");
}

TEST_F(DisplayRules, DatesFollowThePatternAndTheLocale) {
  EXPECT_EQ(FormatMovieDate(0, "mm/dd/yyyy"), "12/30/1899");
  EXPECT_EQ(FormatMovieDate(0, "dd/mm/yyyy"), "30/12/1899");
  EXPECT_EQ(FormatMovieDate(0, "yyyy/mm/dd"), "1899/12/30");
  EXPECT_EQ(FormatMovieDate(0, "d mmm yyyy"), "30 Dec 1899");
  EXPECT_EQ(FormatMovieDate(0, "d mmmm yyyy"), "30 December 1899");
  EXPECT_EQ(FormatMovieDate(36526, "d mmmm yyyy"), "1 January 2000");
  EXPECT_EQ(FormatMovieDate(36526 + 59, "dd/mm/yy"), "29/02/00");  // 2000 is a leap year
  EXPECT_EQ(FormatMovieDate(-1, "d/m/yyyy"), "29/12/1899");
  EXPECT_EQ(FormatMovieDate(36526, "dddd, \"the\" d"), "Saturday, the 1");
  SetCurrentLocale(std::make_shared<TGermanLocale>());
  EXPECT_EQ(FormatMovieDate(36526 + 60, "dd/mm/yyyy"), "01.03.2000");
  EXPECT_EQ(FormatMovieDate(36526 + 60, "d mmmm yyyy"), "1 M\xE4rz 2000");
}

TEST_F(DisplayRules, DatesOutsideTheCalendarAreEmpty) {
  EXPECT_EQ(FormatMovieDate(2147483647, "mm/dd/yyyy"), "");
  EXPECT_EQ(FormatMovieDate(-2147483647 - 1, "mm/dd/yyyy"), "");
  EXPECT_EQ(FormatMovieDate(2958465, "yyyy"), "9999");  // 31 December 9999
  EXPECT_EQ(FormatMovieDate(2958466, "yyyy"), "");
}
