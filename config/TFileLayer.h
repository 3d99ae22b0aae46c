#pragma once

#include <string>
#include <sys/types.h>

// The file system calls that replacing a file goes through. The program
// uses the system's; tests put a layer in between that fails a chosen call,
// to show that every failure leaves the old file whole.
class TFileLayer {
 public:
  virtual ~TFileLayer() = default;
  // mkstemp: `pattern` ends in "XXXXXX" and receives the name made.
  virtual int CreateTemporary(std::string& pattern);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int ChangeMode(int fd, mode_t mode);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Remove(const std::string& path);
  // Makes a rename in `folder` durable.
  virtual int SyncFolder(const std::string& folder);
};

// Writes all `size` bytes through `files`, in the pieces the system takes;
// false, with errno set, when it cannot (a full disk, an error).
bool WriteFully(TFileLayer& files, int fd, const void* data, std::size_t size);

// The layer in use: the system's unless a test set another (nullptr puts
// the system's back).
TFileLayer& CurrentFileLayer();
void SetFileLayer(TFileLayer* layer);
