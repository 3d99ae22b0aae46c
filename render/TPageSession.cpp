#include "render/TPageSession.h"

#include "config/Translation.h"
#include "render/Resources.h"

#include <filesystem>

namespace {

// elkcat has no screen; the settings' default window place assumes this one.
constexpr int kNominalScreenWidth = 1024;
constexpr int kNominalScreenHeight = 768;

// The catalog's folder with its trailing separator: relative picture names
// start there.
std::string CatalogFolderOf(const std::string& catalogPath) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(catalogPath, error);
  if (error) absolute = catalogPath;
  return absolute.lexically_normal().parent_path().string() + "/";
}

}  // namespace

TPageSession::TPageSession(std::string programFolder)
    : m_programFolder(std::move(programFolder)),
      m_ratingImages(LoadRatingImages()),
      m_handler(m_input, m_ratingImages, m_programFolder) {
  m_pictures.BlankImage = LoadResourceStream("blank").value_or(std::string());
}

std::unique_ptr<TPageSession> TPageSession::ForCatalog(const std::string& programFolder,
                                                       const std::string& catalogPath) {
  auto session = std::make_unique<TPageSession>(programFolder);
  LoadSettings(session->m_settings, programFolder, kNominalScreenWidth, kNominalScreenHeight);
  session->m_frame = BuildPageFrame(programFolder, session->m_settings.ColorScheme);
  LoadLanguage((std::filesystem::path(programFolder) / (session->m_settings.Language + ".lng")).string());
  TMovieList catalog;
  catalog.LoadFromFile(catalogPath);
  session->TakeCatalog(catalog, catalogPath);
  return session;
}

TPageInput TPageSession::InputWith(TPictureStore& store, const TPageLinks* links, int workers) const {
  return TPageInput{m_catalog, m_settings, m_frame, m_pictures, store, workers, links};
}

void TPageSession::TakeCatalog(TMovieList& fresh, const std::string& path) {
  m_catalog.Swap(fresh);
  m_store.Clear();
  m_pictures.CatalogFolder = CatalogFolderOf(path);
  m_pictures.PathMap = m_settings.PathMap;
}

void TPageSession::ReplaceCatalog(TMovieList& fresh) {
  m_catalog.Swap(fresh);
  m_store.Clear();
}

void TPageSession::CloseCatalog() {
  m_catalog.Clear();
  m_store.Clear();
}

bool TPageSession::TakePathRules() {
  if (m_pictures.PathMap == m_settings.PathMap) return false;
  m_pictures.PathMap = m_settings.PathMap;
  m_store.Clear();
  return true;
}
