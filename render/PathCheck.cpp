#include "render/PathCheck.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "render/MoviePictures.h"

#include <sys/stat.h>

bool RegularFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TPathCounts CountResolvedPaths(const TMovieList& movies, const std::string& catalogFolder,
                               const std::string& videoPathField, const TPathMap& rules) {
  TPathCounts counts;
  for (int i = 0; i < movies.Count(); ++i) {
    const TMovie& movie = movies.Items(i);
    if (!movie.Picture && !movie.PictureName.empty()) {
      ++counts.LinkedPictures;
      if (RegularFileExists(ResolvePicturePath(catalogFolder, movie.PictureName))) ++counts.PicturesFound;
      if (RegularFileExists(ResolvePicturePath(catalogFolder, movie.PictureName, rules))) ++counts.PicturesFoundMapped;
    }
    const std::string video = GetVideoPath(&movie, videoPathField);
    if (video.empty()) continue;
    if (IsUrl(video)) {
      ++counts.VideoAddresses;
      continue;
    }
    ++counts.VideoPaths;
    if (RegularFileExists(video)) ++counts.VideosFound;
    if (RegularFileExists(MapPathOrKeep(rules, video))) ++counts.VideosFoundMapped;
  }
  return counts;
}
