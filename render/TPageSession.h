#pragma once

#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPictureStore.h"

#include <array>
#include <memory>
#include <string>

// What answers "movie" URLs for one open catalog, made in one place: the
// catalog, the settings its pages are made with, the page frame, the
// pictures' context and store, the rating images and the request handler.
// The viewer keeps one for its whole run; elkcat makes one per command.
// It knows no toolkit and shows nothing: opening, reloading and picture
// rules change it, and every page made afterwards follows.
class TPageSession {
 public:
  explicit TPageSession(std::string programFolder);
  TPageSession(const TPageSession&) = delete;
  TPageSession& operator=(const TPageSession&) = delete;

  // For a run without a window: the settings, the scheme's page frame and
  // the language of the program folder (as elkcat reads them), then the
  // catalog. Throws TViewerError when the catalog cannot be read.
  static std::unique_ptr<TPageSession> ForCatalog(const std::string& programFolder, const std::string& catalogPath);

  const std::string& ProgramFolder() const { return m_programFolder; }
  TViewerSettings& Settings() { return m_settings; }
  const TViewerSettings& Settings() const { return m_settings; }
  const TMovieList& Catalog() const { return m_catalog; }
  const TPageFrame& Frame() const { return m_frame; }
  void SetFrame(TPageFrame frame) { m_frame = std::move(frame); }
  const TPictureContext& Pictures() const { return m_pictures; }
  TPictureStore& Store() { return m_store; }
  TPageInput& Input() { return m_input; }
  TMovieRequestHandler& Handler() { return m_handler; }
  const std::array<std::string, 11>& RatingImages() const { return m_ratingImages; }

  // The same catalog, settings, frame and pictures with another store and
  // link policy, for writers that make pages on several threads.
  TPageInput InputWith(TPictureStore& store, const TPageLinks* links, int workers) const;

  // Makes a catalog read from `path` the open one (the old one is left in
  // `fresh`): its folder is where linked pictures are found, under the
  // settings' path rules.
  void TakeCatalog(TMovieList& fresh, const std::string& path);
  // Makes a catalog read again from the same file the open one.
  void ReplaceCatalog(TMovieList& fresh);
  // No catalog, no pictures.
  void CloseCatalog();
  // Takes the settings' path rules; true when they differ from those the
  // pictures were found with, which are then forgotten and made again.
  bool TakePathRules();

 private:
  std::string m_programFolder;
  TViewerSettings m_settings;
  TMovieList m_catalog;
  TPageFrame m_frame;
  TPictureContext m_pictures;
  TPictureStore m_store;
  std::array<std::string, 11> m_ratingImages;
  TPageInput m_input{m_catalog, m_settings, m_frame, m_pictures, m_store};
  TMovieRequestHandler m_handler;
};
