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

void TSortMenus::SetGroupCheck(int code) { CheckCode(GroupBy, code); }
void TSortMenus::SetOrderCheck(int code) { CheckCode(OrderBy, code); }
void TSortMenus::SetGroupDirectionCheck(bool descending) { CheckDirection(GroupBy, descending); }
void TSortMenus::SetOrderDirectionCheck(bool descending) { CheckDirection(OrderBy, descending); }

void TSortMenus::CheckFromSettings(const TViewerSettings& settings) {
  SetGroupCheck(settings.LastGroup);
  SetOrderCheck(settings.LastOrder);
  SetGroupDirectionCheck(settings.LastGroupDesc);
  SetOrderDirectionCheck(settings.LastOrderDesc);
}

void TSortMenus::ClickGroupBy(int index, TViewerSettings& settings) {
  const TSortMenuEntry& entry = GroupBy.Entries.at(static_cast<std::size_t>(index));
  if (entry.IsDirection) {
    settings.LastGroupDesc = entry.Tag == 1;
    SetGroupDirectionCheck(settings.LastGroupDesc);
  } else {
    settings.LastGroup = static_cast<std::uint8_t>(entry.Tag);
    SetGroupCheck(settings.LastGroup);
  }
  if (OnRefresh) OnRefresh();
}

void TSortMenus::ClickOrderBy(int index, TViewerSettings& settings) {
  const TSortMenuEntry& entry = OrderBy.Entries.at(static_cast<std::size_t>(index));
  if (entry.IsDirection) {
    settings.LastOrderDesc = entry.Tag == 1;
    SetOrderDirectionCheck(settings.LastOrderDesc);
  } else {
    settings.LastOrder = static_cast<std::uint8_t>(entry.Tag);
    SetOrderCheck(settings.LastOrder);
  }
  if (OnRefresh) OnRefresh();
}
