#pragma once

#include "catalog/TMovie.h"

#include <string>
#include <string_view>

class TMovieList;
class TPictureStore;
class TUserVars;
struct TPageFrame;
struct TPictureContext;
struct TViewerSettings;

// Everything a page is made from, read at the moment it is rendered.
struct TPageInput {
  const TMovieList& Movies;
  const TViewerSettings& Settings;
  const TPageFrame& Frame;
  const TPictureContext& Pictures;
  TPictureStore& Store;
  // Threads that make a page's pictures; 0 means one per processor.
  int Workers = 0;
};

// The page for an address such as "movie[12,34].html": the frame around one
// block per item between the brackets. One movie gets the movie template,
// several the list template; an item that is not the handle of a loaded
// movie gets the no-result block. Every movie block adds its large and
// small picture to the store. The bytes are the same whatever the number of
// workers.
std::string RenderMoviePage(std::string_view address, TPageInput& input);

// The template with the 36 variables of one movie replaced, in their order.
std::string SubstituteMovieVariables(std::string text, const TMovie& movie, const TViewerSettings& settings,
                                     const std::string& largePicture, const std::string& smallPicture);

// The user's find-and-replace pairs applied to a block ("&equal;" read as "=").
std::string ApplyUserVariables(std::string block, const TUserVars& userVars);

// Replaces every occurrence of `find`, left to right, not rescanning what
// was inserted.
void ReplaceAll(std::string& text, std::string_view find, std::string_view replacement);
