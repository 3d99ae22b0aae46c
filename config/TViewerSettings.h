#pragma once

#include "config/PathMap.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The user's find-and-replace pairs. Names compare without regard to ASCII
// letter case; setting a known name replaces its value in place and an empty
// value removes the entry. A "=" inside either text is kept as "&equal;".
class TUserVars {
 public:
  struct TEntry {
    std::string Name;
    std::string Value;
  };

  void Set(const std::string& name, const std::string& value);
  void Clear() { m_entries.clear(); }
  std::size_t Count() const { return m_entries.size(); }
  const std::vector<TEntry>& Entries() const { return m_entries; }
  bool operator==(const TUserVars& other) const;

 private:
  std::vector<TEntry> m_entries;
};

// Every setting of "Config.ini" with its default, both page templates and
// the user variables. Password holds the plain password; only the file
// holds it scrambled.
struct TViewerSettings {
  std::string CatalogFile;
  bool AutoOpen = false;
  int TitleType = 0;
  std::string ColorScheme = "Default";
  std::string Language = "English";
  bool FullScreen = false;
  bool ShowTopImages = true;
  bool AutoScroll = true;
  int MaxImageWidth = 400;
  int MaxImageHeight = 400;
  std::string DateFormat = "mm/dd/yyyy";
  std::string ExternalPlayer;
  std::string VideoPathField;
  bool Protected = false;
  std::string Password;
  bool ShowOpenButton = true;
  bool ShowEditButton = true;
  bool ShowSettingsButton = true;
  bool ShowPlayButton = true;
  bool ShowSearch = true;
  bool Maximized = true;
  int Left = 0;
  int Top = 0;
  int Width = 800;
  int Height = 600;
  std::uint8_t LastGroup = 0;
  bool LastGroupDesc = false;
  std::uint8_t LastOrder = 11;
  bool LastOrderDesc = false;

  // Ours, beyond the classic keys: reloading the catalog when it changes on
  // disk, and the rules that carry paths of another machine over to this one.
  bool LiveReload = true;
  bool ThumbnailCache = true;
  TPathMap PathMap;
  // The catalogs opened last, the latest first (section "Recent").
  std::vector<std::string> RecentCatalogs;

  std::vector<std::string> Template;
  std::vector<std::string> ListTemplate;
  TUserVars UserVars;

  bool operator==(const TViewerSettings&) const = default;
};

// One key of the [Config] section and the field it fills. The default is
// the field's value in a new TViewerSettings, but for the window's place,
// which centres an 800 x 600 window on the screen.
struct TSettingField {
  using TMember = std::variant<std::string TViewerSettings::*, bool TViewerSettings::*, int TViewerSettings::*,
                               std::uint8_t TViewerSettings::*>;
  enum class TRule {
    Plain,
    // Stored scrambled: the password (key "Path").
    Scrambled,
    // Default: centred on the screen's width or height.
    CentredX,
    CentredY,
  };
  const char* Key;
  TMember Member;
  TRule Rule = TRule::Plain;
};

// Every key of the [Config] section, in the order the file is written.
const std::vector<TSettingField>& ConfigSettingFields();
// The field of a key; an unknown key is a programming error.
const TSettingField& ConfigSettingField(std::string_view key);

constexpr const char* kConfigFileName = "Config.ini";

// How many recent catalogs are kept.
constexpr std::size_t kRecentCatalogCount = 8;

// Puts `path` first among the recent catalogs, once, keeping at most
// kRecentCatalogCount.
void RememberRecentCatalog(std::vector<std::string>& recent, const std::string& path);

const std::vector<std::string>& DefaultMovieTemplate();
const std::vector<std::string>& DefaultListTemplate();

// The folder of the running executable; "Config.ini", "Schemes.ini" and the
// language files live there.
std::string ProgramFolder();

// The screen the defaults assume where there is none (elkcat, the page
// workers, the catalog the program opens first).
constexpr int kNominalScreenWidth = 1024;
constexpr int kNominalScreenHeight = 768;

// Fills every field from "Config.ini" in `folder`, with the defaults for
// anything missing. The screen size gives the default window position.
void LoadSettings(TViewerSettings& settings, const std::string& folder, int screenWidth, int screenHeight);
// The same from a "Config.ini" already read.
class TIniFile;
void LoadSettings(TViewerSettings& settings, const TIniFile& file, int screenWidth, int screenHeight);

// Writes every field to "Config.ini" in `folder`, replacing the file
// atomically. Does nothing on a read-only or optical-disc file system.
// Throws TViewerError "Unable to write to %s" when the file cannot be written.
void SaveSettings(const TViewerSettings& settings, const std::string& folder);

// True when `folder` lies on a file system the program must not write to
// (ISO 9660, UDF, or mounted read-only).
bool IsReadOnlyMedium(const std::string& folder);
