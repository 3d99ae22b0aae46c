#pragma once

#include "config/PathMap.h"
#include "render/TBitmap.h"
#include "render/TThumbnailCache.h"

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct TMovie;

// Makes the strip's thumbnails of a list of movies on worker threads. The
// user-interface thread takes them in catalog order with TakeReady(); it is
// never blocked. A thumbnail cache, when given, is read by the workers
// first and answers every movie whose picture it already holds. The movies
// (and the cache) must stay until the fill is finished or destroyed;
// destroying it stops the workers after their current picture.
class TThumbnailFill {
 public:
  // `box` is the thumbnails' size in pixels; `cachedCatalog` the absolute
  // path of the catalog the cache file belongs to.
  TThumbnailFill(std::vector<const TMovie*> movies, std::string catalogFolder, TPathMap rules = {}, int box = 100,
                 TThumbnailCache* cache = nullptr, std::string cachedCatalog = {}, int workers = 0,
                 std::function<void()> onAllReady = nullptr);
  ~TThumbnailFill();
  TThumbnailFill(const TThumbnailFill&) = delete;
  TThumbnailFill& operator=(const TThumbnailFill&) = delete;

  struct TResult {
    const TMovie* Movie;
    std::optional<TBitmap> Thumbnail;
    TThumbnailKey Key;
    bool FromCache = false;
  };

  // Every result that is ready, continuing the catalog order from the last
  // call; stops at the first movie still being made.
  std::vector<TResult> TakeReady();
  int Count() const { return static_cast<int>(m_movies.size()); }
  int Taken() const { return m_taken; }
  bool Finished() const { return m_taken == Count(); }
  // Whether the cache file was read whole (false when missing or damaged).
  bool CacheWasSound() const { return m_cacheSound; }
  std::size_t CacheEntries() const { return m_cacheEntries; }

 private:
  void Work();
  TResult Make(std::size_t index);

  std::vector<const TMovie*> m_movies;
  std::string m_catalogFolder;
  TPathMap m_rules;
  int m_box;
  TThumbnailCache* m_cache;
  std::string m_cachedCatalog;
  std::shared_future<void> m_cacheLoaded;
  std::thread m_loader;
  // Called on a worker thread once the last result is ready.
  std::function<void()> m_onAllReady;
  std::atomic<int> m_made{0};
  bool m_cacheSound = false;
  std::size_t m_cacheEntries = 0;
  std::vector<TResult> m_results;
  std::unique_ptr<std::atomic<bool>[]> m_ready;
  std::atomic<int> m_next{0};
  std::atomic<bool> m_stop{false};
  int m_taken = 0;
  std::vector<std::thread> m_workers;
};
