#pragma once

#include <functional>
#include <string>
#include <vector>

struct TViewerSettings;

// The state of the "Group by" and "Order by" popup menus without a toolkit:
// their entries with English captions (the window translates them), the
// codes in their tags and their check marks. A click changes the four
// selection values of the settings and asks for a side bar rebuild.
struct TSortMenuEntry {
  std::string Caption;
  int Tag = 0;
  bool InOthers = false;     // in the "Others" submenu
  bool IsDirection = false;  // "Ascending" (tag 0) or "Descending" (tag 1)
  bool Checked = false;
};

struct TSortMenu {
  std::string Caption;
  std::vector<TSortMenuEntry> Entries;
};

class TSortMenus {
 public:
  // Builds both menus with their tags.
  TSortMenus();

  TSortMenu GroupBy;
  TSortMenu OrderBy;

  // The check marks of the fields and directions the settings hold, as
  // after loading them.
  void CheckFromSettings(const TViewerSettings& settings);

  // A click on entry `index` of a menu: stores the choice in the settings,
  // moves the check marks and calls OnRefresh.
  void ClickGroupBy(int index, TViewerSettings& settings);
  void ClickOrderBy(int index, TViewerSettings& settings);

  std::function<void()> OnRefresh;
};
