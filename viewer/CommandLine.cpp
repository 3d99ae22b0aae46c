#include "viewer/CommandLine.h"

#include "widgets/QtBridge.h"

namespace {

// Qt's own options, which it takes from the command line itself; the first
// ones are followed by a value.
const char* const kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                           "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                                           "geometry", "style", "stylesheet", "name", "title", "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// How many arguments a Qt option at `argument` takes up (0: it is none).
int QtOptionLength(const QString& argument) {
  QString name = argument;
  if (name.startsWith(QLatin1String("--"))) name.remove(0, 1);
  if (!name.startsWith(QLatin1Char('-'))) return 0;
  name.remove(0, 1);
  const bool joined = name.contains(QLatin1Char('='));
  name = name.section(QLatin1Char('='), 0, 0);
  for (const char* option : kQtOptionsWithValue) {
    if (name == QLatin1String(option)) return joined ? 1 : 2;
  }
  for (const char* flag : kQtFlags) {
    if (name == QLatin1String(flag)) return 1;
  }
  return 0;
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
  TCommandLine line;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    // The web engine's own switches follow this one.
    if (argument == QLatin1String("--webEngineArgs")) break;
    if (int length = QtOptionLength(argument); length > 0) {
      i += length - 1;
      continue;
    }
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) return {TCommandLine::TAction::Help, {}, {}};
    if (argument == QLatin1String("--version")) return {TCommandLine::TAction::Version, {}, {}};
    if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
      return {TCommandLine::TAction::Wrong, {}, "unknown option " + argument.toStdString()};
    }
    if (!line.Catalog.empty()) return {TCommandLine::TAction::Wrong, {}, "only one catalog can be opened"};
    line.Catalog = FromQString(argument);
  }
  return line;
}

std::string CommandLineUsage() {
  return "Usage: elk-viewer [CATALOG]\n"
         "Shows a movie catalog (.qzt): its movies grouped in a side bar, a strip of covers\n"
         "and a page for each movie.\n"
         "\n"
         "  CATALOG      open this catalog file instead of the one in the settings\n"
         "  --help       show this and end\n"
         "  --version    show the version and end\n"
         "\n"
         "Qt's own options (such as -platform offscreen) are understood too.\n"
         "Settings: Config.ini in the program's folder, or $XDG_CONFIG_HOME/elk-viewer.\n";
}

std::string VersionText() { return std::string("elk-viewer ") + ELK_VERSION + "\n"; }
