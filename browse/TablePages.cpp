#include "browse/TablePages.h"

#include "browse/MovieFilter.h"
#include "browse/Search.h"
#include "catalog/TMovieList.h"
#include "render/MovieAddress.h"
#include "render/StatisticsPage.h"
#include "render/TablePage.h"

#include <algorithm>

namespace {

constexpr std::string_view kTablePageName = "movietable";

// The text in hexadecimal after an "x", so that no text gives an empty
// item (which addresses drop).
std::string TableAddress(std::string_view source, std::string_view text) {
  return std::string(kMovieUrlPrefix) + std::string(kTablePageName) + "[" + std::string(source) + ",x" +
         HexText(text) + "].html";
}

// The handles of a list page's movies (a search's or a bar's resolved
// first), in the list's order.
std::string ListHandles(const std::string& pageName, const TPageInput& pages) {
  std::string name = pageName;
  if (std::optional<TResolvedPage> resolved = ResolveStatisticsBar(name, pages)) name = resolved->Name;
  if (std::optional<TResolvedPage> resolved = ResolveFindPage(name, pages)) name = resolved->Name;
  const std::vector<std::string> tokens = TokenizeMovieAddress(name);
  std::string handles;
  if (tokens.size() < 3 || tokens[0] != "movie") return handles;
  for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
    std::optional<std::int64_t> handle = ParseHandle(tokens[i]);
    if (!handle || pages.Movies.FindByHandle(*handle) == nullptr) continue;
    if (!handles.empty()) handles += ',';
    handles += tokens[i];
  }
  return handles;
}

}  // namespace

std::string SideBarTableAddress(std::string_view filterText) { return TableAddress("all", filterText); }

std::string ListTableAddress(std::string_view pageName) { return TableAddress("list", pageName); }

std::string MovieTableAddress(std::string_view shownPageName, std::string_view filterText) {
  const std::vector<std::string> tokens = TokenizeMovieAddress(shownPageName);
  const bool list = (tokens.size() > 3 && tokens[0] == "movie") ||
                    (tokens.size() >= 3 && (tokens[0] == kFindPageName || tokens[0] == kStatisticsBarPageName));
  return list ? ListTableAddress(shownPageName) : SideBarTableAddress(filterText);
}

std::optional<TResolvedPage> ResolveTablePage(std::string_view name, const TPageInput& pages) {
  if (name.substr(0, kTablePageName.size()) != kTablePageName) return std::nullopt;
  const std::vector<std::string> tokens = TokenizeMovieAddress(name);
  TResolvedPage page{"movie[].html"};
  if (tokens.size() != 4 || tokens[0] != kTablePageName) return page;
  const std::optional<std::string> text =
      tokens[2].front() == 'x' ? BytesOfHexText(std::string_view(tokens[2]).substr(1)) : std::nullopt;
  if (!text) return page;
  std::string handles;
  int rows = 0;
  if (tokens[1] == "all") {
    const std::vector<bool> kept = FilterCatalog(pages.Movies, FilterWords(*text), pages.Cancelled);
    for (int i = 0; i < pages.Movies.Count(); ++i) {
      if (!kept[static_cast<std::size_t>(i)]) continue;
      if (!handles.empty()) handles += ',';
      handles += MovieHandleText(pages.Movies.Items(i));
    }
  } else if (tokens[1] == "list") {
    handles = ListHandles(*text, pages);
  } else {
    return page;
  }
  if (!handles.empty()) rows = static_cast<int>(std::count(handles.begin(), handles.end(), ',')) + 1;
  const std::size_t query = tokens[3].find('?');
  page.Name = std::string(kTableRowsPageName) + "[" + handles + "].html" +
              (query == std::string::npos ? std::string() : tokens[3].substr(query));
  page.Found = rows;
  return page;
}

std::optional<TResolvedPage> ResolveBrowsingPage(std::string_view name, const TPageInput& pages) {
  if (std::optional<TResolvedPage> table = ResolveTablePage(name, pages)) return table;
  return ResolveFindPage(name, pages);
}
