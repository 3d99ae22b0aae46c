#pragma once

#include "config/PathMap.h"
#include "render/TBitmap.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct TMovie;

// Makes the strip's thumbnails of a list of movies on worker threads. The
// user-interface thread takes them in catalog order with TakeReady(); it is
// never blocked. The movies must stay loaded until the fill is finished or
// destroyed; destroying it stops the workers after their current picture.
class TThumbnailFill {
 public:
  TThumbnailFill(std::vector<const TMovie*> movies, std::string catalogFolder, TPathMap rules = {}, int workers = 0);
  ~TThumbnailFill();
  TThumbnailFill(const TThumbnailFill&) = delete;
  TThumbnailFill& operator=(const TThumbnailFill&) = delete;

  struct TResult {
    const TMovie* Movie;
    std::optional<TBitmap> Thumbnail;
  };

  // Every result that is ready, continuing the catalog order from the last
  // call; stops at the first movie still being made.
  std::vector<TResult> TakeReady();
  int Count() const { return static_cast<int>(m_movies.size()); }
  int Taken() const { return m_taken; }
  bool Finished() const { return m_taken == Count(); }

 private:
  void Work();

  std::vector<const TMovie*> m_movies;
  std::string m_catalogFolder;
  TPathMap m_rules;
  std::vector<std::optional<TBitmap>> m_results;
  std::unique_ptr<std::atomic<bool>[]> m_ready;
  std::atomic<int> m_next{0};
  std::atomic<bool> m_stop{false};
  int m_taken = 0;
  std::vector<std::thread> m_workers;
};
