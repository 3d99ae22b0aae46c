#include "tools/ElkcatArgs.h"
#include "tools/ElkcatCommands.h"

#include "config/Overloaded.h"
#include "config/TextEncoding.h"
#include "config/TViewerSettings.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace {

using TJson = nlohmann::ordered_json;

TJson Text(const std::string& text) { return Cp1252ToUtf8(text); }

TJson Lines(const std::vector<std::string>& lines) {
  TJson out = TJson::array();
  for (const std::string& line : lines) out.push_back(Text(line));
  return out;
}

TJson SettingsJson(const TViewerSettings& s) {
  TJson j;
  for (const TSettingField& field : ConfigSettingFields()) {
    std::visit(TOverloaded{
                   [&](std::string TViewerSettings::*text) {
                     // The password itself is never printed; only whether there is one.
                     if (field.Rule == TSettingField::TRule::Scrambled) {
                       j["PasswordSet"] = !(s.*text).empty();
                     } else {
                       j[field.Key] = Text(s.*text);
                     }
                   },
                   [&](auto member) { j[field.Key] = s.*member; },
               },
               field.Member);
  }
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
    SaveSettings(settings, folder);
  }
  return 0;
}
