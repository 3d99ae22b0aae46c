#include "catalog/TMovieList.h"

#include "config/TViewerError.h"

#include <algorithm>
#include <atomic>

namespace {

// Handles count up over the whole run of the program and are never given
// twice, so an address or picture name of an earlier catalog can never name
// a movie of the current one. Pages list handles as "movie[12,13].html";
// a search that found nothing is sent as "moviesearch[...].html", whose
// items are never read as handles, so typed digits can never pass for
// handles (render/MovieAddress.h).
std::atomic<std::int64_t> g_nextHandle{1};

constexpr char kSignature35[] = " QZT_3.5 Elk Movie Catalog 3.5  example.com/elk  elk.example.org ";
constexpr char kSignature33[] = " QZT_3.3 Elk Movie Catalog 3.3  example.com/elk  elk.example.org ";
constexpr char kSignature31[] = " QZT_3.1 Elk Movie Catalog 3.1  example.com/elk  elk.example.org ";
static_assert(sizeof(kSignature35) == 66 && sizeof(kSignature33) == 66 && sizeof(kSignature31) == 66);

}  // namespace

TPictureBytes::TPictureBytes(std::size_t size)
    : m_data(std::make_unique_for_overwrite<std::uint8_t[]>(size)), m_size(size) {}

const std::string& CatalogSignature(TFormatVersion version) {
  static const std::string v35(kSignature35, 65);
  static const std::string v33(kSignature33, 65);
  static const std::string v31(kSignature31, 65);
  switch (version) {
    case TFormatVersion::V35:
      return v35;
    case TFormatVersion::V33:
      return v33;
    case TFormatVersion::V31:
      break;
  }
  return v31;
}

void TMovieList::Swap(TMovieList& other) {
  std::swap(m_movies, other.m_movies);
  std::swap(m_properties, other.m_properties);
  std::swap(m_firstHandle, other.m_firstHandle);
  std::swap(m_complete, other.m_complete);
}

void TMovieList::Clear() {
  while (!m_movies.empty()) m_movies.pop_back();
  m_firstHandle = 0;
}

const TMovie& TMovieList::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw TViewerError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return *m_movies[static_cast<std::size_t>(index)];
}

void TMovieList::Append(std::unique_ptr<TMovie> movie) {
  movie->Handle = g_nextHandle.fetch_add(1);
  if (m_movies.empty()) m_firstHandle = movie->Handle;
  m_movies.push_back(std::move(movie));
}

const TMovie* TMovieList::FindByHandle(std::int64_t handle) const {
  const int place = PlaceOf(handle);
  return place < 0 ? nullptr : m_movies[static_cast<std::size_t>(place)].get();
}

int TMovieList::PlaceOf(std::int64_t handle) const {
  if (m_movies.empty() || handle < m_firstHandle) return -1;
  // Handles of one list are increasing and normally consecutive.
  std::int64_t offset = handle - m_firstHandle;
  if (offset < Count() && m_movies[static_cast<std::size_t>(offset)]->Handle == handle) return static_cast<int>(offset);
  auto found = std::lower_bound(m_movies.begin(), m_movies.end(), handle,
                                [](const std::unique_ptr<TMovie>& movie, std::int64_t h) { return movie->Handle < h; });
  return found != m_movies.end() && (*found)->Handle == handle ? static_cast<int>(found - m_movies.begin()) : -1;
}
