#include "RenderFixtures.h"

#include "config/AsciiText.h"
#include "config/ColorScheme.h"
#include "config/Overloaded.h"
#include "config/PageFrame.h"
#include "config/SystemScheme.h"
#include "config/TIniFile.h"

#include <algorithm>

#include <gtest/gtest.h>

TEST(PageFrame, UsesEveryDefaultWithoutSchemes) {
  TPageFrame frame = BuildPageFrame("/nonexistent", "Default");
  EXPECT_EQ(frame.PageHeader,
            "<html>\r\n<header>\r\n<style type=\"text/css\">\r\n<!--\r\nbody {\r\n"
            "  scrollbar-arrow-color: #000000;\r\n  scrollbar-3dlight-color: #AAAAAA;\r\n"
            "  scrollbar-darkshadow-color: #000000;\r\n  scrollbar-face-color: #AAAAAA;\r\n"
            "  scrollbar-highlight-color: #AAAAAA;\r\n  scrollbar-shadow-color: #AAAAAA;\r\n"
            "  scrollbar-track-color: #808080;\r\n}\r\np, td {\r\n  font-family: Verdana; font-size: 8pt;\r\n}\r\n"
            "-->\r\n</style>\r\n<body bgcolor=\"#FFFFFF\" leftmargin=\"0\" topmargin=\"0\" marginwidth=\"0\" "
            "marginheight=\"0\">\r\n");
  EXPECT_EQ(frame.PageFooter, "</body>\r\n</html>");
}

TEST(PageFrame, CopiesSchemeValuesAsWrittenAndIsRebuiltWhole) {
  TTestFolder folder;
  folder.Write("Schemes.ini",
               "[Navy]\r\nPageBackgroundColor=navy\r\nScrollBarTrackColor=\r\n[Red]\r\nScrollBarArrowColor=#FF0000\r\n");
  TPageFrame navy = BuildPageFrame(folder.Path(), "Navy");
  EXPECT_NE(navy.PageHeader.find("<body bgcolor=\"navy\" "), std::string::npos);
  EXPECT_NE(navy.PageHeader.find("  scrollbar-track-color: ;\r\n"), std::string::npos);
  TPageFrame red = BuildPageFrame(folder.Path(), "Red");
  EXPECT_EQ(red.PageHeader.find("navy"), std::string::npos);
  EXPECT_NE(red.PageHeader.find("scrollbar-arrow-color: #FF0000;"), std::string::npos);
  EXPECT_EQ(red.PageHeader.find("</header>"), std::string::npos);
}

TEST(PageFrame, OptionalTextAndLinkColoursGoIntoTheBodyTagOnlyWhenGiven) {
  TTestFolder folder;
  folder.Write("Schemes.ini", "[Dark]\r\nPageBackgroundColor=#101010\r\nPageTextColor=#EEEEEE\r\nPageLinkColor=#FFD27A\r\n"
                              "[Plain]\r\nPageBackgroundColor=#101010\r\n");
  EXPECT_NE(BuildPageFrame(folder.Path(), "Dark")
                .PageHeader.find("<body bgcolor=\"#101010\" text=\"#EEEEEE\" link=\"#FFD27A\" vlink=\"#FFD27A\" leftmargin"),
            std::string::npos);
  EXPECT_NE(BuildPageFrame(folder.Path(), "Plain").PageHeader.find("<body bgcolor=\"#101010\" leftmargin"), std::string::npos);
}

TEST(PageFrame, ShippedSchemesAllHaveTheirPageBackground) {
  const TIniFile schemes(std::string(ELK_SOURCE_DIR) + "/data/Schemes.ini");
  std::vector<std::string> names = schemes.ReadSections();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names.front(), "Default");
  for (const std::string& name : names) {
    EXPECT_TRUE(schemes.Find(name, "PageBackgroundColor").has_value()) << name;
    EXPECT_TRUE(schemes.Find(name, "GalleryColor").has_value()) << name;
  }
}

TEST(SchemeColors, ParseHashRgbIntoTheColourValue) {
  EXPECT_EQ(ParseSchemeColorText("#FF0000"), 0x0000FFu);
  EXPECT_EQ(ParseSchemeColorText("  #00ff00 \t"), 0x00FF00u);
  EXPECT_EQ(ParseSchemeColorText("#0000FF"), 0xFF0000u);
  EXPECT_EQ(ParseSchemeColorText("xAABBCCDD"), 0xCCBBAAu);
  EXPECT_EQ(ParseSchemeColorText("#GG0000"), 0u);
  EXPECT_EQ(ParseSchemeColorText(""), 0u);
  EXPECT_EQ(ParseSchemeColorText("navy"), 0u);
  EXPECT_EQ(ParseSchemeColorText("#FF"), 0xFFu);
  TIniFile schemes = TIniFile::FromText("s.ini", "[S]\r\nGalleryColor=\r\nTopPanelColor=#102030\r\n");
  EXPECT_EQ(ParseSchemeColor(schemes, "S", "GalleryColor", "#808080"), 0u);
  EXPECT_EQ(ParseSchemeColor(schemes, "S", "TopPanelColor", "#808080"), 0x302010u);
  EXPECT_EQ(ParseSchemeColor(schemes, "S", "SideBarColor", "#AAAAAA"), 0xAAAAAAu);
  EXPECT_EQ(ParseSchemeColor(schemes, "None", "GalleryColor", "#808080"), 0x808080u);
}

TEST(SystemScheme, IsKnownByNameInAnyCase) {
  EXPECT_TRUE(IsSystemScheme("System"));
  EXPECT_TRUE(IsSystemScheme("SYSTEM"));
  EXPECT_FALSE(IsSystemScheme("System "));
  EXPECT_FALSE(IsSystemScheme("Systems"));
  EXPECT_FALSE(IsSystemScheme(""));
}

TEST(SystemScheme, PaletteReplacesAWrittenSectionAndLeavesTheOthers) {
  TTestFolder folder;
  folder.Write("Schemes.ini", "[system]\r\nGalleryColor=#FF0000\r\nOwnKey=1\r\n[Sand]\r\nGalleryColor=#C2B280\r\n");
  TSchemeFile schemes(folder.Path());
  TDesktopPalette dark;
  dark.Window = RgbColor(0x20, 0x20, 0x20);
  dark.Base = RgbColor(0x10, 0x10, 0x10);
  dark.Text = RgbColor(0xE0, 0xE0, 0xE0);
  dark.Link = RgbColor(0x80, 0xB0, 0xFF);
  const TColorScheme system = schemes.Scheme("System", &dark);
  EXPECT_EQ(system.GalleryColor, RgbColor(0x20, 0x20, 0x20));
  EXPECT_EQ(schemes.Scheme("Sand", &dark).GalleryColor, RgbColor(0xC2, 0xB2, 0x80));
  // Without a palette (elkcat) the file's section is read as written.
  EXPECT_EQ(schemes.Scheme("system").GalleryColor, RgbColor(0xFF, 0, 0));
  // Every key the shipped schemes have is made from the palette, so no
  // built-in default (light grey) shows through a dark desktop.
  const TIniFile shipped(std::string(ELK_SOURCE_DIR) + "/data/Schemes.ini");
  for (const std::string& key : shipped.ReadSectionKeys("Default")) {
    EXPECT_TRUE(std::any_of(ColorSchemeKeys().begin(), ColorSchemeKeys().end(),
                            [&](const TSchemeKey& known) { return SameTextAscii(known.Name, key); }))
        << key;
  }
  TDesktopPalette lit;
  for (TColor* role : {&lit.Window, &lit.WindowText, &lit.Base, &lit.Text, &lit.Button, &lit.ButtonText, &lit.Highlight,
                       &lit.HighlightedText, &lit.Link, &lit.Light, &lit.Mid, &lit.Dark, &lit.Shadow}) {
    *role = RgbColor(1, 2, 3);
  }
  const TColorScheme fromLit = SystemColorScheme(lit);
  for (const TSchemeKey& key : ColorSchemeKeys()) {
    std::visit(TOverloaded{
                   [&](TColor TColorScheme::*color) { EXPECT_EQ(fromLit.*color, RgbColor(1, 2, 3)) << key.Name; },
                   [&](std::string TColorScheme::*text) { EXPECT_EQ(fromLit.*text, "#010203") << key.Name; },
                   [&](std::optional<std::string> TColorScheme::*text) {
                     EXPECT_EQ(fromLit.*text, std::optional<std::string>("#010203")) << key.Name;
                   },
               },
               key.Member);
  }
  EXPECT_EQ(system.SideBarItemTextColor, dark.Text);

  const std::string header = BuildPageFrame(system).PageHeader;
  EXPECT_NE(header.find("<body bgcolor=\"#101010\" text=\"#E0E0E0\" link=\"#80B0FF\" vlink=\"#80B0FF\" "),
            std::string::npos);
  EXPECT_NE(header.find("scrollbar-track-color: #202020;"), std::string::npos);
}
