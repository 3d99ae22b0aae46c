#pragma once

#include <QObject>
#include <functional>
#include <string>

class QWidget;

// Takes a catalog file dropped anywhere on a window: the one local file a
// drag brings is accepted over any control (the web view's own drops
// included) and handed over once the drag has ended, so that opening it may
// ask for the password.
class TCatalogDrop : public QObject {
 public:
  explicit TCatalogDrop(QWidget& window);

  std::function<void(const std::string& path)> OnDropped;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& m_window;
};
