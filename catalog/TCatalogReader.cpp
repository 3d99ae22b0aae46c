#include "catalog/TCatalogReader.h"

#include "catalog/TCatalogFile.h"
#include "config/TViewerError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kSignatureSize = 65;
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr std::size_t kFirstRefillAfterSkip = 4 * 1024;

// Raised by the field reads when the data ends early or a length cannot be
// satisfied; the header turns it into "Stream read error", the record loop
// into its silent end.
struct TShortRead {};

// Reads a file through one large buffer instead of one system call per
// field. Reads larger than the buffer go straight to their destination.
// Pictures are not read at all: they are skipped and left in the file,
// which stays open for them.
class TFileSource : public TByteSource {
 public:
  TFileSource(std::shared_ptr<const TCatalogFile> file)
      : m_file(std::move(file)), m_fd(m_file->Descriptor()), m_remaining(m_file->Size()), m_buffer(new std::uint8_t[kBufferSize]) {}
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;

  std::unique_ptr<TPictureBytes> ReadPicture(std::size_t count) override {
    const std::uint64_t offset = m_file->Size() - m_remaining;
    std::size_t skip = std::min(count, m_end - m_begin);
    m_begin += skip;
    if (count > skip) {
      if (::lseek(m_fd, static_cast<off_t>(count - skip), SEEK_CUR) < 0) {
        m_remaining = 0;
        return nullptr;
      }
      // The record after a cover is a few hundred bytes of text followed
      // by the next cover: filling the whole buffer would copy a quarter of
      // a megabyte per movie only to skip most of it again.
      m_refill = kFirstRefillAfterSkip;
    }
    m_remaining -= std::min<std::uint64_t>(m_remaining, count);
    return std::make_unique<TPictureBytes>(m_file, offset, count);
  }

  std::size_t Read(void* buffer, std::size_t count) override {
    // The file is read as it was when it was opened: bytes written beyond
    // its end meanwhile are not part of this catalog.
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_remaining));
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      if (m_begin == m_end) {
        if (count - done >= kBufferSize) {
          ssize_t n = ReadSome(out + done, count - done);
          if (n <= 0) break;
          done += static_cast<std::size_t>(n);
          continue;
        }
        ssize_t n = ReadSome(m_buffer.get(), m_refill);
        if (n <= 0) break;
        m_refill = std::min(kBufferSize, m_refill * 2);
        m_begin = 0;
        m_end = static_cast<std::size_t>(n);
      }
      std::size_t take = std::min(count - done, m_end - m_begin);
      std::memcpy(out + done, m_buffer.get() + m_begin, take);
      m_begin += take;
      done += take;
    }
    m_remaining -= std::min<std::uint64_t>(m_remaining, done);
    return done;
  }

  std::uint64_t Remaining() const override { return m_remaining; }

 private:
  ssize_t ReadSome(std::uint8_t* out, std::size_t count) {
    for (;;) {
      ssize_t n = ::read(m_fd, out, count);
      if (n < 0 && errno == EINTR) continue;
      return n;
    }
  }

  std::shared_ptr<const TCatalogFile> m_file;
  int m_fd;
  std::uint64_t m_remaining;
  std::unique_ptr<std::uint8_t[]> m_buffer;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  // How much the next fill of the buffer reads: small after a skipped
  // picture, growing while the file is read straight on.
  std::size_t m_refill = kBufferSize;
};

class TFieldReader {
 public:
  explicit TFieldReader(TByteSource& source) : m_source(source) {}

  void ReadExact(void* buffer, std::size_t count) {
    if (m_source.Read(buffer, count) != count) throw TShortRead();
  }

  std::int32_t ReadInt32() {
    std::uint8_t bytes[4];
    ReadExact(bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                     static_cast<std::uint32_t>(bytes[2]) << 16 |
                                     static_cast<std::uint32_t>(bytes[3]) << 24);
  }

  std::uint8_t ReadByte() {
    std::uint8_t byte;
    ReadExact(&byte, 1);
    return byte;
  }

  // A count of 0 or less is the empty text; a count beyond the rest of the
  // data, or beyond any text a catalog editor writes, is damage, refused
  // before anything is allocated for it.
  std::string ReadString() {
    std::int32_t count = ReadInt32();
    if (count <= 0) return {};
    if (static_cast<std::uint64_t>(count) > m_source.Remaining() || static_cast<std::size_t>(count) > kMaxCatalogText) {
      throw TShortRead();
    }
    std::string text(static_cast<std::size_t>(count), '\0');
    ReadExact(text.data(), text.size());
    return text;
  }

  std::unique_ptr<TPictureBytes> ReadPicture() {
    std::int32_t count = ReadInt32();
    if (count <= 0) return nullptr;
    if (static_cast<std::uint64_t>(count) > m_source.Remaining()) throw TShortRead();
    std::unique_ptr<TPictureBytes> picture = m_source.ReadPicture(static_cast<std::size_t>(count));
    if (!picture) throw TShortRead();
    return picture;
  }

 private:
  TByteSource& m_source;
};

std::unique_ptr<TMovie> ReadMovie(TFieldReader& in, int version) {
  auto movie = std::make_unique<TMovie>();
  TMovie& m = *movie;
  m.Number = in.ReadInt32();
  m.Date = in.ReadInt32();
  m.Rating = in.ReadInt32();
  // Older versions store whole points; in memory every rating is in tenths.
  if (version < 35 && m.Rating != -1) {
    m.Rating = static_cast<std::int32_t>(static_cast<std::uint32_t>(m.Rating) * 10u);
  }
  m.Year = in.ReadInt32();
  m.Length = in.ReadInt32();
  m.VideoBitrate = in.ReadInt32();
  m.AudioBitrate = in.ReadInt32();
  m.Disks = in.ReadInt32();
  m.Checked = in.ReadByte() != 0;
  m.Media = in.ReadString();
  if (version >= 33) {
    m.MediaType = in.ReadString();
    m.Source = in.ReadString();
  }
  m.Borrower = in.ReadString();
  m.OriginalTitle = in.ReadString();
  m.TranslatedTitle = in.ReadString();
  m.Director = in.ReadString();
  m.Producer = in.ReadString();
  m.Country = in.ReadString();
  m.Category = in.ReadString();
  m.Actors = in.ReadString();
  m.URL = in.ReadString();
  m.Description = in.ReadString();
  m.Comments = in.ReadString();
  m.VideoFormat = in.ReadString();
  m.AudioFormat = in.ReadString();
  m.Resolution = in.ReadString();
  m.Framerate = in.ReadString();
  m.Languages = in.ReadString();
  m.Subtitles = in.ReadString();
  m.Size = in.ReadString();
  m.PictureName = in.ReadString();
  m.Picture = in.ReadPicture();
  return movie;
}

}  // namespace

std::unique_ptr<TPictureBytes> TByteSource::ReadPicture(std::size_t count) {
  auto picture = std::make_unique<TPictureBytes>(count);
  if (Read(picture->Data(), count) != count) return nullptr;
  return picture;
}

std::size_t TMemorySource::Read(void* buffer, std::size_t count) {
  std::size_t take = std::min(count, m_bytes.size() - m_position);
  if (take > 0) std::memcpy(buffer, m_bytes.data() + m_position, take);
  m_position += take;
  return take;
}

void ReadCatalog(TByteSource& source, TMovieList& list) {
  // The signature is compared as text up to its first zero byte, so a short
  // file or a zero inside the signature simply matches nothing.
  char signature[kSignatureSize + 1] = {};
  source.Read(signature, kSignatureSize);
  std::string text(signature);
  int version = 0;
  if (text == CatalogSignature(TFormatVersion::V35)) {
    version = 35;
  } else if (text == CatalogSignature(TFormatVersion::V33)) {
    version = 33;
  } else if (text == CatalogSignature(TFormatVersion::V31)) {
    version = 31;
  }
  list.Clear();
  if (version == 0) throw TViewerError("Cannot identify file type from header");

  TFieldReader in(source);
  TMovieProperties& properties = list.Properties();
  try {
    properties.OwnerName = in.ReadString();
    properties.HeaderText1 = in.ReadString();
    if (version < 35) in.ReadString();
    properties.HeaderText2 = in.ReadString();
    properties.HeaderText3 = in.ReadString();
  } catch (const TShortRead&) {
    throw TViewerError("Stream read error");
  }

  for (;;) {
    // The data ends exactly after a record: everything was read.
    if (source.Remaining() == 0) {
      list.SetLoadedCompletely(true);
      break;
    }
    try {
      list.Append(ReadMovie(in, version));
    } catch (const TShortRead&) {
      list.SetLoadedCompletely(false);
      break;
    } catch (const std::bad_alloc&) {
      list.SetLoadedCompletely(false);
      break;
    }
  }
}

void TMovieList::LoadFromFile(const std::string& path) {
  Clear();
  try {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    int error = 0;
    if (fd < 0) {
      error = errno;
    } else if (::fstat(fd, &info) != 0) {
      error = errno;
    } else if (S_ISDIR(info.st_mode)) {
      error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
      // Devices and pipes could block or never end.
      error = EINVAL;
    }
    if (error != 0) {
      if (fd >= 0) ::close(fd);
      throw TViewerError("Cannot open file \"" + path + "\". " + std::strerror(error));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    TFileSource source(std::make_shared<const TCatalogFile>(fd));
    ReadCatalog(source, *this);
  } catch (const TViewerError& error) {
    throw TViewerError("Unable to load file \"" + path + "\": " + error.what());
  }
}
