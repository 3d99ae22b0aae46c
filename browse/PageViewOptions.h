#pragma once

#include <string>

// How the page view shows every page, beside the page itself: its scroll
// bars and border, whether its text can be chosen, a style sheet of the
// window's own, and whether the window's menu stands in for the view's
// context menu. The main window's view shows no border; everything else
// keeps these defaults.
struct TPageViewOptions {
  bool ScrollBars = true;
  bool Border = true;
  bool TextSelectable = true;
  bool OwnContextMenu = false;
  // Windows-1252, as the program keeps texts.
  std::string StyleSheet;
};

// The style sheet the view adds to every page (UTF-8): the options' own,
// and a rule that keeps text from being chosen when it may not be.
std::string PageViewStyleSheet(const TPageViewOptions& options);
