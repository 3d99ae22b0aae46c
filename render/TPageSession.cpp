#include "render/TPageSession.h"

#include "config/FilePaths.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/Resources.h"
#include "render/TPictureStore.h"

#include <filesystem>
#include <utility>

namespace {

// The catalog's folder with its trailing separator: relative picture names
// start there.
std::string CatalogFolderOf(const std::string& catalogPath) {
  return std::filesystem::path(AbsolutePath(catalogPath)).parent_path().string() + "/";
}

}  // namespace

TPageSession::TPageSession(std::string programFolder, TPageResolver resolver)
    : m_programFolder(std::move(programFolder)),
      m_catalog(std::make_shared<const TMovieList>()),
      m_store(std::make_shared<TPictureStore>()),
      m_ratingImages(LoadRatingImages()),
      m_handler(m_ratingImages, m_programFolder, std::move(resolver)) {
  m_pictures.BlankImage = LoadResourceStream("blank").value_or(std::string());
  Publish();
}

std::unique_ptr<TPageSession> TPageSession::ForCatalog(const std::string& programFolder,
                                                       const std::string& catalogPath, TPageResolver resolver) {
  auto session = std::make_unique<TPageSession>(programFolder, std::move(resolver));
  LoadSettings(session->m_settings, programFolder, kNominalScreenWidth, kNominalScreenHeight);
  session->m_frame = BuildPageFrame(programFolder, session->m_settings.ColorScheme);
  LoadLanguage((std::filesystem::path(programFolder) / (session->m_settings.Language + ".lng")).string());
  TMovieList catalog;
  catalog.LoadFromFile(catalogPath);
  session->TakeCatalog(catalog, catalogPath);
  return session;
}

void TPageSession::Publish() {
  auto snapshot = std::make_shared<TPageSnapshot>();
  snapshot->Catalog = m_catalog;
  snapshot->Settings = m_settings;
  snapshot->Frame = m_frame;
  snapshot->Pictures = m_pictures;
  snapshot->Language = GlobalTranslationTable().Copy();
  snapshot->Store = m_store;
  m_snapshot = std::move(snapshot);
}

std::optional<TMovieResponse> TPageSession::Answer(std::u16string_view url) const {
  const std::shared_ptr<const TPageSnapshot> snapshot = m_snapshot;
  return m_handler.Answer(url, snapshot->Input());
}

std::string TPageSession::RenderPage(std::string_view address) const {
  const std::shared_ptr<const TPageSnapshot> snapshot = m_snapshot;
  return m_handler.AnswerPage(std::string(address), snapshot->Input())->Bytes;
}

void TPageSession::SetFrame(TPageFrame frame) {
  m_frame = std::move(frame);
  Publish();
}

TPageInput TPageSession::InputWith(TPictureStore& store, const TPageLinks* links, int workers) const {
  TPageInput input{*m_catalog, m_settings, m_frame, m_pictures, store, workers, links};
  input.WholeLists = true;
  return input;
}

std::shared_ptr<const TMovieList> TPageSession::UseCatalog(TMovieList& fresh) {
  auto catalog = std::make_shared<TMovieList>();
  catalog->Swap(fresh);
  m_store = std::make_shared<TPictureStore>();
  return std::exchange(m_catalog, std::move(catalog));
}

std::shared_ptr<const TMovieList> TPageSession::TakeCatalog(TMovieList& fresh, const std::string& path) {
  std::shared_ptr<const TMovieList> old = UseCatalog(fresh);
  m_pictures.CatalogFolder = CatalogFolderOf(path);
  m_pictures.PathMap = m_settings.PathMap;
  Publish();
  return old;
}

std::shared_ptr<const TMovieList> TPageSession::ReplaceCatalog(TMovieList& fresh) {
  std::shared_ptr<const TMovieList> old = UseCatalog(fresh);
  Publish();
  return old;
}

void TPageSession::CloseCatalog() {
  // The header texts stay, as a cleared list keeps them.
  TMovieList none;
  none.Properties() = m_catalog->Properties();
  UseCatalog(none);
  Publish();
}

bool TPageSession::TakePathRules() {
  if (m_pictures.PathMap == m_settings.PathMap) return false;
  m_pictures.PathMap = m_settings.PathMap;
  m_store = std::make_shared<TPictureStore>();
  Publish();
  return true;
}
