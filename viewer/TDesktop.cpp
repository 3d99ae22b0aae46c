#include "viewer/TDesktop.h"

#include "browse/PlayTarget.h"
#include "config/TViewerError.h"
#include "config/Translation.h"
#include "widgets/QtBridge.h"

#include <QApplication>
#include <QDesktopServices>
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

std::optional<QString> TDesktop::DefaultProgramFor(const QString& path) {
  // The desktop's choice as xdg-utils know it; without them there is no telling.
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return std::nullopt;
  auto ask = [&](const QStringList& arguments) -> std::optional<QString> {
    QProcess query;
    query.start(tool, arguments);
    if (!query.waitForFinished(kQueryMilliseconds) || query.exitStatus() != QProcess::NormalExit) return std::nullopt;
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
  };
  const std::optional<QString> type = ask({QStringLiteral("query"), QStringLiteral("filetype"), path});
  if (!type || type->isEmpty()) return type;
  return ask({QStringLiteral("query"), QStringLiteral("default"), *type});
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

void OpenCatalogInEditor(const std::string& path) {
  const QString file = ToQString(path);
  const std::optional<QString> editor = ApplicationDesktop().DefaultProgramFor(file);
  if (editor && (editor->isEmpty() || *editor == QLatin1String(kDesktopEntryName))) {
    throw TViewerError(Translate("No program is registered to edit .qzt files: register the catalog editor for "
                                 "them in the desktop's settings (default applications)."));
  }
  ApplicationDesktop().OpenUrl(QUrl::fromLocalFile(file));
}

void SetApplicationDesktop(std::shared_ptr<TDesktop> desktop) {
  CurrentDesktop() = desktop ? std::move(desktop) : std::make_shared<TDesktop>();
}

TDesktop& ApplicationDesktop() { return *CurrentDesktop(); }

void ShowErrorMessage(const std::string& cp1252Message) { ApplicationDesktop().ShowError(ToQString(cp1252Message)); }
