#include "browse/SideBarPlace.h"

#include "browse/Grouping.h"
#include "layout/TSideBarModel.h"
#include "catalog/TMovieList.h"
#include "render/MovieAddress.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

namespace {

std::string SectionName(const std::string& caption) { return caption.substr(0, caption.rfind(" (")); }

}  // namespace

TSideBarPlace TakeSideBarPlace(const TSideBarModel& bar, const TMovieList& catalog, const std::string& shownHandles) {
  TSideBarPlace place;
  if (!shownHandles.empty()) {
    for (const std::string& token : TokenizeMovieAddress("[" + shownHandles + "]")) {
      if (std::optional<std::int64_t> handle = ParseHandle(token)) {
        if (const TMovie* movie = catalog.FindByHandle(*handle)) place.Shown.push_back({movie->Number, movie->OriginalTitle});
      }
    }
  }
  place.TopIndex = bar.TopIndex();
  place.FromSideBar = bar.ItemIndex() >= 0;
  for (int i = 0; i < bar.Items().Count(); ++i) {
    if (bar.Items()[i].Expanded()) place.OpenSections.push_back(SectionName(bar.Items()[i].Caption()));
  }
  return place;
}

TRestoredPlace RestoreSideBarPlace(TSideBarModel& bar, const TMovieList& catalog, const TSideBarPlace& place) {
  bar.Items().BeginUpdate();
  for (int i = 0; i < bar.Items().Count(); ++i) {
    const std::string name = SectionName(bar.Items()[i].Caption());
    if (std::find(place.OpenSections.begin(), place.OpenSections.end(), name) != place.OpenSections.end()) {
      bar.Items()[i].SetExpanded(true);
    }
  }
  bar.Items().EndUpdate();
  bar.SetTopIndex(place.TopIndex);

  // The first movie of each identity, so a long list shown is found again
  // in one pass over the catalog.
  std::map<std::pair<std::int32_t, std::string_view>, const TMovie*> byIdentity;
  if (!place.Shown.empty()) {
    for (int i = 0; i < catalog.Count(); ++i) {
      const TMovie& movie = catalog.Items(i);
      byIdentity.emplace(std::make_pair(movie.Number, std::string_view(movie.OriginalTitle)), &movie);
    }
  }
  TRestoredPlace restored;
  for (const TMovieIdentity& identity : place.Shown) {
    auto found = byIdentity.find({identity.Number, std::string_view(identity.Title)});
    if (found == byIdentity.end()) continue;
    restored.Handles += (restored.Handles.empty() ? "" : ",") + MovieHandleText(*found->second);
  }
  if (restored.Handles.empty() || !place.FromSideBar) return restored;
  for (int s = 0; s < bar.Items().Count(); ++s) {
    for (int i = 0; i < bar.Items()[s].Items().Count(); ++i) {
      if (SideBarItemHandles(bar, s, i) == restored.Handles) {
        restored.Section = s;
        restored.Item = i;
        return restored;
      }
    }
  }
  return restored;
}
