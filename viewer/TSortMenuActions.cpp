#include "viewer/TSortMenuActions.h"

#include "dialogs/DialogLook.h"
#include "viewer/TViewerApplication.h"

#include <QAction>
#include <QMenu>

TSortMenuActions::TSortMenuActions(QMenu& popup, TViewerSettings& settings) : m_settings(settings) {
  m_group.Menu = popup.addMenu(QString());
  m_order.Menu = popup.addMenu(QString());
  Build(m_group, m_menus.GroupBy, true);
  Build(m_order, m_menus.OrderBy, false);
  m_menus.OnRefresh = [this] {
    if (OnRefresh) OnRefresh();
  };
}

void TSortMenuActions::Build(TSubmenu& submenu, const TSortMenu& entries, bool group) {
  for (std::size_t i = 0; i < entries.Entries.size(); ++i) {
    const TSortMenuEntry& entry = entries.Entries[i];
    QMenu* target = submenu.Menu;
    if (entry.InOthers) {
      if (submenu.Others == nullptr) submenu.Others = submenu.Menu->addMenu(QString());
      target = submenu.Others;
    }
    if (entry.IsDirection && entry.Tag == 0) submenu.Menu->addSeparator();
    QAction* action = target->addAction(QString());
    action->setCheckable(true);
    const int index = static_cast<int>(i);
    QObject::connect(action, &QAction::triggered, submenu.Menu, [this, index, group] {
      RunGuarded([&] {
        if (group) {
          m_menus.ClickGroupBy(index, m_settings);
        } else {
          m_menus.ClickOrderBy(index, m_settings);
        }
        SyncChecks();
      });
    });
    submenu.Actions.push_back(action);
  }
}

QAction* TSortMenuActions::GroupByAction(int index) const { return m_group.Actions.at(static_cast<std::size_t>(index)); }
QAction* TSortMenuActions::OrderByAction(int index) const { return m_order.Actions.at(static_cast<std::size_t>(index)); }

void TSortMenuActions::CheckFromSettings() {
  m_menus.CheckFromSettings(m_settings);
  SyncChecks();
}

void TSortMenuActions::SyncChecks() {
  for (std::size_t i = 0; i < m_group.Actions.size(); ++i) m_group.Actions[i]->setChecked(m_menus.GroupBy.Entries[i].Checked);
  for (std::size_t i = 0; i < m_order.Actions.size(); ++i) m_order.Actions[i]->setChecked(m_menus.OrderBy.Entries[i].Checked);
}

void TSortMenuActions::Translate() {
  m_group.Menu->setTitle(TranslatedText(m_menus.GroupBy.Caption));
  m_order.Menu->setTitle(TranslatedText(m_menus.OrderBy.Caption));
  for (QMenu* others : {m_group.Others, m_order.Others}) {
    if (others != nullptr) others->setTitle(TranslatedText("Others"));
  }
  for (std::size_t i = 0; i < m_group.Actions.size(); ++i) {
    m_group.Actions[i]->setText(TranslatedText(m_menus.GroupBy.Entries[i].Caption));
  }
  for (std::size_t i = 0; i < m_order.Actions.size(); ++i) {
    m_order.Actions[i]->setText(TranslatedText(m_menus.OrderBy.Entries[i].Caption));
  }
}
