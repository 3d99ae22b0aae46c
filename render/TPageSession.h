#pragma once

#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPageSnapshot.h"
#include "render/TPictureStore.h"

#include <array>
#include <memory>
#include <string>

// What answers "movie" URLs for one open catalog, made in one place: the
// catalog, the settings its pages are made with, the page frame, the
// pictures' context and store, the rating images and the request handler.
// The viewer keeps one for its whole run; elkcat makes one per command.
// It knows no toolkit and shows nothing. Pages are made from its snapshot:
// taking a catalog, a frame or path rules publishes a new one by itself;
// after editing the settings or loading a language, Publish() does.
class TPageSession {
 public:
  // `resolver` answers the pages made from another page's address (the
  // searches' pages).
  explicit TPageSession(std::string programFolder, TPageResolver resolver = nullptr);
  TPageSession(const TPageSession&) = delete;
  TPageSession& operator=(const TPageSession&) = delete;

  // For a run without a window: the settings, the scheme's page frame and
  // the language of the program folder (as elkcat reads them), then the
  // catalog. Throws TViewerError when the catalog cannot be read.
  static std::unique_ptr<TPageSession> ForCatalog(const std::string& programFolder, const std::string& catalogPath,
                                                  TPageResolver resolver = nullptr);

  const std::string& ProgramFolder() const { return m_programFolder; }
  // The settings as the window edits them; pages see them once published.
  TViewerSettings& Settings() { return m_settings; }
  const TViewerSettings& Settings() const { return m_settings; }
  const TMovieList& Catalog() const { return *m_catalog; }
  const TPageFrame& Frame() const { return m_frame; }
  void SetFrame(TPageFrame frame);
  const TPictureContext& Pictures() const { return m_pictures; }
  const std::array<std::string, 11>& RatingImages() const { return m_ratingImages; }
  const TMovieRequestHandler& Handler() const { return m_handler; }

  // What pages are made from now.
  std::shared_ptr<const TPageSnapshot> Snapshot() const { return m_snapshot; }
  // Makes the settings, the frame and the language now in force what the
  // next pages are made from; pages in flight keep theirs.
  void Publish();

  // Answers a request at once, on this thread, from the snapshot.
  std::optional<TMovieResponse> Answer(std::u16string_view url) const;
  // The page of an address (a name such as "movie[12].html"), the same way
  // (a search's or a statistics bar's page resolved as the view's are).
  std::string RenderPage(std::string_view address) const;

  // The same catalog, settings, frame and pictures with another store and
  // link policy, for writers that make pages on several threads.
  TPageInput InputWith(TPictureStore& store, const TPageLinks* links, int workers) const;

  // Makes a catalog read from `path` the open one (`fresh` is left empty):
  // its folder is where linked pictures are found, under the settings'
  // path rules. Gives back the catalog it replaced, for the caller to let
  // go of where it likes (pages being made may still hold it).
  std::shared_ptr<const TMovieList> TakeCatalog(TMovieList& fresh, const std::string& path);
  // Makes a catalog read again from the same file the open one.
  std::shared_ptr<const TMovieList> ReplaceCatalog(TMovieList& fresh);
  // No catalog, no pictures.
  void CloseCatalog();
  // Takes the settings' path rules; true when they differ from those the
  // pictures were found with, which are then forgotten and made again.
  bool TakePathRules();

 private:
  // A new catalog's pictures start in a store of their own.
  std::shared_ptr<const TMovieList> UseCatalog(TMovieList& fresh);

  std::string m_programFolder;
  TViewerSettings m_settings;
  std::shared_ptr<const TMovieList> m_catalog;
  TPageFrame m_frame;
  TPictureContext m_pictures;
  std::shared_ptr<TPictureStore> m_store;
  std::array<std::string, 11> m_ratingImages;
  TMovieRequestHandler m_handler;
  std::shared_ptr<const TPageSnapshot> m_snapshot;
};
