#include "viewer/TCatalogWatcher.h"

#include "catalog/TMovieList.h"
#include "widgets/TIntervalTimer.h"
#include "viewer/TViewerApplication.h"
#include "widgets/QtBridge.h"

#include <QFileSystemWatcher>
#include <filesystem>

namespace {

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TCatalogWatcher::TCatalogWatcher(QObject* parent) : QObject(parent), m_watcher(new QFileSystemWatcher(this)) {
  setObjectName(QStringLiteral("CatalogWatcher"));
  QObject::connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { FileChanged(); });
  QObject::connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { FileChanged(); });
  SetQuietTimer(std::make_unique<TQtIntervalTimer>());
}

TCatalogWatcher::~TCatalogWatcher() {
  if (m_disposal.joinable()) m_disposal.join();
}

void TCatalogWatcher::SetQuietTimer(std::unique_ptr<TIntervalTimer> timer) {
  m_quiet = std::move(timer);
  m_quiet->OnTimer = [this] {
    m_quiet->Stop();
    RunGuarded([this] { ReloadNow(); });
  };
}

bool TCatalogWatcher::Waiting() const { return m_quiet->Active(); }

void TCatalogWatcher::Watch(const std::string& path) {
  m_quiet->Stop();
  if (!m_watcher->files().isEmpty()) m_watcher->removePaths(m_watcher->files());
  if (!m_watcher->directories().isEmpty()) m_watcher->removePaths(m_watcher->directories());
  m_path = path;
  m_loaded = m_lastSeen = path.empty() ? TFileStamp() : StampOf(path);
  AddPaths();
}

void TCatalogWatcher::SetEnabled(bool enabled) {
  m_enabled = enabled;
  if (enabled) {
    AddPaths();
  } else {
    m_quiet->Stop();
  }
}

void TCatalogWatcher::AddPaths() {
  if (!m_enabled || m_path.empty()) return;
  const QString file = ToQString(m_path);
  const QString folder = ToQString(FolderOf(m_path));
  std::error_code error;
  if (std::filesystem::exists(m_path, error) && !m_watcher->files().contains(file)) m_watcher->addPath(file);
  if (!folder.isEmpty() && !m_watcher->directories().contains(folder)) m_watcher->addPath(folder);
}

void TCatalogWatcher::FileChanged() {
  if (!m_enabled || m_loaded == TFileStamp()) return;
  TFileStamp now = StampOf(m_path);
  // Other files of the folder changing are no concern of ours.
  if (now == m_lastSeen) return;
  m_lastSeen = now;
  m_quiet->Start(kQuietMilliseconds);
  // An editor that renamed a new file over the old one left a new file to watch.
  AddPaths();
}

bool TCatalogWatcher::Unreadable() {
  if (OnUnreadable) OnUnreadable();
  return false;
}

bool TCatalogWatcher::ReloadNow() {
  if (!m_enabled) return false;
  TFileStamp now = StampOf(m_path);
  if (now == m_loaded) return false;
  if (now != m_lastSeen) {
    // Still being written.
    m_lastSeen = now;
    m_quiet->Start(kQuietMilliseconds);
    return false;
  }
  if (!now.Exists) return Unreadable();
  TMovieList fresh;
  try {
    fresh.LoadFromFile(m_path);
  } catch (const std::exception&) {
    return Unreadable();
  }
  // A file caught half-written reads as a shorter catalog: never shown.
  if (!fresh.LoadedCompletely()) return Unreadable();
  m_loaded = now;
  ++m_reloads;
  std::shared_ptr<const TMovieList> old = OnReloaded ? OnReloaded(fresh) : nullptr;
  // The catalog that was shown holds tens of thousands of texts for a big
  // one: let go of on a thread of their own so the window answers
  // meanwhile (unless a page being made still holds it).
  if (m_disposal.joinable()) m_disposal.join();
  m_disposal = std::thread([old = std::move(old)]() mutable { old.reset(); });
  return true;
}
