#pragma once

#include <QStringList>
#include <string>

// The viewer's command line, read before Qt starts (so that help and
// mistakes are answered without a display). Qt's own options (-platform and
// the like) are passed over, and so is everything after --webEngineArgs:
//
//   elk-viewer [CATALOG]     opens CATALOG instead of the configured one
//   elk-viewer --help        what this says, on standard output
//   elk-viewer --version     the version, on standard output
struct TCommandLine {
  enum class TAction { Run, Help, Version, Wrong };
  TAction Action = TAction::Run;
  std::string Catalog;
  // Why the command line is wrong.
  std::string Problem;
};

// `arguments` starts with the program's name.
TCommandLine ParseCommandLine(const QStringList& arguments);

std::string CommandLineUsage();
std::string VersionText();
