#pragma once

#include <Qt>

// What a key means to the main window, whichever control has the focus.
enum class TWindowCommand {
  None,
  Settings,          // F10
  ToggleFullScreen,  // F11
  LeaveFullScreen,   // Esc, in full screen (without a filter)
  ClearFilter,       // Esc, while a filter is typed
  FindInCollection,  // Ctrl+Shift+F: the filter box
  RandomMovie,       // Ctrl+R
  MovieTable,        // Ctrl+T
  Open,              // Ctrl+O
  FindText,          // Ctrl+F: the search box, its text selected
  Back,              // Alt+Left, or Backspace outside a text field
  Close,             // Ctrl+Q
  RecentCatalogs,    // the menu key or Shift+F10 on the Open button
  Statistics,        // Ctrl+I
  Print,             // Ctrl+P
  SavePdf,           // Ctrl+S
  ExportCsv,         // Ctrl+E
  FirstPart,         // Alt+Home: a long list's first part
  PreviousPart,      // Alt+Page Up
  NextPart,          // Alt+Page Down
  LastPart,          // Alt+End
};

struct TKeyContext {
  bool InTextField = false;
  bool FullScreen = false;
  bool OnOpenButton = false;
  bool Filtering = false;
};

TWindowCommand WindowCommandOf(int key, Qt::KeyboardModifiers modifiers, const TKeyContext& context);

// Keys typed into this control are text, Backspace included.
class QWidget;
bool TakesText(const QWidget* widget);
