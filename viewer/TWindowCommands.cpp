#include "viewer/TWindowCommands.h"

#include "dialogs/DialogLook.h"
#include "viewer/TViewerApplication.h"
#include "widgets/TOwnerDrawnButton.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

TWindowCommands::TWindowCommands(QWidget& window) {
  for (const TCommandEntry& entry : WindowCommandTable()) {
    auto* action = new QAction(&window);
    action->setObjectName(QString::fromLatin1(entry.Name));
    // The first key a menu shows beside the caption; the key preview runs
    // the command, so the action never takes the key itself.
    if (!entry.Keys.empty()) action->setShortcut(QKeySequence::fromString(QString::fromLatin1(entry.Keys[0].Keys)));
    action->setShortcutContext(Qt::WidgetShortcut);
    m_actions[entry.Command] = action;
  }
  Translate();
}

void TWindowCommands::Bind(TWindowCommand command, std::function<void()> run) {
  QAction* action = Action(command);
  QObject::connect(action, &QAction::triggered, action, [run = std::move(run)] { RunGuarded(run); });
}

void TWindowCommands::Attach(TButtonEvents& button, TWindowCommand command) {
  button.OnClick = [action = Action(command)](QWidget&) { action->trigger(); };
}

QAction* TWindowCommands::Action(TWindowCommand command) const { return m_actions.at(command); }

void TWindowCommands::AddToMenu(QMenu& menu, std::initializer_list<TWindowCommand> commands) const {
  for (TWindowCommand command : commands) {
    if (command == TWindowCommand::None) {
      menu.addSeparator();
    } else {
      menu.addAction(Action(command));
    }
  }
}

bool TWindowCommands::Run(TWindowCommand command) {
  if (command == TWindowCommand::None) return false;
  Action(command)->trigger();
  return true;
}

void TWindowCommands::Translate() {
  for (const TCommandEntry& entry : WindowCommandTable()) {
    m_actions[entry.Command]->setText(TranslatedEllipsisText(entry.Caption));
  }
}
