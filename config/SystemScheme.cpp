#include "config/SystemScheme.h"

#include "config/AsciiText.h"
#include "config/ColorScheme.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

bool IsSystemScheme(std::string_view scheme) { return SameTextAscii(scheme, kSystemSchemeName); }

std::string HtmlColor(TColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
  return text;
}

TColorScheme SystemColorScheme(const TDesktopPalette& p) {
  // The roles are chosen so that each pair of ground and text the widgets
  // draw is a pair the desktop itself draws: text on base in the side
  // bar's items and the page, window text on window in its sections,
  // highlighted text on highlight for the selection and hover.
  const std::pair<const char*, TColor> keys[] = {
      {"GalleryColor", p.Window},
      {"TopPanelColor", p.Window},
      {"Title1Color", p.WindowText},
      {"Title2Color", p.Highlight},
      {"ButtonColor", p.Button},
      {"ButtonHoverColor", p.Highlight},
      {"ButtonClickColor", p.Highlight},
      {"ButtonTextColor", p.ButtonText},
      {"ButtonTextHoverColor", p.HighlightedText},
      {"ButtonBorderColor", p.Mid},
      {"SideBarColor", p.Base},
      {"SideBarSectionColor", p.Window},
      {"SideBarSectionHoverColor", p.Window},
      {"SideBarSectionSelectedColor", p.Highlight},
      {"SideBarSectionTextColor", p.WindowText},
      {"SideBarSectionTextHoverColor", p.Link},
      {"SideBarSectionTextSelectedColor", p.HighlightedText},
      {"SideBarSectionLineColor", p.Mid},
      {"SideBarItemColor", p.Base},
      {"SideBarItemHoverColor", p.Base},
      {"SideBarItemSelectedColor", p.Highlight},
      {"SideBarItemTextColor", p.Text},
      {"SideBarItemTextHoverColor", p.Link},
      {"SideBarItemTextSelectedColor", p.HighlightedText},
      {"SideBarItemLineColor", p.Mid},
      {"SideBarBulletColor", p.Text},
      {"SideBarBulletHoverColor", p.Link},
      {"SideBarBulletSelectedColor", p.HighlightedText},
      {"SideBarScrollerColor", p.Button},
      {"SideBarScrollerArrowColor", p.ButtonText},
      {"SideBarScrollerHoverColor", p.Highlight},
      {"SideBarScrollerArrowHoverColor", p.HighlightedText},
      {"SplitterColor", p.Mid},
      {"ScrollBarArrowColor", p.ButtonText},
      {"ScrollBar3DLightColor", p.Light},
      {"ScrollBarDarkShadowColor", p.Shadow},
      {"ScrollBarFaceColor", p.Button},
      {"ScrollBarHighlightColor", p.Light},
      {"ScrollBarShadowColor", p.Dark},
      {"ScrollBarTrackColor", p.Window},
      {"PageBackgroundColor", p.Base},
      {"PageTextColor", p.Text},
      {"PageLinkColor", p.Link},
  };
  TColorScheme scheme;
  for (const TSchemeKey& key : ColorSchemeKeys()) {
    const auto role = std::find_if(std::begin(keys), std::end(keys),
                                   [&](const auto& entry) { return std::string_view(entry.first) == key.Name; });
    if (role == std::end(keys)) continue;
    const TColor color = role->second;
    if (auto widget = std::get_if<TColor TColorScheme::*>(&key.Member)) {
      scheme.**widget = color;
    } else if (auto page = std::get_if<std::string TColorScheme::*>(&key.Member)) {
      scheme.**page = HtmlColor(color);
    } else if (auto optional = std::get_if<std::optional<std::string> TColorScheme::*>(&key.Member)) {
      scheme.**optional = HtmlColor(color);
    }
  }
  return scheme;
}
