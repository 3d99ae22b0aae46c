#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <sys/types.h>

// An open catalog file whose pictures are read on demand. It remembers the
// file as it was when the catalog was loaded (size and modification time),
// and refuses every read once the file differs: an editor that rewrites the
// catalog in place must not make a movie show another movie's picture. A
// file replaced by a new one (renamed over it) keeps being read as the old
// one, as the descriptor still holds it.
class TCatalogFile {
 public:
  // Takes the descriptor of a regular file; closes it on destruction.
  explicit TCatalogFile(int fd);
  ~TCatalogFile();
  TCatalogFile(const TCatalogFile&) = delete;
  TCatalogFile& operator=(const TCatalogFile&) = delete;

  int Descriptor() const { return m_fd; }
  std::uint64_t Size() const { return m_size; }

  // Reads exactly `size` bytes at `offset`; false when the file has changed
  // or cannot give them. Safe to call from several threads at once.
  bool ReadAt(std::uint64_t offset, std::size_t size, std::uint8_t* out) const;
  bool Unchanged() const;

 private:
  int m_fd;
  std::uint64_t m_size = 0;
  timespec m_modified{};
  ino_t m_inode = 0;
};
