#pragma once

#include "catalog/TMovieList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// A forward-only source of catalog bytes that knows how much is left, so the
// reader can refuse a length larger than the rest of the file before
// allocating anything for it.
class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Reads up to `count` bytes; fewer only at the end of the data.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  virtual std::uint64_t Remaining() const = 0;
  // The next `count` bytes as a picture (the caller has checked that they
  // are there): by default read into memory.
  virtual std::unique_ptr<TPictureBytes> ReadPicture(std::size_t count);
};

// The longest text field a catalog may hold; a longer one counts as damage
// and ends the records there.
constexpr std::size_t kMaxCatalogText = 16u << 20;

// Catalog bytes held in memory (tests, fuzzing).
class TMemorySource : public TByteSource {
 public:
  explicit TMemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
  std::size_t Read(void* buffer, std::size_t count) override;
  std::uint64_t Remaining() const override { return m_bytes.size() - m_position; }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_position = 0;
};

// Reads a catalog from `source` into `list` (steps after opening the file).
// Throws TViewerError with the unwrapped reason ("Cannot identify file type
// from header", "Stream read error").
void ReadCatalog(TByteSource& source, TMovieList& list);
