#pragma once

#include "catalog/TMovieList.h"

#include <cstdint>
#include <string>

enum class TSamplePictures { Embedded, Linked, None, Mixed };

struct TSampleOptions {
  TFormatVersion Version = TFormatVersion::V35;
  int Movies = 40;
  std::uint32_t Seed = 1;
  TSamplePictures Pictures = TSamplePictures::Mixed;
  int CoverWidth = 200;
  int CoverHeight = 300;
  // Every picture a JPEG (for benchmarks); otherwise the formats alternate.
  bool JpegOnly = false;
};

// Writes a made-up catalog to `path`: invented titles (some with one title
// or none), people with remarks in parentheses, several categories and
// languages, multi-line texts with CR LF, a few Windows-1252 accented
// letters, and drawn cover pictures, embedded or as files beside the catalog
// ("covers\mN.jpg") or at absolute paths.
void WriteSampleCatalog(const std::string& path, const TSampleOptions& options);
