#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The bytes of one embedded picture file, owned and never changed. The
// buffer is allocated without zero-filling because it is read into at once.
class TPictureBytes {
 public:
  TPictureBytes() = default;
  explicit TPictureBytes(std::size_t size);

  std::uint8_t* Data() { return m_data.get(); }
  const std::uint8_t* Data() const { return m_data.get(); }
  std::size_t Size() const { return m_size; }
  bool Empty() const { return m_size == 0; }
  std::span<const std::uint8_t> Bytes() const { return {m_data.get(), m_size}; }

 private:
  std::unique_ptr<std::uint8_t[]> m_data;
  std::size_t m_size = 0;
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
