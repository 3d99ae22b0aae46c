#include "config/PageFrame.h"

#include "config/AsciiText.h"
#include "config/ColorScheme.h"

#include "config/TIniFile.h"

#include <filesystem>

namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

TPageFrame BuildPageFrame(const std::string& folder, const std::string& scheme) {
  return BuildPageFrame(TIniFile((std::filesystem::path(folder) / kSchemesFileName).string()), scheme);
}

TPageFrame BuildPageFrame(const TIniFile& schemes, const std::string& scheme) {
  return BuildPageFrame(ReadColorScheme(schemes, scheme));
}

TPageFrame BuildPageFrame(const TColorScheme& scheme) {
  std::string header;
  header += std::string("<html>") + kCrLf + "<header>" + kCrLf + "<style type=\"text/css\">" + kCrLf + "<!--" +
            kCrLf + "body {" + kCrLf;
  header += "  scrollbar-arrow-color: " + scheme.ScrollBarArrowColor + ";" + kCrLf;
  header += "  scrollbar-3dlight-color: " + scheme.ScrollBar3DLightColor + ";" + kCrLf;
  header += "  scrollbar-darkshadow-color: " + scheme.ScrollBarDarkShadowColor + ";" + kCrLf;
  header += "  scrollbar-face-color: " + scheme.ScrollBarFaceColor + ";" + kCrLf;
  header += "  scrollbar-highlight-color: " + scheme.ScrollBarHighlightColor + ";" + kCrLf;
  header += "  scrollbar-shadow-color: " + scheme.ScrollBarShadowColor + ";" + kCrLf;
  header += "  scrollbar-track-color: " + scheme.ScrollBarTrackColor + ";" + kCrLf;
  header += std::string("}") + kCrLf + "p, td {" + kCrLf + "  font-family: Verdana; font-size: 8pt;" + kCrLf + "}" +
            kCrLf + "-->" + kCrLf + "</style>" + kCrLf;
  header += "<body bgcolor=\"" + scheme.PageBackgroundColor + "\"";
  // A dark scheme needs light text. These two keys are ours; a scheme
  // without them gives exactly the body tag above.
  if (scheme.PageTextColor) header += " text=\"" + *scheme.PageTextColor + "\"";
  if (scheme.PageLinkColor) header += " link=\"" + *scheme.PageLinkColor + "\" vlink=\"" + *scheme.PageLinkColor + "\"";
  header += std::string(" leftmargin=\"0\" topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\">") + kCrLf;
  return TPageFrame{header, std::string("</body>") + kCrLf + "</html>"};
}
