#pragma once

#include "config/FileStamp.h"
#include "config/TColor.h"
#include "config/TIniFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

constexpr const char* kSchemesFileName = "Schemes.ini";

// A scheme colour "#RRGGBB" as the colour value 0x00BBGGRR: the first
// character is skipped whatever it is, blanks around the text are removed,
// and anything that is not hexadecimal gives black (0).
std::uint32_t ParseSchemeColorText(std::string_view text);

// Reads `key` of `scheme` (or `defaultText` when the key is absent) and
// parses it as above. A key present with an empty value is black.
std::uint32_t ParseSchemeColor(const TIniFile& schemes, const std::string& scheme, const std::string& key,
                               const std::string& defaultText);

struct TDesktopPalette;

// One colour scheme as the program uses it, read once from its section of
// "Schemes.ini": the widget colours parsed into colour values, the page
// colours as written (the page copies them into its style sheet, so any
// colour text a browser knows may stand there).
struct TColorScheme {
  // Widgets, in the order the main window applies them.
  TColor GalleryColor = 0;
  TColor TopPanelColor = 0;
  TColor Title1Color = 0;
  TColor Title2Color = 0;
  TColor ButtonColor = 0;
  TColor ButtonHoverColor = 0;
  TColor ButtonClickColor = 0;
  TColor ButtonTextColor = 0;
  TColor ButtonTextHoverColor = 0;
  TColor ButtonBorderColor = 0;
  TColor SideBarColor = 0;
  TColor SideBarSectionColor = 0;
  TColor SideBarSectionHoverColor = 0;
  TColor SideBarSectionSelectedColor = 0;
  TColor SideBarSectionTextColor = 0;
  TColor SideBarSectionTextHoverColor = 0;
  TColor SideBarSectionTextSelectedColor = 0;
  TColor SideBarSectionLineColor = 0;
  TColor SideBarItemColor = 0;
  TColor SideBarItemHoverColor = 0;
  TColor SideBarItemSelectedColor = 0;
  TColor SideBarItemTextColor = 0;
  TColor SideBarItemTextHoverColor = 0;
  TColor SideBarItemTextSelectedColor = 0;
  TColor SideBarItemLineColor = 0;
  TColor SideBarBulletColor = 0;
  TColor SideBarBulletHoverColor = 0;
  TColor SideBarBulletSelectedColor = 0;
  TColor SideBarScrollerColor = 0;
  TColor SideBarScrollerArrowColor = 0;
  TColor SideBarScrollerHoverColor = 0;
  TColor SideBarScrollerArrowHoverColor = 0;
  TColor SplitterColor = 0;

  // The page.
  std::string ScrollBarArrowColor;
  std::string ScrollBar3DLightColor;
  std::string ScrollBarDarkShadowColor;
  std::string ScrollBarFaceColor;
  std::string ScrollBarHighlightColor;
  std::string ScrollBarShadowColor;
  std::string ScrollBarTrackColor;
  std::string PageBackgroundColor;
  // Ours, for dark schemes; a scheme without them leaves the page's text
  // and links in the browser's own colours.
  std::optional<std::string> PageTextColor;
  std::optional<std::string> PageLinkColor;
};

// One key of a scheme: its name, its default text (none for the optional
// page colours) and the field it fills.
struct TSchemeKey {
  using TMember = std::variant<TColor TColorScheme::*, std::string TColorScheme::*,
                               std::optional<std::string> TColorScheme::*>;
  const char* Name;
  const char* Default;
  TMember Member;
};

// Every key a scheme has, widget keys first in the order they are applied.
const std::vector<TSchemeKey>& ColorSchemeKeys();

// The scheme of section `name`; absent keys take their defaults, so an
// unknown name gives the built-in colours.
TColorScheme ReadColorScheme(const TIniFile& schemes, const std::string& name);

// "Schemes.ini" of a folder. The file is read again only when it changed
// on disk, so applying settings over and over costs no reading.
class TSchemeFile {
 public:
  explicit TSchemeFile(std::string folder);

  // The scheme of that name; "System" (in any case) is made from `palette`
  // when one is given, whatever the file holds under that name.
  TColorScheme Scheme(const std::string& name, const TDesktopPalette* palette = nullptr);
  // The schemes the file offers, in file order, with "System" at the end
  // when the file has no section of that name.
  std::vector<std::string> Names();

 private:
  const TIniFile& File();

  std::string m_path;
  std::optional<TIniFile> m_file;
  TFileStamp m_stamp;
};
