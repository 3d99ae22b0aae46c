#pragma once

#include <string>
#include <vector>

// One subcommand of elkcat: its name, a one-line summary, its usage line,
// the longer help text, and the function that runs it with the words after
// the subcommand's name. Run throws TUsageError for a wrong command line.
struct TElkcatCommand {
  const char* Name;
  const char* Summary;
  const char* Usage;
  const char* Help;
  int (*Run)(const std::vector<std::string>& words);
};

const std::vector<TElkcatCommand>& ElkcatCommands();

int RunDump(const std::vector<std::string>& words);
int RunStats(const std::vector<std::string>& words);
int RunExport(const std::vector<std::string>& words);
int RunSample(const std::vector<std::string>& words);
int RunSettings(const std::vector<std::string>& words);
int RunPage(const std::vector<std::string>& words);
int RunGet(const std::vector<std::string>& words);
int RunSideBar(const std::vector<std::string>& words);
int RunSearch(const std::vector<std::string>& words);
int RunFilter(const std::vector<std::string>& words);
int RunPaths(const std::vector<std::string>& words);
int RunSite(const std::vector<std::string>& words);
