#pragma once

#include "catalog/TMovie.h"
#include "catalog/TMovieList.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes catalog files in the three versions the viewer reads. The viewer
// itself never writes catalogs; this serves the sample generator, the tests
// and the benchmarks.
class TCatalogWriter {
 public:
  explicit TCatalogWriter(TFormatVersion version) : m_version(version) {}

  // The signature and the header block (the version's four or five strings;
  // older versions get an empty third string).
  void WriteHeader(const TMovieProperties& properties);
  // One record. Ratings are given in tenths and stored in whole points for
  // the older versions (rounded down); -1 stays -1.
  void WriteMovie(const TMovie& movie);

  void WriteInt32(std::int32_t value);
  void WriteString(const std::string& text);
  void WriteBytes(const void* data, std::size_t size);

  const std::string& Bytes() const { return m_bytes; }
  std::string&& TakeBytes() { return std::move(m_bytes); }

 private:
  TFormatVersion m_version;
  std::string m_bytes;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
