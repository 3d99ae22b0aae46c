#include "browse/PlayTarget.h"

#include "catalog/DisplayRules.h"
#include "catalog/MovieFields.h"
#include "catalog/TMovieList.h"
#include "config/AsciiText.h"
#include "config/PathMap.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/PathCheck.h"

#include <algorithm>

TPlayTarget FindPlayTarget(const TMovieList& catalog, const std::string& shownHandles, const TViewerSettings& settings) {
  if (settings.VideoPathField.empty()) {
    throw TViewerError(Translate("No field is chosen for the video paths: choose it as \"Field used to store video "
                                 "path\" on the General tab of the settings (F10)."));
  }
  const bool known = std::any_of(MovieFields().begin(), MovieFields().end(), [&](const TMovieField& field) {
    return IsTextField(field) && SameTextAscii(field.Name, settings.VideoPathField);
  });
  if (!known) {
    throw TViewerError(FormatMessage(Translate("\"%s\" is no field of a movie: choose the field of the video paths "
                                               "on the General tab of the settings (F10)."),
                                     settings.VideoPathField));
  }
  if (shownHandles.empty()) return {};
  std::optional<std::int64_t> handle = ParseHandle(shownHandles);
  if (!handle) return {"", false, "Choose one movie to play; a list plays nothing."};
  const TMovie* movie = catalog.FindByHandle(*handle);
  if (movie == nullptr) return {};
  std::string stored = GetVideoPath(movie, settings.VideoPathField);
  if (stored.empty()) return {"", false, "This movie names no video file."};
  TPlayTarget target{MapPathOrKeep(settings.PathMap, stored), false, ""};
  target.IsAddress = IsUrl(target.Path);
  if (!target.IsAddress && !RegularFileExists(target.Path)) {
    throw TViewerError(FormatMessage(Translate("The video file \"%s\" does not exist."), target.Path));
  }
  return target;
}
