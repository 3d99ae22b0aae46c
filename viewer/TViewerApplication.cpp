#include "viewer/TViewerApplication.h"

#include "viewer/TDesktop.h"

#include <QAction>
#include <QMenu>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <exception>
#include <sys/socket.h>
#include <unistd.h>

TViewerApplication::TViewerApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TViewerApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}

namespace {

int g_signalPipe[2] = {-1, -1};
bool g_terminationRequested = false;
QtMessageHandler g_nextHandler = nullptr;

bool IsEngineChatter(const QMessageLogContext& context, const QString& message) {
  if (context.category != nullptr && QLatin1String(context.category).startsWith(QLatin1String("qt.webenginecontext"))) {
    return true;
  }
  return message.startsWith(QLatin1String("Sandboxing disabled by user")) ||
         message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void FilterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg && IsEngineChatter(context, message)) return;
  if (g_nextHandler != nullptr) {
    g_nextHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

void OnTerminationSignal(int) {
  // Only what is safe inside a signal handler: one byte into a pipe.
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

}  // namespace

void QuitOnTerminationSignals() {
  if (g_signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
    char byte = 0;
    [[maybe_unused]] ssize_t read = ::read(g_signalPipe[0], &byte, 1);
    g_terminationRequested = true;
    // exit, not quit: quit does nothing before the main loop runs, and a
    // box shown at start runs a loop of its own.
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool TerminationRequested() { return g_terminationRequested; }

void QuietEngineDiagnostics() {
  if (!qEnvironmentVariableIsEmpty("ELK_VERBOSE")) return;
  g_nextHandler = qInstallMessageHandler(FilterMessage);
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

QWidget* LiveWidget(const QObject* object) {
  for (QWidget* widget : QApplication::allWidgets()) {
    if (static_cast<const QObject*>(widget) == object) return widget;
  }
  return nullptr;
}
