// The mirtil-host program: its sub-commands and their options, run on a
// machine given from outside so that tests can run it in process.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "mirtilcli/Script.h"
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

// A command line read: the command, its file names and its options.
struct Arguments {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  bool help = false;

  bool has(const std::string& name) const { return options.count(name) != 0; }
  std::string option(const std::string& name, const std::string& fallback = "") const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
  }
};

// The command, its file names and its --name value (or --name=value)
// options; --help or -h anywhere asks for the command's help. Throws a
// UsageError naming what is wrong: no command or an unknown one, an option
// the command does not take, given twice or without its value, or the
// wrong number of file names.
Arguments readArguments(const std::vector<std::string>& words);

// Runs the program with its arguments (without the program's name);
// answers the exit status: 0 success, 1 a failed check or an unexpected
// answer of the plug-in, 2 bad usage or input.
int runProgram(const std::vector<std::string>& args, Machine& machine, const ProgramDefaults& defaults);

}  // namespace mirtilcli
