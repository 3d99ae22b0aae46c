#include "render/TablePage.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TLocale.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"
#include "render/MoviePictures.h"
#include "render/StatisticsPage.h"
#include "render/TPictureStore.h"

#include <algorithm>

namespace {

struct TColumn {
  TTableColumn Column;
  const char* Key;  // in the address
  const char* Caption;
  bool Number;
};
constexpr TColumn kColumns[] = {
    {TTableColumn::Title, "title", "Title", false},        {TTableColumn::Year, "year", "Year", true},
    {TTableColumn::Director, "director", "Director", false}, {TTableColumn::Length, "length", "Length", true},
    {TTableColumn::Rating, "rating", "Rating", true},      {TTableColumn::Category, "category", "Category", false},
    {TTableColumn::Country, "country", "Country", false}};

const TColumn& ColumnOf(TTableColumn column) {
  return *std::find_if(std::begin(kColumns), std::end(kColumns), [&](const TColumn& c) { return c.Column == column; });
}

std::int64_t NumberOf(const TMovie& movie, TTableColumn column) {
  switch (column) {
    case TTableColumn::Year: return movie.Year;
    case TTableColumn::Length: return movie.Length;
    default: return movie.Rating;
  }
}

// The text a column orders by: a movie without a title has none (its page
// says "< no title >").
std::string TextOf(const TMovie& movie, TTableColumn column, int titleType) {
  switch (column) {
    case TTableColumn::Title: return std::string(StoredMovieTitle(movie, titleType));
    case TTableColumn::Director: return movie.Director;
    case TTableColumn::Category: return movie.Category;
    default: return movie.Country;
  }
}

std::string CellOf(const TMovie& movie, const TColumn& column, int titleType) {
  if (column.Column == TTableColumn::Rating) return FormatRating(movie.Rating);
  if (column.Number) return FormatOptionalNumber(static_cast<std::int32_t>(NumberOf(movie, column.Column)));
  if (column.Column == TTableColumn::Title) return EscapeMarkup(GetMovieTitle(movie, titleType));
  return EscapeMarkup(TextOf(movie, column.Column, titleType));
}

// The address's query for an order, ready for "part=N" to follow.
std::string QueryOf(TTableOrder order) {
  return std::string("sort=") + ColumnOf(order.Column).Key + (order.Descending ? "&order=desc&" : "&");
}

constexpr const char* kStyle =
    "<style>\n"
    ".elk-table{border-collapse:collapse;width:100%}\n"
    ".elk-table th{text-align:left;white-space:nowrap;font-family:Verdana;font-size:9pt}\n"
    ".elk-table td,.elk-table th{padding:3px 8px;vertical-align:top;border-bottom:1px solid rgba(128,128,128,.35)}\n"
    ".elk-table img{height:60px}\n"
    ".elk-table th a{text-decoration:none}\n"
    "@media print{.elk-table tr{break-inside:avoid;page-break-inside:avoid}}\n"
    "</style>\n";

std::string HeadRow(TTableOrder order, bool sortable) {
  std::string row = "<tr><th></th>";
  for (const TColumn& column : kColumns) {
    std::string caption = EscapeMarkup(Translate(column.Caption));
    if (sortable) {
      const bool current = column.Column == order.Column;
      // The column shown again is ordered the other way.
      const TTableOrder next{column.Column, current && !order.Descending};
      const std::string query = QueryOf(next);
      caption = "<a href=\"?" + query.substr(0, query.size() - 1) + "\">" + caption +
                (current ? (order.Descending ? " &#9660;" : " &#9650;") : "") + "</a>";
    }
    row += "<th>" + caption + "</th>";
  }
  return row + "</tr>\r\n";
}

}  // namespace

TTableOrder TableOrderOf(std::string_view lastToken) {
  TTableOrder order;
  const std::size_t query = lastToken.find('?');
  if (query == std::string_view::npos) return order;
  std::string_view rest = lastToken.substr(query + 1);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('&'), rest.size());
    const std::string_view field = rest.substr(0, end);
    if (field == "order=desc") order.Descending = true;
    for (const TColumn& column : kColumns) {
      if (field == std::string("sort=") + column.Key) order.Column = column.Column;
    }
    rest = rest.substr(std::min(end + 1, rest.size()));
  }
  return order;
}

std::vector<const TMovie*> SortTableRows(std::vector<const TMovie*> movies, TTableOrder order, int titleType) {
  const TColumn& column = ColumnOf(order.Column);
  struct TRow {
    const TMovie* Movie;
    bool Empty;
    std::int64_t Number;
    std::string Text;
  };
  const TLocale& locale = CurrentLocale();
  std::vector<TRow> rows;
  rows.reserve(movies.size());
  for (const TMovie* movie : movies) {
    TRow row{movie, false, 0, {}};
    if (column.Number) {
      row.Number = NumberOf(*movie, column.Column);
      row.Empty = row.Number < 0;
    } else {
      const std::string text = TextOf(*movie, column.Column, titleType);
      row.Empty = text.empty();
      row.Text = locale.SortKey(text);
    }
    rows.push_back(std::move(row));
  }
  std::stable_sort(rows.begin(), rows.end(), [&](const TRow& a, const TRow& b) {
    if (a.Empty != b.Empty) return b.Empty;
    if (a.Empty) return false;
    const bool less = column.Number ? a.Number < b.Number : a.Text < b.Text;
    const bool greater = column.Number ? b.Number < a.Number : b.Text < a.Text;
    return order.Descending ? greater : less;
  });
  for (std::size_t i = 0; i < rows.size(); ++i) movies[i] = rows[i].Movie;
  return movies;
}

std::string RenderTablePage(const std::vector<std::string>& tokens, const TPageInput& input) {
  std::vector<const TMovie*> movies;
  for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
    if (std::optional<std::int64_t> handle = ParseHandle(tokens[i])) {
      if (const TMovie* movie = input.Movies.FindByHandle(*handle)) movies.push_back(movie);
    }
  }
  const TTableOrder order = tokens.size() >= 2 ? TableOrderOf(tokens.back()) : TTableOrder();
  const int titleType = input.Settings.TitleType;
  movies = SortTableRows(std::move(movies), order, titleType);
  const TListPart part = input.WholeLists ? TListPart{1, 1, 0, movies.size()}
                                          : ListPartOfPage(movies.size(), ListPartOf(tokens.back()));
  static const TPageLinks viewerLinks;
  const TPageLinks& links = input.Links != nullptr ? *input.Links : viewerLinks;
  std::string page = input.Frame.PageHeader + kStyle;
  if (!input.Heading.empty()) page += "<h2 class=\"elk-heading\">" + EscapeMarkup(input.Heading) + "</h2>\r\n";
  const std::string query = QueryOf(order);
  if (part.Count > 1) page += PartLine(part, movies.size(), true, query);
  page += "<table class=\"elk-table\">\r\n" + HeadRow(order, !input.WholeLists);
  for (std::size_t i = part.First; i < part.End; ++i) {
    if (input.Cancelled != nullptr && input.Cancelled->load(std::memory_order_relaxed)) break;
    const TMovie& movie = *movies[i];
    const std::string key = MadePictureKey("small", movie, kSmallPictureBox, kSmallPictureBox);
    std::string picture;
    if (std::optional<std::string> made = input.Store.MadeName(key)) {
      picture = *made;
    } else if (input.WholeLists) {
      picture = AddMoviePicture("small", movie, kSmallPictureBox, kSmallPictureBox, input.Pictures, input.Store);
    } else {
      picture = PictureNameBeforeMaking("small", movie, kSmallPictureBox, kSmallPictureBox, input.Pictures);
    }
    const std::string link = links.MoviePage(movie);
    page += "<tr><td><a href=\"" + link + "\"><img src=\"" + links.Picture(picture) + "\" alt=\"\"" +
            (input.WholeLists ? "" : " loading=\"lazy\"") + "></a></td>";
    for (const TColumn& column : kColumns) {
      std::string cell = CellOf(movie, column, titleType);
      if (column.Column == TTableColumn::Title) cell = "<a href=\"" + link + "\">" + cell + "</a>";
      page += "<td>" + cell + "</td>";
    }
    page += "</tr>\r\n";
  }
  page += "</table>\r\n";
  if (part.Count > 1) page += PartLine(part, movies.size(), false, query);
  return page + input.Frame.PageFooter;
}
