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
  // The desktop entry of the program that opens files of a MIME type by
  // default ("editor.desktop"); empty when there is none or the desktop
  // cannot tell.
  virtual QString DefaultProgramForType(const QString& mimeType);
  // Starts the program of a desktop entry on a file; false when the entry
  // is not installed or names no program.
  virtual bool OpenWith(const QString& desktopEntry, const QString& path);
};

// The catalogs' own type, as the viewer registers it.
inline constexpr const char* kCatalogMimeType = "application/x-elk-movie-catalog";

// The program and arguments a desktop entry's Exec line starts for a file:
// quoted arguments as the desktop entry rules quote them, %f and %F the
// path, %u and %U its file URL, %% a percent sign, other field codes
// dropped. Empty when the line names no program.
QStringList DesktopEntryCommand(const QString& execLine, const QString& path);

// The viewer's own desktop entry: it is registered for catalogs too.
inline constexpr const char* kDesktopEntryName = "elk-viewer.desktop";

// Plays a video file or address: with the external player of the settings
// (the path its one argument), else with the desktop's program for it.
struct TPlayTarget;
void PlayVideo(const TPlayTarget& target, const std::string& externalPlayer);

// Opens the catalog with the program the desktop registered for the
// catalogs' own type (the catalog editor), never with whatever opens the
// file's bytes (a text editor, when the type is not installed). Throws
// TViewerError when there is none, or only the viewer itself, which edits
// nothing.
void OpenCatalogInEditor(const std::string& path);

// The error box of the whole program: every error raised while handling an
// event ends here. Tests replace the desktop to collect the messages.
void SetApplicationDesktop(std::shared_ptr<TDesktop> desktop);
TDesktop& ApplicationDesktop();
void ShowErrorMessage(const std::string& cp1252Message);
