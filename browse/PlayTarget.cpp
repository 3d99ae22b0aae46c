#include "browse/PlayTarget.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/PathMap.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/PathCheck.h"

TPlayTarget FindPlayTarget(const TMovieList& catalog, const std::string& shownHandles, const TViewerSettings& settings) {
  std::optional<std::int64_t> handle = ParseHandle(shownHandles);
  if (!handle) return {};
  const TMovie* movie = catalog.FindByHandle(*handle);
  if (movie == nullptr) return {};
  std::string stored = GetVideoPath(movie, settings.VideoPathField);
  if (stored.empty()) return {};
  TPlayTarget target{MapPathOrKeep(settings.PathMap, stored), false};
  target.IsAddress = IsUrl(target.Path);
  if (!target.IsAddress && !RegularFileExists(target.Path)) {
    throw TViewerError(FormatMessage(Translate("The video file \"%s\" does not exist."), target.Path));
  }
  return target;
}
