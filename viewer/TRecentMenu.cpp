#include "viewer/TRecentMenu.h"

#include "dialogs/DialogLook.h"
#include "render/PathCheck.h"
#include "viewer/TViewerApplication.h"
#include "widgets/QtBridge.h"

#include <QMenu>

TRecentMenu::TRecentMenu(QWidget* parent) : m_menu(new QMenu(parent)) {
  m_menu->setObjectName(QStringLiteral("PopupRecent"));
}

void TRecentMenu::Fill(const std::vector<std::string>& recent) {
  m_menu->clear();
  m_menu->setTitle(TranslatedText("Recent Catalogs"));
  if (recent.empty()) {
    m_menu->addAction(TranslatedText("No catalog opened yet"))->setEnabled(false);
    return;
  }
  for (const std::string& path : recent) {
    // The path as its menu text: an "&" in it is a letter, not a shortcut.
    QString text = ToQString(path);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = m_menu->addAction(text);
    action->setEnabled(RegularFileExists(path));
    QObject::connect(action, &QAction::triggered, m_menu, [this, path] {
      if (OnChosen) RunGuarded([&] { OnChosen(path); });
    });
  }
}

void TRecentMenu::PopupBelow(const std::vector<std::string>& recent, QWidget& button) {
  Fill(recent);
  m_menu->popup(button.mapToGlobal(QPoint(0, button.height())));
  if (!m_menu->actions().isEmpty()) m_menu->setActiveAction(m_menu->actions().front());
}
