#pragma once

#include <Qt>
#include <vector>

// Every command of the main window. Each is one action (TWindowCommands)
// made from its line of the table below: buttons, menus and keys all run it.
enum class TWindowCommand {
  None,
  Open,
  RecentCatalogs,
  Edit,
  Settings,
  Play,
  Back,
  Search,
  FindText,
  FindInCollection,
  ClearFilter,
  ToggleFullScreen,
  LeaveFullScreen,
  Close,
  SideBarMenu,
  Statistics,
  Print,
  SavePdf,
  ExportCsv,
  MovieTable,
  RandomMovie,
  FirstPart,
  PreviousPart,
  NextPart,
  LastPart,
};

// When a key runs its command.
enum class TKeyWhen {
  Always,
  AnyModifiers,    // the key with or without modifiers
  OutsideText,     // not while a text field has the focus
  InFullScreen,
  WhileFiltering,  // a filter is typed
  OnOpenButton,    // the Open button has the focus
};

struct TCommandKey {
  const char* Keys;  // as QKeySequence reads them ("Ctrl+O")
  TKeyWhen When = TKeyWhen::Always;
};

struct TCommandEntry {
  TWindowCommand Command;
  const char* Name;     // the action's object name
  const char* Caption;  // in English; translated where shown
  std::vector<TCommandKey> Keys;
};

// The commands in the order a key is looked up: where two share a key, the
// first whose condition holds wins.
const std::vector<TCommandEntry>& WindowCommandTable();

struct TKeyContext {
  bool InTextField = false;
  bool FullScreen = false;
  bool OnOpenButton = false;
  bool Filtering = false;
};

// What a key means to the main window, whichever control has the focus.
TWindowCommand WindowCommandOf(int key, Qt::KeyboardModifiers modifiers, const TKeyContext& context);

// Keys typed into this control are text, Backspace included.
class QWidget;
bool TakesText(const QWidget* widget);
