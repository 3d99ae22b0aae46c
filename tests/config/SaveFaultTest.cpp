#include "tests/support/FailingFileLayer.h"
#include "tests/support/TTestFolder.h"

#include "config/TFileLayer.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

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

  // The error the save reports when its calls go through `layer`.
  auto SaveThrough = [&](TFailingFileLayer& layer) {
    SetFileLayer(&layer);
    std::string error;
    try {
      SaveSettings(after, folder.Path());
    } catch (const TViewerError& raised) {
      error = raised.what();
    }
    SetFileLayer(nullptr);
    return error;
  };
  int failures = 0;
  for (int n = 1;; ++n) {
    TFailingFileLayer layer(n);
    const std::string error = SaveThrough(layer);
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

  // A full disk: the first write and everything after it fail.
  folder.Write("Config.ini", oldText);
  TFailingFileLayer full(2, ENOSPC, true);
  EXPECT_EQ(SaveThrough(full), "Unable to write to " + folder.File("Config.ini"));
  EXPECT_EQ(folder.Read("Config.ini"), oldText);
  EXPECT_EQ(FolderEntries(folder), entries);
  EXPECT_EQ(folder.Read("other.txt"), "untouched");
}
