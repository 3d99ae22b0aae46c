#include "render/StatisticsPage.h"

#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "config/Translation.h"
#include "render/MovieAddress.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRowHeight = 20;
constexpr int kBarHeight = 14;
constexpr int kLabelWidth = 200;
constexpr int kBarWidth = 360;
constexpr int kChartWidth = kLabelWidth + kBarWidth + 60;
// Longer labels are cut, so a name never runs into its bar.
constexpr std::size_t kLabelCharacters = 30;

// Colours come from the page: bars and texts take the text colour of the
// scheme (light, dark or high contrast alike), bars a little lighter; on
// paper, black on white. Every bar is a picture of its own, as wide as the
// page allows up to its full width, so a narrow window shrinks the charts
// rather than cutting them, and paper breaks between bars, never through
// one; a heading travels with its first bar.
constexpr const char* kStyle =
    "<style>\n"
    ".stats .chart{margin:0 0 16px 0}\n"
    ".stats svg{display:block;width:100%;max-width:620px;height:auto;font-size:12px;overflow:visible}\n"
    ".stats text{fill:currentColor}\n"
    ".stats .bar{fill:currentColor;fill-opacity:.45}\n"
    ".stats a:hover .bar,.stats a:focus .bar{fill-opacity:.8}\n"
    ".stats td{padding:1px 12px 1px 0}\n"
    "@media print{.stats svg,.stats text,.stats td{color:#000}\n"
    ".stats .first,.stats svg{break-inside:avoid;page-break-inside:avoid}\n"
    ".stats a{text-decoration:none !important}}\n"
    "</style>\n";

// What a list opened from a bar is, by its chart: "%s" is the bar's label.
struct TBarHeading {
  const char* ChartKey;
  const char* Pattern;
};
constexpr TBarHeading kBarHeadings[] = {
    {"decades", "Movies of the %ss"}, {"years", "Movies of %s"},         {"categories", "Category: %s"},
    {"ratings", "Rating: %s"},        {"mediaTypes", "Media type: %s"}, {"countries", "Country: %s"},
    {"directors", "Director: %s"},    {"actors", "Actor: %s"},           {"added", "Added in %s"}};

// A decade's label ("1970s") without its "s": the number the patterns take.
std::string DecadeOf(const std::string& label) { return label.substr(0, label.size() - 1); }

// A bar's label as the page shows it: "Others" and decades in the language
// of the page.
std::string ShownLabel(const TStatChart& chart, const TStatBar& bar) {
  if (bar.NoValue) return Translate(kNoValueLabel);
  if (chart.Key == "decades") return FormatMessage(Translate("%ss"), DecadeOf(bar.Label));
  return bar.Label;
}

std::string Label(const std::string& text) {
  if (text.size() <= kLabelCharacters) return EscapeMarkup(text);
  // "\x85" is the ellipsis in the page's encoding.
  return EscapeMarkup(text.substr(0, kLabelCharacters - 1)) + "\x85";
}

std::string Number(double value, const char* format) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Percent(int part, int whole) {
  return whole == 0 ? "0 %" : Number(100.0 * part / whole, "%.0f") + " %";
}

std::string BarRow(const TStatChart& chart, const TStatBar& bar, int most, const std::string& link) {
  const int width = std::max(1, bar.Count * kBarWidth / most);
  const std::string middle = std::to_string(kRowHeight / 2 + 4);
  std::string row = "<text x=\"" + std::to_string(kLabelWidth - 6) + "\" y=\"" + middle + "\" text-anchor=\"end\">" +
                    Label(ShownLabel(chart, bar)) + "</text><rect class=\"bar\" x=\"" + std::to_string(kLabelWidth) +
                    "\" y=\"" + std::to_string((kRowHeight - kBarHeight) / 2) + "\" width=\"" + std::to_string(width) +
                    "\" height=\"" + std::to_string(kBarHeight) + "\"/><text x=\"" +
                    std::to_string(kLabelWidth + width + 5) + "\" y=\"" + middle + "\">" + std::to_string(bar.Count) +
                    "</text>";
  if (!link.empty()) row = "<a href=\"" + link + "\">" + row + "</a>";
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(kChartWidth) + " " +
         std::to_string(kRowHeight) + "\" width=\"" + std::to_string(kChartWidth) + "\" height=\"" +
         std::to_string(kRowHeight) + "\">" + row + "</svg>\n";
}

std::string Chart(const TStatChart& chart, std::size_t chartIndex, bool linkBars) {
  const std::string title = EscapeMarkup(Translate(chart.Title));
  std::string block = "<div class=\"chart\" role=\"group\" aria-label=\"" + title + "\">\n<div class=\"first\"><h3>" +
                      title + "</h3>\n";
  if (chart.Bars.empty()) return block + "<p>-</p></div></div>\n";
  int most = 1;
  for (const TStatBar& bar : chart.Bars) most = std::max(most, bar.Count);
  for (std::size_t i = 0; i < chart.Bars.size(); ++i) {
    const TStatBar& bar = chart.Bars[i];
    const std::string link = linkBars && !bar.Handles.empty() ? StatisticsBarAddress(chartIndex, i) : std::string();
    block += BarRow(chart, bar, most, link);
    if (i == 0) block += "</div>\n";
  }
  return block + "</div>\n";
}

}  // namespace

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += static_cast<unsigned char>(c) < 32 || c == 127 ? ' ' : c;
    }
  }
  return out;
}

std::string StatisticsBlock(const TCollectionStats& stats, bool linkBars) {
  std::string block = kStyle;
  block += "<div class=\"stats\">\n<h2>" + EscapeMarkup(Translate("Statistics")) + "</h2>\n<table>\n";
  auto row = [&](const char* caption, const std::string& value) {
    block += "<tr><td>" + EscapeMarkup(Translate(caption)) + "</td><td>" + value + "</td></tr>\n";
  };
  const std::string minutes = " " + EscapeMarkup(Translate("minutes"));
  row("Movies", std::to_string(stats.Movies));
  row("Total length", std::to_string(stats.TotalMinutes) + minutes);
  row("Average length", Number(stats.AverageMinutes, "%.0f") + minutes);
  row("With a cover", std::to_string(stats.WithCover) + " (" + Percent(stats.WithCover, stats.Movies) + ")");
  row("With a video file", std::to_string(stats.WithVideo) + " (" + Percent(stats.WithVideo, stats.Movies) + ")");
  block += "</table>\n";
  for (std::size_t i = 0; i < stats.Charts.size(); ++i) block += Chart(stats.Charts[i], i, linkBars);
  return block + "</div>\n";
}

std::string StatisticsBarAddress(std::size_t chart, std::size_t bar) {
  return std::string(kStatisticsBarPageName) + "[" + std::to_string(chart) + "," + std::to_string(bar) + "].html";
}

std::optional<TResolvedPage> ResolveStatisticsBar(std::string_view name, const TPageInput& pages) {
  if (name.substr(0, kStatisticsBarPageName.size()) != kStatisticsBarPageName) return std::nullopt;
  const std::vector<std::string> tokens = TokenizeMovieAddress(name);
  TResolvedPage page{"movie[].html", 0, std::string()};
  if (tokens.size() != 4 || tokens[0] != kStatisticsBarPageName) return page;
  const std::optional<std::int64_t> chartIndex = ParseHandle(tokens[1]);
  const std::optional<std::int64_t> barIndex = ParseHandle(tokens[2]);
  if (!chartIndex || !barIndex || *chartIndex < 0 || *barIndex < 0) return page;
  const TCollectionStats stats = CollectStatistics(pages.Movies, pages.Settings.VideoPathField);
  if (static_cast<std::size_t>(*chartIndex) >= stats.Charts.size()) return page;
  const TStatChart& chart = stats.Charts[static_cast<std::size_t>(*chartIndex)];
  if (static_cast<std::size_t>(*barIndex) >= chart.Bars.size()) return page;
  const TStatBar& bar = chart.Bars[static_cast<std::size_t>(*barIndex)];
  const std::size_t query = tokens[3].find('?');
  page.Name = "movie[" + bar.Handles + "].html" + (query == std::string::npos ? "" : tokens[3].substr(query));
  page.Found = bar.Count;
  for (const TBarHeading& heading : kBarHeadings) {
    if (chart.Key != heading.ChartKey) continue;
    const std::string value = chart.Key == "decades" ? DecadeOf(bar.Label) : ShownLabel(chart, bar);
    page.Heading = FormatMessage(Translate(heading.Pattern), value);
  }
  return page;
}
