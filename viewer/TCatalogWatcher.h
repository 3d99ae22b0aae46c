#pragma once

#include "config/FileStamp.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QFileSystemWatcher;
class TIntervalTimer;
class TMovieList;

// Watches the open catalog's file for an editor's saves: the file itself
// for writes in place, its folder for a new file renamed over it. Once the
// file has been quiet for a second it is read again; a complete catalog is
// handed over by OnReloaded (the catalog it replaces is let go of on a
// thread of its own), a file that cannot be read (or is caught half
// written, or was deleted) is reported by OnUnreadable and the open catalog
// stays. Knows nothing of the window.
class TCatalogWatcher : public QObject {
 public:
  static constexpr int kQuietMilliseconds = 1000;

  explicit TCatalogWatcher(QObject* parent);
  ~TCatalogWatcher() override;

  // Tests fire the quiet time themselves.
  void SetQuietTimer(std::unique_ptr<TIntervalTimer> timer);

  // Starts over with a catalog just read from `path` (empty: none).
  void Watch(const std::string& path);
  // Whether changes are looked for at all (the live reload setting).
  void SetEnabled(bool enabled);

  // The file or its folder changed: the quiet time starts again.
  void FileChanged();
  // The quiet time is over: reads the file when it is quiet and whole.
  // True when a new catalog was handed over.
  bool ReloadNow();

  bool Waiting() const;
  int Reloads() const { return m_reloads; }

  // Takes the new catalog from `fresh`; gives back the one it replaced.
  std::function<std::shared_ptr<const TMovieList>(TMovieList& fresh)> OnReloaded;
  std::function<void()> OnUnreadable;

 private:
  void AddPaths();
  bool Unreadable();

  QFileSystemWatcher* m_watcher;
  std::unique_ptr<TIntervalTimer> m_quiet;
  std::string m_path;
  bool m_enabled = true;
  TFileStamp m_loaded;
  TFileStamp m_lastSeen;
  int m_reloads = 0;
  std::thread m_disposal;
};
