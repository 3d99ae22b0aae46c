#include "viewer/TDesktop.h"

#include "widgets/QtBridge.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>

namespace {

std::shared_ptr<TDesktop>& CurrentDesktop() {
  static std::shared_ptr<TDesktop> desktop = std::make_shared<TDesktop>();
  return desktop;
}

}  // namespace

bool TDesktop::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool TDesktop::StartProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

void TDesktop::ShowError(const QString& message) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), message);
}

void SetApplicationDesktop(std::shared_ptr<TDesktop> desktop) {
  CurrentDesktop() = desktop ? std::move(desktop) : std::make_shared<TDesktop>();
}

TDesktop& ApplicationDesktop() { return *CurrentDesktop(); }

void ShowErrorMessage(const std::string& cp1252Message) { ApplicationDesktop().ShowError(ToQString(cp1252Message)); }
