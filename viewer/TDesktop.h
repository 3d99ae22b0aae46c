#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

// What the viewer asks of the desktop: open a file or address with the
// program registered for it, start a program with arguments, and show an
// error. The window holds one of these, so tests can watch what would have
// been started instead of starting it.
class TDesktop {
 public:
  virtual ~TDesktop() = default;
  virtual bool OpenUrl(const QUrl& url);
  // Started detached, with an argument list (never through a shell).
  virtual bool StartProgram(const QString& program, const QStringList& arguments);
  virtual void ShowError(const QString& message);
};

// The error box of the whole program: every error raised while handling an
// event ends here. Tests replace the desktop to collect the messages.
void SetApplicationDesktop(std::shared_ptr<TDesktop> desktop);
TDesktop& ApplicationDesktop();
void ShowErrorMessage(const std::string& cp1252Message);
