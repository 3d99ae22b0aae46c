#include "ViewerFixture.h"
#include "tests/support/WindowParts.h"

#include "../dialogs/ManualTimer.h"
#include "viewer/TCatalogWatcher.h"
#include "browse/TSortMenus.h"
#include "catalog/TMovieList.h"
#include "config/PageFrame.h"
#include "config/TViewerSettings.h"
#include "viewer/TFormMain.h"
#include "viewer/TStripFiller.h"
#include "widgets/TCoverStrip.h"
#include "widgets/TSideBar.h"

#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class LiveReload : public ::testing::Test, public ViewerFixture {
 protected:
  std::vector<TMovie> FourMovies(const std::string& firstTitle = "Alpha") {
    return Movies(TestMovie(1, firstTitle), TestMovie(2, "Beta"), TestMovie(3, "Gamma"), TestMovie(4, "Delta"));
  }

  // As an editor saves: a new file renamed over the old one. The quiet
  // time starts afresh with the change that this makes.
  void Save(std::vector<TMovie> movies) {
    QuietTime->Stop();
    WriteTestCatalog(Folder.File("Live.qzt.new"), "Ann", movies);
    std::filesystem::rename(Folder.File("Live.qzt.new"), Folder.File("Live.qzt"));
  }

  void StartOn(std::vector<TMovie> movies, const std::string& more = std::string()) {
    WriteTestCatalog(Folder.File("Live.qzt"), "Ann", movies);
    WriteConfig(Folder.File("Live.qzt"), more);
    Start();
    auto timer = std::make_unique<TManualTimer>();
    QuietTime = timer.get();
    Watcher().SetQuietTimer(std::move(timer));
  }

  // The change has been noticed: the quiet time is running.
  bool Noticed() { return WaitUntil([&] { return QuietTime->Active(); }, 10000); }

  // The watcher's quiet time, passed when the test says so.
  TManualTimer* QuietTime = nullptr;

  std::string Item(int section, int item) { return Parts(*Form).SideBar->Items()[section].Items().Strings(item); }
};

}  // namespace

TEST_F(LiveReload, ARewriteIsShownKeepingTheMovieOnScreen) {
  StartOn(FourMovies());
  ASSERT_TRUE(Navigate([&] { ClickSideBarItem(0, 1); }));  // Beta
  std::vector<TMovie> changed = FourMovies("Alpha Redux");
  changed.push_back(TestMovie(5, "Epsilon"));
  Save(std::move(changed));
  ASSERT_TRUE(Noticed());
  EXPECT_EQ(Watcher().Reloads(), 0);
  EXPECT_EQ(QuietTime->Interval, 1000);
  const int before = static_cast<int>(Loads->count());
  ASSERT_TRUE(Watcher().ReloadNow());
  EXPECT_EQ(Watcher().Reloads(), 1);
  EXPECT_EQ(Parts(*Form).StatusCount->text(), QStringLiteral("5 Movies"));
  EXPECT_EQ(Item(0, 0), "Alpha Redux");
  EXPECT_EQ(Parts(*Form).SideBar->SubItemIndex(), 1);
  ASSERT_TRUE(WaitForLoads(before + 1));
  EXPECT_TRUE(PageText().contains(QStringLiteral("Beta")));
  const TMovie* shown = Form->Catalog().FindByHandle(std::stoll(Form->CurrentSelection()));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->OriginalTitle, "Beta");
  ASSERT_TRUE(WaitUntil([&] { return !Strip().Filling(); }));
  EXPECT_EQ(Parts(*Form).CoverStrip->Items().Count(), 5);
}

TEST_F(LiveReload, AHalfWrittenOrDeletedFileNeverReplacesTheCatalog) {
  StartOn(FourMovies());
  // Cut in the middle of the last record.
  WriteTestCatalog(Folder.File("cut.qzt"), "Ann", FourMovies("Changed"));
  std::string bytes = Folder.Read("cut.qzt");
  QuietTime->Stop();
  Folder.Write("Live.qzt.new", bytes.substr(0, bytes.size() - 7));
  std::filesystem::rename(Folder.File("Live.qzt.new"), Folder.File("Live.qzt"));
  ASSERT_TRUE(Noticed());
  EXPECT_FALSE(Watcher().ReloadNow());
  EXPECT_EQ(Item(0, 0), "Alpha");
  EXPECT_EQ(Form->Catalog().Count(), 4);
  EXPECT_TRUE(Parts(*Form).StatusText->text().contains(QStringLiteral("could not be read")));

  QuietTime->Stop();
  std::filesystem::remove(Folder.File("Live.qzt"));
  ASSERT_TRUE(Noticed());
  EXPECT_FALSE(Watcher().ReloadNow());
  EXPECT_EQ(Form->Catalog().Count(), 4);

  // Whole again: shown, and the note is gone.
  Save(FourMovies("Whole"));
  ASSERT_TRUE(Noticed());
  EXPECT_TRUE(Watcher().ReloadNow());
  EXPECT_EQ(Item(0, 0), "Whole");
  EXPECT_FALSE(Parts(*Form).StatusText->text().contains(QStringLiteral("could not be read")));
}

TEST_F(LiveReload, AFileStillBeingWrittenIsReloadedOnceItIsQuiet) {
  StartOn(FourMovies());
  Save(FourMovies("First"));
  ASSERT_TRUE(Noticed());
  // Another write before the quiet time is over: the time starts again.
  WriteTestCatalog(Folder.File("Live.qzt.new"), "Ann", FourMovies("Second"));
  std::filesystem::rename(Folder.File("Live.qzt.new"), Folder.File("Live.qzt"));
  EXPECT_FALSE(Watcher().ReloadNow());
  EXPECT_TRUE(QuietTime->Active());
  for (int i = 0; i < 5; ++i) {
    WriteTestCatalog(Folder.File("Live.qzt.new"), "Ann", FourMovies("Write " + std::to_string(i)));
    std::filesystem::rename(Folder.File("Live.qzt.new"), Folder.File("Live.qzt"));
  }
  QuietTime->Stop();
  ASSERT_TRUE(Noticed());
  EXPECT_EQ(Watcher().Reloads(), 0);
  // The quiet time passes once, at the end.
  EXPECT_TRUE(Watcher().ReloadNow());
  EXPECT_EQ(Watcher().Reloads(), 1);
  EXPECT_EQ(Item(0, 0), "Write 4");
}

TEST_F(LiveReload, TheSettingTurnsItOff) {
  StartOn(FourMovies(), "LiveReload=0\r\n");
  Save(FourMovies("Changed"));
  Watcher().FileChanged();
  EXPECT_FALSE(QuietTime->Active());
  EXPECT_FALSE(Watcher().ReloadNow());
  EXPECT_EQ(Item(0, 0), "Alpha");
}
