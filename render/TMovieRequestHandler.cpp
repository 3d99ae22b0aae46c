#include "render/TMovieRequestHandler.h"

#include "config/AsciiText.h"

#include "config/TextEncoding.h"
#include "config/Translation.h"
#include "render/PictureCodecs.h"
#include "render/Resources.h"
#include "render/StatisticsPage.h"
#include "render/TPictureStore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

constexpr std::size_t kMaxServedFileSize = 256u << 20;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// "Config.ini" holds the password, and pages may carry text that other
// people wrote: it is never served, nor the temporary files of its saving.
bool IsSettingsFile(std::string_view fileName) {
  std::string lower = LowerAscii(fileName);
  return lower == "config.ini" || lower.rfind(".config.ini.", 0) == 0;
}

}  // namespace

TMovieRequestHandler::TMovieRequestHandler(std::array<std::string, 11> ratingImages, std::string programFolder,
                                           TPageResolver resolver)
    : m_ratingImages(std::move(ratingImages)),
      m_programFolder(std::move(programFolder)),
      m_resolver(std::move(resolver)) {}

std::string TMovieRequestHandler::DecodeRequestUrl(std::u16string_view url) {
  std::string text = Utf16ToUtf8(url);
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      int high = HexDigitValue(text[i + 1]);
      int low = HexDigitValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    decoded += text[i];
  }
  return Utf8ToCp1252(decoded);
}

std::string TMovieRequestHandler::RequestName(std::string url) {
  std::size_t at;
  while ((at = url.find("movie://localhost/")) != std::string::npos) url.erase(at, 18);
  std::size_t last = url.find_last_of("\\:");
  return last == std::string::npos ? url : url.substr(last + 1);
}

std::optional<std::string> TMovieRequestHandler::ReadProgramFile(const std::string& folder, const std::string& name) {
  namespace fs = std::filesystem;
  if (name.empty() || name.front() == '/' || HasControlCharacter(name)) return std::nullopt;
  for (std::size_t start = 0; start <= name.size();) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string_view part = std::string_view(name).substr(start, end - start);
    if (part == ".." || IsSettingsFile(part)) return std::nullopt;
    start = end + 1;
  }
  std::error_code error;
  fs::path base = fs::canonical(folder, error);
  if (error) return std::nullopt;
  fs::path target = fs::canonical(base / name, error);
  if (error) return std::nullopt;
  // The real location must still lie inside the folder: a link may not lead out.
  std::string baseText = base.string();
  std::string targetText = target.string();
  if (targetText.size() <= baseText.size() || targetText.compare(0, baseText.size(), baseText) != 0 ||
      (baseText.back() != '/' && targetText[baseText.size()] != '/')) {
    return std::nullopt;
  }
  if (!fs::is_regular_file(target, error) || fs::file_size(target, error) > kMaxServedFileSize || error) {
    return std::nullopt;
  }
  // Reached through a link or as another name of the same file: still the
  // settings.
  if (IsSettingsFile(target.filename().string())) return std::nullopt;
  struct stat targetInfo {}, settingsInfo {};
  if (::stat(target.c_str(), &targetInfo) != 0) return std::nullopt;
  if (::stat((base / "Config.ini").c_str(), &settingsInfo) == 0 && targetInfo.st_dev == settingsInfo.st_dev &&
      targetInfo.st_ino == settingsInfo.st_ino) {
    return std::nullopt;
  }
  std::FILE* file = std::fopen(targetText.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

std::string TMovieRequestHandler::FileContentType(std::string_view name) {
  std::string extension = name.find('.') == std::string_view::npos ? "" : LowerAscii(name.substr(name.rfind('.')));
  if (extension == ".css") return "text/css";
  if (extension == ".js") return "text/javascript";
  if (extension == ".html" || extension == ".htm") return "text/html";
  if (extension == ".jpg" || extension == ".jpeg") return "image/jpeg";
  if (extension == ".png") return "image/png";
  if (extension == ".gif") return "image/gif";
  if (extension == ".bmp") return "image/bmp";
  if (extension == ".svg") return "image/svg+xml";
  if (extension == ".ico") return "image/x-icon";
  return "application/octet-stream";
}

std::optional<TMovieResponse> TMovieRequestHandler::Answer(std::u16string_view url, const TPageInput& pages) const {
  if (url.size() > kMaxRequestLength) return std::nullopt;
  // A search's page reads titles in the page's language too.
  const TTranslationScope language(pages.Language);
  std::string name = RequestName(DecodeRequestUrl(url));
  // A NUL would cut the name short further down (style.css%00.jpg); no
  // page, picture or file has a control character in its name.
  if (HasControlCharacter(name)) return std::nullopt;
  auto pictureType = [](const std::string& bytes) {
    std::string type = PictureContentType({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return type.empty() ? std::string("application/octet-stream") : type;
  };
  TMovieResponse response;
  if (StartsWith(name, "movie")) {
    // A long evening's browsing would otherwise keep every picture it saw.
    pages.Store.StartPage(kKeptPictureBytes);
    return AnswerPage(std::move(name), pages);
  }
  if (StartsWith(name, "image")) {
    std::shared_ptr<const std::string> picture = pages.Store.Find(name);
    if (!picture) picture = MakePagePicture(name, pages);
    if (picture) {
      response.Bytes = *picture;
      response.ContentType = pictureType(response.Bytes);
      return response;
    }
  } else if (StartsWith(name, "rating") && name.size() >= 12 && name.compare(8, 4, ".gif") == 0) {
    // Characters 7 and 8 as a number, 0 when they are none; clamped to 0..10.
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : -1; };
    int value = 0;
    if (digit(name[6]) >= 0 && digit(name[7]) >= 0) {
      value = digit(name[6]) * 10 + digit(name[7]);
    } else if ((name[6] == '-' || name[6] == '+') && digit(name[7]) >= 0) {
      value = name[6] == '-' ? -digit(name[7]) : digit(name[7]);
    }
    int index = std::clamp(value, 0, 10);
    response.Bytes = m_ratingImages[static_cast<std::size_t>(index)];
    response.ContentType = "image/gif";
    return response;
  }
  if (std::optional<std::string> bytes = ReadProgramFile(m_programFolder, name)) {
    response.Bytes = std::move(*bytes);
    response.ContentType = FileContentType(name);
    return response;
  }
  return std::nullopt;
}

std::optional<TMovieResponse> TMovieRequestHandler::AnswerPage(std::string name, const TPageInput& pages) const {
  const TTranslationScope language(pages.Language);
  TMovieResponse response;
  std::optional<TResolvedPage> resolved = ResolveStatisticsBar(name, pages);
  if (!resolved && m_resolver) resolved = m_resolver(name, pages);
  TPageInput input = pages;
  if (resolved) {
    name = std::move(resolved->Name);
    response.Found = resolved->Found;
    input.Heading = resolved->Heading;
  }
  response.Bytes = RenderMoviePage(name, input);
  if (pages.Cancelled != nullptr && pages.Cancelled->load()) return std::nullopt;
  response.ContentType = kPageContentType;
  return response;
}

std::array<std::string, 11> LoadRatingImages() {
  std::array<std::string, 11> images;
  char name[16];
  for (int i = 0; i <= 10; ++i) {
    std::snprintf(name, sizeof name, "stars%.2d", i);
    images[static_cast<std::size_t>(i)] = LoadResourceStream(name).value_or("");
  }
  return images;
}
