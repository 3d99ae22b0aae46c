#pragma once

#include "config/TFileLayer.h"

#include <cerrno>
#include <string>

// Fails the n-th of the calls that change the file system (counting from 1)
// with `error` (EIO, or ENOSPC for a full disk) and lets every other call
// through; with `always`, that call and every later one fail.
class TFailingFileLayer : public TFileLayer {
 public:
  explicit TFailingFileLayer(int failAt, int error = EIO, bool always = false)
      : m_failAt(failAt), m_error(error), m_always(always) {}
  int Calls = 0;
  bool Failed = false;

  int CreateTemporary(std::string& pattern) override { return Fail() ? -1 : TFileLayer::CreateTemporary(pattern); }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    return Fail() ? -1 : TFileLayer::Write(fd, data, size);
  }
  int ChangeMode(int fd, mode_t mode) override { return Fail() ? -1 : TFileLayer::ChangeMode(fd, mode); }
  int Sync(int fd) override { return Fail() ? -1 : TFileLayer::Sync(fd); }
  int Close(int fd) override {
    // A failing close still releases the descriptor, as the system's does.
    if (Fail()) {
      TFileLayer::Close(fd);
      return -1;
    }
    return TFileLayer::Close(fd);
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Fail() ? -1 : TFileLayer::Rename(from, to);
  }
  int SyncFolder(const std::string& folder) override { return Fail() ? -1 : TFileLayer::SyncFolder(folder); }

 private:
  bool Fail() {
    ++Calls;
    if (Calls != m_failAt && !(m_always && Calls > m_failAt)) return false;
    Failed = true;
    errno = m_error;
    return true;
  }
  int m_failAt;
  int m_error;
  bool m_always;
};
