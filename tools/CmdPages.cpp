#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "browse/Search.h"
#include "browse/TablePages.h"
#include "config/TextEncoding.h"
#include "config/TViewerSettings.h"
#include "render/PathCheck.h"
#include "render/TMovieRequestHandler.h"
#include "render/TPageSession.h"
#include "tools/SiteWriter.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

int RunPage(const std::vector<std::string>& words) {
  TArgs args(words, {"dir"}, {});
  args.ExpectPositional(2, 2);
  auto session = TPageSession::ForCatalog(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0],
                                          ResolveBrowsingPage);
  std::string address = args.Positional()[1];
  if (address.rfind("movie://", 0) == 0) address = TMovieRequestHandler::RequestName(address);
  std::cout << session->RenderPage(address);
  return 0;
}

int RunPaths(const std::vector<std::string>& words) {
  TArgs args(words, {"dir"}, {});
  args.ExpectPositional(1, 1);
  auto session = TPageSession::ForCatalog(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0]);
  const TViewerSettings& settings = session->Settings();
  TPathCounts counts = CountResolvedPaths(session->Catalog(), session->Pictures().CatalogFolder,
                                          settings.VideoPathField, settings.PathMap);
  nlohmann::ordered_json json;
  json["rules"] = settings.PathMap.size();
  json["linkedPictures"] = counts.LinkedPictures;
  json["picturesFound"] = counts.PicturesFound;
  json["picturesFoundWithRules"] = counts.PicturesFoundMapped;
  json["videoField"] = Cp1252ToUtf8(settings.VideoPathField);
  json["videoPaths"] = counts.VideoPaths;
  json["videosFound"] = counts.VideosFound;
  json["videosFoundWithRules"] = counts.VideosFoundMapped;
  json["videoAddresses"] = counts.VideoAddresses;
  std::cout << json.dump(2) << "\n";
  return 0;
}

int RunSite(const std::vector<std::string>& words) {
  TArgs args(words, {"dir", "group", "order"}, {"covers"});
  args.ExpectPositional(2, 2);
  TSiteOptions options;
  options.Covers = args.Flag("covers");
  options.CatalogPath = args.Positional()[0];
  options.OutFolder = args.Positional()[1];
  options.ProgramFolder = args.Value("dir").value_or(ProgramFolder());
  if (args.Value("group")) options.Group = static_cast<int>(args.Integer("group", 0, 0, 25));
  if (args.Value("order")) options.Order = static_cast<int>(args.Integer("order", 11, 1, 25));
  options.OnProgress = [](int written, int total) {
    // Only big sites take long enough to be worth a word.
    if (total >= 500) std::cerr << "elkcat site: " << written << " of " << total << " pages\n";
  };
  TSiteResult result = WriteSite(options);
  std::cout << "wrote " << result.MoviePages << " movie pages, " << result.NamePages << " name pages, "
            << result.Pictures << " pictures and " << result.CopiedFiles << " other files to "
            << options.OutFolder << "\n";
  return 0;
}

int RunGet(const std::vector<std::string>& words) {
  TArgs args(words, {"dir", "out"}, {});
  args.ExpectPositional(2, 1000000);
  std::optional<std::string> out = args.Value("out");
  if (!out) throw TUsageError("missing --out");
  std::error_code error;
  std::filesystem::create_directories(*out, error);
  auto session = TPageSession::ForCatalog(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0],
                                          ResolveBrowsingPage);
  for (std::size_t i = 1; i < args.Positional().size(); ++i) {
    const std::string& url = args.Positional()[i];
    const std::optional<TMovieResponse> answer = session->Answer(Utf8ToUtf16(url));
    if (!answer) {
      std::cout << "not-found " << url << "\n";
      continue;
    }
    std::ofstream file(std::filesystem::path(*out) / std::to_string(i), std::ios::binary);
    file.write(answer->Bytes.data(), static_cast<std::streamsize>(answer->Bytes.size()));
    std::cout << "ok " << answer->Bytes.size() << " " << answer->ContentType << " " << url << "\n";
  }
  return 0;
}
