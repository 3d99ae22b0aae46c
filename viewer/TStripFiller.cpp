#include "viewer/TStripFiller.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/SettingsLocation.h"
#include "config/TViewerSettings.h"
#include "dialogs/TFormProgress.h"
#include "render/MoviePictures.h"
#include "viewer/TThumbnailFill.h"
#include "viewer/TTimingLog.h"
#include "viewer/TViewerApplication.h"
#include "widgets/TNiceGallery.h"

#include <QTimer>

namespace {

// How often the user-interface thread takes the thumbnails that are ready.
constexpr int kFillTickMilliseconds = 40;

}  // namespace

TStripFiller::TStripFiller(QObject* parent, TNiceGallery& strip, TFormProgress* progress,
                           const TViewerSettings& settings)
    : QObject(parent), m_strip(strip), m_progress(progress), m_settings(settings), m_timer(new QTimer(this)) {
  setObjectName(QStringLiteral("StripFiller"));
  m_timer->setInterval(kFillTickMilliseconds);
  QObject::connect(m_timer, &QTimer::timeout, this, [this] { RunGuarded([this] { TakeReady(); }); });
}

TStripFiller::~TStripFiller() { Cancel(); }

void TStripFiller::Start(const TMovieList& catalog, const TPictureContext& pictures, const std::string& catalogPath,
                         int box) {
  if (m_fill) return;
  std::vector<const TMovie*> movies;
  movies.reserve(static_cast<std::size_t>(catalog.Count()));
  for (int i = 0; i < catalog.Count(); ++i) movies.push_back(&catalog.Items(i));
  TimingLog::Write("strip-started", std::to_string(catalog.Count()));
  if (m_progress != nullptr) m_progress->Start(catalog.Count(), m_strip.window());
  m_strip.Items().BeginUpdate();
  m_keys.clear();
  m_hits = 0;
  m_catalogPath = catalogPath;
  m_cache.reset();
  if (m_settings.ThumbnailCache) m_cache = std::make_unique<TThumbnailCache>(UserCacheFolder());
  // The pictures are made on worker threads and taken here in catalog
  // order, so the window keeps painting and taking clicks meanwhile. When
  // the last picture is ready the strip takes them at once, without
  // waiting for the next tick.
  auto allReady = [this] {
    QMetaObject::invokeMethod(this, [this] { RunGuarded([this] { TakeReady(); }); }, Qt::QueuedConnection);
  };
  m_fill = std::make_unique<TThumbnailFill>(std::move(movies), pictures.CatalogFolder, pictures.PathMap, box,
                                            m_cache.get(), catalogPath, 0, allReady);
  m_timer->start();
  // Even an empty catalog ends its fill from the event loop, so whoever
  // started it sees one consistent state until then.
}

void TStripFiller::TakeReady() {
  if (!m_fill) return;
  std::vector<TThumbnailFill::TResult> ready = m_fill->TakeReady();
  for (TThumbnailFill::TResult& result : ready) {
    if (result.Thumbnail) {
      m_strip.Items().Add(result.Movie->Handle, GetMovieTitle(*result.Movie, m_settings.TitleType),
                          std::move(*result.Thumbnail));
      m_keys.push_back(result.Key);
      if (result.FromCache) ++m_hits;
    }
    if (m_progress != nullptr) m_progress->StepIt();
  }
  if (!ready.empty() && !m_fill->Finished()) {
    // Shows the pictures made so far.
    m_strip.Items().EndUpdate();
    m_strip.Items().BeginUpdate();
  }
  if (m_fill->Finished()) End(true);
}

void TStripFiller::Cancel() {
  if (m_fill) End(false);
}

void TStripFiller::Clear() {
  Cancel();
  m_strip.SetActive(false);
  m_strip.Items().Clear();
  m_keys.clear();
  m_filled = false;
}

void TStripFiller::Retitle(const TMovieList& catalog) {
  // Each picture carries its movie's handle.
  TGalleryItems& pictures = m_strip.Items();
  for (int i = 0; i < pictures.Count(); ++i) {
    if (const TMovie* movie = catalog.FindByHandle(pictures[i].Tag)) {
      pictures.SetHint(i, GetMovieTitle(*movie, m_settings.TitleType));
    }
  }
}

void TStripFiller::End(bool completed) {
  m_timer->stop();
  TGalleryItems& items = m_strip.Items();
  // The cache file is written again only when it did not hold exactly the
  // pictures of this strip; a failure to write only costs speed next time.
  if (completed && m_cache && (!m_fill->CacheWasSound() || m_fill->CacheEntries() != static_cast<std::size_t>(m_hits) ||
                               m_hits != items.Count())) {
    std::vector<std::pair<TThumbnailKey, const TBitmap*>> entries;
    for (int i = 0; i < items.Count() && i < static_cast<int>(m_keys.size()); ++i) {
      entries.emplace_back(m_keys[static_cast<std::size_t>(i)], &items[i].Bitmap);
    }
    m_cache->Save(m_catalogPath, entries);
  }
  m_fill.reset();
  m_cache.reset();
  items.EndUpdate();
  if (m_progress != nullptr) m_progress->hide();
  if (!completed) return;
  m_filled = true;
  TimingLog::Write("strip-filled", std::to_string(items.Count()));
  if (OnFilled) OnFilled();
}
