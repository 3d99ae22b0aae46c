#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "browse/Grouping.h"
#include "browse/MovieFilter.h"
#include "browse/Search.h"
#include "layout/TSideBarModel.h"
#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/TextEncoding.h"

#include <iostream>
#include <nlohmann/json.hpp>

// Arguments are UTF-8 like the terminal; texts of the program are
// Windows-1252, so they are converted on the way in and out. An error
// loading the catalog is said by the dispatcher.

int RunSideBar(const std::vector<std::string>& words) {
  TArgs args(words, {"group", "order", "title-type"}, {"group-desc", "order-desc"});
  args.ExpectPositional(1, 1);
  int group = static_cast<int>(args.Integer("group", 0, 0, 255));
  int order = static_cast<int>(args.Integer("order", kDefaultOrderCode, 0, 255));
  int titleType = static_cast<int>(args.Integer("title-type", 0, -2147483647L - 1, 2147483647L));
  TMovieList movies;
  movies.LoadFromFile(args.Positional()[0]);
  TSideBarModel sideBar;
  std::string caption =
      BuildSideBar(movies, sideBar, titleType, group, args.Flag("group-desc"), order, args.Flag("order-desc"));
  std::string out = Cp1252ToUtf8(caption) + "\n";
  for (int s = 0; s < sideBar.Items().Count(); ++s) {
    const TSideBarItem& section = sideBar.Items()[s];
    out += "## " + Cp1252ToUtf8(section.Caption()) + "\n";
    for (int i = 0; i < section.Items().Count(); ++i) {
      out += "  " + Cp1252ToUtf8(section.Items().Strings(i)) + "\t" + SideBarItemHandles(sideBar, s, i) + "\n";
    }
  }
  std::cout << out;
  return 0;
}

int RunSearch(const std::vector<std::string>& words) {
  TArgs args(words, {"field", "title-type"}, {});
  args.ExpectPositional(2, 2);
  int field = static_cast<int>(args.Integer("field", 0, -2147483647L - 1, 2147483647L));
  int titleType = static_cast<int>(args.Integer("title-type", 0, -2147483647L - 1, 2147483647L));
  TMovieList movies;
  movies.LoadFromFile(args.Positional()[0]);
  std::optional<std::string> address = SearchMovies(Utf8ToCp1252(args.Positional()[1]), field, movies, titleType);
  if (address) std::cout << Cp1252ToUtf8(*address) << "\n";
  return 0;
}

int RunFilter(const std::vector<std::string>& words) {
  TArgs args(words, {}, {"json"});
  args.ExpectPositional(2, 1000000);
  TMovieList movies;
  movies.LoadFromFile(args.Positional()[0]);
  std::string typed;
  for (std::size_t i = 1; i < args.Positional().size(); ++i) typed += Utf8ToCp1252(args.Positional()[i]) + " ";
  const std::vector<bool> kept = FilterCatalog(movies, FilterWords(typed));
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  std::string out;
  for (int i = 0; i < movies.Count(); ++i) {
    if (!kept[static_cast<std::size_t>(i)]) continue;
    const TMovie& movie = movies.Items(i);
    const std::string title = Cp1252ToUtf8(GetMovieTitle(movie, 0));
    if (args.Flag("json")) {
      list.push_back({{"handle", movie.Handle}, {"title", title}});
    } else {
      out += std::to_string(movie.Handle) + "\t" + title + "\n";
    }
  }
  if (args.Flag("json")) out = list.dump(2) + "\n";
  std::cout << out;
  return 0;
}
