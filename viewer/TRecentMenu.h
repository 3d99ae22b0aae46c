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

  // Shows the list (latest first, in the chosen language) below `button`,
  // the first entry ready for the keyboard.
  void PopupBelow(const std::vector<std::string>& recent, QWidget& button);

  std::function<void(const std::string& path)> OnChosen;

 private:
  void Fill(const std::vector<std::string>& recent);

  QMenu* m_menu;
};
