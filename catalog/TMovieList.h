#pragma once

#include "catalog/TMovie.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

// The open catalog: its movies in file order, owned, plus the header texts.
// The order never changes; grouping and sorting happen elsewhere.
class TMovieList {
 public:
  TMovieList() = default;
  ~TMovieList() { Clear(); }
  TMovieList(const TMovieList&) = delete;
  TMovieList& operator=(const TMovieList&) = delete;

  // Reads a catalog file, replacing the list's contents. Throws TViewerError
  // "Unable to load file "<path>": <reason>" when the file cannot be opened,
  // its signature is unknown or its header is cut short; damaged records at
  // the end are dropped silently.
  void LoadFromFile(const std::string& path);

  // Frees every movie, the last one first. The properties are kept.
  void Clear();
  // Exchanges the contents of two lists (movies, properties, handles).
  void Swap(TMovieList& other);
  // Whether the last load read the file to its very end: false when records
  // were dropped at a damaged or cut end.
  bool LoadedCompletely() const { return m_complete; }
  void SetLoadedCompletely(bool complete) { m_complete = complete; }
  int Count() const { return static_cast<int>(m_movies.size()); }
  // Throws TViewerError "List index out of bounds (<index>)".
  const TMovie& Items(int index) const;

  TMovieProperties& Properties() { return m_properties; }
  const TMovieProperties& Properties() const { return m_properties; }

  // The loaded movie with this handle, or nullptr: a handle of an earlier
  // catalog, or any other number, never reaches a movie.
  const TMovie* FindByHandle(std::int64_t handle) const;
  // Its place in the list, or -1.
  int PlaceOf(std::int64_t handle) const;

  // Appends a movie and gives it the next handle of the program run.
  void Append(std::unique_ptr<TMovie> movie);

 private:
  std::vector<std::unique_ptr<TMovie>> m_movies;
  TMovieProperties m_properties;
  std::int64_t m_firstHandle = 0;
  bool m_complete = true;
};

// The three recognised catalog versions, by their signature.
enum class TFormatVersion { V31 = 31, V33 = 33, V35 = 35 };

// The 65 signature bytes that open a catalog file of the given version.
const std::string& CatalogSignature(TFormatVersion version);
