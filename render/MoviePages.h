#pragma once

#include "catalog/TMovie.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TMovieList;
class TPictureStore;
class TranslationTable;
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
  // Every list whole, its pictures made with the page: a static site's
  // pages are files. Otherwise a long list comes in parts and a list's
  // pictures are made when the view asks for them.
  bool WholeLists = false;
  // The language of the page's own texts; nullptr for the thread's.
  const TranslationTable* Language = nullptr;
  // Set when nobody waits for the page any more: making stops early, and
  // what was made is of no use.
  const std::atomic<bool>* Cancelled = nullptr;
  // What a list is ("Director: ..."), shown above it; empty for none.
  std::string_view Heading = {};
};

// A page made from the address of another: a search's page is the page of
// the movies it found, a statistics bar's the page of its movies. The
// address to render (with the asked one's part), what the page says of
// itself, and its heading.
struct TResolvedPage {
  std::string Name;
  std::optional<int> Found = {};
  std::string Heading = {};
};
// Nothing for a name it does not resolve.
using TPageResolver = std::function<std::optional<TResolvedPage>(std::string_view name, const TPageInput& pages)>;

// The page for an address such as "movie[12,34].html": the frame around one
// block per item between the brackets. One movie gets the movie template,
// several the list template; an item that is not the handle of a loaded
// movie gets the no-result block. A single movie's page adds its large and
// small picture to the store before it is sent; a list names its pictures
// for MakePagePicture (unless WholeLists) and, longer than
// kListPartMovies, shows the part its address asks for ("?part=N") with
// links to the others. The bytes are the same whatever the number of
// workers.
std::string RenderMoviePage(std::string_view address, const TPageInput& input);

// The box of every movie's small picture ($SMALLPICTURE).
constexpr int kSmallPictureBox = 200;

// Which movies of a list a page shows: part `Number` of `Count`, the
// items [First, End), of kListPartMovies each.
struct TListPart {
  int Number = 1;
  int Count = 1;
  std::size_t First = 0;
  std::size_t End = 0;
};
TListPart ListPartOfPage(std::size_t items, int asked);
// The line above and below a list shown in parts: which movies the part
// holds and links to the first, previous, next and last part, their
// addresses "?" + `query` + "part=N" (a table keeps its order in `query`).
// The line above carries ids, so the window's keys can follow its links.
std::string PartLine(const TListPart& part, std::size_t items, bool withIds, const std::string& query);

// A picture a list page named without making it ("image-small-<handle>.jpg"),
// made now, stored and returned; nothing for any other name.
std::shared_ptr<const std::string> MakePagePicture(std::string_view name, const TPageInput& input);

// Makes and stores a movie's two page pictures together with `others` of
// the same movie (a site's cover), all from one decoding; gives the
// others' names. A page made afterwards finds its pictures made.
struct TPictureBox;
std::vector<std::string> AddMoviePagePictures(const TMovie& movie, const std::vector<TPictureBox>& others,
                                              const TPageInput& input);

// The template with the 36 variables of one movie replaced, in their order.
// Lazy pictures load only when the view scrolls near them.
std::string SubstituteMovieVariables(std::string text, const TMovie& movie, const TViewerSettings& settings,
                                     const std::string& largePicture, const std::string& smallPicture,
                                     const TPageLinks* links = nullptr, bool lazyPictures = false);

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
