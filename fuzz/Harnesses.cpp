#include "fuzz/Harnesses.h"

#include "browse/Grouping.h"
#include "browse/Search.h"
#include "browse/TablePages.h"
#include "layout/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/TCatalogReader.h"
#include "config/ColorScheme.h"
#include "config/PageFrame.h"
#include "config/TIniFile.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MoviePages.h"
#include "render/MoviePictures.h"
#include "render/PictureCodecs.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPictureStore.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A promise of the harness did not hold: end here so the input is kept.
[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

std::span<const std::uint8_t> Span(const std::uint8_t* data, std::size_t size) { return {data, size}; }

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

constexpr const char* kOutsideMarker = "OUTSIDE-SECRET-7d1c";
constexpr const char* kSettingsMarker = "SETTINGS-SECRET-93ab";

// A small catalog with a few movies, kept for the whole run.
TMovieList& SmallCatalog() {
  static TMovieList list;
  static const bool filled = [] {
    const char* titles[] = {"Alien", "The *Star* Wars?", "Caf\xE9 M\xFCller", "", "star wars", "a,b,c"};
    for (int i = 0; i < 6; ++i) {
      auto movie = std::make_unique<TMovie>();
      movie->Number = i + 1;
      movie->OriginalTitle = titles[i];
      movie->TranslatedTitle = i % 2 == 0 ? "" : "Translated";
      movie->Actors = "Anna Berg (voice), Ben Quinn";
      movie->Description = "line one\r\nline two";
      movie->Category = "Drama, Comedy";
      movie->Year = 1990 + i;
      movie->Rating = i * 17;
      list.Append(std::move(movie));
    }
    return true;
  }();
  (void)filled;
  return list;
}

// The program folder of the request harness: files it may serve, the
// settings it must not, and links leading out of it.
struct TRequestWorld {
  fs::path Root;
  fs::path Program;
  TViewerSettings Settings;
  TPageFrame Frame{"<html><body>", "</body></html>"};
  TPictureContext Pictures;
  TPictureStore Store;
  std::unique_ptr<TPageInput> Input;
  std::unique_ptr<TMovieRequestHandler> Handler;

  TRequestWorld() {
    Root = fs::temp_directory_path() / ("elk-fuzz-request-" + std::to_string(::getpid()));
    fs::remove_all(Root);
    Program = Root / "program";
    fs::path outside = Root / "outside";
    WriteFile(outside / "secret.txt", kOutsideMarker);
    WriteFile(Program / "style.css", "p { color: red }");
    WriteFile(Program / "pics" / "logo.gif", "GIF89a");
    WriteFile(Program / "Config.ini", std::string("[Config]\r\nPath=") + kSettingsMarker + "\r\n");
    WriteFile(Program / ".Config.ini.Ab12Cd", kSettingsMarker);
    WriteFile(Program / "sub" / "config.INI", kSettingsMarker);
    fs::create_symlink(outside / "secret.txt", Program / "link.txt");
    fs::create_symlink(outside, Program / "out");
    fs::create_symlink(Program / "Config.ini", Program / "settings.css");
    fs::create_hard_link(Program / "Config.ini", Program / "hard.css");
    Settings.Template = {"<p>$TITLE $SEARCH</p>"};
    Settings.ListTemplate = {"<li>$TITLE</li>"};
    Pictures.BlankImage = "BLANK";
    Store.Add("image-large-1.jpg", "\xFF\xD8\xFF picture");
    Input = std::make_unique<TPageInput>(TPageInput{SmallCatalog(), Settings, Frame, Pictures, Store, 1});
    std::array<std::string, 11> ratings;
    for (std::size_t i = 0; i < ratings.size(); ++i) ratings[i] = "RATING" + std::to_string(i);
    Handler = std::make_unique<TMovieRequestHandler>(ratings, Program.string(), ResolveBrowsingPage);
  }
  ~TRequestWorld() {
    std::error_code error;
    fs::remove_all(Root, error);
  }
};

}  // namespace

void FuzzCatalog(const std::uint8_t* data, std::size_t size) {
  TMemorySource source(Span(data, size));
  TMovieList list;
  try {
    ReadCatalog(source, list);
  } catch (const std::exception&) {
    return;
  }
  for (int i = 0; i < list.Count(); ++i) {
    const TMovie& movie = list.Items(i);
    if (list.FindByHandle(movie.Handle) != &movie) Broken("a loaded movie is not found by its handle");
    GetMovieTitle(movie, 1);
    FormatMovieDate(movie.Date, "dd mmmm yyyy");
    FormatRating(movie.Rating);
  }
  TSideBarModel bar;
  const int group = size > 0 ? data[0] % kFieldCodeCount : 0;
  const int order = size > 1 ? data[1] % kFieldCodeCount : kDefaultOrderCode;
  BuildSideBar(list, bar, 0, group, size > 2 && (data[2] & 1) != 0, order, size > 2 && (data[2] & 2) != 0);
  if (list.Count() > 0) {
    TViewerSettings settings;
    settings.Template = DefaultMovieTemplate();
    settings.ListTemplate = DefaultListTemplate();
    TPageFrame frame{"", ""};
    TPictureContext pictures{"/nonexistent/", "BLANK", {}};
    TPictureStore store;
    TPageInput input{list, settings, frame, pictures, store, 1};
    RenderMoviePage("movie[" + std::to_string(list.Items(0).Handle) + "].html", input);
  }
}

void FuzzPicture(const std::uint8_t* data, std::size_t size) {
  static const char* const extensions[] = {".jpg", ".png", ".gif", ".bmp", ".JPG", ".jpeg", ""};
  if (size < 3) return;
  const char* extension = extensions[data[0] % std::size(extensions)];
  const int box = 1 + data[1] * 4, boxHeight = 1 + data[2] * 4;
  std::span<const std::uint8_t> bytes = Span(data + 3, size - 3);
  std::optional<TBitmap> picture = DecodePicture(bytes, extension, box, boxHeight);
  PictureContentType(bytes);
  if (!picture) return;
  if (picture->Width > box || picture->Height > boxHeight) Broken("a picture was enlarged or left larger than its box");
  if (picture->Pixels.size() != static_cast<std::size_t>(picture->Width) * picture->Height * 4) Broken("pixel count");
  EncodeJpeg(ScaleBitmap(*picture, std::max(1, picture->Width / 2), std::max(1, picture->Height / 2)));
}

void FuzzIni(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TIniFile file = TIniFile::FromText("fuzz.ini", text);
  if (file.Text() != text) Broken("an ini file read and written back unchanged differs");
  TViewerSettings settings;
  LoadSettings(settings, file, 1024, 768);
  LoadLanguage(file);
  Translate("Movies");
  Translate("Sorry, your search for <b>\"$SEARCH\"</b> did not return any results.");
  GlobalTranslationTable().Clear();
  std::vector<std::string> sections = file.ReadSections();
  const std::string scheme = sections.empty() ? "Default" : sections.front();
  BuildPageFrame(file, scheme);
  ParseSchemeColor(file, scheme, "GalleryColor", "#808080");
  // Writing every setting back must give a file that reads the same.
  TIniFile copy = TIniFile::FromText("copy.ini", text);
  copy.WriteString("Config", "Width", std::to_string(settings.Width));
  TIniFile again = TIniFile::FromText("again.ini", copy.Text());
  if (again.ReadInteger("Config", "Width", -12345) != settings.Width) Broken("a written value reads back differently");
}

void FuzzRequest(const std::uint8_t* data, std::size_t size) {
  static TRequestWorld world;
  std::u16string url;
  for (std::size_t i = 0; i < size; ++i) url.push_back(static_cast<char16_t>(data[i]));
  std::optional<TMovieResponse> answer = world.Handler->Answer(url, *world.Input);
  if (!answer) return;
  const TMovieResponse& response = *answer;
  // A page may repeat the address's own text (a search that found
  // nothing); only a marker the address did not bring was read from a file.
  const std::string asked = TMovieRequestHandler::RequestName(TMovieRequestHandler::DecodeRequestUrl(url));
  auto leaked = [&](const char* marker) {
    return response.Bytes.find(marker) != std::string::npos && asked.find(marker) == std::string::npos;
  };
  if (leaked(kOutsideMarker)) Broken("a file outside the program folder was served");
  if (leaked(kSettingsMarker)) Broken("the settings were served");
}

void FuzzSearch(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\0');
  const std::string_view value = rest.substr(0, split);
  const std::string_view pattern = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);
  const bool match = MatchWildcard(value, pattern);
  // A pattern matches itself when it holds no wildcard.
  if (pattern.find_first_of("*?") == std::string_view::npos && !MatchWildcard(pattern, pattern)) {
    Broken("a plain pattern does not match itself");
  }
  if (pattern == "*" && !match) Broken("\"*\" does not match everything");
  SearchPattern(pattern);
  if (std::optional<std::string> address = SearchMovies(pattern, data[0] % 9, SmallCatalog(), data[0] & 1)) {
    if (address->rfind("movie://localhost/movie", 0) != 0) Broken("a search left the movie pages");
  }
}

THarness HarnessByName(const std::string& name) {
  if (name == "catalog") return FuzzCatalog;
  if (name == "picture") return FuzzPicture;
  if (name == "ini") return FuzzIni;
  if (name == "request") return FuzzRequest;
  if (name == "search") return FuzzSearch;
  return nullptr;
}
