#include "mirtilcli/Program.h"

#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "MirtilNames.h"
#include "mirtilcli/Demo.h"
#include "mirtilcli/DocumentFiles.h"
#include "mirtilcli/Script.h"
#include "mirtilcli/ScriptRunner.h"
#include "hostvalidate/Validator.h"

namespace mirtilcli {

namespace {

constexpr const char* kProgramName = "mirtil-host";
constexpr const char* kPreferencesFolder = "mirrortile";
constexpr const char* kPreferencesFileName = "prefs";
constexpr int kMakeDragMoves = 4;

const char* const kUsage =
    "usage:\n"
    "  mirtil-host demo [--out DIR]\n"
    "  mirtil-host make IN.svg OUT.svg --press X,Y --release X,Y [--type 0|1] [--layer NAME]\n"
    "                   [--turn X1,Y1,X2,Y2] [--expand FILE] [--png FILE] [--dump FILE]\n"
    "                   [--export-seam-free FILE]\n"
    "  mirtil-host run SCRIPT [--open IN.svg] [--save OUT.svg] [--png FILE] [--dump FILE]\n"
    "                   [--export-seam-free FILE]\n"
    "  mirtil-host render IN.svg OUT.png [--scale S]\n"
    "  mirtil-host animate IN.svg OUT.svg [--seconds S]\n"
    "  mirtil-host validate [--seed N] [--repeat N] [--strictness 1-10]\n"
    "options of every command: --plugin PATH (the module), --prefs FILE (the preferences)\n"
    "coordinates are the SVG file's x, y\n";

struct Arguments {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;

  bool has(const std::string& name) const { return options.count(name) != 0; }
  std::string option(const std::string& name, const std::string& fallback = "") const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
  }
};

UsageError Bad(const Arguments& args, const std::string& message) {
  return UsageError(std::string(kProgramName) + " " + args.command + ": " + message);
}

// The command, its words and its --name value (or --name=value) options.
Arguments ReadArguments(const std::vector<std::string>& words) {
  static const std::map<std::string, std::pair<std::size_t, std::set<std::string>>> kCommands = {
      {"demo", {0, {"out"}}},
      {"make", {2, {"press", "release", "type", "layer", "turn", "expand", "png", "dump", "export-seam-free"}}},
      {"run", {1, {"open", "save", "png", "dump", "export-seam-free"}}},
      {"render", {2, {"scale"}}},
      {"animate", {2, {"seconds"}}},
      {"validate", {0, {"seed", "repeat", "strictness"}}},
  };
  Arguments args;
  if (words.empty()) throw UsageError(std::string(kProgramName) + ": no command given\n" + kUsage);
  args.command = words[0];
  const auto command = kCommands.find(args.command);
  if (command == kCommands.end()) {
    throw UsageError(std::string(kProgramName) + ": unknown command '" + args.command + "'\n" + kUsage);
  }
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
      args.positional.push_back(word);
      continue;
    }
    std::string name = word.substr(2);
    std::string value;
    const std::size_t equals = name.find('=');
    if (equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    } else {
      if (i + 1 >= words.size()) throw Bad(args, "option --" + name + " needs a value");
      value = words[++i];
    }
    const bool common = name == "plugin" || name == "prefs";
    if (!common && command->second.second.count(name) == 0) throw Bad(args, "unknown option --" + name);
    if (args.has(name)) throw Bad(args, "option --" + name + " given twice");
    args.options[name] = value;
  }
  if (args.positional.size() != command->second.first) {
    throw Bad(args, "takes " + std::to_string(command->second.first) + " file name(s), got " +
                        std::to_string(args.positional.size()) + "\n" + kUsage);
  }
  return args;
}

// "X,Y,..." with exactly `count` numbers.
std::vector<double> Numbers(const Arguments& args, const std::string& option, std::size_t count) {
  std::vector<double> numbers;
  std::stringstream in(args.option(option));
  std::string part;
  while (std::getline(in, part, ',')) {
    double value = 0;
    if (!parseNumber(part, value)) break;
    numbers.push_back(value);
  }
  if (numbers.size() != count || args.option(option).back() == ',') {
    throw Bad(args, "--" + option + " takes " + std::to_string(count) + " numbers separated by commas, not '" +
                        args.option(option) + "'");
  }
  return numbers;
}

double Positive(const Arguments& args, const std::string& option, double fallback) {
  if (!args.has(option)) return fallback;
  double value = 0;
  if (!parseNumber(args.option(option), value) || value <= 0) {
    throw Bad(args, "--" + option + " takes a number above 0, not '" + args.option(option) + "'");
  }
  return value;
}

// Stops with exit status 1 when a message answered a code.
void Answered(AIErr result, const std::string& what) {
  if (result != kNoErr) throw CheckFailure(what + ": the plug-in answered " + formatResultCode(result));
}

void PrintAlerts(Session& session) {
  for (const std::string& alert : session.newAlerts()) session.machine().err << "alert: " << alert << "\n";
}

void WriteOutputs(Session& session, const Arguments& args) {
  if (args.has("save")) saveDocument(session, args.option("save"));
  if (args.has("png")) renderDocument(session, args.option("png"), 1);
  if (args.has("export-seam-free")) exportSeamFree(session, args.option("export-seam-free"));
  if (args.has("dump")) dumpDocument(session, args.option("dump"));
}

void Make(Session& session, const Arguments& args) {
  if (!args.has("press") || !args.has("release")) throw Bad(args, "needs --press X,Y and --release X,Y");
  const std::vector<double> press = Numbers(args, "press", 2);
  const std::vector<double> release = Numbers(args, "release", 2);
  std::vector<double> turn;
  if (args.has("turn")) turn = Numbers(args, "turn", 4);
  if (args.has("type") && args.option("type") != "0" && args.option("type") != "1") {
    throw Bad(args, "--type takes 0 or 1, not '" + args.option("type") + "'");
  }

  openDocument(session, args.positional[0]);
  if (args.has("type")) session.setPreference(kMirtilTypePref, args.option("type") == "1" ? kMirtilSweep : kMirtilInPlace, false);
  if (args.has("layer")) {
    session.setCurrentLayer(args.option("layer"));
  } else {
    session.makeCurrent(session.topLayer());
  }
  session.select({});
  const std::size_t before = session.mirrortiles().size();
  Answered(session.drag({press[0], press[1]}, {release[0], release[1]}, kMakeDragMoves), "the drag");
  PrintAlerts(session);
  if (session.mirrortiles().size() == before) throw CheckFailure("no mirror-tile object was made");
  if (!turn.empty()) {
    session.select({session.art("@last")});
    Answered(session.drag({turn[0], turn[1]}, {turn[2], turn[3]}, kMakeDragMoves), "the turn");
    PrintAlerts(session);
  }
  saveDocument(session, args.positional[1]);
  if (args.has("expand")) {
    AIArtHandle expanded = nullptr;
    Answered(session.edits().expand(session.art("@last"), &expanded), "the expansion");
    saveDocument(session, args.option("expand"));
  }
  WriteOutputs(session, args);
}

void Run(Session& session, const Arguments& args) {
  const std::string& scriptPath = args.positional[0];
  const std::string text = readFile(session.machine(), scriptPath);
  ScriptRunner runner(session, scriptPath);
  runner.load(text);
  if (args.has("open")) openDocument(session, args.option("open"));
  runner.run();
  WriteOutputs(session, args);
}

int32_t NonNegative(const Arguments& args, const std::string& option, int32_t fallback) {
  if (!args.has(option)) return fallback;
  int32_t value = 0;
  if (!parseInteger(args.option(option), value) || value < 0) {
    throw Bad(args, "--" + option + " takes a whole number of 0 or more, not '" + args.option(option) + "'");
  }
  return value;
}

// The validator makes hosts of its own, one at a time: no session then.
void Validate(const Arguments& args, Machine& machine, const std::string& pluginPath) {
  const uint64_t seed = static_cast<uint64_t>(
      NonNegative(args, "seed", static_cast<int32_t>(std::random_device{}() & 0x7FFFFFFF)));
  const int32_t repeat = NonNegative(args, "repeat", 1);
  machine.out << "seed " << seed << " (--seed " << seed << " repeats this run)\n";
  hostvalidate::ValidationSize size = hostvalidate::scaledSize(repeat);
  size.strictness = NonNegative(args, "strictness", size.strictness);
  const hostvalidate::ModuleSource module{machine.loader, pluginPath};
  if (!hostvalidate::validate(module, seed, size, machine.out)) {
    throw CheckFailure("the plug-in failed validation; --seed " + std::to_string(seed) + " repeats it");
  }
}

void Execute(const Arguments& args, Machine& machine, const ProgramDefaults& defaults) {
  SessionSetup setup;
  setup.pluginPath = args.option("plugin", defaults.pluginPath);
  setup.preferencesPath = args.option("prefs", defaults.preferencesPath);
  if (args.command == "validate") {
    Validate(args, machine, setup.pluginPath);
  } else if (args.command == "demo") {
    // The demo keeps its settings to itself.
    setup.preferencesPath.clear();
    Session session(machine, setup);
    runDemo(session, args.option("out", "out"));
  } else if (args.command == "make") {
    Session session(machine, setup);
    Make(session, args);
  } else if (args.command == "run") {
    Session session(machine, setup);
    Run(session, args);
  } else if (args.command == "render") {
    const double scale = Positive(args, "scale", 1);
    Session session(machine, setup);
    openDocument(session, args.positional[0]);
    renderDocument(session, args.positional[1], scale);
  } else {
    std::optional<double> seconds;
    if (args.has("seconds")) seconds = Positive(args, "seconds", 0);
    Session session(machine, setup);
    openDocument(session, args.positional[0]);
    writeAnimation(session, args.positional[1], seconds);
  }
}

}  // namespace

std::string configPreferencesPath(const std::string& xdgConfigHome, const std::string& home) {
  std::string folder;
  if (!xdgConfigHome.empty()) {
    folder = xdgConfigHome;
  } else if (!home.empty()) {
    folder = home + "/.config";
  } else {
    return "";
  }
  return folder + "/" + kPreferencesFolder + "/" + kPreferencesFileName;
}

int runProgram(const std::vector<std::string>& words, Machine& machine, const ProgramDefaults& defaults) {
  if (!words.empty() && (words[0] == "--help" || words[0] == "-h" || words[0] == "help")) {
    machine.out << kUsage;
    return 0;
  }
  try {
    Execute(ReadArguments(words), machine, defaults);
    return 0;
  } catch (const UsageError& error) {
    machine.err << error.what() << "\n";
    return 2;
  } catch (const CheckFailure& failure) {
    machine.err << failure.what() << "\n";
    return 1;
  }
}

}  // namespace mirtilcli
