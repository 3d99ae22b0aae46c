#pragma once

#include <string>

class TMovieList;
struct TViewerSettings;

// What Play starts for the page shown: the video path of its one movie,
// carried over by the path rules from the machine the catalog was written
// on. Only a movie of the loaded catalog is ever played.
struct TPlayTarget {
  // Empty: nothing to play (a list, a name of several movies, no path).
  std::string Path;
  // "scheme://..." rather than a file.
  bool IsAddress = false;
  // Without a path: why there is nothing to play (English), or nothing
  // when no movie is chosen at all.
  std::string Why;
};

// Throws TViewerError when the video paths' field is not set, or names no
// field of a movie (both say where to set it), and "The video file "<path>"
// does not exist." when the path names a file that is not there: starting
// a player on it would do nothing visible.
TPlayTarget FindPlayTarget(const TMovieList& catalog, const std::string& shownHandles, const TViewerSettings& settings);
