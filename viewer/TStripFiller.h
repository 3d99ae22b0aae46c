#pragma once

#include "render/TThumbnailCache.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;
class TFormProgress;
class TMovieList;
class TNiceGallery;
class TThumbnailFill;
struct TPictureContext;
struct TViewerSettings;

// Fills the picture strip with the thumbnails of a catalog: they are made
// on worker threads (or taken from the thumbnail cache) and added here in
// catalog order while the progress window counts; at the end the cache is
// written again when it did not hold exactly this strip. The window starts
// it and hears when it is filled.
class TStripFiller : public QObject {
 public:
  TStripFiller(QObject* parent, TNiceGallery& strip, TFormProgress* progress, const TViewerSettings& settings);
  ~TStripFiller() override;

  // Starts filling the (empty) strip. `catalogPath` names the cache file;
  // `box` is the thumbnails' size in pixels. Does nothing while a fill runs.
  void Start(const TMovieList& catalog, const TPictureContext& pictures, const std::string& catalogPath, int box);
  // Takes every thumbnail that is ready; ends the fill after the last one.
  void TakeReady();
  // Stops a fill that runs; the strip keeps what it has.
  void Cancel();
  // Stops any fill and empties the strip.
  void Clear();
  // Every picture's title in the title type now chosen; pictures still to
  // come get it when they are added.
  void Retitle(const TMovieList& catalog);

  bool Filling() const { return m_fill != nullptr; }
  // The strip holds every picture of its catalog.
  bool Filled() const { return m_filled; }
  // How many pictures of the last fill came from the thumbnail cache.
  int CacheHits() const { return m_hits; }

  // After the last picture of a fill was added.
  std::function<void()> OnFilled;

 private:
  void End(bool completed);

  TNiceGallery& m_strip;
  TFormProgress* m_progress;
  const TViewerSettings& m_settings;
  QTimer* m_timer;
  std::unique_ptr<TThumbnailCache> m_cache;
  std::unique_ptr<TThumbnailFill> m_fill;
  std::string m_catalogPath;
  // What each strip picture was made from, parallel to the strip's items.
  std::vector<TThumbnailKey> m_keys;
  int m_hits = 0;
  bool m_filled = false;
};
