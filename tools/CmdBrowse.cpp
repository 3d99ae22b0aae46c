#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "browse/Grouping.h"
#include "browse/Search.h"
#include "browse/TSideBarModel.h"
#include "catalog/TMovieList.h"
#include "config/TextEncoding.h"
#include "config/TViewerError.h"

#include <iostream>

namespace {

// Arguments are UTF-8 like the terminal; texts of the program are
// Windows-1252, so they are converted on the way in and out.
int LoadCatalog(const std::string& path, TMovieList& movies) {
  try {
    movies.LoadFromFile(path);
  } catch (const TViewerError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int RunSideBar(const std::vector<std::string>& words) {
  TArgs args(words, {"group", "order", "title-type"}, {"group-desc", "order-desc"});
  args.ExpectPositional(1, 1);
  int group = static_cast<int>(args.Integer("group", 0, 0, 255));
  int order = static_cast<int>(args.Integer("order", kDefaultOrderCode, 0, 255));
  int titleType = static_cast<int>(args.Integer("title-type", 0, -2147483647L - 1, 2147483647L));
  TMovieList movies;
  if (int status = LoadCatalog(args.Positional()[0], movies)) return status;
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
  if (int status = LoadCatalog(args.Positional()[0], movies)) return status;
  std::optional<std::string> address = SearchMovies(Utf8ToCp1252(args.Positional()[1]), field, movies, titleType);
  if (address) std::cout << Cp1252ToUtf8(*address) << "\n";
  return 0;
}
