#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TMovieList;
struct TMovie;

// The filter as you type: the movies whose text fields hold every typed
// word, in any order and in any field, ignoring case and accents. It is
// apart from the search, whose fields and wildcards stay as they are.

// Windows-1252 text folded for comparison: letters in lower case without
// their accents (é is e, Ø is o), ß as ss, æ as ae, œ as oe, þ as th;
// digits kept; everything else (punctuation, symbols, blanks) a blank.
std::string FoldText(std::string_view cp1252);

// The words of a typed text, folded, each once.
std::vector<std::string> FilterWords(std::string_view cp1252);

// Every text field of a movie and its year, folded, blank-separated: what
// the filter looks in.
std::string FilterText(const TMovie& movie);

// The folded texts of a whole catalog in one block, made once per catalog
// (on a worker: it takes a while for a big one) and shared read-only.
class TFilterIndex {
 public:
  explicit TFilterIndex(const TMovieList& catalog);

  std::size_t Count() const { return m_starts.size() - 1; }
  std::string_view TextOf(std::size_t movie) const {
    return std::string_view(m_text).substr(m_starts[movie], m_starts[movie + 1] - m_starts[movie]);
  }

 private:
  std::string m_text;
  std::vector<std::size_t> m_starts;
};

// Which movies (by their place in the catalog) hold every word; an empty
// word list keeps them all. A filter whose flag is set stops early.
std::vector<bool> FilterMovies(const TFilterIndex& index, const std::vector<std::string>& words,
                               const std::atomic<bool>* cancelled = nullptr);

// The same without an index, folding each movie as it goes: for a filter
// asked for once (a table of the filtered movies).
std::vector<bool> FilterCatalog(const TMovieList& catalog, const std::vector<std::string>& words,
                                const std::atomic<bool>* cancelled = nullptr);

// The filter of one catalog as the user types: a text that only narrows
// the one before (every earlier word is still in a typed word) looks only
// among the movies that one kept.
class TMovieFilter {
 public:
  // Nothing kept: the whole catalog.
  struct TResult {
    std::vector<bool> Kept;
    int Count = 0;
  };
  TResult Apply(const TFilterIndex& index, std::string_view typed, const std::atomic<bool>* cancelled = nullptr);
  void Forget();

 private:
  std::vector<std::string> m_words;
  std::vector<bool> m_kept;
  bool m_known = false;
};
