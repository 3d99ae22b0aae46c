#include "viewer/TCatalogKeeper.h"

#include "ViewerFixture.h"
#include "catalog/TMovieList.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"
#include "render/TPageSession.h"
#include "tests/support/TTestFolder.h"

#include <gtest/gtest.h>

namespace {

// The catalog's life without a window: what the session holds, what the
// settings keep and what is said, for a good, a missing and a broken file.
TEST(CatalogKeeper, KeepsTheCatalogShownUntilAnotherIsReadWhole) {
  TTestFolder folder;
  WriteTestCatalog(folder.File("One.qzt"), "Ann", Movies(TestMovie(1, "Alpha"), TestMovie(2, "Beta")));
  WriteTestCatalog(folder.File("Two.qzt"), "Bob", Movies(TestMovie(1, "Gamma")));
  folder.Write("Broken.qzt", "not a catalog");
  const TProgramPaths paths{folder.Path(), {folder.Path(), folder.Path()}};
  TPageSession session(folder.Path());
  TCatalogKeeper keeper(session, paths, nullptr, nullptr);
  int opened = 0, closed = 0, lettingGo = 0;
  keeper.OnOpened = [&] { ++opened; };
  keeper.OnClosed = [&] { ++closed; };
  keeper.OnLettingGo = [&] { ++lettingGo; };

  // Nothing configured: no catalog, said so.
  keeper.OpenConfigured();
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(session.Catalog().Count(), 0);

  keeper.Open(folder.File("One.qzt"), true);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(session.Catalog().Count(), 2);
  EXPECT_EQ(keeper.Path(), folder.File("One.qzt"));
  EXPECT_EQ(session.Settings().RecentCatalogs.front(), folder.File("One.qzt"));
  EXPECT_NE(folder.Read("Config.ini").find("CatalogFile=" + folder.File("One.qzt")), std::string::npos);

  // A broken and a missing file: an error, nothing let go, nothing saved.
  for (const char* name : {"Broken.qzt", "Missing.qzt"}) {
    EXPECT_THROW(keeper.Open(folder.File(name), false), std::exception) << name;
    EXPECT_EQ(session.Catalog().Count(), 2) << name;
    EXPECT_EQ(session.Settings().CatalogFile, folder.File("One.qzt")) << name;
    EXPECT_TRUE(session.Settings().AutoOpen) << name;
  }
  EXPECT_EQ(lettingGo, 2);
  EXPECT_EQ(folder.Read("Config.ini").find("Broken"), std::string::npos);

  keeper.Open(folder.File("Two.qzt"), true);
  EXPECT_EQ(session.Catalog().Count(), 1);
  EXPECT_EQ(session.Settings().RecentCatalogs.front(), folder.File("Two.qzt"));
}

}  // namespace
