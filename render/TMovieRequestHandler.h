#pragma once

#include "render/MoviePages.h"
#include "render/TMovieNameSpace.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Answers "movie" URLs: pages from the renderer, pictures from the store,
// the rating images, and files of the program's folder. It holds no state
// of its own; everything it serves comes from the page input it was given.
class TMovieRequestHandler {
 public:
  TMovieRequestHandler(TPageInput& pages, std::array<std::string, 11> ratingImages, std::string programFolder);

  // The request callback: decodes the URL, reduces it to a name and fills
  // the response for the first source that answers it.
  void HandleMovieRequest(TMovieNameSpace& sender, std::u16string_view url, TMovieResponse& response,
                          bool& handled);

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
  TPageInput& m_pages;
  std::array<std::string, 11> m_ratingImages;
  std::string m_programFolder;
};

constexpr const char* kPageContentType = "text/html; charset=windows-1252";

// The longest request URL answered (in UTF-16 code units); longer ones are
// not found.
constexpr std::size_t kMaxRequestLength = 1u << 20;

// The eleven rating images from the program's resources, "stars00".."stars10".
std::array<std::string, 11> LoadRatingImages();
