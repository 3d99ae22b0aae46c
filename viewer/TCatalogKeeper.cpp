#include "viewer/TCatalogKeeper.h"

#include "catalog/TCatalogPreload.h"
#include "catalog/TMovieList.h"
#include "config/FilePaths.h"
#include "config/TViewerError.h"
#include "config/TimingLog.h"
#include "render/TPageSession.h"
#include "viewer/TCatalogWatcher.h"

#include <cerrno>
#include <cstring>

TCatalogKeeper::TCatalogKeeper(TPageSession& session, const TProgramPaths& paths, TCatalogPreload* preload,
                               QObject* parent)
    : QObject(parent), m_session(session), m_paths(paths), m_preload(preload), m_watcher(new TCatalogWatcher(this)) {
  m_watcher->OnReloaded = [this](TMovieList& fresh) {
    if (OnReloading) OnReloading();
    std::shared_ptr<const TMovieList> old = m_session.ReplaceCatalog(fresh);
    TimingLog::Write("reload", std::to_string(m_session.Catalog().Count()));
    if (OnReloaded) OnReloaded();
    return old;
  };
}

TCatalogKeeper::~TCatalogKeeper() = default;

std::string TCatalogKeeper::Path() const { return m_paths.CatalogPath(m_session.Settings().CatalogFile); }

void TCatalogKeeper::OpenConfigured() {
  const std::string path = Path();
  if (!PathExists(path)) {
    if (OnLettingGo) OnLettingGo();
    m_session.CloseCatalog();
    m_watcher->Watch(std::string());
    if (OnClosed) OnClosed();
    return;
  }
  // Read whole before anything is let go: a file that is not a catalog
  // leaves the one shown as it was.
  TMovieList fresh;
  if (!(m_preload != nullptr && m_preload->TakeInto(path, fresh))) fresh.LoadFromFile(path);
  m_preload = nullptr;
  if (OnLettingGo) OnLettingGo();
  m_session.TakeCatalog(fresh, path);
  m_watcher->Watch(path);
  RememberRecentCatalog(m_session.Settings().RecentCatalogs, AbsolutePath(path));
  if (OnOpened) OnOpened();
}

void TCatalogKeeper::Open(const std::string& path, bool autoOpen) {
  // A catalog that is not there is said so, as one that cannot be read
  // is, and never becomes the one kept in the settings.
  if (!PathExists(path)) {
    throw TViewerError("Unable to load file \"" + path + "\": Cannot open file \"" + path + "\". " +
                       std::strerror(ENOENT));
  }
  TViewerSettings& settings = m_session.Settings();
  const std::string shownFile = settings.CatalogFile;
  const bool shownAutoOpen = settings.AutoOpen;
  settings.CatalogFile = path;
  settings.AutoOpen = autoOpen;
  try {
    OpenConfigured();
  } catch (...) {
    // The catalog shown stays the configured one.
    settings.CatalogFile = shownFile;
    settings.AutoOpen = shownAutoOpen;
    throw;
  }
  SaveSettingsTo(settings, m_paths.Settings);
}
