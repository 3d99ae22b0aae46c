#include "viewer/TThumbnailFill.h"

#include "catalog/TMovie.h"
#include "render/MoviePictures.h"

#include <algorithm>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Thumbnails yield to everything the user waits for (the web engine's
// start, the first page, input); they use what is left.
constexpr int kWorkerNiceness = 10;

}  // namespace

TThumbnailFill::TThumbnailFill(std::vector<const TMovie*> movies, std::string catalogFolder, TPathMap rules, int workers)
    : m_movies(std::move(movies)),
      m_catalogFolder(std::move(catalogFolder)),
      m_rules(std::move(rules)),
      m_results(m_movies.size()),
      m_ready(new std::atomic<bool>[m_movies.size() + 1]) {
  for (std::size_t i = 0; i < m_movies.size(); ++i) m_ready[i].store(false, std::memory_order_relaxed);
  if (m_movies.empty()) return;
  if (workers <= 0) workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  workers = std::min<int>(workers, static_cast<int>(m_movies.size()));
  for (int i = 0; i < workers; ++i) m_workers.emplace_back([this] { Work(); });
}

TThumbnailFill::~TThumbnailFill() {
  m_stop.store(true);
  for (std::thread& worker : m_workers) worker.join();
}

void TThumbnailFill::Work() {
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), kWorkerNiceness);
  for (;;) {
    if (m_stop.load(std::memory_order_relaxed)) return;
    int index = m_next.fetch_add(1);
    if (index >= Count()) return;
    auto i = static_cast<std::size_t>(index);
    m_results[i] = LoadMovieThumbnail(*m_movies[i], m_catalogFolder, m_rules);
    m_ready[i].store(true, std::memory_order_release);
  }
}

std::vector<TThumbnailFill::TResult> TThumbnailFill::TakeReady() {
  std::vector<TResult> ready;
  while (m_taken < Count() && m_ready[static_cast<std::size_t>(m_taken)].load(std::memory_order_acquire)) {
    auto i = static_cast<std::size_t>(m_taken);
    ready.push_back({m_movies[i], std::move(m_results[i])});
    m_results[i].reset();
    ++m_taken;
  }
  return ready;
}
