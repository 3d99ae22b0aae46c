#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

class TCatalogFile;

// The largest embedded picture read from a catalog file.
constexpr std::size_t kMaxPictureRead = 256u << 20;

// The bytes of a picture as one read gave them: held here when they were
// read from the catalog file, or a view of bytes held in memory. Empty when
// they could not be read.
class TPictureData {
 public:
  TPictureData() = default;
  explicit TPictureData(std::span<const std::uint8_t> held) : m_bytes(held) {}
  explicit TPictureData(std::unique_ptr<std::uint8_t[]> owned, std::size_t size)
      : m_owned(std::move(owned)), m_bytes(m_owned.get(), size) {}
  std::span<const std::uint8_t> Bytes() const { return m_bytes; }
  bool Empty() const { return m_bytes.empty(); }

 private:
  std::unique_ptr<std::uint8_t[]> m_owned;
  std::span<const std::uint8_t> m_bytes;
};

// The bytes of one embedded picture, never changed. Pictures of a catalog
// read from memory are held here. Pictures of a catalog file stay in the
// file and are read again each time they are needed, so a catalog of
// thousands of covers costs memory only for its texts; if the file has
// changed since it was loaded, they read as empty instead of as the bytes of
// something else.
class TPictureBytes {
 public:
  TPictureBytes() = default;
  // Held bytes, uninitialised: the caller fills Data() at once.
  explicit TPictureBytes(std::size_t size);
  // Bytes at `offset` of the loaded catalog file.
  TPictureBytes(std::shared_ptr<const TCatalogFile> file, std::uint64_t offset, std::size_t size);

  // Held bytes only (nullptr for bytes in the file).
  std::uint8_t* Data() { return m_data.get(); }
  std::size_t Size() const { return m_size; }
  bool Empty() const { return m_size == 0; }
  bool InFile() const { return m_file != nullptr; }
  // The bytes; safe to call from several threads at once.
  TPictureData Read() const;
  // At most the first `count` bytes (a picture's header), the same way.
  TPictureData ReadPrefix(std::size_t count) const;

 private:
  std::unique_ptr<std::uint8_t[]> m_data;
  std::size_t m_size = 0;
  std::shared_ptr<const TCatalogFile> m_file;
  std::uint64_t m_offset = 0;
};

// One movie of a catalog, as read from the file. Texts are the catalog's
// single-byte strings exactly as stored; integer fields use -1 for none.
struct TMovie {
  std::int32_t Number = 0;
  std::string Media;
  std::string MediaType;
  std::string Source;
  std::int32_t Date = 0;
  std::string Borrower;
  std::int32_t Rating = 0;
  std::string OriginalTitle;
  std::string TranslatedTitle;
  std::string Director;
  std::string Producer;
  std::string Country;
  std::string Category;
  std::int32_t Year = 0;
  std::int32_t Length = 0;
  std::string Actors;
  std::string URL;
  std::string Description;
  std::string Comments;
  std::string VideoFormat;
  std::int32_t VideoBitrate = 0;
  std::string AudioFormat;
  std::int32_t AudioBitrate = 0;
  std::string Resolution;
  std::string Framerate;
  std::string Languages;
  std::string Subtitles;
  std::string Size;
  std::int32_t Disks = 0;
  bool Checked = false;
  std::string PictureName;
  // Absent when the movie has no embedded picture.
  std::unique_ptr<TPictureBytes> Picture;

  // The name of this movie in page addresses; see TMovieList::LoadFromFile.
  std::int64_t Handle = 0;
};

// The catalog's header texts.
struct TMovieProperties {
  std::string Encoding = "iso-8859-1";
  std::string OwnerName;
  std::string HeaderText1;
  std::string HeaderText2;
  std::string HeaderText3;
};
