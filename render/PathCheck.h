#pragma once

#include "config/PathMap.h"

#include <string>

class TMovieList;

// How many of a catalog's linked pictures and video paths name a file that
// exists here, as stored and with the path rules.
struct TPathCounts {
  int LinkedPictures = 0;
  int PicturesFound = 0;
  int PicturesFoundMapped = 0;
  // Video paths that name files; addresses ("http://...") are counted apart.
  int VideoPaths = 0;
  int VideosFound = 0;
  int VideosFoundMapped = 0;
  int VideoAddresses = 0;
};

TPathCounts CountResolvedPaths(const TMovieList& movies, const std::string& catalogFolder,
                               const std::string& videoPathField, const TPathMap& rules);

// Whether a regular file exists at `path`.
bool RegularFileExists(const std::string& path);
