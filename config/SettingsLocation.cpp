#include "config/SettingsLocation.h"

#include "config/FilePaths.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string XdgProgramFolder(const char* variable, const char* fallback) {
  const char* given = std::getenv(variable);
  std::string base;
  if (given != nullptr && given[0] == '/') {
    base = given;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      const passwd* user = ::getpwuid(::getuid());
      home = user != nullptr ? user->pw_dir : "/tmp";
    }
    base = (fs::path(home) / fallback).string();
  }
  return (fs::path(base) / "elk-viewer").string();
}

std::string UserSettingsFolder() { return XdgProgramFolder("XDG_CONFIG_HOME", ".config"); }

TSettingsLocation FindSettingsLocation(const std::string& programFolder) {
  // A writable program folder is a private copy: everything stays in it.
  // A program run from a disc or a read-only mount keeps its settings there
  // too, and saving then writes nothing at all.
  if (::access(programFolder.c_str(), W_OK) == 0 || IsReadOnlyMedium(programFolder)) {
    return {programFolder, programFolder};
  }
  std::string user = UserSettingsFolder();
  bool userHasSettings = IsRegularFile((fs::path(user) / kConfigFileName).string());
  return {userHasSettings ? user : programFolder, user};
}

void SaveSettingsTo(const TViewerSettings& settings, const TSettingsLocation& location) {
  std::error_code error;
  if (!fs::is_directory(location.SaveFolder, error)) {
    fs::create_directories(location.SaveFolder, error);
    if (error) {
      throw TViewerError(FormatMessage("Unable to write to %s", (fs::path(location.SaveFolder) / kConfigFileName).string()));
    }
  }
  SaveSettings(settings, location.SaveFolder);
}
