#include "render/TThumbnailFill.h"

#include "catalog/TMovie.h"
#include "render/MoviePictures.h"
#include "render/PictureCodecs.h"

#include <algorithm>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Thumbnails yield to everything the user waits for (the web engine's
// start, the first page, input); they use what is left.
constexpr int kWorkerNiceness = 10;
// A picture's header is nearly always in its first bytes; the whole
// picture is read only when it is not.
constexpr std::size_t kHeaderBytes = 4096;

std::span<const std::uint8_t> AsSpan(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

}  // namespace

std::optional<TBitmap> TThumbnailFill::MakeThumbnail(std::span<const std::uint8_t> bytes, std::string_view extension,
                                                     int width, int height) {
  // Decoded at the scale the box needs, then scaled once to the size the
  // tile was laid out with.
  std::optional<TBitmap> decoded = DecodePictureUnfitted(bytes, extension, width, height);
  if (!decoded || decoded->Empty()) return std::nullopt;
  if (decoded->Width == width && decoded->Height == height) return decoded;
  return ScaleBitmap(*decoded, width, height);
}

TThumbnailFill::TThumbnailFill(std::vector<const TMovie*> movies, std::string catalogFolder, TPathMap rules, int box,
                               TThumbnailCache* cache, std::string cachedCatalog, int workers,
                               std::function<void()> onNews, TMaker maker)
    : m_movies(std::move(movies)),
      m_catalogFolder(std::move(catalogFolder)),
      m_rules(std::move(rules)),
      m_box(box),
      m_cache(cache),
      m_cachedCatalog(std::move(cachedCatalog)),
      m_onNews(std::move(onNews)),
      m_maker(std::move(maker)),
      m_sizes(m_movies.size()) {
  if (m_cache != nullptr) {
    m_loader = std::thread([this] {
      m_cacheSound = m_cache->Load(m_cachedCatalog);
      m_cacheEntries = m_cache->Count();
      m_cacheLoaded.store(true, std::memory_order_release);
      m_cacheLoaded.notify_all();
    });
  }
  if (workers <= 0) workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  m_sizersLeft = workers;
  for (int i = 0; i < workers; ++i) m_workers.emplace_back([this, i] { Work(i); });
}

TThumbnailFill::~TThumbnailFill() {
  // Sizing stops at once, and the last sizer still wakes those waiting.
  m_stop.store(true);
  for (std::thread& worker : m_workers) worker.join();
  if (m_loader.joinable()) m_loader.join();
}

std::optional<TThumbnailFill::TEntry> TThumbnailFill::SizeOf(int index) const {
  const TMovie& movie = *m_movies[static_cast<std::size_t>(index)];
  const std::string extension = PictureExtension(movie.PictureName);
  std::optional<TPictureDimensions> dimensions;
  if (movie.Picture) {
    TPictureData head = movie.Picture->ReadPrefix(kHeaderBytes);
    dimensions = ReadPictureDimensions(head.Bytes(), extension);
    if (!dimensions && movie.Picture->Size() > kHeaderBytes) {
      dimensions = ReadPictureDimensions(movie.Picture->Read().Bytes(), extension);
    }
  } else if (!movie.PictureName.empty()) {
    try {
      const std::string path = ResolvePicturePath(m_catalogFolder, movie.PictureName, m_rules);
      dimensions = ReadPictureDimensions(AsSpan(ReadPictureFile(path, kHeaderBytes)), extension);
      if (!dimensions) dimensions = ReadPictureDimensions(AsSpan(ReadPictureFile(path)), extension);
    } catch (const std::exception&) {
    }
  }
  if (!dimensions) return std::nullopt;
  TEntry entry{index, 0, 0};
  FitSize(dimensions->Width, dimensions->Height, m_box, m_box, entry.Width, entry.Height);
  if (entry.Width <= 0 || entry.Height <= 0) return std::nullopt;
  return entry;
}

void TThumbnailFill::SizeMovies() {
  const int count = static_cast<int>(m_movies.size());
  for (int i = m_nextToSize++; i < count && !m_stop.load(std::memory_order_relaxed); i = m_nextToSize++) {
    m_sizes[static_cast<std::size_t>(i)] = SizeOf(i);
  }
  if (--m_sizersLeft > 0) return;
  // The last sizer lays the tiles out, in catalog order.
  for (const std::optional<TEntry>& entry : m_sizes) {
    if (entry) m_entries.push_back(*entry);
  }
  m_sizes = {};
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_claimed.assign(m_entries.size(), false);
  }
  m_sized.store(true, std::memory_order_release);
  m_sized.notify_all();
  if (m_onNews) m_onNews();
}

void TThumbnailFill::SetWanted(int first, int last, int direction) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_wantedFirst = std::max(0, first);
  m_wantedLast = std::max(m_wantedFirst, last);
  m_direction = direction < 0 ? -1 : 1;
}

int TThumbnailFill::NextWanted() {
  std::lock_guard<std::mutex> lock(m_mutex);
  const int count = static_cast<int>(m_claimed.size());
  auto claim = [&](int index) {
    if (index < 0 || index >= count || m_claimed[static_cast<std::size_t>(index)]) return false;
    m_claimed[static_cast<std::size_t>(index)] = true;
    return true;
  };
  // The tiles in view, then the next screenful the way the strip moves.
  const int span = std::max(1, m_wantedLast - m_wantedFirst);
  for (int i = m_wantedFirst; i < m_wantedLast; ++i) {
    if (claim(i)) return i;
  }
  for (int step = 0; step < span; ++step) {
    const int i = m_direction > 0 ? m_wantedLast + step : m_wantedFirst - 1 - step;
    if (claim(i)) return i;
  }
  // Then the rest, in order.
  while (m_nextInOrder < count && m_claimed[static_cast<std::size_t>(m_nextInOrder)]) ++m_nextInOrder;
  if (m_nextInOrder < count && claim(m_nextInOrder)) return m_nextInOrder;
  return -1;
}

TThumbnailFill::TMade TThumbnailFill::Make(int index) {
  const TEntry& entry = m_entries[static_cast<std::size_t>(index)];
  const TMovie& movie = MovieOf(entry);
  TMade made{index, nullptr, {}, false};
  // The picture's own bytes: they name the cache entry and, on a miss,
  // are decoded.
  TPictureData embedded;
  std::string linked;
  std::span<const std::uint8_t> bytes;
  if (movie.Picture) {
    embedded = movie.Picture->Read();
    bytes = embedded.Bytes();
  } else {
    try {
      linked = ReadPictureFile(ResolvePicturePath(m_catalogFolder, movie.PictureName, m_rules));
      bytes = AsSpan(linked);
    } catch (const std::exception&) {
    }
  }
  if (bytes.empty()) return made;
  made.Key = {static_cast<std::uint32_t>(entry.Movie), HashPictureBytes(bytes.data(), bytes.size()),
              static_cast<std::uint16_t>(m_box)};
  if (m_cache != nullptr) {
    m_cacheLoaded.wait(false, std::memory_order_acquire);
    std::optional<TCompactPicture> kept = m_cache->Take(made.Key);
    if (kept && kept->Width == entry.Width && kept->Height == entry.Height) {
      made.Picture = std::make_shared<const TCompactPicture>(std::move(*kept));
      made.FromCache = true;
      return made;
    }
  }
  std::optional<TBitmap> thumbnail = m_maker(bytes, PictureExtension(movie.PictureName), entry.Width, entry.Height);
  if (thumbnail && thumbnail->Width == entry.Width && thumbnail->Height == entry.Height) {
    made.Picture = std::make_shared<const TCompactPicture>(TCompactPicture::FromBitmap(*thumbnail));
  }
  return made;
}

void TThumbnailFill::Work(int) {
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), kWorkerNiceness);
  // Known by name in the system's lists of threads.
  ::pthread_setname_np(::pthread_self(), "elk-thumbnails");
  SizeMovies();
  m_sized.wait(false, std::memory_order_acquire);
  while (!m_stop.load(std::memory_order_relaxed)) {
    const int index = NextWanted();
    if (index < 0) return;
    TMade made = Make(index);
    bool last = false;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_done.push_back(std::move(made));
      last = ++m_made == static_cast<int>(m_entries.size());
    }
    if (last && m_onNews) m_onNews();
  }
}

std::vector<TThumbnailFill::TMade> TThumbnailFill::TakeMade() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<TMade> made;
  made.swap(m_done);
  return made;
}
