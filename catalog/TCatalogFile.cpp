#include "catalog/TCatalogFile.h"

#include "catalog/TMovie.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

TCatalogFile::TCatalogFile(int fd) : m_fd(fd) {
  struct stat info {};
  if (::fstat(fd, &info) == 0) {
    m_size = static_cast<std::uint64_t>(info.st_size);
    m_modified = info.st_mtim;
    m_inode = info.st_ino;
  }
}

TCatalogFile::~TCatalogFile() { ::close(m_fd); }

bool TCatalogFile::Unchanged() const {
  struct stat info {};
  return ::fstat(m_fd, &info) == 0 && static_cast<std::uint64_t>(info.st_size) == m_size &&
         info.st_mtim.tv_sec == m_modified.tv_sec && info.st_mtim.tv_nsec == m_modified.tv_nsec &&
         info.st_ino == m_inode;
}

bool TCatalogFile::ReadAt(std::uint64_t offset, std::size_t size, std::uint8_t* out) const {
  if (offset > m_size || size > m_size - offset || !Unchanged()) return false;
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  // A write during the read would have changed the time again.
  return Unchanged();
}

TPictureBytes::TPictureBytes(std::shared_ptr<const TCatalogFile> file, std::uint64_t offset, std::size_t size)
    : m_size(size), m_file(std::move(file)), m_offset(offset) {}

TPictureData TPictureBytes::ReadPrefix(std::size_t count) const {
  const std::size_t size = std::min(count, m_size);
  if (!m_file) return TPictureData({m_data.get(), m_data ? size : 0});
  if (m_size > kMaxPictureRead) return TPictureData();
  auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
  if (!m_file->ReadAt(m_offset, size, bytes.get())) return TPictureData();
  return TPictureData(std::move(bytes), size);
}

TPictureData TPictureBytes::Read() const {
  if (!m_file) return TPictureData({m_data.get(), m_data ? m_size : 0});
  // No cover is this large; such a "picture" is read as none.
  if (m_size > kMaxPictureRead) return TPictureData();
  auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(m_size);
  if (!m_file->ReadAt(m_offset, m_size, bytes.get())) return TPictureData();
  return TPictureData(std::move(bytes), m_size);
}
