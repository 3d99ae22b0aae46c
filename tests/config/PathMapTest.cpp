#include "tests/support/TTestFolder.h"

#include "config/PathMap.h"
#include "config/TViewerSettings.h"

#include <gtest/gtest.h>

TEST(PathMap, FirstMatchingPrefixWinsIgnoringCaseAndBackslashesTurn) {
  const TPathMap rules = {{"C:\\Covers\\", "/srv/covers/"},
                          {"c:\\", "/mnt/c/"},
                          {"\\\\nas\\movies\\", "/mnt/nas/movies/"},
                          {"", "/never/"}};
  struct Case {
    const char* Path;
    std::optional<std::string> Mapped;
  };
  const Case cases[] = {
      {"C:\\Covers\\Alien.jpg", "/srv/covers/Alien.jpg"},
      {"c:\\COVERS\\sub\\x.jpg", "/srv/covers/sub/x.jpg"},
      {"C:\\Films\\x.avi", "/mnt/c/Films/x.avi"},
      {"\\\\NAS\\Movies\\Heat (1995)\\heat.mkv", "/mnt/nas/movies/Heat (1995)/heat.mkv"},
      {"\\\\nas\\music\\x.mp3", std::nullopt},
      {"D:\\x.avi", std::nullopt},
      {"covers\\x.jpg", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(MapPath(rules, c.Path), c.Mapped) << c.Path;
  // Order decides: a shorter rule first takes everything it covers.
  const TPathMap reversed = {rules[1], rules[0]};
  EXPECT_EQ(MapPath(reversed, "C:\\Covers\\Alien.jpg"), "/mnt/c/Covers/Alien.jpg");
  EXPECT_EQ(MapPathOrKeep(rules, "D:\\x.avi"), "D:\\x.avi");
}

TEST(PathMap, TellsAddressesFromPaths) {
  EXPECT_TRUE(IsUrl("http://example.com/x.mp4"));
  EXPECT_TRUE(IsUrl("rtsp://cam/stream"));
  EXPECT_FALSE(IsUrl("C://odd"));
  EXPECT_FALSE(IsUrl("/home/ann/x.avi"));
  EXPECT_FALSE(IsUrl("://x"));
  EXPECT_FALSE(IsUrl("a b://x"));
}

TEST(PathMap, RulesAndLiveReloadAreSavedAndReadBack) {
  TTestFolder folder;
  TViewerSettings settings;
  LoadSettings(settings, folder.Path(), 1024, 768);
  EXPECT_TRUE(settings.LiveReload);
  EXPECT_TRUE(settings.PathMap.empty());
  settings.LiveReload = false;
  settings.PathMap = {{"C:\\Covers\\", "/srv/covers/"}, {"\\\\nas\\", "/mnt/nas/"}};
  SaveSettings(settings, folder.Path());
  EXPECT_NE(folder.Read("Config.ini").find("[PathMap]\r\nCount=2\r\nFrom1=C:\\Covers\\\r\nTo1=/srv/covers/\r\n"),
            std::string::npos);
  TViewerSettings again;
  LoadSettings(again, folder.Path(), 1024, 768);
  EXPECT_FALSE(again.LiveReload);
  EXPECT_EQ(again.PathMap, settings.PathMap);
  // A rule without a prefix is dropped; a missing target maps to nothing.
  folder.Write("Config.ini", "[PathMap]\r\nCount=3\r\nFrom1=\r\nTo1=/x/\r\nFrom3=D:\\\r\n");
  LoadSettings(again, folder.Path(), 1024, 768);
  ASSERT_EQ(again.PathMap.size(), 1u);
  EXPECT_EQ(again.PathMap[0], (TPathRule{"D:\\", ""}));
}
