#include "viewer/TDesktop.h"

#include "browse/PlayTarget.h"
#include "config/TViewerError.h"
#include "config/Translation.h"
#include "widgets/QtBridge.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The longest the desktop may take to name a program.
constexpr int kQueryMilliseconds = 5000;

std::shared_ptr<TDesktop>& CurrentDesktop() {
  static std::shared_ptr<TDesktop> desktop = std::make_shared<TDesktop>();
  return desktop;
}

}  // namespace

bool TDesktop::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool TDesktop::StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

QString TDesktop::DefaultProgramForType(const QString& mimeType) {
  // The desktop's choice as xdg-utils know it; without them there is no telling.
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return {};
  QProcess query;
  query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
  if (!query.waitForFinished(kQueryMilliseconds) || query.exitStatus() != QProcess::NormalExit) return {};
  return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

bool TDesktop::OpenWith(const QString& desktopEntry, const QString& path) {
  QFile entry(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopEntry));
  if (!entry.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  bool inEntry = false;
  while (!entry.atEnd()) {
    const QString line = QString::fromUtf8(entry.readLine()).trimmed();
    if (line.startsWith(QLatin1Char('['))) inEntry = line == QLatin1String("[Desktop Entry]");
    if (!inEntry || !line.startsWith(QLatin1String("Exec="))) continue;
    QStringList command = DesktopEntryCommand(line.mid(5), path);
    if (command.isEmpty()) return false;
    const QString program = command.takeFirst();
    return StartProgram(program, command);
  }
  return false;
}

void TDesktop::ShowError(const QString& message) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), message);
}

void PlayVideo(const TPlayTarget& target, const std::string& externalPlayer) {
  const QString path = ToQString(target.Path);
  if (!externalPlayer.empty()) {
    ApplicationDesktop().StartProgram(ToQString(externalPlayer), {path});
  } else {
    ApplicationDesktop().OpenUrl(target.IsAddress ? QUrl(path) : QUrl::fromLocalFile(path));
  }
}

QStringList DesktopEntryCommand(const QString& execLine, const QString& path) {
  QStringList command;
  QString word;
  bool inWord = false;
  bool quoted = false;
  for (qsizetype i = 0; i < execLine.size(); ++i) {
    const QChar c = execLine[i];
    if (quoted) {
      if (c == QLatin1Char('"')) {
        quoted = false;
      } else if (c == QLatin1Char('\\') && i + 1 < execLine.size()) {
        word += execLine[++i];
      } else {
        word += c;
      }
      continue;
    }
    if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
      if (inWord) command.append(word);
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == QLatin1Char('"')) {
      quoted = true;
    } else if (c == QLatin1Char('%') && i + 1 < execLine.size()) {
      const QChar code = execLine[++i];
      if (code == QLatin1Char('f') || code == QLatin1Char('F')) word += path;
      if (code == QLatin1Char('u') || code == QLatin1Char('U')) {
        word += QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
      }
      if (code == QLatin1Char('%')) word += QLatin1Char('%');
    } else {
      word += c;
    }
  }
  if (inWord) command.append(word);
  // A field code alone that stood for nothing leaves no argument behind.
  command.removeAll(QString());
  return command;
}

void OpenCatalogInEditor(const std::string& path) {
  const QString editor = ApplicationDesktop().DefaultProgramForType(QLatin1String(kCatalogMimeType));
  if (editor.isEmpty() || editor == QLatin1String(kDesktopEntryName) ||
      !ApplicationDesktop().OpenWith(editor, ToQString(path))) {
    throw TViewerError(Translate("No program is registered to edit .qzt files: register the catalog editor for "
                                 "them in the desktop's settings (default applications)."));
  }
}

void SetApplicationDesktop(std::shared_ptr<TDesktop> desktop) {
  CurrentDesktop() = desktop ? std::move(desktop) : std::make_shared<TDesktop>();
}

TDesktop& ApplicationDesktop() { return *CurrentDesktop(); }

void ShowErrorMessage(const std::string& cp1252Message) { ApplicationDesktop().ShowError(ToQString(cp1252Message)); }
