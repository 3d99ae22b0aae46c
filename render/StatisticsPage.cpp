#include "render/StatisticsPage.h"

#include "config/Translation.h"

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
// paper, black on white.
constexpr const char* kStyle =
    "<style>\n"
    ".stats svg{display:block;margin:2px 0 16px 0;font-size:12px;overflow:visible}\n"
    ".stats text{fill:currentColor}\n"
    ".stats .bar{fill:currentColor;fill-opacity:.45}\n"
    ".stats a:hover .bar,.stats a:focus .bar{fill-opacity:.8}\n"
    ".stats td{padding:1px 12px 1px 0}\n"
    "@media print{.stats svg,.stats text,.stats td{color:#000}}\n"
    "</style>\n";

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

std::string Chart(const TStatChart& chart, bool linkBars) {
  std::string block = "<h3>" + EscapeMarkup(Translate(chart.Title)) + "</h3>\n";
  if (chart.Bars.empty()) return block + "<p>-</p>\n";
  int most = 1;
  for (const TStatBar& bar : chart.Bars) most = std::max(most, bar.Count);
  const int height = static_cast<int>(chart.Bars.size()) * kRowHeight;
  block += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kChartWidth) + "\" height=\"" +
           std::to_string(height) + "\" role=\"img\" aria-label=\"" + EscapeMarkup(Translate(chart.Title)) + "\">\n";
  for (std::size_t i = 0; i < chart.Bars.size(); ++i) {
    const TStatBar& bar = chart.Bars[i];
    const int top = static_cast<int>(i) * kRowHeight;
    const int width = std::max(1, bar.Count * kBarWidth / most);
    const std::string middle = std::to_string(top + kRowHeight / 2 + 4);
    std::string row = "<text x=\"" + std::to_string(kLabelWidth - 6) + "\" y=\"" + middle +
                      "\" text-anchor=\"end\">" + Label(bar.Label) + "</text><rect class=\"bar\" x=\"" +
                      std::to_string(kLabelWidth) + "\" y=\"" + std::to_string(top + (kRowHeight - kBarHeight) / 2) +
                      "\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(kBarHeight) +
                      "\"/><text x=\"" + std::to_string(kLabelWidth + width + 5) + "\" y=\"" + middle + "\">" +
                      std::to_string(bar.Count) + "</text>";
    if (linkBars && !bar.Handles.empty()) {
      row = "<a href=\"movie[" + EscapeMarkup(bar.Handles) + "].html\">" + row + "</a>";
    }
    block += row + "\n";
  }
  return block + "</svg>\n";
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
  for (const TStatChart& chart : stats.Charts) block += Chart(chart, linkBars);
  return block + "</div>\n";
}
