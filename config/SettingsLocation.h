#pragma once

#include <string>

// Where "Config.ini" lives. A copy of the program in a folder of its own
// keeps its settings beside the executable. A system-wide install cannot
// write there, so its users' settings go to $XDG_CONFIG_HOME/elk-viewer
// (~/.config/elk-viewer when the variable is unset or not absolute), while
// the program folder's "Config.ini" still provides the starting settings.
struct TSettingsLocation {
  // The folder "Config.ini" is read from.
  std::string ReadFolder;
  // The folder it is saved to; created on the first save.
  std::string SaveFolder;
};

TSettingsLocation FindSettingsLocation(const std::string& programFolder);

// The program's folder under an XDG base directory: $VARIABLE/elk-viewer
// when the variable holds an absolute path, else ~/FALLBACK/elk-viewer
// (the home folder from $HOME, or the user database).
std::string XdgProgramFolder(const char* variable, const char* fallback);

// $XDG_CONFIG_HOME/elk-viewer, or ~/.config/elk-viewer.
std::string UserSettingsFolder();

// Creates the save folder when it is missing, then saves. Throws
// TViewerError "Unable to write to %s" (the path of "Config.ini") when the
// folder cannot be made.
struct TViewerSettings;
void SaveSettingsTo(const TViewerSettings& settings, const TSettingsLocation& location);
