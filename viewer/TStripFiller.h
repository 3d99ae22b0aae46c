#pragma once

#include "config/PathMap.h"
#include "render/TThumbnailCache.h"

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;
class TFormProgress;
class TMovieList;
struct TMovie;
class TCoverStrip;
class TThumbnailFill;
struct TPictureContext;
struct TViewerSettings;

// Fills the picture strip of a catalog. It is prepared with the catalog and
// started once the first page is shown, so the thumbnails never compete
// with the web engine's start. Then the whole strip is laid out at once
// (every tile of its picture's size, a plain placeholder until the picture
// comes), the tiles in view get their thumbnails first, and the rest follow
// on worker threads, from the thumbnail cache where it holds them. The
// strip holds the thumbnails compact; only those near the view are ever
// pixels. At the end the cache is written again when it did not hold
// exactly this strip. Stopping it (another catalog, closing) is immediate.
class TStripFiller : public QObject {
 public:
  // The progress window shows only when the tiles in view take long (a
  // slow disk or network share), and only until they are made.
  TStripFiller(QObject* parent, TCoverStrip& strip, TFormProgress* progress, const TViewerSettings& settings);
  ~TStripFiller() override;

  // Prepares filling the strip with the catalog's thumbnails: `catalogPath`
  // names the cache file, `box` is the thumbnails' size in pixels. Nothing
  // is made before Go, or before a second and a half when nobody says Go
  // (no page to wait for). Does nothing while a fill is under way.
  void Start(const TMovieList& catalog, const TPictureContext& pictures, const std::string& catalogPath, int box);
  // Begins a prepared fill.
  void Go();
  // Takes what the workers made and tells them what is in view.
  void TakeReady();
  // Stops a fill at once; the strip keeps what it has and the cache is
  // left as it was.
  void Cancel();
  // Stops any fill and empties the strip.
  void Clear();
  // The strip scrolls by itself where the settings show it and ask so; a
  // fill still running does this when it ends.
  void ApplyScrolling();
  // Every picture's title in the title type now chosen.
  void Retitle(const TMovieList& catalog);

  // Prepared, laying out or making thumbnails.
  bool Filling() const { return m_state != TState::Idle && m_state != TState::Filled; }
  // The strip holds every picture of its catalog.
  bool Filled() const { return m_state == TState::Filled; }
  // How many pictures of the last fill came from the thumbnail cache.
  int CacheHits() const { return m_hits; }

  // After the last picture of a fill was added (and the scrolling set).
  std::function<void()> OnFilled;
  // Now and then while thumbnails are made: how many of how many.
  std::function<void(int made, int total)> OnProgress;

 private:
  enum class TState { Idle, Prepared, Sizing, Making, Filled };
  void LayOut();
  void WantVisible();
  void ShowProgress(int first, int last);
  void End();

  TCoverStrip& m_strip;
  TFormProgress* m_progress;
  const TViewerSettings& m_settings;
  QTimer* m_timer;
  QTimer* m_latestStart;
  TState m_state = TState::Idle;
  // What a prepared fill will read.
  std::vector<const TMovie*> m_movies;
  std::string m_catalogFolder;
  TPathMap m_rules;
  int m_box = 100;
  std::string m_catalogPath;

  std::unique_ptr<TThumbnailCache> m_cache;
  std::unique_ptr<TThumbnailFill> m_fill;
  // What each tile's picture was made from, and which tiles got none.
  std::vector<TThumbnailKey> m_keys;
  std::vector<bool> m_failed;
  int m_made = 0;
  int m_hits = 0;
  bool m_visibleShown = false;
  QElapsedTimer m_sinceGo;
};
