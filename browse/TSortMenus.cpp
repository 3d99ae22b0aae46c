#include "browse/TSortMenus.h"

#include "config/TViewerSettings.h"

namespace {

struct TField {
  const char* Caption;
  int Code;
  bool InOthers;
};

// Menu captions differ from the caption words of the codes ("Movie Number"
// is code 11, "Date Added" code 14, "Languages" code 10).
const TField kTopFields[] = {{"Category", 1, false},  {"Original Title", 2, false}, {"Translated Title", 3, false},
                             {"Rating", 4, false},    {"Year", 5, false},           {"Decade", 6, false},
                             {"Director", 7, false},  {"Producer", 8, false},       {"Actors", 17, false},
                             {"Country", 9, false}};
const TField kOtherFields[] = {{"Movie Number", 11, true}, {"Date Added", 14, true},    {"Media", 12, true},
                               {"Media Type", 13, true},  {"Borrower", 15, true},      {"Length", 16, true},
                               {"Video Format", 18, true}, {"Video Bitrate", 19, true}, {"Audio Format", 20, true},
                               {"Audio Bitrate", 21, true}, {"Resolution", 22, true},  {"Framerate", 23, true},
                               {"Disks", 25, true},       {"Languages", 10, true},     {"Subtitles", 24, true}};

void AddDirections(TSortMenu& menu) {
  menu.Entries.push_back({"Ascending", 0, false, true});
  menu.Entries.push_back({"Descending", 1, false, true});
}

void CheckCode(TSortMenu& menu, int code) {
  for (TSortMenuEntry& entry : menu.Entries) {
    if (!entry.IsDirection) entry.Checked = entry.Tag == code;
  }
}

void CheckDirection(TSortMenu& menu, bool descending) {
  for (TSortMenuEntry& entry : menu.Entries) {
    if (entry.IsDirection) entry.Checked = (entry.Tag == 1) == descending;
  }
}

// A click on the menu's entry: the field or the direction it names goes to
// the settings' values, and the check marks move.
void ClickEntry(TSortMenu& menu, int index, std::uint8_t& code, bool& descending) {
  const TSortMenuEntry& entry = menu.Entries.at(static_cast<std::size_t>(index));
  if (entry.IsDirection) {
    descending = entry.Tag == 1;
    CheckDirection(menu, descending);
  } else {
    code = static_cast<std::uint8_t>(entry.Tag);
    CheckCode(menu, code);
  }
}

}  // namespace

TSortMenus::TSortMenus() {
  GroupBy.Caption = "Group by";
  GroupBy.Entries.push_back({"<none>", 0});
  for (const TField& field : kTopFields) GroupBy.Entries.push_back({field.Caption, field.Code, false});
  for (const TField& field : kOtherFields) GroupBy.Entries.push_back({field.Caption, field.Code, true});
  AddDirections(GroupBy);

  OrderBy.Caption = "Order by";
  OrderBy.Entries.push_back({"Movie Number", 11});
  for (const TField& field : kTopFields) OrderBy.Entries.push_back({field.Caption, field.Code, false});
  for (const TField& field : kOtherFields) {
    if (field.Code != 11) OrderBy.Entries.push_back({field.Caption, field.Code, true});
  }
  AddDirections(OrderBy);
}

void TSortMenus::CheckFromSettings(const TViewerSettings& settings) {
  CheckCode(GroupBy, settings.LastGroup);
  CheckCode(OrderBy, settings.LastOrder);
  CheckDirection(GroupBy, settings.LastGroupDesc);
  CheckDirection(OrderBy, settings.LastOrderDesc);
}

void TSortMenus::ClickGroupBy(int index, TViewerSettings& settings) {
  ClickEntry(GroupBy, index, settings.LastGroup, settings.LastGroupDesc);
  if (OnRefresh) OnRefresh();
}

void TSortMenus::ClickOrderBy(int index, TViewerSettings& settings) {
  ClickEntry(OrderBy, index, settings.LastOrder, settings.LastOrderDesc);
  if (OnRefresh) OnRefresh();
}
