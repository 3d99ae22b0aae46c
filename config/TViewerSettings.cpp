#include "config/TViewerSettings.h"

#include "config/AsciiText.h"
#include "config/Overloaded.h"
#include "config/PasswordScramble.h"
#include "config/TIniFile.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr const char* kConfig = "Config";
constexpr const char* kRecent = "Recent";
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
// The window a new settings file centres on the screen.
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

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

const std::vector<TSettingField>& ConfigSettingFields() {
  using S = TViewerSettings;
  using R = TSettingField::TRule;
  static const std::vector<TSettingField> fields = {
      {"CatalogFile", &S::CatalogFile},
      {"AutoOpen", &S::AutoOpen},
      {"TitleType", &S::TitleType},
      {"ColorScheme", &S::ColorScheme},
      {"Language", &S::Language},
      {"FullScreen", &S::FullScreen},
      {"ShowTopImages", &S::ShowTopImages},
      {"AutoScroll", &S::AutoScroll},
      {"MaxImageWidth", &S::MaxImageWidth},
      {"MaxImageHeight", &S::MaxImageHeight},
      {"DateFormat", &S::DateFormat},
      {"ExternalPlayer", &S::ExternalPlayer},
      {"VideoPathField", &S::VideoPathField},
      {"Protected", &S::Protected},
      {"Path", &S::Password, R::Scrambled},
      {"ShowOpenButton", &S::ShowOpenButton},
      {"ShowEditButton", &S::ShowEditButton},
      {"ShowSettingsButton", &S::ShowSettingsButton},
      {"ShowPlayButton", &S::ShowPlayButton},
      {"ShowSearch", &S::ShowSearch},
      {"Maximized", &S::Maximized},
      {"Left", &S::Left, R::CentredX},
      {"Top", &S::Top, R::CentredY},
      {"Width", &S::Width},
      {"Height", &S::Height},
      {"LastGroup", &S::LastGroup},
      {"LastGroupDesc", &S::LastGroupDesc},
      {"LastOrder", &S::LastOrder},
      {"LastOrderDesc", &S::LastOrderDesc},
      {"LiveReload", &S::LiveReload},
      {"ThumbnailCache", &S::ThumbnailCache},
  };
  return fields;
}

const TSettingField& ConfigSettingField(std::string_view key) {
  for (const TSettingField& field : ConfigSettingFields()) {
    if (key == field.Key) return field;
  }
  throw std::logic_error("unknown setting " + std::string(key));
}

void RememberRecentCatalog(std::vector<std::string>& recent, const std::string& path) {
  if (path.empty()) return;
  recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
  recent.insert(recent.begin(), path);
  if (recent.size() > kRecentCatalogCount) recent.resize(kRecentCatalogCount);
}

bool TUserVars::operator==(const TUserVars& other) const {
  if (m_entries.size() != other.m_entries.size()) return false;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].Name != other.m_entries[i].Name || m_entries[i].Value != other.m_entries[i].Value) return false;
  }
  return true;
}

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
  for (const TSettingField& field : ConfigSettingFields()) {
    std::visit(TOverloaded{
                   [&](std::string TViewerSettings::*text) {
                     if (field.Rule == TSettingField::TRule::Scrambled) {
                       s.*text = UnscramblePassword(file.ReadString(kConfig, field.Key, ""));
                     } else {
                       s.*text = file.ReadString(kConfig, field.Key, defaults.*text);
                     }
                   },
                   [&](bool TViewerSettings::*flag) { s.*flag = file.ReadBool(kConfig, field.Key, defaults.*flag); },
                   [&](int TViewerSettings::*number) {
                     int fallback = defaults.*number;
                     if (field.Rule == TSettingField::TRule::CentredX) fallback = (screenWidth - kDefaultWidth) / 2;
                     if (field.Rule == TSettingField::TRule::CentredY) fallback = (screenHeight - kDefaultHeight) / 2;
                     s.*number = file.ReadInteger(kConfig, field.Key, fallback);
                   },
                   [&](std::uint8_t TViewerSettings::*code) {
                     s.*code = static_cast<std::uint8_t>(file.ReadInteger(kConfig, field.Key, defaults.*code));
                   },
               },
               field.Member);
  }

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

  s.RecentCatalogs.clear();
  for (std::size_t n = 1; n <= kRecentCatalogCount; ++n) {
    std::string path = file.ReadString(kRecent, "File" + std::to_string(n), "");
    if (!path.empty() && std::find(s.RecentCatalogs.begin(), s.RecentCatalogs.end(), path) == s.RecentCatalogs.end()) {
      s.RecentCatalogs.push_back(std::move(path));
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
  for (const TSettingField& field : ConfigSettingFields()) {
    std::visit(TOverloaded{
                   [&](std::string TViewerSettings::*text) {
                     file.WriteString(kConfig, field.Key,
                                      field.Rule == TSettingField::TRule::Scrambled ? ScramblePassword(s.*text) : s.*text);
                   },
                   [&](bool TViewerSettings::*flag) { file.WriteBool(kConfig, field.Key, s.*flag); },
                   [&](int TViewerSettings::*number) { file.WriteInteger(kConfig, field.Key, s.*number); },
                   [&](std::uint8_t TViewerSettings::*code) { file.WriteInteger(kConfig, field.Key, s.*code); },
               },
               field.Member);
  }

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

  file.EraseSection(kRecent);
  for (std::size_t i = 0; i < s.RecentCatalogs.size() && i < kRecentCatalogCount; ++i) {
    file.WriteString(kRecent, "File" + std::to_string(i + 1), s.RecentCatalogs[i]);
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
