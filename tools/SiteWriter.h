#pragma once

#include <functional>
#include <optional>
#include <string>

// Writes a catalog as a static web site: plain files with relative links
// that work opened from disk or from any web server. The pages are the
// viewer's own (the user's templates, user variables, page frame and colour
// scheme of a program folder), written as UTF-8:
//
//   index.html                the side bar's sections and items as links (or, with
//                             covers, movies as a grid of their covers), and a link
//                             to the statistics
//   statistics.html           the collection's figures and charts
//   movie-N.html              one page per movie, N its place in the file (1, 2, ...)
//   name-S-I.html             in people mode, the page of item I of section S
//   pictures/                 the pages' pictures and the rating images
//   any other file of the program folder that a page names (never Config.ini)
//
// Besides UTF-8 and relative links, a page differs from the viewer's only by
// a meta tag, a style rule that keeps the text sans-serif where Verdana is
// missing and a <title> (the movie's title; the collection's name on the
// index) after <html>, and a link back to the index first in the body. The same catalog and settings always give the
// same bytes.
struct TSiteOptions {
  std::string CatalogPath;
  std::string OutFolder;
  std::string ProgramFolder;
  // Grouping and order; the settings' own when not given.
  std::optional<int> Group;
  std::optional<int> Order;
  // The index shows movies by their covers.
  bool Covers = false;
  // Threads that make pages; 0 means one per processor.
  int Workers = 0;
  // Called now and then with the pages written and the pages to write.
  std::function<void(int written, int total)> OnProgress;
};

struct TSiteResult {
  int MoviePages = 0;
  int NamePages = 0;
  int Pictures = 0;
  int CopiedFiles = 0;
};

// Throws TViewerError when the catalog cannot be read or a file cannot be
// written ("Unable to write to <path>").
TSiteResult WriteSite(const TSiteOptions& options);
