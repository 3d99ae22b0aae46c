#include "browse/MovieFilter.h"

#include "catalog/DisplayRules.h"
#include "catalog/MovieFields.h"
#include "catalog/TMovieList.h"

#include <algorithm>
#include <array>

namespace {

// What each Windows-1252 byte folds to; an empty entry is a blank.
std::array<std::string, 256> MakeFoldTable() {
  std::array<std::string, 256> table;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));
  for (int c = 'a'; c <= 'z'; ++c) {
    table[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));
    table[static_cast<std::size_t>(c - 32)] = std::string(1, static_cast<char>(c));
  }
  struct TRange {
    int First;
    int Last;
    const char* Folded;
  };
  // Upper and lower case alike: the lower case letters lie 0x20 above.
  constexpr TRange kLetters[] = {{0xC0, 0xC5, "a"}, {0xC6, 0xC6, "ae"}, {0xC7, 0xC7, "c"}, {0xC8, 0xCB, "e"},
                                 {0xCC, 0xCF, "i"}, {0xD0, 0xD0, "d"},  {0xD1, 0xD1, "n"}, {0xD2, 0xD6, "o"},
                                 {0xD8, 0xD8, "o"}, {0xD9, 0xDC, "u"},  {0xDD, 0xDD, "y"}, {0xDE, 0xDE, "th"}};
  for (const TRange& range : kLetters) {
    for (int c = range.First; c <= range.Last; ++c) {
      table[static_cast<std::size_t>(c)] = range.Folded;
      table[static_cast<std::size_t>(c + 0x20)] = range.Folded;
    }
  }
  constexpr TRange kOthers[] = {{0xDF, 0xDF, "ss"}, {0xFF, 0xFF, "y"}, {0x8A, 0x8A, "s"}, {0x9A, 0x9A, "s"},
                                {0x8C, 0x8C, "oe"}, {0x9C, 0x9C, "oe"}, {0x8E, 0x8E, "z"}, {0x9E, 0x9E, "z"},
                                {0x9F, 0x9F, "y"},  {0x83, 0x83, "f"},  {0xAA, 0xAA, "a"}, {0xBA, 0xBA, "o"}};
  for (const TRange& range : kOthers) table[static_cast<std::size_t>(range.First)] = range.Folded;
  return table;
}

const std::array<std::string, 256>& FoldTable() {
  static const std::array<std::string, 256> table = MakeFoldTable();
  return table;
}

void AppendFolded(std::string& out, std::string_view text) {
  const std::array<std::string, 256>& table = FoldTable();
  for (char c : text) {
    const std::string& folded = table[static_cast<unsigned char>(c)];
    if (!folded.empty()) {
      out += folded;
    } else if (!out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
}

bool HoldsEvery(std::string_view text, const std::vector<std::string>& words) {
  return std::all_of(words.begin(), words.end(),
                     [&](const std::string& word) { return text.find(word) != std::string_view::npos; });
}

}  // namespace

std::string FoldText(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  AppendFolded(out, cp1252);
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::vector<std::string> FilterWords(std::string_view cp1252) {
  const std::string folded = FoldText(cp1252);
  std::vector<std::string> words;
  for (std::size_t start = 0; start < folded.size();) {
    std::size_t end = folded.find(' ', start);
    if (end == std::string::npos) end = folded.size();
    std::string word = folded.substr(start, end - start);
    if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end()) words.push_back(std::move(word));
    start = end + 1;
  }
  return words;
}

std::string FilterText(const TMovie& movie) {
  std::string text;
  for (const TMovieField& field : MovieFields()) {
    if (!IsTextField(field)) continue;
    AppendFolded(text, *FieldText(movie, field));
    if (!text.empty() && text.back() != ' ') text += ' ';
  }
  AppendFolded(text, FormatOptionalNumber(movie.Year));
  return text;
}

TFilterIndex::TFilterIndex(const TMovieList& catalog) {
  m_starts.reserve(static_cast<std::size_t>(catalog.Count()) + 1);
  m_starts.push_back(0);
  for (int i = 0; i < catalog.Count(); ++i) {
    m_text += FilterText(catalog.Items(i));
    m_starts.push_back(m_text.size());
  }
  m_text.shrink_to_fit();
}

std::vector<bool> FilterMovies(const TFilterIndex& index, const std::vector<std::string>& words,
                               const std::atomic<bool>* cancelled) {
  std::vector<bool> kept(index.Count(), true);
  if (words.empty()) return kept;
  for (std::size_t i = 0; i < index.Count(); ++i) {
    if (cancelled != nullptr && i % 4096 == 0 && cancelled->load(std::memory_order_relaxed)) break;
    kept[i] = HoldsEvery(index.TextOf(i), words);
  }
  return kept;
}

std::vector<bool> FilterCatalog(const TMovieList& catalog, const std::vector<std::string>& words,
                                const std::atomic<bool>* cancelled) {
  std::vector<bool> kept(static_cast<std::size_t>(catalog.Count()), true);
  if (words.empty()) return kept;
  for (int i = 0; i < catalog.Count(); ++i) {
    if (cancelled != nullptr && i % 1024 == 0 && cancelled->load(std::memory_order_relaxed)) break;
    kept[static_cast<std::size_t>(i)] = HoldsEvery(FilterText(catalog.Items(i)), words);
  }
  return kept;
}

TMovieFilter::TResult TMovieFilter::Apply(const TFilterIndex& index, std::string_view typed,
                                          const std::atomic<bool>* cancelled) {
  std::vector<std::string> words = FilterWords(typed);
  // Narrowed when every word before is still part of a word now.
  const bool narrowed =
      m_known && m_kept.size() == index.Count() &&
      std::all_of(m_words.begin(), m_words.end(), [&](const std::string& old) {
        return std::any_of(words.begin(), words.end(),
                           [&](const std::string& word) { return word.find(old) != std::string::npos; });
      });
  TResult result;
  if (words.empty()) {
    result.Kept.assign(index.Count(), true);
  } else if (narrowed) {
    result.Kept = m_kept;
    for (std::size_t i = 0; i < index.Count(); ++i) {
      if (cancelled != nullptr && i % 4096 == 0 && cancelled->load(std::memory_order_relaxed)) break;
      if (result.Kept[i]) result.Kept[i] = HoldsEvery(index.TextOf(i), words);
    }
  } else {
    result.Kept = FilterMovies(index, words, cancelled);
  }
  result.Count = static_cast<int>(std::count(result.Kept.begin(), result.Kept.end(), true));
  if (cancelled != nullptr && cancelled->load()) {
    // Cut short: nothing of it may stand for the next one.
    Forget();
    return result;
  }
  m_words = std::move(words);
  m_kept = result.Kept;
  m_known = true;
  return result;
}

void TMovieFilter::Forget() {
  m_words.clear();
  m_kept.clear();
  m_known = false;
}
