#include "viewer/WindowCommands.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <stdexcept>

const std::vector<TCommandEntry>& WindowCommandTable() {
  static const std::vector<TCommandEntry> table = {
      {TWindowCommand::Open, "openCommand", "Open", {{"Ctrl+O"}}},
      {TWindowCommand::RecentCatalogs, "recentCommand", "Recent Catalogs",
       {{"Menu", TKeyWhen::OnOpenButton}, {"Shift+F10", TKeyWhen::OnOpenButton}}},
      {TWindowCommand::Edit, "editCommand", "Edit", {}},
      {TWindowCommand::Settings, "settingsCommand", "Settings", {{"F10", TKeyWhen::AnyModifiers}}},
      {TWindowCommand::Play, "playCommand", "Play", {}},
      {TWindowCommand::Back, "backCommand", "Back", {{"Alt+Left"}, {"Backspace", TKeyWhen::OutsideText}}},
      {TWindowCommand::Search, "searchCommand", "Search", {}},
      {TWindowCommand::FindText, "findTextCommand", "Find", {{"Ctrl+F"}}},
      {TWindowCommand::FindInCollection, "filterCommand", "Filter", {{"Ctrl+Shift+F"}}},
      {TWindowCommand::ClearFilter, "clearFilterCommand", "Clear Filter", {{"Esc", TKeyWhen::WhileFiltering}}},
      {TWindowCommand::ToggleFullScreen, "fullScreenCommand", "Full Screen", {{"F11"}}},
      {TWindowCommand::LeaveFullScreen, "leaveFullScreenCommand", "Leave Full Screen",
       {{"Esc", TKeyWhen::InFullScreen}}},
      {TWindowCommand::Close, "closeCommand", "Close", {{"Ctrl+Q"}}},
      {TWindowCommand::SideBarMenu, "sideBarMenuCommand", "Group by", {}},
      {TWindowCommand::Statistics, "statisticsCommand", "Statistics", {{"Ctrl+I"}}},
      {TWindowCommand::Print, "printCommand", "Print...", {{"Ctrl+P"}}},
      {TWindowCommand::SavePdf, "savePdfCommand", "Save as PDF...", {{"Ctrl+S"}}},
      {TWindowCommand::ExportCsv, "exportCsvCommand", "Export as CSV...", {{"Ctrl+E"}}},
      {TWindowCommand::MovieTable, "tableCommand", "Table of the List", {{"Ctrl+T"}}},
      {TWindowCommand::RandomMovie, "randomCommand", "Random Movie", {{"Ctrl+R"}}},
      {TWindowCommand::FirstPart, "firstPartCommand", "First Part", {{"Alt+Home"}}},
      {TWindowCommand::PreviousPart, "previousPartCommand", "Previous Part", {{"Alt+PgUp"}}},
      {TWindowCommand::NextPart, "nextPartCommand", "Next Part", {{"Alt+PgDown"}}},
      {TWindowCommand::LastPart, "lastPartCommand", "Last Part", {{"Alt+End"}}},
  };
  return table;
}

namespace {

bool KeyHolds(const TCommandKey& key, const TKeyContext& context) {
  switch (key.When) {
    case TKeyWhen::Always:
    case TKeyWhen::AnyModifiers: return true;
    case TKeyWhen::OutsideText: return !context.InTextField;
    case TKeyWhen::InFullScreen: return context.FullScreen;
    case TKeyWhen::WhileFiltering: return context.Filtering;
    case TKeyWhen::OnOpenButton: return context.OnOpenButton;
  }
  return false;
}

}  // namespace

TWindowCommand WindowCommandOf(int key, Qt::KeyboardModifiers modifiers, const TKeyContext& context) {
  // The keypad flag says where a key is, not what it means.
  modifiers &= ~Qt::KeypadModifier;
  for (const TCommandEntry& entry : WindowCommandTable()) {
    for (const TCommandKey& commandKey : entry.Keys) {
      const QKeyCombination wanted = QKeySequence::fromString(QString::fromLatin1(commandKey.Keys))[0];
      if (wanted.key() != key) continue;
      if (commandKey.When != TKeyWhen::AnyModifiers && wanted.keyboardModifiers() != modifiers) continue;
      if (KeyHolds(commandKey, context)) return entry.Command;
    }
  }
  return TWindowCommand::None;
}

bool TakesText(const QWidget* widget) {
  if (qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
      qobject_cast<const QAbstractSpinBox*>(widget) != nullptr) {
    return true;
  }
  const auto* combo = qobject_cast<const QComboBox*>(widget);
  return combo != nullptr && combo->isEditable();
}
