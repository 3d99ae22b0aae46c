// The catalog watcher on its own, with the quiet time passed by hand.

#include "ViewerFixture.h"

#include "../dialogs/ManualTimer.h"
#include "catalog/TMovieList.h"
#include "viewer/TCatalogWatcher.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(CatalogWatcher, HandsOverOnlyAQuietCompleteFile) {
  TTestFolder folder;
  const std::string path = folder.File("Live.qzt");
  // As an editor saves: a new file renamed over the old one.
  auto save = [&](std::vector<TMovie> movies, std::size_t cut = 0) {
    WriteTestCatalog(path + ".new", "Ann", movies);
    if (cut > 0) {
      std::string bytes = folder.Read("Live.qzt.new");
      folder.Write("Live.qzt.new", bytes.substr(0, bytes.size() - cut));
    }
    std::filesystem::rename(path + ".new", path);
  };
  save(Movies(TestMovie(1, "One")));
  TCatalogWatcher watcher(nullptr);
  auto timer = std::make_unique<TManualTimer>();
  TManualTimer& quiet = *timer;
  watcher.SetQuietTimer(std::move(timer));
  std::vector<int> handedOver;
  int unreadable = 0;
  watcher.OnReloaded = [&](TMovieList& fresh) {
    handedOver.push_back(fresh.Count());
    return std::shared_ptr<const TMovieList>();
  };
  watcher.OnUnreadable = [&] { ++unreadable; };
  watcher.Watch(path);
  EXPECT_FALSE(watcher.ReloadNow());

  // Caught half written: reported, nothing handed over.
  save(Movies(TestMovie(1, "One"), TestMovie(2, "Two")), 7);
  watcher.FileChanged();
  ASSERT_TRUE(quiet.Active());
  EXPECT_EQ(quiet.Interval, TCatalogWatcher::kQuietMilliseconds);
  quiet.Fire();
  EXPECT_EQ(unreadable, 1);
  EXPECT_TRUE(handedOver.empty());

  // Written again before the quiet time is over: it starts again.
  save(Movies(TestMovie(1, "One"), TestMovie(2, "Two"), TestMovie(3, "Three")));
  watcher.FileChanged();
  save(Movies(TestMovie(1, "One"), TestMovie(2, "Two"), TestMovie(3, "Three"), TestMovie(4, "Four")));
  quiet.Fire();
  EXPECT_TRUE(quiet.Active());
  EXPECT_TRUE(handedOver.empty());
  quiet.Fire();
  EXPECT_EQ(handedOver, std::vector<int>{4});
  EXPECT_EQ(watcher.Reloads(), 1);

  // Turned off: changes are not even looked at.
  watcher.SetEnabled(false);
  save(Movies(TestMovie(1, "One")));
  watcher.FileChanged();
  EXPECT_FALSE(quiet.Active());
  EXPECT_FALSE(watcher.ReloadNow());
}
