#include "config/TFileLayer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TFileLayer* g_layer = nullptr;

}  // namespace

int TFileLayer::CreateTemporary(std::string& pattern) { return ::mkstemp(pattern.data()); }
ssize_t TFileLayer::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int TFileLayer::ChangeMode(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int TFileLayer::Sync(int fd) { return ::fsync(fd); }
int TFileLayer::Close(int fd) { return ::close(fd); }
int TFileLayer::Rename(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()); }
int TFileLayer::Remove(const std::string& path) { return ::unlink(path.c_str()); }

int TFileLayer::SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int result = ::fsync(fd);
  ::close(fd);
  return result;
}

bool WriteFully(TFileLayer& files, int fd, const void* data, std::size_t size) {
  // Large writes go in pieces, so a fault can strike in the middle of one.
  constexpr std::size_t kPiece = 64 * 1024;
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = files.Write(fd, bytes + done, std::min(kPiece, size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

TFileLayer& CurrentFileLayer() {
  static TFileLayer system;
  return g_layer != nullptr ? *g_layer : system;
}

void SetFileLayer(TFileLayer* layer) { g_layer = layer; }
