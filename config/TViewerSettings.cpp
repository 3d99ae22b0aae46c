#include "config/TViewerSettings.h"

#include "config/AsciiText.h"

#include "config/PasswordScramble.h"
#include "config/TIniFile.h"

#include <filesystem>
#include <map>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr const char* kConfig = "Config";
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

// The number N of a key spelled prefix + N (N from 1, in plain decimal), or 0.
long NumberedKey(const std::string& key, std::string_view prefix) {
  if (key.size() <= prefix.size() || !SameTextAscii(std::string_view(key).substr(0, prefix.size()), prefix)) return 0;
  std::string digits = key.substr(prefix.size());
  if (digits.size() > 9 || digits[0] == '0') return 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
  }
  return std::stol(digits);
}

// The values of the keys prefix + 1 .. prefix + count that the section holds,
// by number. Reading only the keys present keeps a huge stored count from
// costing time or memory; the absent ones read as empty anyway.
std::map<long, std::string> ReadNumbered(const TIniFile& file, const std::string& section, std::string_view prefix,
                                         long count) {
  std::map<long, std::string> values;
  for (const auto& [key, value] : file.ReadSectionPairs(section)) {
    long n = NumberedKey(key, prefix);
    if (n >= 1 && n <= count) values.emplace(n, value);  // the first of a repeated key wins
  }
  return values;
}

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 32; }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::vector<std::string> ReadTemplate(const TIniFile& file, const std::string& section,
                                      const std::vector<std::string>& fallback) {
  long count = file.ReadInteger(section, "Count", 0);
  std::string text;
  if (count > 0) {
    std::map<long, std::string> lines = ReadNumbered(file, section, "Line", count);
    long last = lines.empty() ? 0 : lines.rbegin()->first;
    for (long n = 1; n <= last; ++n) {
      auto found = lines.find(n);
      if (found != lines.end()) text += found->second;
      text += "\r\n";
    }
  }
  std::size_t first = 0;
  while (first < text.size() && IsWhite(text[first])) ++first;
  std::size_t end = text.size();
  while (end > first && IsWhite(text[end - 1])) --end;
  std::vector<std::string> lines = SplitLines(std::string_view(text).substr(first, end - first));
  return lines.empty() ? fallback : lines;
}

void WriteTemplate(TIniFile& file, const std::string& section, const std::vector<std::string>& lines) {
  file.EraseSection(section);
  if (lines.empty()) return;
  file.WriteInteger(section, "Count", static_cast<int>(lines.size()));
  for (std::size_t i = 0; i < lines.size(); ++i) file.WriteString(section, "Line" + std::to_string(i + 1), lines[i]);
}

// The full path, as the error message names it.
std::string ConfigPath(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::path(folder) / kConfigFileName;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).string();
}

}  // namespace

void TUserVars::Set(const std::string& name, const std::string& value) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if (SameTextAscii(it->Name, name)) {
      if (value.empty()) {
        m_entries.erase(it);
      } else {
        it->Value = value;
      }
      return;
    }
  }
  if (!value.empty()) m_entries.push_back({name, value});
}

const std::vector<std::string>& DefaultMovieTemplate() {
  static const std::vector<std::string> lines = {
      "<table width=\"100%\" border=\"0\" cellspacing=\"20\">",
      "  <tr>",
      "    <td align=\"left\" valign=\"top\">$PICTURE</td>",
      "    <td>",
      "      <p><b><font size=\"5\">$ORIGINALTITLE</font></b>",
      "        ($YEAR)<br>",
      "        $RATINGIMG</p>",
      "      <p><b>Category<br></b>$CATEGORY</p>",
      "      <p><b>Length<br></b>$LENGTH Minutes</p>",
      "      <p><b>Directed by<br></b>$DIRECTOR</p>",
      "      <p><b>Actors<br></b>$ACTORS</p>",
      "      <p><b>Description<br></b>$DESCRIPTION</p>",
      "      <p><b>Comments<br></b>$COMMENTS</p>",
      "    </td>",
      "  </tr>",
      "</table>",
      "<p>&nbsp;</p>",
  };
  return lines;
}

const std::vector<std::string>& DefaultListTemplate() {
  static const std::vector<std::string> lines = {
      "<table width=\"100%\" border=\"0\" cellspacing=\"20\">",
      "  <tr>",
      "    <td align=\"left\" valign=\"top\"><a href=\"$LINK\">$SMALLPICTURE</a></td>",
      "    <td>",
      "      <p>",
      "\t<b><font size=\"4\"><a href=\"$LINK\">$TITLE</a></font></b> ($YEAR)",
      "\t<br>",
      "\t$RATINGIMG",
      "      </p>",
      "      <p>",
      "        <b>Category: </b>$CATEGORY<br>",
      "        <b>Director: </b>$DIRECTOR<br>",
      "        <b>Actors: </b>$ACTORS<br>",
      "      </p>",
      "    </td>",
      "  </tr>",
      "</table>",
      "<hr noshade>",
  };
  return lines;
}

std::string ProgramFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error).string();
  return exe.parent_path().string();
}

bool IsReadOnlyMedium(const std::string& folder) {
  struct statfs fs {};
  if (::statfs(folder.c_str(), &fs) == 0 && (fs.f_type == kIso9660Magic || fs.f_type == kUdfMagic)) return true;
  struct statvfs vfs {};
  return ::statvfs(folder.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

void LoadSettings(TViewerSettings& settings, const std::string& folder, int screenWidth, int screenHeight) {
  LoadSettings(settings, TIniFile(ConfigPath(folder)), screenWidth, screenHeight);
}

void LoadSettings(TViewerSettings& settings, const TIniFile& file, int screenWidth, int screenHeight) {
  const TViewerSettings defaults;
  TViewerSettings& s = settings;
  s.CatalogFile = file.ReadString(kConfig, "CatalogFile", defaults.CatalogFile);
  s.AutoOpen = file.ReadBool(kConfig, "AutoOpen", defaults.AutoOpen);
  s.TitleType = file.ReadInteger(kConfig, "TitleType", defaults.TitleType);
  s.ColorScheme = file.ReadString(kConfig, "ColorScheme", defaults.ColorScheme);
  s.Language = file.ReadString(kConfig, "Language", defaults.Language);
  s.FullScreen = file.ReadBool(kConfig, "FullScreen", defaults.FullScreen);
  s.ShowTopImages = file.ReadBool(kConfig, "ShowTopImages", defaults.ShowTopImages);
  s.AutoScroll = file.ReadBool(kConfig, "AutoScroll", defaults.AutoScroll);
  s.MaxImageWidth = file.ReadInteger(kConfig, "MaxImageWidth", defaults.MaxImageWidth);
  s.MaxImageHeight = file.ReadInteger(kConfig, "MaxImageHeight", defaults.MaxImageHeight);
  s.DateFormat = file.ReadString(kConfig, "DateFormat", defaults.DateFormat);
  s.ExternalPlayer = file.ReadString(kConfig, "ExternalPlayer", defaults.ExternalPlayer);
  s.VideoPathField = file.ReadString(kConfig, "VideoPathField", defaults.VideoPathField);
  s.Protected = file.ReadBool(kConfig, "Protected", defaults.Protected);
  s.Password = UnscramblePassword(file.ReadString(kConfig, "Path", ""));
  s.ShowOpenButton = file.ReadBool(kConfig, "ShowOpenButton", defaults.ShowOpenButton);
  s.ShowEditButton = file.ReadBool(kConfig, "ShowEditButton", defaults.ShowEditButton);
  s.ShowSettingsButton = file.ReadBool(kConfig, "ShowSettingsButton", defaults.ShowSettingsButton);
  s.ShowPlayButton = file.ReadBool(kConfig, "ShowPlayButton", defaults.ShowPlayButton);
  s.ShowSearch = file.ReadBool(kConfig, "ShowSearch", defaults.ShowSearch);
  s.Maximized = file.ReadBool(kConfig, "Maximized", defaults.Maximized);
  s.Left = file.ReadInteger(kConfig, "Left", (screenWidth - 800) / 2);
  s.Top = file.ReadInteger(kConfig, "Top", (screenHeight - 600) / 2);
  s.Width = file.ReadInteger(kConfig, "Width", defaults.Width);
  s.Height = file.ReadInteger(kConfig, "Height", defaults.Height);
  s.LastGroup = static_cast<std::uint8_t>(file.ReadInteger(kConfig, "LastGroup", defaults.LastGroup));
  s.LastGroupDesc = file.ReadBool(kConfig, "LastGroupDesc", defaults.LastGroupDesc);
  s.LastOrder = static_cast<std::uint8_t>(file.ReadInteger(kConfig, "LastOrder", defaults.LastOrder));
  s.LastOrderDesc = file.ReadBool(kConfig, "LastOrderDesc", defaults.LastOrderDesc);
  s.LiveReload = file.ReadBool(kConfig, "LiveReload", defaults.LiveReload);
  s.ThumbnailCache = file.ReadBool(kConfig, "ThumbnailCache", defaults.ThumbnailCache);

  s.PathMap.clear();
  long rules = file.ReadInteger("PathMap", "Count", 0);
  if (rules > 0) {
    std::map<long, std::string> from = ReadNumbered(file, "PathMap", "From", rules);
    std::map<long, std::string> to = ReadNumbered(file, "PathMap", "To", rules);
    for (const auto& [n, prefix] : from) {
      if (prefix.empty()) continue;
      auto target = to.find(n);
      s.PathMap.push_back({prefix, target == to.end() ? std::string() : target->second});
    }
  }

  s.Template = ReadTemplate(file, "Template", DefaultMovieTemplate());
  s.ListTemplate = ReadTemplate(file, "ListTemplate", DefaultListTemplate());

  s.UserVars.Clear();
  long count = file.ReadInteger("UserVars", "Count", 0);
  if (count > 0) {
    std::map<long, std::string> names = ReadNumbered(file, "UserVars", "Name", count);
    std::map<long, std::string> values = ReadNumbered(file, "UserVars", "Value", count);
    for (const auto& [n, name] : names) {
      if (name.empty()) continue;
      auto value = values.find(n);
      s.UserVars.Set(name, value == values.end() ? std::string() : value->second);
    }
  }
}

void SaveSettings(const TViewerSettings& settings, const std::string& folder) {
  if (IsReadOnlyMedium(folder)) return;
  TIniFile file(ConfigPath(folder));
  const TViewerSettings& s = settings;
  file.WriteString(kConfig, "CatalogFile", s.CatalogFile);
  file.WriteBool(kConfig, "AutoOpen", s.AutoOpen);
  file.WriteInteger(kConfig, "TitleType", s.TitleType);
  file.WriteString(kConfig, "ColorScheme", s.ColorScheme);
  file.WriteString(kConfig, "Language", s.Language);
  file.WriteBool(kConfig, "FullScreen", s.FullScreen);
  file.WriteBool(kConfig, "ShowTopImages", s.ShowTopImages);
  file.WriteBool(kConfig, "AutoScroll", s.AutoScroll);
  file.WriteInteger(kConfig, "MaxImageWidth", s.MaxImageWidth);
  file.WriteInteger(kConfig, "MaxImageHeight", s.MaxImageHeight);
  file.WriteString(kConfig, "DateFormat", s.DateFormat);
  file.WriteString(kConfig, "ExternalPlayer", s.ExternalPlayer);
  file.WriteString(kConfig, "VideoPathField", s.VideoPathField);
  file.WriteBool(kConfig, "Protected", s.Protected);
  file.WriteString(kConfig, "Path", ScramblePassword(s.Password));
  file.WriteBool(kConfig, "ShowOpenButton", s.ShowOpenButton);
  file.WriteBool(kConfig, "ShowEditButton", s.ShowEditButton);
  file.WriteBool(kConfig, "ShowSettingsButton", s.ShowSettingsButton);
  file.WriteBool(kConfig, "ShowPlayButton", s.ShowPlayButton);
  file.WriteBool(kConfig, "ShowSearch", s.ShowSearch);
  file.WriteBool(kConfig, "Maximized", s.Maximized);
  file.WriteInteger(kConfig, "Left", s.Left);
  file.WriteInteger(kConfig, "Top", s.Top);
  file.WriteInteger(kConfig, "Width", s.Width);
  file.WriteInteger(kConfig, "Height", s.Height);
  file.WriteInteger(kConfig, "LastGroup", s.LastGroup);
  file.WriteBool(kConfig, "LastGroupDesc", s.LastGroupDesc);
  file.WriteInteger(kConfig, "LastOrder", s.LastOrder);
  file.WriteBool(kConfig, "LastOrderDesc", s.LastOrderDesc);
  file.WriteBool(kConfig, "LiveReload", s.LiveReload);
  file.WriteBool(kConfig, "ThumbnailCache", s.ThumbnailCache);

  WriteTemplate(file, "Template", s.Template);
  WriteTemplate(file, "ListTemplate", s.ListTemplate);

  file.EraseSection("PathMap");
  if (!s.PathMap.empty()) {
    file.WriteInteger("PathMap", "Count", static_cast<int>(s.PathMap.size()));
    for (std::size_t i = 0; i < s.PathMap.size(); ++i) {
      file.WriteString("PathMap", "From" + std::to_string(i + 1), s.PathMap[i].From);
      file.WriteString("PathMap", "To" + std::to_string(i + 1), s.PathMap[i].To);
    }
  }

  file.EraseSection("UserVars");
  const auto& entries = s.UserVars.Entries();
  if (!entries.empty()) {
    file.WriteInteger("UserVars", "Count", static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].Name.empty()) continue;
      file.WriteString("UserVars", "Name" + std::to_string(i + 1), entries[i].Name);
      file.WriteString("UserVars", "Value" + std::to_string(i + 1), entries[i].Value);
    }
  }
  file.UpdateFile();
}
