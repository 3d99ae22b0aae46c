#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TextEncoding.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MoviePictures.h"
#include "render/PathCheck.h"
#include "tools/SiteWriter.h"
#include "render/Resources.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPictureStore.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

namespace {

constexpr int kNominalScreenWidth = 1024;
constexpr int kNominalScreenHeight = 768;

// What the viewer holds to answer "movie" URLs for one open catalog, set up
// from the settings, scheme and language of a program folder.
struct TPageServer {
  TMovieList Movies;
  TViewerSettings Settings;
  TPageFrame Frame;
  TPictureContext Pictures;
  TPictureStore Store;
  TPageInput Input{Movies, Settings, Frame, Pictures, Store};
  std::string Folder;

  TPageServer(const std::string& folder, const std::string& catalog) : Folder(folder) {
    LoadSettings(Settings, folder, kNominalScreenWidth, kNominalScreenHeight);
    Frame = BuildPageFrame(folder, Settings.ColorScheme);
    LoadLanguage((std::filesystem::path(folder) / (Settings.Language + ".lng")).string());
    Pictures.BlankImage = LoadResourceStream("blank").value_or("");
    Movies.LoadFromFile(catalog);
    Pictures.CatalogFolder = std::filesystem::absolute(catalog).parent_path().string() + "/";
    Pictures.PathMap = Settings.PathMap;
  }
};

}  // namespace

int RunPage(const std::vector<std::string>& words) {
  TArgs args(words, {"dir"}, {});
  args.ExpectPositional(2, 2);
  try {
    TPageServer server(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0]);
    std::string address = args.Positional()[1];
    if (address.rfind("movie://", 0) == 0) address = TMovieRequestHandler::RequestName(address);
    std::cout << RenderMoviePage(address, server.Input);
  } catch (const TViewerError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}

int RunPaths(const std::vector<std::string>& words) {
  TArgs args(words, {"dir"}, {});
  args.ExpectPositional(1, 1);
  try {
    TPageServer server(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0]);
    TPathCounts counts = CountResolvedPaths(server.Movies, server.Pictures.CatalogFolder, server.Settings.VideoPathField,
                                            server.Settings.PathMap);
    nlohmann::ordered_json json;
    json["rules"] = server.Settings.PathMap.size();
    json["linkedPictures"] = counts.LinkedPictures;
    json["picturesFound"] = counts.PicturesFound;
    json["picturesFoundWithRules"] = counts.PicturesFoundMapped;
    json["videoField"] = Cp1252ToUtf8(server.Settings.VideoPathField);
    json["videoPaths"] = counts.VideoPaths;
    json["videosFound"] = counts.VideosFound;
    json["videosFoundWithRules"] = counts.VideosFoundMapped;
    json["videoAddresses"] = counts.VideoAddresses;
    std::cout << json.dump(2) << "\n";
  } catch (const TViewerError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}

int RunSite(const std::vector<std::string>& words) {
  TArgs args(words, {"dir", "group", "order"}, {});
  args.ExpectPositional(2, 2);
  TSiteOptions options;
  options.CatalogPath = args.Positional()[0];
  options.OutFolder = args.Positional()[1];
  options.ProgramFolder = args.Value("dir").value_or(ProgramFolder());
  if (args.Value("group")) options.Group = static_cast<int>(args.Integer("group", 0, 0, 25));
  if (args.Value("order")) options.Order = static_cast<int>(args.Integer("order", 11, 1, 25));
  options.OnProgress = [](int written, int total) {
    // Only big sites take long enough to be worth a word.
    if (total >= 500) std::cerr << "elkcat site: " << written << " of " << total << " pages\n";
  };
  try {
    TSiteResult result = WriteSite(options);
    std::cout << "wrote " << result.MoviePages << " movie pages, " << result.NamePages << " name pages, "
              << result.Pictures << " pictures and " << result.CopiedFiles << " other files to "
              << options.OutFolder << "\n";
  } catch (const TViewerError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}

int RunGet(const std::vector<std::string>& words) {
  TArgs args(words, {"dir", "out"}, {});
  args.ExpectPositional(2, 1000000);
  std::optional<std::string> out = args.Value("out");
  if (!out) throw TUsageError("missing --out");
  std::error_code error;
  std::filesystem::create_directories(*out, error);
  try {
    TPageServer server(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0]);
    TMovieRequestHandler handler(server.Input, LoadRatingImages(), server.Folder);
    RegisterMovieNameSpace([&](TMovieNameSpace& sender, std::u16string_view url, TMovieResponse& response,
                               bool& handled) { handler.HandleMovieRequest(sender, url, response, handled); });
    for (std::size_t i = 1; i < args.Positional().size(); ++i) {
      const std::string& url = args.Positional()[i];
      TMovieNameSpace request;
      if (request.Start(Utf8ToUtf16(url), nullptr) != MovieStatus::kOk) {
        std::cout << "not-found " << url << "\n";
        continue;
      }
      std::string bytes(request.TotalSize(), '\0');
      std::uint32_t read = 0;
      request.Read(bytes.data(), request.TotalSize(), read);
      std::ofstream file(std::filesystem::path(*out) / std::to_string(i), std::ios::binary);
      file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      std::cout << "ok " << bytes.size() << " " << request.ContentType() << " " << url << "\n";
      request.Terminate();
    }
    UnregisterMovieNameSpace();
  } catch (const TViewerError& error) {
    UnregisterMovieNameSpace();
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
