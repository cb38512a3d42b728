// The mirtil-host program: its sub-commands and their options, run on a
// machine given from outside so that tests can run it in process.
#pragma once

#include <string>
#include <vector>

#include "mirtilcli/Session.h"

namespace mirtilcli {

// Where the program finds things unless told otherwise.
struct ProgramDefaults {
  std::string pluginPath;        // the module beside the program
  std::string preferencesPath;   // in the user's configuration folder
};

// The preferences file in the configuration folder: $XDG_CONFIG_HOME, else
// $HOME/.config; empty when neither is set.
std::string configPreferencesPath(const std::string& xdgConfigHome, const std::string& home);

// Runs the program with its arguments (without the program's name);
// answers the exit status: 0 success, 1 a failed check or an unexpected
// answer of the plug-in, 2 bad usage or input.
int runProgram(const std::vector<std::string>& args, Machine& machine, const ProgramDefaults& defaults);

}  // namespace mirtilcli
