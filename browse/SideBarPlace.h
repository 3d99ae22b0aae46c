#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TMovieList;
class TSideBarModel;

// The user's place in the side bar, taken before the open catalog is read
// again and put back in the side bar built from the new one. Movies are
// known across two reads of a file by their number and original title,
// sections by their caption without the count.
struct TMovieIdentity {
  std::int32_t Number = 0;
  std::string Title;
  bool operator==(const TMovieIdentity&) const = default;
};

struct TSideBarPlace {
  // The movies of the page shown.
  std::vector<TMovieIdentity> Shown;
  std::vector<std::string> OpenSections;
  int TopIndex = 0;
  // Whether the page shown was chosen in the side bar (not the strip or a
  // search).
  bool FromSideBar = false;
};

// `shownHandles` is the handle list of the page shown.
TSideBarPlace TakeSideBarPlace(const TSideBarModel& bar, const TMovieList& catalog, const std::string& shownHandles);

// What the place leads to in the new catalog.
struct TRestoredPlace {
  // The movies shown before, under their new handles; empty when none of
  // them is there any more.
  std::string Handles;
  // The item to mark as chosen (without raising the selection event), or -1.
  int Section = -1;
  int Item = -1;
};

// Opens the same sections and scrolls to the same place in `bar` (already
// built from `catalog`), and finds the movies shown before.
TRestoredPlace RestoreSideBarPlace(TSideBarModel& bar, const TMovieList& catalog, const TSideBarPlace& place);
