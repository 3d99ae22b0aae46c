#include "browse/Search.h"

#include "config/AsciiText.h"

#include "catalog/DisplayRules.h"
#include "catalog/TMovieList.h"
#include "config/TViewerSettings.h"
#include "render/MovieAddress.h"

namespace {

// The searched text of a movie; the title is made in `holder`, every other
// field is read where it stands.
std::string_view FieldValue(const TMovie& m, int field, int titleType, std::string& holder) {
  switch (field) {
    case sfTitle: {
      const std::string_view stored = StoredMovieTitle(m, titleType);
      return stored.empty() ? std::string_view(holder = GetMovieTitle(m, titleType)) : stored;
    }
    case sfActors: return m.Actors;
    case sfDirector: return m.Director;
    case sfProducer: return m.Producer;
    case sfDescription: return m.Description;
    case sfComments: return m.Comments;
    case sfOriginalTitle: return m.OriginalTitle;
    case sfTranslatedTitle: return m.TranslatedTitle;
    default: return {};
  }
}

// Glob matching with one-star backtracking: on a mismatch, the last star
// takes one more character and matching resumes after it.
bool Glob(std::string_view value, std::string_view pattern) {
  std::size_t v = 0, p = 0;
  std::size_t starPattern = std::string_view::npos, starValue = 0;
  while (v < value.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starValue = v;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == value[v])) {
      ++p;
      ++v;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      v = ++starValue;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchWildcard(std::string_view value, std::string_view pattern) {
  // The matching rules give a final run of two or more stars no way to
  // match nothing (only a pattern that is exactly one star matches an
  // empty rest), so such a run reads as "?*": one character, then anything.
  std::size_t stars = 0;
  while (stars < pattern.size() && pattern[pattern.size() - 1 - stars] == '*') ++stars;
  if (stars < 2) return Glob(value, pattern);
  std::string rewritten(pattern.substr(0, pattern.size() - stars));
  rewritten += "?*";
  return Glob(value, rewritten);
}

std::string SearchPattern(std::string_view text) {
  std::string pattern;
  if (!text.empty() && text.front() == '"') {
    pattern = std::string(text);
  } else {
    pattern = "*" + std::string(text) + "*";
    for (char& c : pattern) {
      if (c == ' ') c = '*';
    }
  }
  std::string out;
  out.reserve(pattern.size());
  for (char c : pattern) {
    if (c != '"') out += LowerAscii(c);
  }
  return out;
}

std::optional<std::string> SearchMovies(std::string_view text, int field, const TMovieList& movies, int titleType) {
  std::optional<TSearchResult> found = FindMovies(text, field, movies, titleType);
  if (!found) return std::nullopt;
  return std::move(found->Address);
}

std::optional<TSearchResult> FindMovies(std::string_view text, int field, const TMovieList& movies, int titleType,
                                        const std::atomic<bool>* cancelled) {
  if (text.empty()) return std::nullopt;
  const std::string pattern = SearchPattern(text);
  TSearchResult result;
  std::string handles;
  std::string value, holder;
  for (int i = 0; i < movies.Count(); ++i) {
    if (cancelled != nullptr && i % 1024 == 0 && cancelled->load(std::memory_order_relaxed)) break;
    const TMovie& movie = movies.Items(i);
    const std::string_view raw = FieldValue(movie, field, titleType, holder);
    if (raw.empty()) continue;
    value.clear();
    for (char c : raw) {
      if (c != '*' && c != '?') value += LowerAscii(c);
    }
    if (value.empty() || !MatchWildcard(value, pattern)) continue;
    if (!handles.empty()) handles += ",";
    handles += MovieHandleText(movie);
    ++result.Found;
  }
  if (!handles.empty()) {
    result.Address = MoviePageAddress(handles);
    return result;
  }
  std::string words;
  for (char c : text) {
    if (c != '"') words += c;
  }
  result.Address = SearchPageAddress(words.empty() ? "empty" : words);
  return result;
}

std::optional<TResolvedPage> ResolveFindPage(std::string_view name, const TPageInput& pages) {
  if (name.substr(0, kFindPageName.size()) != kFindPageName) return std::nullopt;
  const std::vector<std::string> tokens = TokenizeMovieAddress(name);
  TResolvedPage page{"movie[].html", 0};
  if (tokens.size() != 4 || tokens[0] != kFindPageName || tokens[1].size() != 1 || tokens[1][0] < '0' ||
      tokens[1][0] > '7') {
    return page;
  }
  const std::optional<std::string> text = BytesOfHexText(tokens[2]);
  if (!text) return page;
  std::optional<TSearchResult> found =
      FindMovies(*text, tokens[1][0] - '0', pages.Movies, pages.Settings.TitleType, pages.Cancelled);
  if (!found) return page;
  const std::string& last = tokens[3];
  const std::size_t query = last.find('?');
  // The address as the request handler would have made it of the URL.
  page.Name = PercentDecoded(std::string_view(found->Address).substr(kMovieUrlPrefix.size()));
  if (query != std::string::npos) page.Name += last.substr(query);
  page.Found = found->Found;
  return page;
}
