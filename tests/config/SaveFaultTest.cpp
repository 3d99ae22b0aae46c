#include "tests/support/TTestFolder.h"

#include "config/TFileLayer.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

// Fails the n-th of the calls that change the file system (counting from 1)
// and lets every other call through.
class TFailingLayer : public TFileLayer {
 public:
  explicit TFailingLayer(int failAt) : m_failAt(failAt) {}
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
    if (++Calls != m_failAt) return false;
    Failed = true;
    errno = EIO;
    return true;
  }
  int m_failAt;
};

std::set<std::string> FolderEntries(const TTestFolder& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) names.insert(entry.path().filename());
  return names;
}

}  // namespace

TEST(SaveSettingsFaults, EveryFailedWriteLeavesAWholeFileAndNothingElse) {
  TTestFolder folder;
  TViewerSettings before;
  LoadSettings(before, folder.Path(), 1024, 768);
  SaveSettings(before, folder.Path());
  const std::string oldText = folder.Read("Config.ini");
  folder.Write("other.txt", "untouched");

  // Large enough to be written in several pieces.
  TViewerSettings after = before;
  after.Width = 1234;
  after.Template.assign(3000, "<p>a line of a long template with $TITLE in it</p>");
  SaveSettings(after, folder.Path());
  const std::string newText = folder.Read("Config.ini");
  folder.Write("Config.ini", oldText);
  const std::set<std::string> entries = FolderEntries(folder);

  int failures = 0;
  for (int n = 1;; ++n) {
    TFailingLayer layer(n);
    SetFileLayer(&layer);
    std::string error;
    try {
      SaveSettings(after, folder.Path());
    } catch (const TViewerError& raised) {
      error = raised.what();
    }
    SetFileLayer(nullptr);
    if (!layer.Failed) {
      EXPECT_GT(n, 5) << "the save should make several calls";
      break;
    }
    ++failures;
    const std::string text = folder.Read("Config.ini");
    EXPECT_TRUE(text == oldText || text == newText) << "call " << n;
    EXPECT_EQ(FolderEntries(folder), entries) << "call " << n;
    if (text == oldText) {
      EXPECT_EQ(error, "Unable to write to " + folder.File("Config.ini")) << "call " << n;
    } else {
      // Only making the rename durable may fail after the new file is in place.
      EXPECT_EQ(n, layer.Calls) << "call " << n;
      EXPECT_EQ(error, "") << "call " << n;
    }
    folder.Write("Config.ini", oldText);
  }
  EXPECT_GE(failures, 6);
  EXPECT_EQ(folder.Read("other.txt"), "untouched");
}
