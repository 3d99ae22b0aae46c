#include "viewer/TViewerApplication.h"

#include "viewer/TDesktop.h"

#include <QEventLoop>
#include <QTimer>
#include <exception>

TViewerApplication::TViewerApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TViewerApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowErrorMessage(error.what());
  } catch (...) {
    ShowErrorMessage("Unknown error");
  }
}

bool RunEventsUntil(const std::function<bool()>& done, int milliseconds) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check, limit;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  check.start(1);
  limit.setSingleShot(true);
  limit.start(milliseconds);
  loop.exec();
  return done();
}
