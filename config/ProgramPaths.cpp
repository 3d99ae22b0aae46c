#include "config/ProgramPaths.h"

#include "config/FilePaths.h"
#include "config/TViewerSettings.h"

#include <filesystem>

TProgramPaths TProgramPaths::ForFolder(const std::string& programFolder) {
  return {programFolder, FindSettingsLocation(programFolder)};
}

std::string TProgramPaths::CatalogAtStart(const std::string& given) const {
  if (!given.empty()) return given;
  TViewerSettings settings;
  LoadSettings(settings, Settings.ReadFolder, kNominalScreenWidth, kNominalScreenHeight);
  const std::string path = CatalogPath(settings.CatalogFile);
  return settings.AutoOpen && PathExists(path) ? path : std::string();
}

std::string TProgramPaths::CatalogPath(const std::string& setting) const {
  if (setting.empty() || std::filesystem::path(setting).is_absolute()) return setting;
  return (std::filesystem::path(ProgramFolder) / setting).lexically_normal().string();
}
