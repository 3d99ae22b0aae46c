#include "browse/Grouping.h"

#include "config/AsciiText.h"

#include "layout/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/TLocale.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// The side bar's Tag in people mode: its items are names, and each
// section's Tag holds their handle lists.
constexpr int kPeopleModeTag = 1;

using K = TCompareKind;
using R = TCaptionRule;

const std::array<TFieldCode, kFieldCodeCount> kFieldCodes = {{
    {"", K::Text, R::None},
    {"Category", K::Text, R::ExactText},
    {"Original Title", K::Text, R::Letter},
    {"Translated Title", K::Text, R::Letter},
    {"Rating", K::Number, R::Rating},
    {"Year", K::Number, R::Year},
    {"Decade", K::Number, R::Decade},
    {"Director", K::Text, R::PeopleLetter},
    {"Producer", K::Text, R::PeopleLetter},
    {"Country", K::Text, R::ExactText},
    {"Language", K::Text, R::ExactText},
    {"Number", K::Number, R::NumberBlock},
    {"Media", K::Text, R::ExactText},
    {"Media Type", K::Text, R::ExactText},
    {"Date", K::Number, R::YearOfDate},
    {"Borrower", K::Text, R::ExactText},
    {"Length", K::Number, R::Length},
    {"Actors", K::Text, R::PeopleLetter},
    {"Video Format", K::Text, R::ExactText},
    {"Video Bitrate", K::Number, R::BitRate},
    {"Audio Format", K::Text, R::ExactText},
    {"Audio Bitrate", K::Number, R::BitRate},
    {"Resolution", K::Text, R::ExactText},
    {"Framerate", K::Text, R::ExactText},
    {"Subtitles", K::Text, R::ExactText},
    {"Disks", K::Number, R::DiscCount},
}};

// The integer of a key, 0 when it is none.
std::int64_t KeyNumber(std::string_view key) {
  std::optional<std::int64_t> value = ParseHandle(key);
  return value.value_or(0);
}

std::string FirstUpper(std::string_view text) { return UpperAscii(text.substr(0, text.empty() ? 0 : 1)); }

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string NotAvailable() { return Translate("< n/a >"); }

int YearOfDay(std::int64_t dayNumber) {
  int year = 0, month = 0, day = 0;
  DecodeDayNumber(static_cast<std::int32_t>(std::clamp<std::int64_t>(dayNumber, INT32_MIN, INT32_MAX)), year, month,
                  day);
  return year;
}

// A key prepared for sorting, so that comparisons need no conversion.
struct TSortable {
  std::string Text;
  std::int64_t Value = 0;
  int Movie = 0;
  std::string Key;  // the key as it stands
};

void SortByKind(std::vector<TSortable>& items, TCompareKind kind, bool descending) {
  auto less = [kind](const TSortable& a, const TSortable& b) {
    return kind == TCompareKind::Number ? a.Value < b.Value : a.Text < b.Text;
  };
  if (descending) {
    std::sort(items.begin(), items.end(), [&](const TSortable& a, const TSortable& b) { return less(b, a); });
  } else {
    std::sort(items.begin(), items.end(), less);
  }
}

// People mode: sections are letters and every section is sorted by name
// afterwards, so the keys only need to be in letter order here. A bucket
// per first byte does that in one pass.
void SortByFirstLetter(std::vector<TSortable>& items, bool descending) {
  std::array<std::vector<TSortable>, 257> buckets;  // 0: empty keys, then by upper-cased first byte
  for (TSortable& item : items) {
    std::size_t bucket = item.Key.empty() ? 0 : 1 + static_cast<unsigned char>(UpperAscii(item.Key[0]));
    buckets[bucket].push_back(std::move(item));
  }
  items.clear();
  for (std::size_t i = 0; i < buckets.size(); ++i) {
    std::vector<TSortable>& bucket = buckets[descending ? buckets.size() - 1 - i : i];
    std::move(bucket.begin(), bucket.end(), std::back_inserter(items));
  }
}

TSortable Prepare(TCompareKind kind, std::string key, int movie) {
  TSortable item;
  if (kind == TCompareKind::Number) {
    item.Value = KeyNumber(key);
  } else {
    item.Text = UpperAscii(key);
  }
  item.Movie = movie;
  item.Key = std::move(key);
  return item;
}

std::string WithCount(const std::string& caption, std::size_t count) {
  return caption + " (" + std::to_string(count) + ")";
}

// Keeps the side bar in its update state for the whole rebuild, also when
// something throws half way.
class TUpdateGuard {
 public:
  explicit TUpdateGuard(TSideBarModel& sideBar) : m_sideBar(sideBar) { m_sideBar.BeginUpdate(); }
  ~TUpdateGuard() { m_sideBar.EndUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

 private:
  TSideBarModel& m_sideBar;
};

}  // namespace

const TFieldCode& FieldCode(int code) { return kFieldCodes.at(static_cast<std::size_t>(code)); }

int EffectiveGroupCode(int code) { return code < 0 || code >= kFieldCodeCount ? 0 : code; }

int EffectiveOrderCode(int code) { return code <= 0 || code >= kFieldCodeCount ? kDefaultOrderCode : code; }

std::vector<std::string> GroupKeys(const TMovie& m, int code) {
  switch (code) {
    case 1: return SplitNameList(m.Category);
    case 2: return {FirstUpper(m.OriginalTitle)};
    case 3: return {FirstUpper(m.TranslatedTitle.empty() ? m.OriginalTitle : m.TranslatedTitle)};
    case 4: return {Number(m.Rating)};
    case 5:
    case 6: return {Number(m.Year)};
    case 7: return SplitNameList(m.Director);
    case 8: return SplitNameList(m.Producer);
    case 9: return {m.Country};
    case 10: return SplitNameList(m.Languages);
    case 11: return {Number(m.Number)};
    case 12: return {m.Media};
    case 13: return {m.MediaType};
    case 14: return {Number(m.Date)};
    case 15: return {m.Borrower};
    case 16: return {Number(m.Length)};
    case 17: return SplitNameList(m.Actors);
    case 18: return {m.VideoFormat};
    case 19: return {Number(m.VideoBitrate)};
    case 20: return {m.AudioFormat};
    case 21: return {Number(m.AudioBitrate)};
    case 22: return {m.Resolution};
    case 23: return {m.Framerate};
    case 24: return SplitNameList(m.Subtitles);
    case 25: return {Number(m.Disks)};
    default: return {};
  }
}

std::string OrderKey(const TMovie& m, int code) {
  switch (code) {
    case 1: return m.Category;
    case 2: return m.OriginalTitle;
    case 3: return m.TranslatedTitle.empty() ? m.OriginalTitle : m.TranslatedTitle;
    case 4: return Number(m.Rating);
    case 5:
    case 6: return Number(m.Year);
    case 7: return m.Director;
    case 8: return m.Producer;
    case 9: return m.Country;
    case 10: return m.Languages;
    case 11: return Number(m.Number);
    case 12: return m.Media;
    case 13: return m.MediaType;
    case 14: return Number(m.Date);
    case 15: return m.Borrower;
    case 16: return Number(m.Length);
    case 17: return m.Actors;
    case 18: return m.VideoFormat;
    case 19: return Number(m.VideoBitrate);
    case 20: return m.AudioFormat;
    case 21: return Number(m.AudioBitrate);
    case 22: return m.Resolution;
    case 23: return m.Framerate;
    case 24: return m.Subtitles;
    case 25: return Number(m.Disks);
    default: return {};
  }
}

int CompareKeys(TCompareKind kind, std::string_view a, std::string_view b) {
  if (kind == TCompareKind::Number) {
    std::int64_t x = KeyNumber(a), y = KeyNumber(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  int result = UpperAscii(a).compare(UpperAscii(b));
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

bool SameSection(TCaptionRule rule, std::string_view previous, std::string_view key) {
  auto number = [](std::string_view text) { return KeyNumber(text); };
  switch (rule) {
    case R::ExactText: return SameTextAscii(previous, key);
    case R::Letter: return previous == key;
    case R::PeopleLetter:
      return previous.empty() || key.empty() ? previous.empty() && key.empty()
                                             : UpperAscii(previous[0]) == UpperAscii(key[0]);
    case R::Rating:
    case R::Decade:
    case R::Length: return number(previous) / 10 == number(key) / 10;
    case R::NumberBlock: return number(previous) / 50 == number(key) / 50;
    case R::YearOfDate: return YearOfDay(number(previous)) == YearOfDay(number(key));
    case R::Year:
    case R::BitRate:
    case R::DiscCount: return number(previous) == number(key);
    case R::None: return true;
  }
  return true;
}

std::string SectionCaption(TCaptionRule rule, std::string_view key) {
  std::int64_t n = KeyNumber(key);
  switch (rule) {
    case R::ExactText: return key.empty() ? NotAvailable() : std::string(key);
    case R::Letter: return key.empty() ? NotAvailable() : Translate("Letter") + " " + std::string(key);
    case R::PeopleLetter: return key.empty() ? NotAvailable() : Translate("Letter") + " " + FirstUpper(key);
    case R::Rating: return n / 10 <= 0 ? NotAvailable() : Translate("Rating") + " " + Number(n / 10);
    case R::Year: return n <= 0 ? NotAvailable() : Translate("Year") + " " + std::string(key);
    case R::Decade: return n / 10 <= 0 ? NotAvailable() : Translate("Decade") + " " + Number(n / 10 * 10);
    case R::NumberBlock:
      return Translate("Number") + " " + Number(n / 50 * 50) + " - " + Number(n / 50 * 50 + 49);
    case R::YearOfDate: return Translate("Year") + " " + Number(YearOfDay(n));
    case R::Length: return n / 10 <= 0 ? NotAvailable() : Number(n / 10 * 10) + " " + Translate("Minutes");
    case R::BitRate: return n <= 0 ? NotAvailable() : std::string(key) + " " + Translate("Kbps");
    case R::DiscCount:
      if (n == 1) return Translate("1 Disc");
      return n <= 0 ? NotAvailable() : std::string(key) + " " + Translate("Discs");
    case R::None: return std::string(key);
  }
  return std::string(key);
}

std::string SideBarTitle(const TMovie& movie, int titleType) {
  if (titleType == 1 && !movie.TranslatedTitle.empty()) return movie.TranslatedTitle;
  // An empty row would show nothing to click on: the display title instead.
  if (movie.OriginalTitle.empty()) return GetMovieTitle(movie, titleType);
  return movie.OriginalTitle;
}

namespace {

// A section as a list of (key, movie) before it goes into the side bar.
struct TSection {
  std::string Caption;
  bool Expanded;
  std::vector<TSortable> Entries;
};

// The sections of a grouping: one per key (or per letter, year, decade...)
// in order, or the one open section of all movies.
std::vector<TSection> GroupSections(const TMovieList& movies, int group, bool descending) {
  std::vector<TSection> sections;
  if (group == 0) {
    sections.push_back({Translate("All Movies"), true, {}});
    for (int i = 0; i < movies.Count(); ++i) sections.back().Entries.push_back({{}, 0, i, {}});
    return sections;
  }
  const TFieldCode& field = FieldCode(group);
  const bool people = field.Rule == R::PeopleLetter;
  std::vector<TSortable> work;
  for (int i = 0; i < movies.Count(); ++i) {
    for (std::string& key : GroupKeys(movies.Items(i), group)) {
      work.push_back(people ? TSortable{{}, 0, i, std::move(key)} : Prepare(field.Compare, std::move(key), i));
    }
  }
  if (people) {
    SortByFirstLetter(work, descending);
  } else {
    SortByKind(work, field.Compare, descending);
  }
  for (std::size_t i = 0; i < work.size(); ++i) {
    if (i == 0 || !SameSection(field.Rule, sections.back().Entries.back().Key, work[i].Key)) {
      sections.push_back({SectionCaption(field.Rule, work[i].Key), false, {}});
    }
    sections.back().Entries.push_back(std::move(work[i]));
  }
  return sections;
}

// People mode: each section's names in order, a name once with all its
// movies.
void AddNameSections(std::vector<TSection>& sections, bool orderDescending, TSideBarPlan& plan) {
  const TLocale& locale = CurrentLocale();
  for (TSection& section : sections) {
    std::vector<TSortable>& names = section.Entries;
    if (orderDescending) {
      for (TSortable& name : names) name.Text = UpperAscii(name.Key);
      std::sort(names.begin(), names.end(), [](const TSortable& a, const TSortable& b) { return b.Text < a.Text; });
    } else {
      for (TSortable& name : names) name.Text = locale.SortKey(name.Key);
      std::sort(names.begin(), names.end(), [](const TSortable& a, const TSortable& b) { return a.Text < b.Text; });
    }
    TSideBarPlan::TSection& planned = plan.Sections.emplace_back();
    planned.Caption = section.Caption;
    planned.Expanded = section.Expanded;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i == 0 || names[i].Key != names[i - 1].Key) {
        planned.Items.push_back({names[i].Key, plan.Movies.size(), 0});
      }
      plan.Movies.push_back(names[i].Movie);
      ++planned.Items.back().Count;
    }
  }
}

// Each section's movies in the order chosen.
void AddMovieSections(const TMovieList& movies, std::vector<TSection>& sections, int order, bool orderDescending,
                      TSideBarPlan& plan) {
  const TFieldCode& orderField = FieldCode(order);
  for (TSection& section : sections) {
    std::vector<TSortable> work;
    work.reserve(section.Entries.size());
    for (const TSortable& entry : section.Entries) {
      work.push_back(Prepare(orderField.Compare, OrderKey(movies.Items(entry.Movie), order), entry.Movie));
    }
    SortByKind(work, orderField.Compare, orderDescending);
    TSideBarPlan::TSection& planned = plan.Sections.emplace_back();
    planned.Caption = section.Caption;
    planned.Expanded = section.Expanded;
    for (const TSortable& entry : work) {
      planned.Items.push_back({std::string(), plan.Movies.size(), 1});
      plan.Movies.push_back(entry.Movie);
    }
  }
}

}  // namespace

TSideBarPlan ArrangeSideBar(const TMovieList& movies, int groupCode, bool groupDescending, int orderCode,
                            bool orderDescending) {
  TSideBarPlan plan;
  if (movies.Count() == 0) return plan;
  int group = EffectiveGroupCode(groupCode);
  int order = EffectiveOrderCode(orderCode);
  if (group != 0) plan.Caption = Translate("Group by") + " " + Translate(FieldCode(group).CaptionWord) + ", ";
  plan.Caption += Translate("Order by") + " " + Translate(FieldCode(order).CaptionWord);

  std::vector<TSection> sections = GroupSections(movies, group, groupDescending);
  plan.People = FieldCode(group).Rule == R::PeopleLetter;
  if (plan.People) {
    AddNameSections(sections, orderDescending, plan);
  } else {
    AddMovieSections(movies, sections, order, orderDescending, plan);
  }
  return plan;
}

int FillSideBar(const TSideBarPlan& plan, const TMovieList& movies, TSideBarModel& sideBar, int titleType,
                const std::vector<bool>* kept) {
  TUpdateGuard update(sideBar);
  sideBar.Items().Clear();  // releases the handle lists of people mode with the sections
  sideBar.Tag = plan.People ? kPeopleModeTag : 0;
  auto shown = [&](int movie) { return kept == nullptr || (*kept)[static_cast<std::size_t>(movie)]; };
  std::vector<bool> counted(static_cast<std::size_t>(movies.Count()), false);
  int total = 0;
  for (const TSideBarPlan::TSection& section : plan.Sections) {
    std::vector<std::string> handles;
    std::vector<std::pair<std::string, const TMovie*>> rows;
    auto count = [&](int movie) {
      if (counted[static_cast<std::size_t>(movie)]) return;
      counted[static_cast<std::size_t>(movie)] = true;
      ++total;
    };
    for (const TSideBarPlan::TItem& planned : section.Items) {
      if (!plan.People) {
        const int movie = plan.Movies[planned.First];
        if (!shown(movie)) continue;
        count(movie);
        rows.emplace_back(SideBarTitle(movies.Items(movie), titleType), &movies.Items(movie));
        continue;
      }
      std::string list;
      for (std::size_t i = planned.First; i < planned.First + planned.Count; ++i) {
        const int movie = plan.Movies[i];
        if (!shown(movie)) continue;
        count(movie);
        if (!list.empty()) list += ',';
        list += MovieHandleText(movies.Items(movie));
      }
      if (list.empty()) continue;
      rows.emplace_back(planned.Text, nullptr);
      handles.push_back(std::move(list));
    }
    // A filter leaves out the sections it empties, and opens the others.
    if (rows.empty() && kept != nullptr) continue;
    TSideBarItem& item = sideBar.Items().Add();
    item.SetCaption(WithCount(section.Caption, rows.size()));
    for (auto& [text, movie] : rows) item.Items().Add(std::move(text), movie);
    if (plan.People) item.Tag = std::move(handles);
    item.SetExpanded(section.Expanded || kept != nullptr);
  }
  return total;
}

std::string BuildSideBar(const TMovieList& movies, TSideBarModel& sideBar, int titleType, int groupCode,
                         bool groupDescending, int orderCode, bool orderDescending) {
  const TSideBarPlan plan = ArrangeSideBar(movies, groupCode, groupDescending, orderCode, orderDescending);
  FillSideBar(plan, movies, sideBar, titleType, nullptr);
  return plan.Caption;
}

std::string SideBarItemHandles(const TSideBarModel& sideBar, int section, int item) {
  if (IsPeopleMode(sideBar)) {
    const auto* handles = std::any_cast<std::vector<std::string>>(&sideBar.Items()[section].Tag);
    if (handles == nullptr || item < 0 || item >= static_cast<int>(handles->size())) return {};
    return (*handles)[static_cast<std::size_t>(item)];
  }
  const TMovie* movie = SideBarItemMovie(sideBar, section, item);
  return movie == nullptr ? std::string() : MovieHandleText(*movie);
}

bool IsPeopleMode(const TSideBarModel& sideBar) { return sideBar.Tag == kPeopleModeTag; }

const TMovie* SideBarItemMovie(const TSideBarModel& sideBar, int section, int item) {
  if (IsPeopleMode(sideBar)) return nullptr;
  return static_cast<const TMovie*>(sideBar.Items()[section].Items().Objects(item));
}

void RetitleSideBar(TSideBarModel& sideBar, int titleType) {
  if (IsPeopleMode(sideBar)) return;
  // One layout at the end.
  sideBar.Items().BeginUpdate();
  for (int section = 0; section < sideBar.Items().Count(); ++section) {
    TSideBarStrings& items = sideBar.Items()[section].Items();
    for (int item = 0; item < items.Count(); ++item) {
      if (const TMovie* movie = SideBarItemMovie(sideBar, section, item)) {
        items.SetString(item, SideBarTitle(*movie, titleType));
      }
    }
  }
  sideBar.Items().EndUpdate();
}
