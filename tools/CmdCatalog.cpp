#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"
#include "tools/SampleCatalog.h"

#include "catalog/CatalogCsv.h"
#include "catalog/MovieFields.h"
#include "catalog/TMovieList.h"
#include "config/Overloaded.h"
#include "config/TextEncoding.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "render/CollectionStats.h"
#include "render/TPageSession.h"

#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

namespace {

using TJson = nlohmann::ordered_json;

TJson Text(const std::string& text) { return Cp1252ToUtf8(text); }

TJson MovieJson(const TMovie& m) {
  TJson j;
  j["handle"] = std::to_string(m.Handle);
  for (const TMovieField& field : MovieFields()) {
    std::visit(TOverloaded{
                   [](std::monostate) {},
                   [&](std::string TMovie::*text) { j[field.Name] = Text(m.*text); },
                   [&](auto member) { j[field.Name] = m.*member; },
               },
               field.Member);
  }
  j["PictureSize"] = m.Picture ? m.Picture->Size() : 0;
  return j;
}

}  // namespace

int RunDump(const std::vector<std::string>& words) {
  TArgs args(words, {}, {});
  args.ExpectPositional(1, 1);
  TMovieList list;
  list.LoadFromFile(args.Positional()[0]);
  TJson out;
  out["owner"] = Text(list.Properties().OwnerName);
  out["header"] = TJson::array({Text(list.Properties().HeaderText1), Text(list.Properties().HeaderText2),
                                Text(list.Properties().HeaderText3)});
  // A file cut short still gives the movies before the cut.
  out["complete"] = list.LoadedCompletely();
  if (!list.LoadedCompletely()) {
    std::cerr << "elkcat dump: the file ends early; the " << list.Count() << " movies before that are listed\n";
  }
  TJson movies = TJson::array();
  for (int i = 0; i < list.Count(); ++i) movies.push_back(MovieJson(list.Items(i)));
  out["movies"] = std::move(movies);
  std::cout << out.dump(2) << "\n";
  return 0;
}

int RunSample(const std::vector<std::string>& words) {
  TArgs args(words, {"version", "movies", "seed", "pictures", "cover-size"}, {"jpeg-only"});
  args.ExpectPositional(1, 1);
  TSampleOptions options;
  std::optional<std::string> version = args.Value("version");
  if (!version) throw TUsageError("missing --version");
  if (*version == "35") {
    options.Version = TFormatVersion::V35;
  } else if (*version == "33") {
    options.Version = TFormatVersion::V33;
  } else if (*version == "31") {
    options.Version = TFormatVersion::V31;
  } else {
    throw TUsageError("--version must be 35, 33 or 31");
  }
  if (!args.Value("movies")) throw TUsageError("missing --movies");
  options.Movies = static_cast<int>(args.Integer("movies", 0, 0, 10000000));
  options.Seed = static_cast<std::uint32_t>(args.Integer("seed", 1, 0, 4294967295L));
  std::string pictures = args.Value("pictures").value_or("mixed");
  if (pictures == "embedded") {
    options.Pictures = TSamplePictures::Embedded;
  } else if (pictures == "linked") {
    options.Pictures = TSamplePictures::Linked;
  } else if (pictures == "none") {
    options.Pictures = TSamplePictures::None;
  } else if (pictures == "mixed") {
    options.Pictures = TSamplePictures::Mixed;
  } else {
    throw TUsageError("--pictures must be embedded, linked, none or mixed");
  }
  if (std::optional<std::string> size = args.Value("cover-size")) {
    int width = 0, height = 0;
    char x = 0, extra = 0;
    if (std::sscanf(size->c_str(), "%d%c%d%c", &width, &x, &height, &extra) != 3 || x != 'x' || width < 1 ||
        height < 1 || width > 8000 || height > 8000) {
      throw TUsageError("--cover-size must be WIDTHxHEIGHT, each from 1 to 8000");
    }
    options.CoverWidth = width;
    options.CoverHeight = height;
  }
  options.JpegOnly = args.Flag("jpeg-only");
  WriteSampleCatalog(args.Positional()[0], options);
  return 0;
}

int RunStats(const std::vector<std::string>& words) {
  TArgs args(words, {"dir"}, {});
  args.ExpectPositional(1, 1);
  auto session = TPageSession::ForCatalog(args.Value("dir").value_or(ProgramFolder()), args.Positional()[0]);
  const TCollectionStats stats = CollectStatistics(session->Catalog(), session->Settings().VideoPathField);
  TJson out;
  out["movies"] = stats.Movies;
  out["withLength"] = stats.WithLength;
  out["totalMinutes"] = stats.TotalMinutes;
  out["averageMinutes"] = stats.AverageMinutes;
  out["withCover"] = stats.WithCover;
  out["withVideo"] = stats.WithVideo;
  TJson charts;
  for (const TStatChart& chart : stats.Charts) {
    TJson bars = TJson::array();
    for (const TStatBar& bar : chart.Bars) bars.push_back({{"label", Text(bar.Label)}, {"count", bar.Count}});
    charts[chart.Key] = std::move(bars);
  }
  out["charts"] = std::move(charts);
  std::cout << out.dump(2) << "\n";
  return 0;
}

int RunExport(const std::vector<std::string>& words) {
  TArgs args(words, {"format", "fields", "out"}, {"bom"});
  args.ExpectPositional(1, 1);
  const std::string format = args.Value("format").value_or("");
  if (format != "csv" && format != "json") throw TUsageError("--format must be csv or json");
  if (args.Flag("bom") && format != "csv") throw TUsageError("--bom is for CSV only");
  std::vector<const TMovieField*> fields;
  try {
    fields = ChooseRecordFields(args.Value("fields").value_or(""));
  } catch (const TViewerError& error) {
    throw TUsageError(error.what());
  }
  TMovieList list;
  list.LoadFromFile(args.Positional()[0]);
  std::ofstream file;
  const std::optional<std::string> outPath = args.Value("out");
  if (outPath) {
    file.open(*outPath, std::ios::binary | std::ios::trunc);
    if (!file) {
      std::cerr << "Unable to write to " << *outPath << "\n";
      return 1;
    }
  }
  std::ostream& out = outPath ? static_cast<std::ostream&>(file) : std::cout;
  if (format == "csv") {
    WriteCatalogCsv(list, fields, args.Flag("bom"), out);
  } else {
    // The records of dump, with only the fields asked for when some are.
    TJson movies = TJson::array();
    for (int i = 0; i < list.Count(); ++i) {
      TJson movie = MovieJson(list.Items(i));
      if (args.Value("fields")) {
        TJson chosen;
        for (const TMovieField* field : fields) chosen[field->Name] = movie[field->Name];
        movie = std::move(chosen);
      }
      movies.push_back(std::move(movie));
    }
    out << movies.dump(2) << "\n";
  }
  out.flush();
  if (!out) {
    std::cerr << "Unable to write to " << outPath.value_or("standard output") << "\n";
    return 1;
  }
  return 0;
}
