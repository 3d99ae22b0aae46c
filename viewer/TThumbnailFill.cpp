#include "viewer/TThumbnailFill.h"

#include "catalog/TMovie.h"
#include "render/MoviePictures.h"
#include "render/PictureCodecs.h"

#include <algorithm>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Thumbnails yield to everything the user waits for (the web engine's
// start, the first page, input); they use what is left.
constexpr int kWorkerNiceness = 10;

}  // namespace

TThumbnailFill::TThumbnailFill(std::vector<const TMovie*> movies, std::string catalogFolder, TPathMap rules, int box,
                               TThumbnailCache* cache, std::string cachedCatalog, int workers,
                               std::function<void()> onAllReady)
    : m_movies(std::move(movies)),
      m_catalogFolder(std::move(catalogFolder)),
      m_rules(std::move(rules)),
      m_box(box),
      m_cache(cache),
      m_cachedCatalog(std::move(cachedCatalog)),
      m_onAllReady(std::move(onAllReady)),
      m_results(m_movies.size()),
      m_ready(new std::atomic<bool>[m_movies.size() + 1]) {
  for (std::size_t i = 0; i < m_movies.size(); ++i) m_ready[i].store(false, std::memory_order_relaxed);
  if (m_movies.empty()) return;
  if (m_cache != nullptr) {
    // The cache file is opened beside the workers, which hash pictures
    // meanwhile and wait for it only to look their keys up.
    std::promise<void> loaded;
    m_cacheLoaded = loaded.get_future().share();
    m_loader = std::thread([this, loaded = std::move(loaded)]() mutable {
      m_cacheSound = m_cache->Load(m_cachedCatalog);
      m_cacheEntries = m_cache->Count();
      loaded.set_value();
    });
  }
  if (workers <= 0) workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  workers = std::min<int>(workers, static_cast<int>(m_movies.size()));
  for (int i = 0; i < workers; ++i) m_workers.emplace_back([this] { Work(); });
}

TThumbnailFill::~TThumbnailFill() {
  m_stop.store(true);
  for (std::thread& worker : m_workers) worker.join();
  if (m_loader.joinable()) m_loader.join();
}

TThumbnailFill::TResult TThumbnailFill::Make(std::size_t index) {
  const TMovie& movie = *m_movies[index];
  TResult result{&movie, std::nullopt, {}, false};
  // The picture's own bytes: they name the cache entry and, on a miss,
  // are decoded.
  TPictureData embedded;
  std::string linked;
  std::span<const std::uint8_t> bytes;
  if (movie.Picture) {
    embedded = movie.Picture->Read();
    bytes = embedded.Bytes();
  } else if (!movie.PictureName.empty()) {
    try {
      linked = ReadPictureFile(ResolvePicturePath(m_catalogFolder, movie.PictureName, m_rules));
      bytes = {reinterpret_cast<const std::uint8_t*>(linked.data()), linked.size()};
    } catch (const std::exception&) {
    }
  }
  if (bytes.empty()) return result;
  result.Key = {static_cast<std::uint32_t>(index), HashPictureBytes(bytes.data(), bytes.size()),
                static_cast<std::uint16_t>(m_box)};
  if (m_cache != nullptr) {
    m_cacheLoaded.wait();
    if (std::optional<TBitmap> kept = m_cache->Take(result.Key)) {
      result.Thumbnail = std::move(kept);
      result.FromCache = true;
      return result;
    }
  }
  result.Thumbnail = DecodePicture(bytes, PictureExtension(movie.PictureName), m_box, m_box);
  return result;
}

void TThumbnailFill::Work() {
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), kWorkerNiceness);
  for (;;) {
    if (m_stop.load(std::memory_order_relaxed)) return;
    int index = m_next.fetch_add(1);
    if (index >= Count()) return;
    auto i = static_cast<std::size_t>(index);
    m_results[i] = Make(i);
    m_ready[i].store(true, std::memory_order_release);
    if (m_made.fetch_add(1) + 1 == Count() && m_onAllReady) m_onAllReady();
  }
}

std::vector<TThumbnailFill::TResult> TThumbnailFill::TakeReady() {
  std::vector<TResult> ready;
  while (m_taken < Count() && m_ready[static_cast<std::size_t>(m_taken)].load(std::memory_order_acquire)) {
    auto i = static_cast<std::size_t>(m_taken);
    ready.push_back(std::move(m_results[i]));
    m_results[i] = TResult{};
    ++m_taken;
  }
  return ready;
}
