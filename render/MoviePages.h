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

// Where a page's links and pictures lead. The viewer's pages name movies by
// "movie" page addresses and pictures by their names in the store; a static
// site names files of its own instead. The renderer asks here for every
// address it writes ($LINK, the pictures, the rating image) and for every
// address a template or user variable spells out in a src or href
// attribute; what the catalog's own texts hold is never touched.
class TPageLinks {
 public:
  virtual ~TPageLinks() = default;
  // The page of one movie ($LINK).
  virtual std::string MoviePage(const TMovie& movie) const;
  // A picture of the store or a rating image, by its name.
  virtual std::string Picture(const std::string& name) const;
  // A "movie" page address written in a template.
  virtual std::string PageAddress(std::string_view address) const;
  // Any other relative address a template names: a file of the program
  // folder (a style sheet, a logo).
  virtual std::string ProgramFile(const std::string& name) const;
};

// Everything a page is made from, read at the moment it is rendered.
struct TPageInput {
  const TMovieList& Movies;
  const TViewerSettings& Settings;
  const TPageFrame& Frame;
  const TPictureContext& Pictures;
  TPictureStore& Store;
  // Threads that make a page's pictures; 0 means one per processor.
  int Workers = 0;
  // Where links lead; nullptr for the viewer's own addresses.
  const TPageLinks* Links = nullptr;
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
                                     const std::string& largePicture, const std::string& smallPicture,
                                     const TPageLinks* links = nullptr);

// The user's find-and-replace pairs applied to a block ("&equal;" read as "=").
std::string ApplyUserVariables(std::string block, const TUserVars& userVars);

// What one page may hold. A movie's text is shown up to kMaxPageText
// bytes, followed by an ellipsis: a web view takes tens of seconds to lay
// out a paragraph of several megabytes. A page stops at kMaxPageBytes, so
// texts that name variables again (a description full of "$COMMENTS")
// cannot multiply without end.
constexpr std::size_t kMaxPageText = 1u << 20;
constexpr std::size_t kMaxPageBytes = 64u << 20;

// Replaces every occurrence of `find`, left to right, not rescanning what
// was inserted. The text never grows beyond `limit` bytes: what would go
// past it is cut.
void ReplaceAll(std::string& text, std::string_view find, std::string_view replacement,
                std::size_t limit = kMaxPageBytes);
