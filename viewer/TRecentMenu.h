#pragma once

#include <functional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

// The catalogs opened last, offered under the Open button (its right
// click, the menu key or Shift+F10 on it). A file that is gone is shown
// but cannot be chosen.
class TRecentMenu {
 public:
  explicit TRecentMenu(QWidget* parent);

  QMenu& Menu() { return *m_menu; }
  // Fills the menu from the list, latest first, in the chosen language.
  void Fill(const std::vector<std::string>& recent);
  // Shows it below `button`, the first entry ready for the keyboard.
  void PopupBelow(QWidget& button);

  std::function<void(const std::string& path)> OnChosen;

 private:
  QMenu* m_menu;
};
