#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The pictures that pages refer to, by name, in the order they were made.
// Names compare without regard to the letter case of A to Z. A name is
// stored once: the first entry of a name is the one served, so a second
// one could never be seen and is not kept. Page workers share one store:
// every call is safe from any thread, and none holds the lock longer than
// a lookup or an insertion (pictures are made outside it).
class TPictureStore {
 public:
  // Appends the entry unless its name is already there; true when appended.
  bool Add(const std::string& name, std::string bytes);
  std::shared_ptr<const std::string> Find(std::string_view name) const;
  // Forgets every picture (a page being served keeps its own reference).
  void Clear();
  // Lets go of the pictures' bytes but keeps their names and what they were
  // made for, so nothing is made again (for writers that saved them).
  void ReleaseBytes();
  // A new page is about to be made: the pictures of earlier pages are
  // forgotten, oldest first, until at most `keptBytes` of them are left.
  // Those of the page being made stay however many they are, so a list
  // page never loses its own pictures before they are asked for; pictures
  // of an earlier page shown again are simply made again.
  void StartPage(std::size_t keptBytes);

  std::size_t Count() const;
  std::size_t TotalBytes() const;
  // The name of the entry at `index` (from the oldest kept).
  std::string NameAt(std::size_t index) const;

  // The name under which the picture for `key` (size word, movie and box)
  // was stored, so that rendering a page again does not make it again.
  std::optional<std::string> MadeName(const std::string& key) const;
  void RememberMade(const std::string& key, const std::string& name);

 private:
  struct TEntry {
    std::string Name;
    std::shared_ptr<const std::string> Bytes;
    std::string MadeFor;  // its key in m_made, if any
  };
  static std::string Key(std::string_view name);

  mutable std::mutex m_mutex;

  // Entries are numbered in the order they were added; the front one has
  // number m_first.
  std::deque<TEntry> m_entries;
  std::size_t m_first = 0;
  std::unordered_map<std::string, std::size_t> m_byName;
  std::unordered_map<std::string, std::string> m_made;
  std::size_t m_totalBytes = 0;
};

// What the viewer keeps of the pictures of pages no longer shown.
constexpr std::size_t kKeptPictureBytes = 8u << 20;
