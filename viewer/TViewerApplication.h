#pragma once

#include <QApplication>

// The application object. Every exception raised while an event is handled
// stops here and is shown in an error box; the window stays usable.
class TViewerApplication : public QApplication {
 public:
  TViewerApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs `action` and shows whatever it raises in the error box; true when
// it ran to its end.
template <typename F>
bool RunGuarded(F&& action);

void ShowCurrentException();

template <typename F>
bool RunGuarded(F&& action) {
  try {
    action();
    return true;
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}
