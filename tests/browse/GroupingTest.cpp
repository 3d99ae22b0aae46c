#include "browse/Grouping.h"
#include "browse/SideBarPlace.h"
#include "layout/TSideBarModel.h"
#include "browse/TSortMenus.h"
#include "catalog/TCatalogReader.h"
#include "config/TLocale.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "tools/TCatalogWriter.h"

#include <gtest/gtest.h>

namespace {

using TStrings = std::vector<std::string>;

class Grouping : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentLocale(MakeCLocale());
    GlobalTranslationTable().Clear();
  }
  void TearDown() override { SetCurrentLocale(MakeCLocale()); }

  TMovie& Add() {
    m_pending.emplace_back();
    TMovie& movie = m_pending.back();
    movie.Number = static_cast<int>(m_pending.size());
    return movie;
  }
  void Load() {
    TCatalogWriter writer(TFormatVersion::V35);
    writer.WriteHeader(TMovieProperties{});
    for (const TMovie& movie : m_pending) writer.WriteMovie(movie);
    TMemorySource source({reinterpret_cast<const std::uint8_t*>(writer.Bytes().data()), writer.Bytes().size()});
    ReadCatalog(source, m_movies);
  }
  std::string Build(int group, bool groupDesc = false, int order = 11, bool orderDesc = false, int titleType = 0) {
    if (m_movies.Count() == 0 && !m_pending.empty()) Load();
    return BuildSideBar(m_movies, m_bar, titleType, group, groupDesc, order, orderDesc);
  }
  TStrings Captions() {
    TStrings out;
    for (int i = 0; i < m_bar.Items().Count(); ++i) out.push_back(m_bar.Items()[i].Caption());
    return out;
  }
  TStrings ItemsOf(int section) {
    TStrings out;
    const TSideBarStrings& items = m_bar.Items()[section].Items();
    for (int i = 0; i < items.Count(); ++i) out.push_back(items.Strings(i));
    return out;
  }
  std::string Handle(int index) { return std::to_string(m_movies.Items(index).Handle); }

  std::vector<TMovie> m_pending;
  TMovieList m_movies;
  TSideBarModel m_bar;
};

}  // namespace

TEST(SplitNameList, CutsPiecesAndDropsRemarksAndRepeats) {
  GlobalTranslationTable().Clear();
  EXPECT_EQ(SplitNameList("Actor One (as Max), Actor Two (voice)"), (TStrings{"Actor One", "Actor Two"}));
  EXPECT_EQ(SplitNameList("Drama, Drama"), (TStrings{"Drama"}));
  EXPECT_EQ(SplitNameList("Drama, , Drama"), (TStrings{"Drama", "Drama"}));
  EXPECT_EQ(SplitNameList(","), TStrings{});
  EXPECT_EQ(SplitNameList(""), (TStrings{"Others"}));
  EXPECT_EQ(SplitNameList("A (x (y), z), B"), (TStrings{"A", "B"}));
  EXPECT_EQ(SplitNameList("A (unclosed, B"), (TStrings{"A"}));
  EXPECT_EQ(SplitNameList("A), B"), (TStrings{"A)", "B"}));
  EXPECT_EQ(SplitNameList("drama, Drama"), (TStrings{"drama", "Drama"}));
}

TEST(SectionCaptions, FollowTheRuleOfEachFieldIncludingMissingValues) {
  GlobalTranslationTable().Clear();
  struct Case {
    TCaptionRule Rule;
    const char* Key;
    const char* Caption;
  };
  const Case cases[] = {
      {TCaptionRule::ExactText, "Drama", "Drama"},        {TCaptionRule::ExactText, "", "< n/a >"},
      {TCaptionRule::Letter, "A", "Letter A"},            {TCaptionRule::Letter, "", "< n/a >"},
      {TCaptionRule::PeopleLetter, "bo", "Letter B"},     {TCaptionRule::Rating, "75", "Rating 7"},
      {TCaptionRule::Rating, "9", "< n/a >"},             {TCaptionRule::Rating, "-1", "< n/a >"},
      {TCaptionRule::Year, "1994", "Year 1994"},          {TCaptionRule::Year, "-1", "< n/a >"},
      {TCaptionRule::Decade, "1994", "Decade 1990"},      {TCaptionRule::Decade, "0", "< n/a >"},
      {TCaptionRule::NumberBlock, "123", "Number 100 - 149"}, {TCaptionRule::NumberBlock, "-1", "Number 0 - 49"},
      {TCaptionRule::YearOfDate, "0", "Year 1899"},       {TCaptionRule::YearOfDate, "36526", "Year 2000"},
      {TCaptionRule::Length, "95", "90 Minutes"},         {TCaptionRule::Length, "-1", "< n/a >"},
      {TCaptionRule::BitRate, "128", "128 Kbps"},         {TCaptionRule::BitRate, "0", "< n/a >"},
      {TCaptionRule::DiscCount, "1", "1 Disc"},           {TCaptionRule::DiscCount, "3", "3 Discs"},
      {TCaptionRule::DiscCount, "-1", "< n/a >"},
  };
  for (const Case& c : cases) EXPECT_EQ(SectionCaption(c.Rule, c.Key), c.Caption) << c.Key;
  EXPECT_TRUE(SameSection(TCaptionRule::Rating, "70", "79"));
  EXPECT_FALSE(SameSection(TCaptionRule::Rating, "79", "80"));
  EXPECT_TRUE(SameSection(TCaptionRule::Rating, "-1", "5")) << "-1 div 10 is 0";
  EXPECT_TRUE(SameSection(TCaptionRule::ExactText, "drama", "DRAMA"));
  EXPECT_FALSE(SameSection(TCaptionRule::Letter, "a", "A"));
  EXPECT_TRUE(SameSection(TCaptionRule::YearOfDate, "36526", "36890"));
  EXPECT_EQ(CompareKeys(TCompareKind::Number, "abc", "0"), 0);
  EXPECT_LT(CompareKeys(TCompareKind::Number, "9", "10"), 0);
  EXPECT_LT(CompareKeys(TCompareKind::Text, "ab", "AbC"), 0);
  EXPECT_LT(CompareKeys(TCompareKind::Text, "Z", "\xE9"), 0);
}

TEST_F(Grouping, WithoutGroupingListsAllMoviesByNumber) {
  Add().OriginalTitle = "C";
  Add().OriginalTitle = "A";
  Add().OriginalTitle = "B";
  m_pending[0].Number = 30;
  m_pending[1].Number = -1;
  m_pending[2].Number = 7;
  EXPECT_EQ(Build(0), "Order by Number");
  EXPECT_EQ(Captions(), (TStrings{"All Movies (3)"}));
  EXPECT_EQ(ItemsOf(0), (TStrings{"A", "B", "C"}));
  EXPECT_TRUE(m_bar.Items()[0].Expanded());
  EXPECT_EQ(m_bar.Tag, 0);
  EXPECT_EQ(SideBarItemHandles(m_bar, 0, 0), Handle(1));
  EXPECT_EQ(m_bar.ItemIndex(), -1) << "a rebuild leaves nothing selected";
}

TEST_F(Grouping, OutOfRangeCodesActAsNoGroupingAndNumberOrder) {
  Add().OriginalTitle = "A";
  EXPECT_EQ(Build(30, false, 0), "Order by Number");
  EXPECT_EQ(Build(0, false, 200), "Order by Number");
  EXPECT_EQ(EffectiveGroupCode(26), 0);
  EXPECT_EQ(EffectiveOrderCode(25), 25);
}

TEST_F(Grouping, GroupsByRatingDescendingWithMissingRatingsLast) {
  for (int rating : {100, 75, -1, 5, 79, 90}) Add().Rating = rating;
  EXPECT_EQ(Build(4, true), "Group by Rating, Order by Number");
  EXPECT_EQ(Captions(), (TStrings{"Rating 10 (1)", "Rating 9 (1)", "Rating 7 (2)", "< n/a > (2)"}));
  EXPECT_FALSE(m_bar.Items()[0].Expanded());
}

TEST_F(Grouping, GroupsByDecadeAndCategory) {
  Add().Year = 1990;
  Add().Year = 1999;
  Add().Year = 0;
  Add().Year = 2001;
  Build(6);
  EXPECT_EQ(Captions(), (TStrings{"< n/a > (1)", "Decade 1990 (2)", "Decade 2000 (1)"}));

  m_pending.clear();
  m_movies.Clear();
  Add().Category = "Drama, Comedy";
  Add().Category = "";
  Add().Category = ", ";
  Add().Category = "drama";
  EXPECT_EQ(Build(1), "Group by Category, Order by Number");
  EXPECT_EQ(Captions(), (TStrings{"Comedy (1)", "Drama (2)", "Others (1)"}));
  EXPECT_EQ(ItemsOf(1).size(), 2u) << "keys differing only in case share a section";
}

TEST_F(Grouping, GroupsByCountryAndTitleWithEmptyValuesUnderNotAvailable) {
  Add().Country = "";
  Add().Country = "USA";
  Build(9);
  EXPECT_EQ(Captions(), (TStrings{"< n/a > (1)", "USA (1)"}));
  m_pending.clear();
  m_movies.Clear();
  Add().OriginalTitle = "alien";
  Add().OriginalTitle = "";
  Add().TranslatedTitle = "Zorro";
  Build(2);
  EXPECT_EQ(Captions(), (TStrings{"< n/a > (2)", "Letter A (1)"}));
  // A movie without the title asked for shows its display title, never an
  // empty row; where it is ordered stays as it was.
  EXPECT_EQ(ItemsOf(0), (TStrings{"< no title >", "Zorro"}));
  Build(3, false, 11, false, 1);
  EXPECT_EQ(Captions(), (TStrings{"< n/a > (1)", "Letter A (1)", "Letter Z (1)"}));
  EXPECT_EQ(ItemsOf(2), (TStrings{"Zorro"}));
}

TEST_F(Grouping, GroupsByDateUnderTheCalendarYear) {
  Add().Date = 0;
  Add().Date = 36526;
  Build(14);
  EXPECT_EQ(Captions(), (TStrings{"Year 1899 (1)", "Year 2000 (1)"}));
}

TEST_F(Grouping, PeopleModeListsNamesWithTheHandlesOfTheirMovies) {
  Add().Actors = "Ann Lee (as Max), Bob Ray";
  Add().Actors = "Bob Ray, Ann Lee";
  Add().Actors = "";
  Add().Actors = "ann lee";
  EXPECT_EQ(Build(17), "Group by Actors, Order by Number");
  EXPECT_EQ(m_bar.Tag, 1);
  EXPECT_EQ(Captions(), (TStrings{"Letter A (2)", "Letter B (1)", "Letter O (1)"}));
  TStrings names = ItemsOf(0);
  ASSERT_EQ(names.size(), 2u) << "case variants are never merged";
  for (int i = 0; i < 2; ++i) {
    std::string handles = SideBarItemHandles(m_bar, 0, i);
    EXPECT_EQ(handles, names[static_cast<std::size_t>(i)] == "Ann Lee" ? Handle(0) + "," + Handle(1) : Handle(3));
  }
  EXPECT_EQ(ItemsOf(1), (TStrings{"Bob Ray"}));
  EXPECT_EQ(SideBarItemHandles(m_bar, 1, 0), Handle(0) + "," + Handle(1));
  EXPECT_EQ(ItemsOf(2), (TStrings{"Others"}));

  Build(17, false, 11, true);
  EXPECT_EQ(ItemsOf(2), (TStrings{"Others"}));
  Build(0);
  EXPECT_EQ(m_bar.Tag, 0) << "leaving people mode";
}

TEST_F(Grouping, PeopleModeSortsAscendingInTheLocalesOrder) {
  // A locale that sorts by the reversed text, so its use is visible.
  class TReversed : public TLocale {
   public:
    std::string SortKey(std::string_view text) const override { return std::string(text.rbegin(), text.rend()); }
  };
  SetCurrentLocale(std::make_shared<TReversed>());
  Add().Director = "Al Bz, Ab Ca";
  Build(7);
  EXPECT_EQ(ItemsOf(0), (TStrings{"Ab Ca", "Al Bz"}));  // "aC bA" < "zB lA"
  Build(7, false, 11, true);
  EXPECT_EQ(ItemsOf(0), (TStrings{"Al Bz", "Ab Ca"}));  // ASCII order, reversed
}

TEST_F(Grouping, OrdersItemsInsideSectionsByTheOrderField) {
  Add().OriginalTitle = "b";
  Add().OriginalTitle = "C";
  Add().OriginalTitle = "a";
  Build(0, false, 2);
  EXPECT_EQ(ItemsOf(0), (TStrings{"a", "b", "C"}));
  Build(0, false, 2, true);
  EXPECT_EQ(ItemsOf(0), (TStrings{"C", "b", "a"}));
  EXPECT_EQ(Build(0, false, 14), "Order by Date");
}

TEST_F(Grouping, EmptyCatalogGivesAnEmptyBarAndLabel) {
  EXPECT_EQ(Build(17), "");
  EXPECT_EQ(m_bar.Items().Count(), 0);
}

TEST(TSortMenus, WiresCodesChecksAndClicks) {
  TSortMenus menus;
  ASSERT_EQ(menus.GroupBy.Entries.size(), 28u);
  ASSERT_EQ(menus.OrderBy.Entries.size(), 27u);
  EXPECT_EQ(menus.GroupBy.Entries[0].Caption, "<none>");
  EXPECT_EQ(menus.GroupBy.Entries[9].Caption, "Actors");
  EXPECT_EQ(menus.GroupBy.Entries[9].Tag, 17);
  EXPECT_EQ(menus.OrderBy.Entries[0].Caption, "Movie Number");
  EXPECT_EQ(menus.OrderBy.Entries[0].Tag, 11);

  TViewerSettings settings;
  int refreshes = 0;
  menus.OnRefresh = [&] { ++refreshes; };
  menus.CheckFromSettings(settings);
  EXPECT_TRUE(menus.GroupBy.Entries[0].Checked);
  EXPECT_TRUE(menus.OrderBy.Entries[0].Checked);
  EXPECT_TRUE(menus.GroupBy.Entries[26].Checked) << "Ascending";
  menus.ClickGroupBy(9, settings);
  EXPECT_EQ(settings.LastGroup, 17);
  EXPECT_TRUE(menus.GroupBy.Entries[9].Checked);
  EXPECT_FALSE(menus.GroupBy.Entries[0].Checked);
  menus.ClickOrderBy(26, settings);  // Descending
  EXPECT_TRUE(settings.LastOrderDesc);
  EXPECT_TRUE(menus.OrderBy.Entries[26].Checked);
  EXPECT_FALSE(menus.OrderBy.Entries[25].Checked);
  EXPECT_EQ(refreshes, 2);
}

TEST_F(Grouping, APlaceTakenBeforeAReloadFindsItsSectionsAndMovieAfterIt) {
  const char* categories[] = {"Drama", "Comedy", "Drama"};
  const char* titles[] = {"Alpha", "Beta", "Gamma"};
  for (int i = 0; i < 3; ++i) {
    TMovie& movie = Add();
    movie.Category = categories[i];
    movie.OriginalTitle = titles[i];
  }
  Build(1);
  ASSERT_EQ(Captions(), (TStrings{"Comedy (1)", "Drama (2)"}));
  m_bar.SetItemIndex(1);
  m_bar.SetSubItemIndex(1);
  const TSideBarPlace place = TakeSideBarPlace(m_bar, m_movies, Handle(2));
  EXPECT_EQ(place.Shown, (std::vector<TMovieIdentity>{{3, "Gamma"}}));

  // The file again with one more drama before the others: new handles, a
  // new count in the caption, the same movie second in its section.
  TMovie& added = Add();
  added.Number = 0;
  added.Category = "Drama";
  added.OriginalTitle = "Zero";
  std::rotate(m_pending.rbegin(), m_pending.rbegin() + 1, m_pending.rend());
  TMovieList fresh;
  fresh.Swap(m_movies);
  Load();
  BuildSideBar(m_movies, m_bar, 0, 1, false, 11, false);
  const TRestoredPlace restored = RestoreSideBarPlace(m_bar, m_movies, place);
  EXPECT_FALSE(m_bar.Items()[0].Expanded());
  EXPECT_TRUE(m_bar.Items()[1].Expanded());
  EXPECT_EQ(restored.Handles, Handle(3));
  EXPECT_EQ(restored.Section, 1);
  EXPECT_EQ(restored.Item, 2);

  // A movie that is gone leads nowhere.
  TSideBarPlace gone = place;
  gone.Shown = {{9, "Gone"}};
  EXPECT_EQ(RestoreSideBarPlace(m_bar, m_movies, gone).Handles, "");
}
