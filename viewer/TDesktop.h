#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

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
  // The desktop entry of the program that opens the file by default
  // ("editor.desktop"), empty when there is none, nothing when the desktop
  // cannot tell.
  virtual std::optional<QString> DefaultProgramFor(const QString& path);
};

// The viewer's own desktop entry: it is registered for catalogs too.
inline constexpr const char* kDesktopEntryName = "elk-viewer.desktop";

// Plays a video file or address: with the external player of the settings
// (the path its one argument), else with the desktop's program for it.
struct TPlayTarget;
void PlayVideo(const TPlayTarget& target, const std::string& externalPlayer);

// Opens the catalog with the program the desktop registered for it (the
// catalog editor). Throws TViewerError when that is none, or only the viewer
// itself, which edits nothing.
void OpenCatalogInEditor(const std::string& path);

// The error box of the whole program: every error raised while handling an
// event ends here. Tests replace the desktop to collect the messages.
void SetApplicationDesktop(std::shared_ptr<TDesktop> desktop);
TDesktop& ApplicationDesktop();
void ShowErrorMessage(const std::string& cp1252Message);
