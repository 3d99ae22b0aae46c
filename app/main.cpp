// The viewer's program start: the "movie" scheme is declared to the web
// engine, then the application, the progress window, the main window and
// its dialogs are made in that order, and the event loop runs until the main
// window closes. The one argument of its own is a catalog to open (a file
// manager passes it); Qt takes its own (-platform and the like).

#include "catalog/TCatalogPreload.h"
#include "config/TViewerSettings.h"
#include "dialogs/TFormOpen.h"
#include "dialogs/TFormPassword.h"
#include "dialogs/TFormProgress.h"
#include "dialogs/TFormSettings.h"
#include "viewer/CommandLine.h"
#include "viewer/Glyphs.h"
#include "viewer/TFormMain.h"
#include "viewer/TMovieSchemeHandler.h"
#include "viewer/TStallWatch.h"
#include "config/TimingLog.h"
#include "viewer/TViewerApplication.h"

#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
  // Help, the version and mistakes need no display: answered before Qt starts.
  const TCommandLine line = ParseCommandLine(QStringList(argv, argv + argc));
  switch (line.Action) {
    case TCommandLine::TAction::Help:
      std::fputs(CommandLineUsage().c_str(), stdout);
      return 0;
    case TCommandLine::TAction::Version:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case TCommandLine::TAction::Wrong:
      std::fprintf(stderr, "elk-viewer: %s\n%s", line.Problem.c_str(), CommandLineUsage().c_str());
      return 2;
    case TCommandLine::TAction::Run:
      break;
  }
  // The catalog is read while the toolkit and the web engine start.
  const TProgramPaths paths = TProgramPaths::ForFolder(ProgramFolder());
  TCatalogPreload preload(paths.CatalogAtStart(line.Catalog));
  RegisterMovieUrlScheme();
  // The web engine refuses to start as root unless its sandbox is off.
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("elk-viewer: running as root, so the web engine's sandbox is turned off\n", stderr);
  }
  // The web view's pages are composed by the CPU unless the user asks for
  // another backend: on machines without a graphics card (and under a
  // virtual display) software OpenGL costs far more than plain drawing.
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") && qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND")) {
    qputenv("QT_QUICK_BACKEND", "software");
  }
  QuietEngineDiagnostics();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  TViewerApplication app(argc, argv);
  QuitOnTerminationSignals();
  QApplication::setApplicationName(QStringLiteral("elk-viewer"));
  QApplication::setApplicationDisplayName(QStringLiteral("Elk Movie Catalog Viewer"));
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(QPixmap::fromImage(ProgramIcon(size)));
  QApplication::setWindowIcon(icon);

  TFormProgress progress;
  TFormMain form(paths, &progress, line.Catalog, &preload);
  TFormOpen open(&form);
  TFormSettings settings(&form, form);
  TFormPassword password(&form);
  form.SetDialogs(&open, &settings, &password);
  form.ShowWindow();
  // With the timing hook on, every time the window stops answering is
  // written down, from the moment it is shown: opening the catalog counts.
  TStallWatch stalls;
  stalls.OnStall = [](long long milliseconds) { TimingLog::Write("stall", std::to_string(milliseconds)); };
  if (TimingLog::Enabled()) stalls.Start();
  form.OpenStartCatalog();
  if (TerminationRequested()) return 0;
  return app.exec();
}
