#include "config/ColorScheme.h"

#include "config/AsciiText.h"
#include "config/Overloaded.h"
#include "config/SystemScheme.h"

#include <algorithm>
#include <filesystem>

const std::vector<TSchemeKey>& ColorSchemeKeys() {
  using S = TColorScheme;
  static const std::vector<TSchemeKey> keys = {
      {"GalleryColor", "#808080", &S::GalleryColor},
      {"TopPanelColor", "#808080", &S::TopPanelColor},
      {"Title1Color", "#000000", &S::Title1Color},
      {"Title2Color", "#FFFFFF", &S::Title2Color},
      {"ButtonColor", "#808080", &S::ButtonColor},
      {"ButtonHoverColor", "#AAAAAA", &S::ButtonHoverColor},
      {"ButtonClickColor", "#AAAAAA", &S::ButtonClickColor},
      {"ButtonTextColor", "#FFFFFF", &S::ButtonTextColor},
      {"ButtonTextHoverColor", "#FFFFFF", &S::ButtonTextHoverColor},
      {"ButtonBorderColor", "#C0C0C0", &S::ButtonBorderColor},
      {"SideBarColor", "#808080", &S::SideBarColor},
      {"SideBarSectionColor", "#808080", &S::SideBarSectionColor},
      {"SideBarSectionHoverColor", "#808080", &S::SideBarSectionHoverColor},
      {"SideBarSectionSelectedColor", "#AAAAAA", &S::SideBarSectionSelectedColor},
      {"SideBarSectionTextColor", "#FFFFFF", &S::SideBarSectionTextColor},
      {"SideBarSectionTextHoverColor", "#FFFF00", &S::SideBarSectionTextHoverColor},
      {"SideBarSectionTextSelectedColor", "#000000", &S::SideBarSectionTextSelectedColor},
      {"SideBarSectionLineColor", "#FFFFFF", &S::SideBarSectionLineColor},
      {"SideBarItemColor", "#808080", &S::SideBarItemColor},
      {"SideBarItemHoverColor", "#808080", &S::SideBarItemHoverColor},
      {"SideBarItemSelectedColor", "#AAAAAA", &S::SideBarItemSelectedColor},
      {"SideBarItemTextColor", "#FFFFFF", &S::SideBarItemTextColor},
      {"SideBarItemTextHoverColor", "#FFFF00", &S::SideBarItemTextHoverColor},
      {"SideBarItemTextSelectedColor", "#000000", &S::SideBarItemTextSelectedColor},
      {"SideBarItemLineColor", "#C0C0C0", &S::SideBarItemLineColor},
      {"SideBarBulletColor", "#FFFFFF", &S::SideBarBulletColor},
      {"SideBarBulletHoverColor", "#FFFF00", &S::SideBarBulletHoverColor},
      {"SideBarBulletSelectedColor", "#000000", &S::SideBarBulletSelectedColor},
      {"SideBarScrollerColor", "#000000", &S::SideBarScrollerColor},
      {"SideBarScrollerArrowColor", "#FFFFFF", &S::SideBarScrollerArrowColor},
      {"SideBarScrollerHoverColor", "#FFFFFF", &S::SideBarScrollerHoverColor},
      {"SideBarScrollerArrowHoverColor", "#000000", &S::SideBarScrollerArrowHoverColor},
      {"SplitterColor", "#FFFFFF", &S::SplitterColor},
      {"ScrollBarArrowColor", "#000000", &S::ScrollBarArrowColor},
      {"ScrollBar3DLightColor", "#AAAAAA", &S::ScrollBar3DLightColor},
      {"ScrollBarDarkShadowColor", "#000000", &S::ScrollBarDarkShadowColor},
      {"ScrollBarFaceColor", "#AAAAAA", &S::ScrollBarFaceColor},
      {"ScrollBarHighlightColor", "#AAAAAA", &S::ScrollBarHighlightColor},
      {"ScrollBarShadowColor", "#AAAAAA", &S::ScrollBarShadowColor},
      {"ScrollBarTrackColor", "#808080", &S::ScrollBarTrackColor},
      {"PageBackgroundColor", "#FFFFFF", &S::PageBackgroundColor},
      {"PageTextColor", nullptr, &S::PageTextColor},
      {"PageLinkColor", nullptr, &S::PageLinkColor},
  };
  return keys;
}

TColorScheme ReadColorScheme(const TIniFile& schemes, const std::string& name) {
  TColorScheme scheme;
  for (const TSchemeKey& key : ColorSchemeKeys()) {
    std::visit(TOverloaded{
                   [&](TColor TColorScheme::*color) {
                     scheme.*color = ParseSchemeColor(schemes, name, key.Name, key.Default);
                   },
                   [&](std::string TColorScheme::*text) {
                     scheme.*text = schemes.ReadString(name, key.Name, key.Default);
                   },
                   [&](std::optional<std::string> TColorScheme::*optional) {
                     scheme.*optional = schemes.Find(name, key.Name);
                   },
               },
               key.Member);
  }
  return scheme;
}

TSchemeFile::TSchemeFile(std::string folder)
    : m_path((std::filesystem::path(folder) / kSchemesFileName).string()) {}

const TIniFile& TSchemeFile::File() {
  TFileStamp now = StampOf(m_path);
  if (!m_file || now != m_stamp) {
    m_file.emplace(m_path);
    m_stamp = now;
  }
  return *m_file;
}

TColorScheme TSchemeFile::Scheme(const std::string& name, const TDesktopPalette* palette) {
  if (palette != nullptr && IsSystemScheme(name)) return SystemColorScheme(*palette);
  return ReadColorScheme(File(), name);
}

std::vector<std::string> TSchemeFile::Names() {
  std::vector<std::string> names = File().ReadSections();
  if (std::none_of(names.begin(), names.end(), [](const std::string& name) { return IsSystemScheme(name); })) {
    names.push_back(kSystemSchemeName);
  }
  return names;
}

std::uint32_t ParseSchemeColorText(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  auto piece = [&](std::size_t from) { return from < text.size() ? text.substr(from, 2) : std::string_view(); };
  std::string joined = std::string(piece(5)) + std::string(piece(3)) + std::string(piece(1));
  if (joined.empty()) return 0;
  std::uint32_t value = 0;
  for (char c : joined) {
    int digit = HexDigitValue(c);
    if (digit < 0) return 0;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::uint32_t ParseSchemeColor(const TIniFile& schemes, const std::string& scheme, const std::string& key,
                               const std::string& defaultText) {
  return ParseSchemeColorText(schemes.ReadString(scheme, key, defaultText));
}
