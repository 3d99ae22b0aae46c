#pragma once

#include "catalog/DisplayRules.h"
#include "catalog/TMovie.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TMovieList;
class TSideBarModel;

// Grouping and ordering of the side bar by field code: 0 is no grouping
// (valid for grouping only), 1 to 25 name a movie field.
constexpr int kFieldCodeCount = 26;
constexpr int kDefaultOrderCode = 11;

enum class TCompareKind { Text, Number };

enum class TCaptionRule {
  None,
  ExactText,
  Letter,
  PeopleLetter,
  Rating,
  Year,
  Decade,
  NumberBlock,
  YearOfDate,
  Length,
  BitRate,
  DiscCount
};

struct TFieldCode {
  const char* CaptionWord;  // shown after "Group by" / "Order by"
  TCompareKind Compare;
  TCaptionRule Rule;
};

const TFieldCode& FieldCode(int code);

// Stored codes outside the valid range (read from "Config.ini") are used as
// no grouping and as order by number, without changing what is stored.
int EffectiveGroupCode(int code);
int EffectiveOrderCode(int code);


// A movie's group keys and its order key under a code.
std::vector<std::string> GroupKeys(const TMovie& movie, int code);
std::string OrderKey(const TMovie& movie, int code);

// Compares two keys under a compare kind: ASCII case-insensitive text, or
// integers (text that is no number counts as 0).
int CompareKeys(TCompareKind kind, std::string_view a, std::string_view b);

// Whether `key` belongs to the section of `previous`, and the caption of a
// section that `key` opens.
bool SameSection(TCaptionRule rule, std::string_view previous, std::string_view key);
std::string SectionCaption(TCaptionRule rule, std::string_view key);

// The side bar's sections and items in their order, made once for a
// grouping and order so that a filter can show part of them at every key
// without grouping and ordering again. An item is one movie, or in people
// mode a name with its movies: Movies[First, First + Count).
struct TSideBarPlan {
  struct TItem {
    std::string Text;  // a name (people mode); a movie's row shows its title
    std::size_t First = 0;
    std::size_t Count = 0;
  };
  struct TSection {
    std::string Caption;  // without the count
    bool Expanded = false;
    std::vector<TItem> Items;
  };
  std::string Caption;  // "Group by Category, Order by Number"
  bool People = false;
  std::vector<TSection> Sections;
  std::vector<int> Movies;  // places in the catalog
};
TSideBarPlan ArrangeSideBar(const TMovieList& movies, int groupCode, bool groupDescending, int orderCode,
                            bool orderDescending);
// Fills the side bar from a plan: every item, or with `kept` (by place in
// the catalog) only the items with a movie kept, a name with those of its
// movies, and only the sections left with items, opened. Returns how many
// movies it shows.
int FillSideBar(const TSideBarPlan& plan, const TMovieList& movies, TSideBarModel& sideBar, int titleType,
                const std::vector<bool>* kept);

// Rebuilds the side bar's sections from the catalog and returns the text
// for the label above it ("Group by Category, Order by Number"). In people
// mode (grouping by director, producer or actors) items are names and each
// section's Tag holds a std::vector<std::string> of handle lists, parallel
// to its items; otherwise each item carries its TMovie.
std::string BuildSideBar(const TMovieList& movies, TSideBarModel& sideBar, int titleType, int groupCode,
                         bool groupDescending, int orderCode, bool orderDescending);

// The handle list the main window shows for a side bar item.
std::string SideBarItemHandles(const TSideBarModel& sideBar, int section, int item);

// Whether the side bar lists names (directors, producers, actors), each
// with its movies, rather than movies.
bool IsPeopleMode(const TSideBarModel& sideBar);

// The movie of an item, or nullptr for a name of people mode.
const TMovie* SideBarItemMovie(const TSideBarModel& sideBar, int section, int item);

// Gives every movie item the text of another title type, keeping the
// sections, the selection and the scroll position; names are unchanged.
void RetitleSideBar(TSideBarModel& sideBar, int titleType);

// The side bar text of a movie: the translated title first when TitleType
// is 1, else the original title; when that is empty, the display title
// (the translated title, else "< no title >").
std::string SideBarTitle(const TMovie& movie, int titleType);
