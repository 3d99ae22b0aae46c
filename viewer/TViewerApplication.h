#pragma once

#include <QApplication>
#include <functional>


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

// The widget that `object` is, found without asking `object` anything (nor
// its type): application-wide event filters are also handed objects the web
// engine is in the middle of destroying, where any call would be unsound.
// nullptr when it is no widget.
QWidget* LiveWidget(const QObject* object);

// The web engine tells much at every start (how it draws, that its sandbox
// is off) that means nothing to a user; those messages are dropped unless
// ELK_VERBOSE is set. The viewer's own messages and every other warning
// stay. Call before the application object exists.
void QuietEngineDiagnostics();

// Ends the event loop when the system asks the program to end (SIGTERM,
// SIGINT, SIGHUP at logout), so that the window is closed as at a normal
// end and the settings are saved rather than lost. Every loop running then
// ends, a message box's or a dialog's too, and one started later (the
// main loop, after an error box at start) must not begin.
void QuitOnTerminationSignals();
// Whether the system asked the program to end.
bool TerminationRequested();

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
