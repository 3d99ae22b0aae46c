#include "render/TThumbnailCache.h"

#include "config/SettingsLocation.h"
#include "config/TFileLayer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

namespace fs = std::filesystem;

namespace {

// The second layout: compact pictures. A file of the first (raw pixels)
// is foreign to it and made again.
constexpr char kMagic[8] = {'E', 'L', 'K', 'T', 'H', 'M', 'B', '2'};
constexpr std::uint32_t kMaxThumbnailSide = 4096;
constexpr std::size_t kMaxPathLength = 65536;
// The file is written in pieces of about this size.
constexpr std::size_t kWriteBuffer = 1 << 20;

// Little-endian fields read from the mapped file, every read checked
// against its end.
class TCursor {
 public:
  TCursor(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  template <typename T>
  bool Number(T& value) {
    if (m_size - m_at < sizeof(T)) return false;
    value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) value = static_cast<T>(value << 8 | m_data[m_at + i]);
    m_at += sizeof(T);
    return true;
  }
  bool Skip(std::size_t count) {
    if (m_size - m_at < count) return false;
    m_at += count;
    return true;
  }
  std::size_t At() const { return m_at; }
  const std::uint8_t* Here() const { return m_data + m_at; }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at = 0;
};

template <typename T>
void PutNumber(std::string& out, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

}  // namespace

std::uint64_t HashPictureBytes(const void* data, std::size_t size) { return XXH3_64bits(data, size); }

std::size_t TThumbnailCache::TKeyHash::operator()(const TThumbnailKey& key) const {
  return static_cast<std::size_t>(key.PictureHash ^ (static_cast<std::uint64_t>(key.Position) << 16) ^ key.Box);
}

std::string UserCacheFolder() { return XdgProgramFolder("XDG_CACHE_HOME", ".cache"); }

TThumbnailCache::TThumbnailCache(std::string folder, std::uint64_t limitBytes)
    : m_folder(std::move(folder)), m_limit(limitBytes) {}

std::string TThumbnailCache::FileOf(const std::string& catalogPath) const {
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.thumbs",
                static_cast<unsigned long long>(XXH3_64bits(catalogPath.data(), catalogPath.size())));
  return (fs::path(m_folder) / name).string();
}

TThumbnailCache::~TThumbnailCache() { Unmap(); }

void TThumbnailCache::Unmap() {
  if (m_map != nullptr) ::munmap(const_cast<std::uint8_t*>(m_map), m_mapSize);
  m_map = nullptr;
  m_mapSize = 0;
  m_entries.clear();
}

bool TThumbnailCache::Load(const std::string& catalogPath) {
  Unmap();
  const std::string path = FileOf(catalogPath);
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
    ::close(fd);
    return false;
  }
  // The file is only ever replaced by a rename, never changed in place, so
  // the mapping stays what was read.
  void* map = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) return false;
  m_map = static_cast<const std::uint8_t*>(map);
  m_mapSize = static_cast<std::size_t>(info.st_size);

  TCursor in(m_map, m_mapSize);
  std::uint32_t pathLength = 0, count = 0;
  bool sound = m_mapSize >= 8 && std::memcmp(m_map, kMagic, 8) == 0 && in.Skip(8) && in.Number(pathLength) &&
               pathLength <= kMaxPathLength;
  // A file of another catalog (whose name happens to hash alike) is foreign.
  sound = sound && pathLength == catalogPath.size() &&
          std::string_view(reinterpret_cast<const char*>(in.Here()), std::min<std::size_t>(pathLength, m_mapSize - in.At())) ==
              catalogPath &&
          in.Skip(pathLength) && in.Number(count);
  for (std::uint32_t i = 0; sound && i < count; ++i) {
    TThumbnailKey key;
    TEntry entry{};
    sound = in.Number(key.Position) && in.Number(key.PictureHash) && in.Number(key.Box) && in.Number(entry.Format) &&
            in.Number(entry.Width) && in.Number(entry.Height) && in.Number(entry.Length) && in.Number(entry.Checksum);
    const bool raw = entry.Format == static_cast<std::uint8_t>(TCompactPicture::TFormat::Rgba);
    sound = sound && (raw || entry.Format == static_cast<std::uint8_t>(TCompactPicture::TFormat::Jpeg)) &&
            entry.Width > 0 && entry.Height > 0 && entry.Width <= kMaxThumbnailSide &&
            entry.Height <= kMaxThumbnailSide &&
            (!raw || entry.Length == static_cast<std::size_t>(entry.Width) * entry.Height * 4);
    entry.Offset = in.At();
    sound = sound && in.Skip(entry.Length);
    if (sound) m_entries.emplace(key, entry);
  }
  if (!sound) {
    // Damaged or foreign: nothing in it is used, and it is made again.
    Unmap();
    return false;
  }
  // Used now: the last to go when the folder is trimmed.
  ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
  return true;
}

std::optional<TCompactPicture> TThumbnailCache::Take(const TThumbnailKey& key) const {
  auto found = m_entries.find(key);
  if (found == m_entries.end()) return std::nullopt;
  const TEntry& entry = found->second;
  const std::uint8_t* bytes = m_map + entry.Offset;
  if (XXH3_64bits(bytes, entry.Length) != entry.Checksum) return std::nullopt;
  TCompactPicture picture;
  picture.Format = static_cast<TCompactPicture::TFormat>(entry.Format);
  picture.Width = entry.Width;
  picture.Height = entry.Height;
  picture.Bytes.assign(reinterpret_cast<const char*>(bytes), entry.Length);
  return picture;
}

bool TThumbnailCache::Save(const std::string& catalogPath,
                           const std::vector<std::pair<TThumbnailKey, const TCompactPicture*>>& entries) {
  std::uint64_t total = 0;
  for (const auto& [key, picture] : entries) total += picture->Bytes.size() + 36;
  // One catalog larger than the whole cache is not kept at all.
  if (total > m_limit) return false;
  std::error_code error;
  fs::create_directories(m_folder, error);
  const std::string target = FileOf(catalogPath);
  // Written beside the old file and renamed over it: a full disk or a
  // read-only folder leaves the old file whole and no part of the new one.
  TFileLayer& files = CurrentFileLayer();
  std::string pattern = target + ".XXXXXX";
  const int fd = files.CreateTemporary(pattern);
  if (fd < 0) return false;
  std::string buffer(kMagic, 8);
  PutNumber(buffer, static_cast<std::uint32_t>(catalogPath.size()));
  buffer += catalogPath;
  PutNumber(buffer, static_cast<std::uint32_t>(entries.size()));
  bool ok = true;
  auto flush = [&] {
    ok = ok && WriteFully(files, fd, buffer.data(), buffer.size());
    buffer.clear();
  };
  for (const auto& [key, picture] : entries) {
    PutNumber(buffer, key.Position);
    PutNumber(buffer, key.PictureHash);
    PutNumber(buffer, key.Box);
    PutNumber(buffer, static_cast<std::uint8_t>(picture->Format));
    PutNumber(buffer, static_cast<std::uint16_t>(picture->Width));
    PutNumber(buffer, static_cast<std::uint16_t>(picture->Height));
    PutNumber(buffer, static_cast<std::uint32_t>(picture->Bytes.size()));
    PutNumber(buffer, XXH3_64bits(picture->Bytes.data(), picture->Bytes.size()));
    buffer += picture->Bytes;
    if (buffer.size() >= kWriteBuffer) flush();
    if (!ok) break;
  }
  flush();
  ok = files.Close(fd) == 0 && ok;
  if (!ok || files.Rename(pattern, target) != 0) {
    files.Remove(pattern);
    return false;
  }
  Trim(target);
  return true;
}

void TThumbnailCache::Trim(const std::string& keep) const {
  struct TFile {
    fs::path Path;
    std::uint64_t Size;
    fs::file_time_type Time;
  };
  std::vector<TFile> files;
  std::uint64_t total = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(m_folder, error)) {
    if (entry.path().extension() != ".thumbs" || !entry.is_regular_file(error)) continue;
    std::uint64_t size = entry.file_size(error);
    files.push_back({entry.path(), size, entry.last_write_time(error)});
    total += size;
  }
  std::sort(files.begin(), files.end(), [](const TFile& a, const TFile& b) { return a.Time < b.Time; });
  for (const TFile& file : files) {
    if (total <= m_limit) break;
    if (file.Path == keep) continue;
    if (fs::remove(file.Path, error)) total -= file.Size;
  }
}
