#pragma once

#include "config/PathMap.h"
#include "render/TCompactPicture.h"
#include "render/TThumbnailCache.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct TMovie;

// Makes the strip's thumbnails of a list of movies on worker threads, in
// two steps. First every picture's size is read from its header, so the
// whole strip can be laid out at once (a movie whose picture has no
// readable header gets no tile). Then the thumbnails are made, those of
// the tiles the strip shows first, then the next screenful the way it
// moves, then the rest in order; a thumbnail cache, when given, answers
// every picture it already holds. Thumbnails are handed over compact
// (JPEG), never as pixels. Nothing here blocks the user-interface thread;
// destroying the fill stops the workers after their current picture. The
// movies (and the cache) must outlive the fill.
class TThumbnailFill {
 public:
  // One tile: the movie (its place in the list) and the thumbnail's size.
  struct TEntry {
    int Movie = 0;
    int Width = 0;
    int Height = 0;
  };
  struct TMade {
    int Entry = 0;
    // Nothing when the picture could not be made after all.
    std::shared_ptr<const TCompactPicture> Picture;
    TThumbnailKey Key;
    bool FromCache = false;
  };
  // Makes a thumbnail of exactly width x height from a picture's bytes.
  using TMaker = std::function<std::optional<TBitmap>(std::span<const std::uint8_t> bytes, std::string_view extension,
                                                      int width, int height)>;
  static std::optional<TBitmap> MakeThumbnail(std::span<const std::uint8_t> bytes, std::string_view extension,
                                              int width, int height);

  // `box` is the thumbnails' size in pixels; `cachedCatalog` the absolute
  // path of the catalog the cache file belongs to. `onNews` is called on a
  // worker thread when the tiles are known and when the last thumbnail is
  // made.
  TThumbnailFill(std::vector<const TMovie*> movies, std::string catalogFolder, TPathMap rules = {}, int box = 100,
                 TThumbnailCache* cache = nullptr, std::string cachedCatalog = {}, int workers = 0,
                 std::function<void()> onNews = nullptr, TMaker maker = MakeThumbnail);
  ~TThumbnailFill();
  TThumbnailFill(const TThumbnailFill&) = delete;
  TThumbnailFill& operator=(const TThumbnailFill&) = delete;

  // Whether the tiles are known; Entries() may be read from then on.
  bool Sized() const { return m_sized.load(std::memory_order_acquire); }
  const std::vector<TEntry>& Entries() const { return m_entries; }
  const TMovie& MovieOf(const TEntry& entry) const { return *m_movies[static_cast<std::size_t>(entry.Movie)]; }

  // The tiles in view, [first, last), and the way the strip moves (+1 to
  // later tiles, -1 to earlier ones): their thumbnails are made next.
  void SetWanted(int first, int last, int direction);

  // Every thumbnail made since the last call, in the order made.
  std::vector<TMade> TakeMade();
  // Whether every thumbnail is made. Ask before TakeMade: once true, the
  // next TakeMade holds all those not yet taken.
  bool Finished() const { return Sized() && m_made.load() == static_cast<int>(m_entries.size()); }
  // Whether the cache file was read whole (false when missing or damaged).
  bool CacheWasSound() const { return m_cacheSound; }
  std::size_t CacheEntries() const { return m_cacheEntries; }

 private:
  void Work(int worker);
  void SizeMovies();
  std::optional<TEntry> SizeOf(int movie) const;
  int NextWanted();
  TMade Make(int entry);

  std::vector<const TMovie*> m_movies;
  std::string m_catalogFolder;
  TPathMap m_rules;
  int m_box;
  TThumbnailCache* m_cache;
  std::string m_cachedCatalog;
  std::function<void()> m_onNews;
  TMaker m_maker;
  std::atomic<bool> m_stop{false};

  // Sizing, shared by the workers; the last to finish lays out the tiles.
  std::vector<std::optional<TEntry>> m_sizes;
  std::atomic<int> m_nextToSize{0};
  std::atomic<int> m_sizersLeft{0};
  std::vector<TEntry> m_entries;
  std::atomic<bool> m_sized{false};

  // The cache file is read beside the sizing.
  std::thread m_loader;
  std::atomic<bool> m_cacheLoaded{false};
  bool m_cacheSound = false;
  std::size_t m_cacheEntries = 0;

  // What is made next, and what was made.
  std::mutex m_mutex;
  std::vector<bool> m_claimed;
  int m_nextInOrder = 0;
  int m_wantedFirst = 0;
  int m_wantedLast = 0;
  int m_direction = 1;
  std::vector<TMade> m_done;
  std::atomic<int> m_made{0};

  std::vector<std::thread> m_workers;
};
