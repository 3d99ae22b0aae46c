#pragma once

#include "render/TCompactPicture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// What a strip thumbnail was made from: the movie's place in the catalog
// file, a hash of its picture's bytes and the box it was fitted into.
struct TThumbnailKey {
  std::uint32_t Position = 0;
  std::uint64_t PictureHash = 0;
  std::uint16_t Box = 0;
  bool operator==(const TThumbnailKey&) const = default;
};

// The hash used for picture bytes (fast enough to hash every cover of a
// big catalog at each start).
std::uint64_t HashPictureBytes(const void* data, std::size_t size);

// Thumbnails kept between runs, one file per catalog in a cache folder
// ($XDG_CACHE_HOME/elk-viewer). Nothing in it is trusted blindly: a file
// that is damaged, cut short or made for another catalog is ignored (and
// made again); an entry is used only for the very same key. Failing to
// write only costs speed. The folder is kept under a size limit by
// removing the files used least recently.
class TThumbnailCache {
 public:
  static constexpr std::uint64_t kDefaultLimitBytes = 200ull << 20;

  TThumbnailCache(std::string folder, std::uint64_t limitBytes = kDefaultLimitBytes);
  ~TThumbnailCache();
  TThumbnailCache(const TThumbnailCache&) = delete;
  TThumbnailCache& operator=(const TThumbnailCache&) = delete;

  // Opens the cache file of a catalog (by its absolute path) and reads its
  // index; the pictures stay in the file (mapped) until taken. A file whose
  // layout does not check out is not used at all; true when it was sound.
  bool Load(const std::string& catalogPath);
  std::size_t Count() const { return m_entries.size(); }

  // The thumbnail kept for a key, compact as it was saved, or nothing; an
  // entry whose bytes do not match their checksum counts as missing. Safe
  // to call from several threads at once.
  std::optional<TCompactPicture> Take(const TThumbnailKey& key) const;

  // Writes the catalog's file anew with these entries (replacing it
  // atomically), then trims the folder to the limit. False when it could
  // not be written; the cache file is then simply missing next time.
  bool Save(const std::string& catalogPath,
            const std::vector<std::pair<TThumbnailKey, const TCompactPicture*>>& entries);

  // The cache file of a catalog.
  std::string FileOf(const std::string& catalogPath) const;
  const std::string& Folder() const { return m_folder; }

 private:
  struct TKeyHash {
    std::size_t operator()(const TThumbnailKey& key) const;
  };
  void Trim(const std::string& keep) const;

  std::string m_folder;
  std::uint64_t m_limit;
  void Unmap();

  struct TEntry {
    std::size_t Offset;  // of the picture's bytes in the mapped file
    std::uint32_t Length;
    std::uint8_t Format;
    std::uint16_t Width;
    std::uint16_t Height;
    std::uint64_t Checksum;
  };
  std::unordered_map<TThumbnailKey, TEntry, TKeyHash> m_entries;
  const std::uint8_t* m_map = nullptr;
  std::size_t m_mapSize = 0;
};

// $XDG_CACHE_HOME/elk-viewer, or ~/.cache/elk-viewer.
std::string UserCacheFolder();
