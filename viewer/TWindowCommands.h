#pragma once

#include "viewer/WindowCommands.h"

#include <functional>
#include <initializer_list>
#include <map>

class QAction;
class QMenu;
class QWidget;
struct TButtonEvents;

// The main window's commands as actions, one per line of the command
// table: its caption in the language shown, its keys (shown in menus; the
// window's key preview runs them, whichever control has the focus) and the
// handler the window gives it. A button or a menu entry runs the same action.
class TWindowCommands {
 public:
  explicit TWindowCommands(QWidget& window);

  // What the command runs; errors it throws are shown, never passed on.
  void Bind(TWindowCommand command, std::function<void()> run);
  // A click on `button` runs the command.
  void Attach(TButtonEvents& button, TWindowCommand command);
  QAction* Action(TWindowCommand command) const;
  // Adds the commands' actions to `menu`; TWindowCommand::None adds a separator.
  void AddToMenu(QMenu& menu, std::initializer_list<TWindowCommand> commands) const;
  // Runs the command; false for TWindowCommand::None.
  bool Run(TWindowCommand command);
  // Every caption in the chosen language.
  void Translate();

 private:
  std::map<TWindowCommand, QAction*> m_actions;
};
