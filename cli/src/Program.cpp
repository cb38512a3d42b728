#include "mirtilcli/Program.h"

#include <cmath>
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
    "  mirtil-host make IN.svg OUT.svg --press X,Y --release X,Y [--type T] [--layer NAME]\n"
    "                   [--turn X1,Y1,X2,Y2] [--expand FILE] [--png FILE] [--dump FILE]\n"
    "                   [--export-seam-free FILE] [--preview FILE]\n"
    "  mirtil-host run SCRIPT [--open IN.svg] [--save OUT.svg] [--png FILE] [--dump FILE]\n"
    "                   [--export-seam-free FILE]\n"
    "  mirtil-host info IN.svg\n"
    "  mirtil-host render IN.svg OUT.png [--scale S] [--large]\n"
    "  mirtil-host animate IN.svg OUT.svg [--seconds S] [--frames DIR] [--gif FILE] [--scale S]\n"
    "  mirtil-host validate [--seed N] [--repeat N] [--strictness 1-10]\n"
    "options of every command: --plugin PATH (the module), --prefs FILE (the preferences)\n"
    "coordinates are the SVG file's x, y (y grows downward)\n"
    "mirtil-host COMMAND --help tells more of a command\n";

// Beyond this a picture takes gigabytes and minutes; --large asks for it.
constexpr double kPixelLimit = 25e6;

struct Command {
  std::size_t files;
  std::set<std::string> options;
  const char* help;
};

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"demo",
       {0, {"out"},
        "usage: mirtil-host demo [--out DIR]\n"
        "Draws a sample on three layers, makes a Sweep and an InPlace object over it with the tool,\n"
        "and writes DIR/demo.svg, DIR/demo.png and the animation DIR/demo-anim.svg (DIR: out).\n"
        "The demo leaves the preferences alone.\n"}},
      {"make",
       {2, {"press", "release", "type", "layer", "turn", "expand", "png", "dump", "export-seam-free", "preview"},
        "usage: mirtil-host make IN.svg OUT.svg --press X,Y --release X,Y [--type T] [--layer NAME]\n"
        "                        [--turn X1,Y1,X2,Y2] [--expand FILE] [--png FILE] [--dump FILE]\n"
        "                        [--export-seam-free FILE] [--preview FILE]\n"
        "Opens IN.svg, drags the Mirrortile tool from the press point to the release point with\n"
        "nothing selected, and saves the drawing with the new object as OUT.svg.\n"
        "The two points, for each type:\n"
        "  sweep    press on the centre of the hexagon, release on one of its corners\n"
        "  inplace  press on the point that stays put as the art turns; the release point becomes\n"
        "           the centre of the hexagon\n"
        "  --type T        the type for this run: 0 or inplace, 1 or sweep, in any case\n"
        "                  (by default the preference \"Type\")\n"
        "  --layer NAME    the layer the object is made on (by default the topmost)\n"
        "  --turn X1,Y1,X2,Y2  then selects the object and drags from (X1, Y1) to (X2, Y2) to turn it\n"
        "  --expand FILE   then expands the new object into plain art and saves that as FILE\n"
        "  --png FILE      also a picture of the drawing; --dump FILE the JSON dump\n"
        "  --export-seam-free FILE  also a copy for other programs, without seams on the mirror lines\n"
        "                  (plain art: the objects are not live in it)\n"
        "  --preview FILE  instead draws IN.svg with the planned hexagon outlined, and makes nothing\n"
        "Coordinates are the SVG file's x, y (y grows downward).\n"}},
      {"run",
       {1, {"open", "save", "png", "dump", "export-seam-free"},
        "usage: mirtil-host run SCRIPT [--open IN.svg] [--save OUT.svg] [--png FILE] [--dump FILE]\n"
        "                       [--export-seam-free FILE]\n"
        "Runs the script, one command a line (see the README), after opening IN.svg if given;\n"
        "then writes the document as asked. Every line is checked before the first one runs.\n"}},
      {"info",
       {1, {},
        "usage: mirtil-host info IN.svg\n"
        "Prints the page, the layers from the topmost down, the bounds of each layer's art in the\n"
        "file's x, y, and the mirror-tile objects.\n"}},
      {"render",
       {2, {"scale", "large"},
        "usage: mirtil-host render IN.svg OUT.png [--scale S] [--large]\n"
        "Draws IN.svg as a PNG picture, S pixels per point (by default 1). A picture of more than\n"
        "25 million pixels is refused unless --large is given.\n"}},
      {"animate",
       {2, {"seconds", "frames", "gif", "scale"},
        "usage: mirtil-host animate IN.svg OUT.svg [--seconds S] [--frames DIR] [--gif FILE] [--scale S]\n"
        "Chooses \"Rotate Mirrortiles\" and lets the host's clock run, one frame per step, for S\n"
        "seconds (by default one full turn: \"Steps\" steps, each \"Delay\" tenths of a second);\n"
        "writes them as an animated SVG whose first frame is also its still picture.\n"
        "  --frames DIR  also each frame as a PNG picture, DIR/frame-0000.png on\n"
        "  --gif FILE    also the animation as an animated GIF\n"
        "  --scale S     the pictures' pixels per point (by default 1)\n"}},
      {"validate",
       {0, {"seed", "repeat", "strictness"},
        "usage: mirtil-host validate [--seed N] [--repeat N] [--strictness 1-10]\n"
        "Checks the module: loading and unloading, random interactions, failing host calls and\n"
        "missing suites. --seed repeats a run; --repeat N makes it N times longer; --strictness N\n"
        "runs the checks of strictness up to N (all by default).\n"}},
  };
  return commands;
}

UsageError Bad(const Arguments& args, const std::string& message) {
  return UsageError(std::string(kProgramName) + " " + args.command + ": " + message);
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

void Wrote(Session& session, const std::string& path) { session.machine().out << "wrote " << path << "\n"; }

void WriteOutputs(Session& session, const Arguments& args) {
  if (args.has("save")) {
    saveDocument(session, args.option("save"));
    Wrote(session, args.option("save"));
  }
  if (args.has("png")) {
    renderDocument(session, args.option("png"), 1);
    Wrote(session, args.option("png"));
  }
  if (args.has("export-seam-free")) {
    exportSeamFree(session, args.option("export-seam-free"));
    Wrote(session, args.option("export-seam-free"));
  }
  if (args.has("dump")) {
    dumpDocument(session, args.option("dump"));
    Wrote(session, args.option("dump"));
  }
}

// The outline of the hexagon that a drag from press to release makes, as
// the plug-in builds it: a Sweep hexagon about the press point with a
// corner at the release point; an InPlace one about the release point,
// the cell's triangle centred on the press point.
std::vector<Point> PlannedHexagon(Point press, Point release, int32_t type) {
  const auto turned = [](Point p, Point about, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return Point{about.x + c * (p.x - about.x) - s * (p.y - about.y), about.y + s * (p.x - about.x) + c * (p.y - about.y)};
  };
  constexpr double kSixth = 3.14159265358979323846 / 3;
  const Point centre = type == 1 ? press : release;
  const Point corner = type == 1 ? release : turned(release, press, 2 * kSixth);
  std::vector<Point> corners;
  for (int k = 0; k < 6; ++k) corners.push_back(turned(corner, centre, k * kSixth));
  return corners;
}

void Preview(Session& session, const Arguments& args, Point press, Point release, int32_t type) {
  std::vector<AIPathSegment> outline;
  for (const Point corner : PlannedHexagon(press, release, type)) {
    const AIRealPoint p = toHost(corner);
    outline.push_back(AIPathSegment{p, p, p, true});
  }
  AIPathStyle style = hostcore::Document::clearedPathStyle();
  style.strokePaint = true;
  style.stroke.color = AIColor{kRGBColor, 0.9f, 0.1f, 0.1f, 0};
  style.stroke.opacity = 1;
  style.stroke.width = 2;
  session.addLayer("Preview");
  session.addPath(outline, true, style, "");
  const AIRealPoint from = toHost(press), to = toHost(release);
  session.addPath({AIPathSegment{from, from, from, true}, AIPathSegment{to, to, to, true}}, false, style, "");
  renderDocument(session, args.option("preview"), 1);
  Wrote(session, args.option("preview"));
}

// Why the drag made nothing, as the plug-in told the user.
std::string Refusal(const std::vector<std::string>& alerts) {
  if (alerts.empty()) return "no mirror-tile object was made";
  return "no mirror-tile object was made: " + alerts.back();
}

void Make(Session& session, const Arguments& args) {
  if (!args.has("press") || !args.has("release")) throw Bad(args, "needs --press X,Y and --release X,Y");
  const std::vector<double> press = Numbers(args, "press", 2);
  const std::vector<double> release = Numbers(args, "release", 2);
  std::vector<double> turn;
  if (args.has("turn")) turn = Numbers(args, "turn", 4);
  const std::optional<int32_t> type = args.has("type") ? parseObjectType(args.option("type")) : std::nullopt;
  if (args.has("type") && !type) {
    throw Bad(args, std::string("--type takes ") + kObjectTypes + ", not '" + args.option("type") + "'");
  }

  openDocument(session, args.positional[0]);
  if (type) session.setPreference(kMirtilTypePref, *type, false);
  if (args.has("layer")) {
    session.setCurrentLayer(args.option("layer"));
  } else {
    session.makeCurrent(session.topLayer());
  }
  session.select({});
  if (args.has("preview")) {
    int32_t planned = 1;
    session.host().preferences().get(kMirtilPrefsSection, kMirtilTypePref, planned);
    Preview(session, args, {press[0], press[1]}, {release[0], release[1]}, planned == 1 ? 1 : 0);
    return;
  }
  const std::size_t before = session.mirrortiles().size();
  const AIErr dragged = session.drag({press[0], press[1]}, {release[0], release[1]}, kMakeDragMoves);
  const std::vector<std::string> alerts = session.newAlerts();
  for (const std::string& alert : alerts) session.machine().err << "alert: " << alert << "\n";
  Answered(dragged, "the drag");
  if (session.mirrortiles().size() == before) throw CheckFailure(Refusal(alerts));
  if (!turn.empty()) {
    session.select({session.art("@last")});
    Answered(session.drag({turn[0], turn[1]}, {turn[2], turn[3]}, kMakeDragMoves), "the turn");
    PrintAlerts(session);
  }
  saveDocument(session, args.positional[1]);
  Wrote(session, args.positional[1]);
  if (args.has("expand")) {
    AIArtHandle expanded = nullptr;
    Answered(session.edits().expand(session.art("@last"), &expanded), "the expansion");
    saveDocument(session, args.option("expand"));
    Wrote(session, args.option("expand"));
  }
  WriteOutputs(session, args);
}

void Render(Session& session, const Arguments& args) {
  const double scale = Positive(args, "scale", 1);
  openDocument(session, args.positional[0]);
  const Page page = documentPage(session);
  const double pixels = std::ceil(page.pixelsWide * scale) * std::ceil(page.pixelsHigh * scale);
  if (pixels > kPixelLimit && !args.has("large")) {
    std::ostringstream size;
    size << std::ceil(page.pixelsWide * scale) << " by " << std::ceil(page.pixelsHigh * scale);
    throw Bad(args, "the picture would be " + size.str() + " pixels, more than the 25 million drawn without "
                    "--large; give a smaller --scale, or --large");
  }
  renderDocument(session, args.positional[1], scale);
  Wrote(session, args.positional[1]);
}

void Animate(Session& session, const Arguments& args) {
  std::optional<double> seconds;
  if (args.has("seconds")) seconds = Positive(args, "seconds", 0);
  openDocument(session, args.positional[0]);
  if (session.mirrortiles().empty()) {
    throw Bad(args, args.positional[0] + " has no mirror-tile object to turn; make one first with mirtil-host make");
  }
  AnimationFiles files{args.positional[1], args.option("frames"), args.option("gif"), Positive(args, "scale", 1)};
  const std::size_t frames = writeAnimation(session, files, seconds);
  std::ostream& out = session.machine().out;
  out << "wrote " << files.svg << ": " << frames << " frames\n";
  if (!files.framesFolder.empty()) out << "wrote " << files.framesFolder << "/frame-0000.png and on\n";
  if (!files.gif.empty()) out << "wrote " << files.gif << "\n";
}

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

void Info(Session& session, const Arguments& args) {
  openDocument(session, args.positional[0]);
  std::ostream& out = session.machine().out;
  const Page page = documentPage(session);
  out << "page: width " << page.width << ", height " << page.height;
  if (!page.viewBox.empty()) out << ", viewBox " << page.viewBox;
  out << "\nlayers, topmost first:\n";
  hostcore::Document& document = session.document();
  for (const std::string& title : session.layerTitles()) {
    const AILayerHandle layer = session.layer(title);
    AIArtHandle group = nullptr;
    AIBoolean visible = true, editable = true;
    if (document.firstArtOfLayer(layer, &group) != kNoErr || document.layerVisible(layer, &visible) != kNoErr ||
        document.layerEditable(layer, &editable) != kNoErr) {
      throw CheckFailure("the layer '" + title + "' cannot be read");
    }
    std::size_t count = 0;
    AIArtHandle child = nullptr;
    for (AIErr walked = document.firstChild(group, &child); walked == kNoErr && child;
         walked = document.sibling(child, &child)) {
      ++count;
    }
    out << "  \"" << title << "\"" << (visible ? "" : " (hidden)") << (editable ? "" : " (locked)") << ": ";
    AIRealRect bounds{};
    if (count == 0 || document.artBounds(group, &bounds) != kNoErr) {
      out << "no art\n";
      continue;
    }
    out << count << " art, x " << Number(bounds.left) << " to " << Number(bounds.right) << ", y "
        << Number(0.0 - bounds.top) << " to " << Number(0.0 - bounds.bottom) << "\n";
  }
  out << "mirror-tile objects: " << session.mirrortiles().size() << "\n";
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
  if (args.help) {
    machine.out << Commands().at(args.command).help;
    return;
  }
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
    Session session(machine, setup);
    Render(session, args);
  } else if (args.command == "info") {
    Session session(machine, setup);
    Info(session, args);
  } else {
    Session session(machine, setup);
    Animate(session, args);
  }
}

}  // namespace

Arguments readArguments(const std::vector<std::string>& words) {
  Arguments args;
  if (words.empty()) throw UsageError(std::string(kProgramName) + ": no command given\n" + kUsage);
  args.command = words[0];
  const auto command = Commands().find(args.command);
  if (command == Commands().end()) {
    throw UsageError(std::string(kProgramName) + ": unknown command '" + args.command + "'\n" + kUsage);
  }
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "--help" || words[i] == "-h") args.help = true;
  }
  if (args.help) return args;
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
    } else if (name == "large") {
      value = "yes";  // a switch
    } else {
      if (i + 1 >= words.size()) throw Bad(args, "option --" + name + " needs a value");
      value = words[++i];
    }
    const bool common = name == "plugin" || name == "prefs";
    if (!common && command->second.options.count(name) == 0) {
      throw Bad(args, "unknown option --" + name + "\n" + command->second.help);
    }
    if (args.has(name)) throw Bad(args, "option --" + name + " given twice");
    args.options[name] = value;
  }
  if (args.positional.size() != command->second.files) {
    throw Bad(args, "takes " + std::to_string(command->second.files) + " file name(s), got " +
                        std::to_string(args.positional.size()) + "\n" + command->second.help);
  }
  return args;
}

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
    const auto command = words.size() > 1 ? Commands().find(words[1]) : Commands().end();
    machine.out << (command != Commands().end() ? command->second.help : kUsage);
    return 0;
  }
  try {
    Execute(readArguments(words), machine, defaults);
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
