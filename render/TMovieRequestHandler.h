#pragma once

#include "render/MoviePages.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The answer to one "movie" request, whole: the bytes and their type.
struct TMovieResponse {
  std::string Bytes;
  std::string ContentType;
  // A search's page (or a table's, a statistics bar's): how many movies it
  // lists, for the status line.
  std::optional<int> Found = {};
};

// Answers "movie" URLs: pages from the renderer, pictures from the store
// (those a list only named are made when asked for), the rating images,
// and files of the program's folder. Everything it serves comes from the
// page input of the request; its own state is fixed when it is made, so
// workers may ask it at the same time.
class TMovieRequestHandler {
 public:
  TMovieRequestHandler(std::array<std::string, 11> ratingImages, std::string programFolder,
                       TPageResolver resolver = nullptr);

  // Decodes the URL, reduces it to a name and answers it from the first
  // source that can; nothing when none can, or when the input's cancel
  // flag was set while the page was made.
  std::optional<TMovieResponse> Answer(std::u16string_view url, const TPageInput& pages) const;
  // The page of a name ("movie[12].html", a search's or a statistics
  // bar's), as Answer makes it; nothing when cancelled.
  std::optional<TMovieResponse> AnswerPage(std::string name, const TPageInput& pages) const;

  // The URL as single-byte text: UTF-16 to Windows-1252, with percent
  // escapes decoded (a decoded UTF-8 sequence becomes its Windows-1252
  // character; anything that does not decode stays as it is).
  static std::string DecodeRequestUrl(std::u16string_view url);
  // Every "movie://localhost/" removed, then the part after the last "\" or ":".
  static std::string RequestName(std::string url);

  // A file of the program's folder named by a request, or nothing: names
  // that climb out of the folder ("..", absolute paths, links leading
  // outside), names with control characters, and "Config.ini" however it
  // is reached are never served.
  static std::optional<std::string> ReadProgramFile(const std::string& folder, const std::string& name);
  static std::string FileContentType(std::string_view name);

 private:
  std::array<std::string, 11> m_ratingImages;
  std::string m_programFolder;
  TPageResolver m_resolver;
};

constexpr const char* kPageContentType = "text/html; charset=windows-1252";

// The longest request URL answered (in UTF-16 code units); longer ones are
// not found.
constexpr std::size_t kMaxRequestLength = 1u << 20;

// The eleven rating images from the program's resources, "stars00".."stars10".
std::array<std::string, 11> LoadRatingImages();
