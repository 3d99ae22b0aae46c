#include "viewer/TStripFiller.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/SettingsLocation.h"
#include "config/TViewerSettings.h"
#include "dialogs/TFormProgress.h"
#include "render/MoviePictures.h"
#include "render/TThumbnailFill.h"
#include "config/TimingLog.h"
#include "viewer/TViewerApplication.h"
#include "widgets/TCoverStrip.h"

#include <QTimer>

namespace {

// How often the user-interface thread takes the thumbnails that are ready.
constexpr int kFillTickMilliseconds = 40;
// When no page shown starts the fill (an empty catalog), it starts anyway.
constexpr int kLatestStartMilliseconds = 1500;
// Tiles in view that take longer than this show the progress window.
constexpr qint64 kProgressDelayMilliseconds = 400;

}  // namespace

TStripFiller::TStripFiller(QObject* parent, TCoverStrip& strip, TFormProgress* progress,
                           const TViewerSettings& settings)
    : QObject(parent),
      m_strip(strip),
      m_progress(progress),
      m_settings(settings),
      m_timer(new QTimer(this)),
      m_latestStart(new QTimer(this)) {
  setObjectName(QStringLiteral("StripFiller"));
  m_latestStart->setSingleShot(true);
  m_latestStart->setInterval(kLatestStartMilliseconds);
  QObject::connect(m_latestStart, &QTimer::timeout, this, [this] { RunGuarded([this] { Go(); }); });
  m_timer->setInterval(kFillTickMilliseconds);
  QObject::connect(m_timer, &QTimer::timeout, this, [this] { RunGuarded([this] { TakeReady(); }); });
}

TStripFiller::~TStripFiller() { Cancel(); }

void TStripFiller::Start(const TMovieList& catalog, const TPictureContext& pictures, const std::string& catalogPath,
                         int box) {
  if (Filling()) return;
  m_strip.Items().Clear();
  m_movies.clear();
  m_movies.reserve(static_cast<std::size_t>(catalog.Count()));
  for (int i = 0; i < catalog.Count(); ++i) m_movies.push_back(&catalog.Items(i));
  m_catalogFolder = pictures.CatalogFolder;
  m_rules = pictures.PathMap;
  m_box = box;
  m_catalogPath = catalogPath;
  m_state = TState::Prepared;
  m_latestStart->start();
}

void TStripFiller::Go() {
  if (m_state != TState::Prepared) return;
  m_latestStart->stop();
  TimingLog::Write("strip-started", std::to_string(m_movies.size()));
  m_hits = 0;
  m_made = 0;
  m_visibleShown = false;
  m_cache.reset();
  if (m_settings.ThumbnailCache) m_cache = std::make_unique<TThumbnailCache>(UserCacheFolder());
  // The workers say when the tiles are known and when the last picture is
  // made; the strip takes both at once rather than at the next tick.
  auto news = [this] {
    QMetaObject::invokeMethod(this, [this] { RunGuarded([this] { TakeReady(); }); }, Qt::QueuedConnection);
  };
  m_fill = std::make_unique<TThumbnailFill>(std::move(m_movies), m_catalogFolder, m_rules, m_box, m_cache.get(),
                                            m_catalogPath, 0, news);
  m_movies.clear();
  m_state = TState::Sizing;
  m_sinceGo.start();
  m_timer->start();
}

void TStripFiller::LayOut() {
  // Every tile at once: the strip can be scrolled and clicked at once,
  // placeholders standing in for the pictures still to come.
  TCoverStripItems& items = m_strip.Items();
  items.BeginUpdate();
  for (const TThumbnailFill::TEntry& entry : m_fill->Entries()) {
    const TMovie& movie = m_fill->MovieOf(entry);
    items.AddSized(movie.Handle, GetMovieTitle(movie, m_settings.TitleType), entry.Width, entry.Height);
  }
  items.EndUpdate();
  m_keys.assign(m_fill->Entries().size(), TThumbnailKey());
  m_failed.assign(m_fill->Entries().size(), false);
  m_state = TState::Making;
}

void TStripFiller::WantVisible() {
  const auto [first, last] = m_strip.VisibleItems();
  const TCoverStripModel& model = m_strip.Model();
  m_fill->SetWanted(first, last, model.ScrollingLeft() && model.ScrollPos() > 0 ? -1 : 1);
  if (m_visibleShown || first >= last) return;
  for (int i = first; i < last; ++i) {
    if (!m_strip.Items()[i].HasPicture() && !m_failed[static_cast<std::size_t>(i)]) {
      ShowProgress(first, last);
      return;
    }
  }
  m_visibleShown = true;
  if (m_progress != nullptr) m_progress->hide();
  TimingLog::Write("strip-visible", std::to_string(last - first));
}

void TStripFiller::ShowProgress(int first, int last) {
  if (m_progress == nullptr || m_sinceGo.elapsed() < kProgressDelayMilliseconds) return;
  int shown = 0;
  for (int i = first; i < last; ++i) shown += m_strip.Items()[i].HasPicture() || m_failed[static_cast<std::size_t>(i)];
  if (!m_progress->isVisible()) m_progress->Start(last - first, m_strip.window());
  m_progress->SetPosition(shown);
}

void TStripFiller::TakeReady() {
  if (m_state == TState::Sizing && m_fill->Sized()) LayOut();
  if (m_state != TState::Making) return;
  // Before and after: the first want decides what is made next, the second
  // sees the pictures just taken.
  WantVisible();
  // Asked before taking: a picture finished between the two would
  // otherwise end the fill without being taken.
  const bool finished = m_fill->Finished();
  std::vector<TThumbnailFill::TMade> made = m_fill->TakeMade();
  for (TThumbnailFill::TMade& picture : made) {
    const auto index = static_cast<std::size_t>(picture.Entry);
    m_keys[index] = picture.Key;
    if (picture.FromCache) ++m_hits;
    if (picture.Picture) {
      m_strip.Items().SetPicture(picture.Entry, std::move(picture.Picture));
    } else {
      m_failed[index] = true;
    }
  }
  m_made += static_cast<int>(made.size());
  if (!made.empty()) {
    WantVisible();
    if (OnProgress) OnProgress(m_made, static_cast<int>(m_keys.size()));
  }
  if (finished) End();
}

void TStripFiller::End() {
  m_timer->stop();
  if (m_progress != nullptr) m_progress->hide();
  TCoverStripItems& items = m_strip.Items();
  // A picture whose header was fine but whose data was not: no tile.
  items.BeginUpdate();
  for (int i = items.Count(); i-- > 0;) {
    if (m_failed[static_cast<std::size_t>(i)]) {
      items.Delete(i);
      m_keys.erase(m_keys.begin() + i);
    }
  }
  items.EndUpdate();
  // The cache file is written again only when it did not hold exactly the
  // pictures of this strip; a failure to write only costs speed next time.
  if (m_cache && (!m_fill->CacheWasSound() || m_fill->CacheEntries() != static_cast<std::size_t>(m_hits) ||
                  m_hits != items.Count())) {
    std::vector<std::pair<TThumbnailKey, const TCompactPicture*>> entries;
    for (int i = 0; i < items.Count(); ++i) {
      if (items[i].Compact) entries.emplace_back(m_keys[static_cast<std::size_t>(i)], items[i].Compact.get());
    }
    m_cache->Save(m_catalogPath, entries);
  }
  m_fill.reset();
  m_cache.reset();
  m_state = TState::Filled;
  TimingLog::Write("strip-filled", std::to_string(items.Count()));
  ApplyScrolling();
  if (OnFilled) OnFilled();
}

void TStripFiller::ApplyScrolling() {
  if (!Filling()) m_strip.SetActive(m_settings.ShowTopImages && m_settings.AutoScroll);
}

void TStripFiller::Cancel() {
  m_timer->stop();
  m_latestStart->stop();
  if (m_progress != nullptr) m_progress->hide();
  // The workers stop after the picture each is making.
  m_fill.reset();
  m_cache.reset();
  m_movies.clear();
  if (m_state != TState::Filled) m_state = TState::Idle;
}

void TStripFiller::Clear() {
  Cancel();
  m_strip.SetActive(false);
  m_strip.Items().Clear();
  m_keys.clear();
  m_failed.clear();
  m_state = TState::Idle;
}

void TStripFiller::Retitle(const TMovieList& catalog) {
  // Each picture carries its movie's handle.
  TCoverStripItems& pictures = m_strip.Items();
  for (int i = 0; i < pictures.Count(); ++i) {
    if (const TMovie* movie = catalog.FindByHandle(pictures[i].Tag)) {
      pictures.SetHint(i, GetMovieTitle(*movie, m_settings.TitleType));
    }
  }
}
