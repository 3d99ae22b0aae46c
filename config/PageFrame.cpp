#include "config/PageFrame.h"

#include "config/AsciiText.h"

#include "config/TIniFile.h"

#include <filesystem>

namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

TPageFrame BuildPageFrame(const std::string& folder, const std::string& scheme) {
  return BuildPageFrame(TIniFile((std::filesystem::path(folder) / kSchemesFileName).string()), scheme);
}

TPageFrame BuildPageFrame(const TIniFile& schemes, const std::string& scheme) {
  auto key = [&](const char* name, const char* fallback) { return schemes.ReadString(scheme, name, fallback); };
  std::string header;
  header += std::string("<html>") + kCrLf + "<header>" + kCrLf + "<style type=\"text/css\">" + kCrLf + "<!--" +
            kCrLf + "body {" + kCrLf;
  header += "  scrollbar-arrow-color: " + key("ScrollBarArrowColor", "#000000") + ";" + kCrLf;
  header += "  scrollbar-3dlight-color: " + key("ScrollBar3DLightColor", "#AAAAAA") + ";" + kCrLf;
  header += "  scrollbar-darkshadow-color: " + key("ScrollBarDarkShadowColor", "#000000") + ";" + kCrLf;
  header += "  scrollbar-face-color: " + key("ScrollBarFaceColor", "#AAAAAA") + ";" + kCrLf;
  header += "  scrollbar-highlight-color: " + key("ScrollBarHighlightColor", "#AAAAAA") + ";" + kCrLf;
  header += "  scrollbar-shadow-color: " + key("ScrollBarShadowColor", "#AAAAAA") + ";" + kCrLf;
  header += "  scrollbar-track-color: " + key("ScrollBarTrackColor", "#808080") + ";" + kCrLf;
  header += std::string("}") + kCrLf + "p, td {" + kCrLf + "  font-family: Verdana; font-size: 8pt;" + kCrLf + "}" +
            kCrLf + "-->" + kCrLf + "</style>" + kCrLf;
  header += "<body bgcolor=\"" + key("PageBackgroundColor", "#FFFFFF") + "\"";
  // A dark scheme needs light text. These two keys are ours; a scheme
  // without them gives exactly the body tag above.
  if (schemes.Find(scheme, "PageTextColor")) header += " text=\"" + key("PageTextColor", "") + "\"";
  if (schemes.Find(scheme, "PageLinkColor")) {
    const std::string link = key("PageLinkColor", "");
    header += " link=\"" + link + "\" vlink=\"" + link + "\"";
  }
  header += std::string(" leftmargin=\"0\" topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\">") + kCrLf;
  return TPageFrame{header, std::string("</body>") + kCrLf + "</html>"};
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
