#pragma once

#include "config/SettingsLocation.h"

#include <string>

// Where the viewer finds its files: the program folder (schemes, languages,
// files that pages name) and where the settings are kept.
struct TProgramPaths {
  std::string ProgramFolder;
  TSettingsLocation Settings;

  static TProgramPaths ForFolder(const std::string& programFolder);
  // The catalog the window opens first: the given one, else the configured
  // one when it opens by itself; empty for none.
  std::string CatalogAtStart(const std::string& given) const;
  // The catalog file a setting names: a relative name lies in the program
  // folder, so a copied program folder opens its own sample.
  std::string CatalogPath(const std::string& setting) const;
};
