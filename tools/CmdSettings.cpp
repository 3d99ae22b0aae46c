#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "config/TextEncoding.h"
#include "config/TViewerError.h"
#include "config/TViewerSettings.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace {

using TJson = nlohmann::ordered_json;

constexpr int kNominalScreenWidth = 1024;
constexpr int kNominalScreenHeight = 768;

TJson Text(const std::string& text) { return Cp1252ToUtf8(text); }

TJson Lines(const std::vector<std::string>& lines) {
  TJson out = TJson::array();
  for (const std::string& line : lines) out.push_back(Text(line));
  return out;
}

TJson SettingsJson(const TViewerSettings& s) {
  TJson j;
  j["CatalogFile"] = Text(s.CatalogFile);
  j["AutoOpen"] = s.AutoOpen;
  j["TitleType"] = s.TitleType;
  j["ColorScheme"] = Text(s.ColorScheme);
  j["Language"] = Text(s.Language);
  j["FullScreen"] = s.FullScreen;
  j["ShowTopImages"] = s.ShowTopImages;
  j["AutoScroll"] = s.AutoScroll;
  j["MaxImageWidth"] = s.MaxImageWidth;
  j["MaxImageHeight"] = s.MaxImageHeight;
  j["DateFormat"] = Text(s.DateFormat);
  j["ExternalPlayer"] = Text(s.ExternalPlayer);
  j["VideoPathField"] = Text(s.VideoPathField);
  j["Protected"] = s.Protected;
  j["PasswordSet"] = !s.Password.empty();
  j["ShowOpenButton"] = s.ShowOpenButton;
  j["ShowEditButton"] = s.ShowEditButton;
  j["ShowSettingsButton"] = s.ShowSettingsButton;
  j["ShowPlayButton"] = s.ShowPlayButton;
  j["ShowSearch"] = s.ShowSearch;
  j["Maximized"] = s.Maximized;
  j["Left"] = s.Left;
  j["Top"] = s.Top;
  j["Width"] = s.Width;
  j["Height"] = s.Height;
  j["LastGroup"] = s.LastGroup;
  j["LastGroupDesc"] = s.LastGroupDesc;
  j["LastOrder"] = s.LastOrder;
  j["LastOrderDesc"] = s.LastOrderDesc;
  j["Template"] = Lines(s.Template);
  j["ListTemplate"] = Lines(s.ListTemplate);
  TJson vars = TJson::array();
  for (const auto& entry : s.UserVars.Entries()) vars.push_back(TJson::array({Text(entry.Name), Text(entry.Value)}));
  j["UserVars"] = std::move(vars);
  return j;
}

}  // namespace

int RunSettings(const std::vector<std::string>& words) {
  TArgs args(words, {"dir"}, {"resave"});
  args.ExpectPositional(0, 0);
  std::string folder = args.Value("dir").value_or(ProgramFolder());
  TViewerSettings settings;
  LoadSettings(settings, folder, kNominalScreenWidth, kNominalScreenHeight);
  std::cout << SettingsJson(settings).dump(2) << "\n";
  if (args.Flag("resave")) {
    try {
      SaveSettings(settings, folder);
    } catch (const TViewerError& error) {
      std::cerr << error.what() << "\n";
      return 1;
    }
  }
  return 0;
}
