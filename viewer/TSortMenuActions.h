#pragma once

#include "browse/TSortMenus.h"

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QObject;
struct TViewerSettings;

// The "Group by" and "Order by" submenus of the side bar's popup menu: one
// checkable action per entry of TSortMenus, which keeps the state. A click
// stores the choice in the settings and asks for the side bar again.
class TSortMenuActions {
 public:
  // Adds both submenus to `popup`; `settings` receives the choices.
  TSortMenuActions(QMenu& popup, TViewerSettings& settings);

  TSortMenus& Menus() { return m_menus; }
  // The actions of both submenus, parallel to the entries of Menus().
  QAction* GroupByAction(int index) const;
  QAction* OrderByAction(int index) const;

  // The check marks from the settings, as after loading them.
  void CheckFromSettings();
  // Every caption in the chosen language.
  void Translate();

  // A choice was made: the side bar is to be built again.
  std::function<void()> OnRefresh;

 private:
  struct TSubmenu {
    QMenu* Menu = nullptr;
    QMenu* Others = nullptr;
    std::vector<QAction*> Actions;
  };
  void Build(TSubmenu& submenu, const TSortMenu& entries, bool group);
  void SyncChecks();

  TViewerSettings& m_settings;
  TSortMenus m_menus;
  TSubmenu m_group;
  TSubmenu m_order;
};
