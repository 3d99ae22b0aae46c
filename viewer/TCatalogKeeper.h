#pragma once

#include "config/ProgramPaths.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>

class TCatalogPreload;
class TCatalogWatcher;
class TMovieList;
class TPageSession;

// The open catalog's life: opening the configured catalog or a chosen one
// (the settings keep the catalog shown until a new one has been read whole,
// and are saved then), the preload that spared the first read, the watcher
// that reads a catalog again after an editor saved it, and the list of
// recent catalogs. The window hears of each change through the On
// functions and shows it; this class knows nothing of the window.
class TCatalogKeeper : public QObject {
 public:
  // `preload` (may be null) serves the first open only.
  TCatalogKeeper(TPageSession& session, const TProgramPaths& paths, TCatalogPreload* preload, QObject* parent);
  ~TCatalogKeeper() override;

  // Reads the catalog the settings name into the session; without such a
  // file the session holds none. Throws when the file is not a catalog: the
  // one shown stays.
  void OpenConfigured();
  // Makes `path` the configured catalog and opens it; throws when it is
  // missing or cannot be read, the settings keeping the catalog shown. The
  // settings are saved after a successful open.
  void Open(const std::string& path, bool autoOpen);
  // The configured catalog's file.
  std::string Path() const;

  TCatalogWatcher& Watcher() { return *m_watcher; }

  // The catalog shown is about to be let go of (before the session swaps it).
  std::function<void()> OnLettingGo;
  // The session holds a new catalog, or none.
  std::function<void()> OnOpened;
  std::function<void()> OnClosed;
  // An editor saved the catalog: it is about to be read in, and has been.
  std::function<void()> OnReloading;
  std::function<void()> OnReloaded;

 private:
  TPageSession& m_session;
  const TProgramPaths& m_paths;
  TCatalogPreload* m_preload;
  TCatalogWatcher* m_watcher;
};
