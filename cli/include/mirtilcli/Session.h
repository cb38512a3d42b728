// One run of the stand-in host as the program drives it: the module
// loaded and started, a document, the user's tool drags, menu choices,
// edits and dialogs, in the SVG file's coordinates (x to the right, y
// downward; the host's point is (x, -y)). Art is named by its id.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "MirtilNames.h"
#include "hostapi/HostAPI.h"
#include "hostapp/HostApplication.h"
#include "hostapp/HostEdits.h"
#include "hostapp/ModuleLoader.h"
#include "hostapp/PreferencesFile.h"
#include "hostapp/ToolEvents.h"
#include "hostfiles/FileStore.h"
#include "hostfiles/SvgRenderer.h"

namespace mirtilcli {

// A point as the SVG file writes it.
struct Point {
  double x = 0;
  double y = 0;
};

AIRealPoint toHost(Point point);
Point fromHost(AIRealPoint point);

// What the program needs of the machine it runs on.
struct Machine {
  hostapp::ModuleLoader& loader;
  hostfiles::FileStore& files;
  hostfiles::SvgRenderer& renderer;
  // Makes the folder and those above it; false with a reason.
  std::function<bool(const std::string& path, std::string* error)> makeFolders;
  std::ostream& out;
  std::ostream& err;
  // Standard error is a terminal: long work shows how far it has come there.
  bool terminal = false;
};

// A line on the terminal telling how far long work has come, cleared when
// the work is done; nothing at all when standard error is no terminal.
class Progress {
 public:
  Progress(Machine& machine, std::string work);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  void show(const std::string& state);

 private:
  Machine& machine_;
  std::string work_;
  bool shown_ = false;
};

struct SessionSetup {
  std::string pluginPath;
  // Empty: the preferences live in memory only.
  std::string preferencesPath;
};

// The host's clock runs in ticks of 1/60 second.
constexpr double kTicksPerSecond = 60;

// The values the options dialog offers; Delay is in tenths of a second.
struct PreferenceRange {
  const char* option;  // as scripts write it
  const char* name;    // the preference's
  int32_t lowest, highest;
};
constexpr PreferenceRange kStepsRange{"steps", kMirtilStepsPref, 1, 360};
constexpr PreferenceRange kDelayRange{"delay", kMirtilDelayPref, 1, 50};

// An object type as the command line and scripts write it, in any case:
// 0 or inplace, 1 or sweep; none for anything else.
std::optional<int32_t> parseObjectType(const std::string& text);
constexpr const char* kObjectTypes = "0, 1, inplace or sweep";

class Session {
 public:
  // Loads and starts the module, with an empty document of one layer.
  // Throws UsageError for a module or preferences file it cannot use.
  Session(Machine& machine, const SessionSetup& setup);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  hostapp::HostApplication& host() { return *host_; }
  hostcore::Document& document() { return host_->document(); }
  Machine& machine() { return machine_; }

  // ---- The document ------------------------------------------------------
  // An empty document with one layer.
  void newDocument(const std::string& layerTitle = "Layer 1");
  // After the core was given a document read from a file. Its plug-in
  // objects come marked out of date and get their update after the next
  // message, as after any other.
  void documentOpened();

  // ---- Layers, by title; throws UsageError for an unknown one -------------
  AILayerHandle layer(const std::string& title);
  // The topmost layer.
  AILayerHandle topLayer();
  // The layers' titles, topmost first.
  std::vector<std::string> layerTitles();
  // A new layer above the others, made current.
  void addLayer(const std::string& title);
  void setCurrentLayer(const std::string& title);
  void makeCurrent(AILayerHandle layer);
  void setLayerVisible(const std::string& title, bool visible);
  void setLayerEditable(const std::string& title, bool editable);

  // ---- Art, by id -----------------------------------------------------------
  // The art of that id; "@last" is the plug-in object made last. Throws
  // UsageError when there is none.
  AIArtHandle art(const std::string& id);
  // A new path on top of the current layer, as one undo step, with the
  // id given (refused when taken), or one the document makes up.
  AIArtHandle addPath(const std::vector<AIPathSegment>& segments, bool closed, const AIPathStyle& style,
                      const std::string& id);
  // Selects exactly these, and deselects everything else.
  void select(const std::vector<AIArtHandle>& arts);
  // The mirror-tile objects of the document.
  std::vector<AIArtHandle> mirrortiles();

  // ---- Preferences -----------------------------------------------------------
  // Sets a preference of the plug-in; kept in the preferences file when
  // asked to and one is in use.
  void setPreference(const std::string& name, int32_t value, bool keep);

  // ---- Messages: each answers the plug-in's code ---------------------------
  AIErr press(Point at);
  AIErr moveTo(Point at);
  AIErr release(Point at);
  AIErr trackCursor(Point at);
  // A drag from press to release with the given number of drag messages
  // on the straight line between (the last at the release point). The
  // first answer that was not 0.
  AIErr drag(Point from, Point to, int moves);
  // Chooses the menu command shown with that text; throws UsageError when
  // there is none. A disabled command sends nothing and answers 0.
  AIErr chooseMenu(const std::string& text);
  // Moves the clock on; each timer whose period ends sends its message.
  AIErr wait(double seconds);
  AIErr about();
  // Opens the tool's options dialog; the user types the values given and
  // closes it with OK or Cancel.
  AIErr options(std::optional<int32_t> steps, std::optional<int32_t> delay, std::optional<int32_t> type, bool ok);
  // Asks the host to unload the plug-in: 'LOCK', with nothing changed, for
  // a plug-in locked in memory; otherwise the next message reloads it first,
  // unless the script reloads it itself.
  AIErr unload();
  AIErr reload();

  // ---- The host's own edits --------------------------------------------------
  // The edits send the plug-in notify-edits messages.
  hostapp::HostEdits& edits();

  // ---- What the user saw -------------------------------------------------------
  // Alerts shown since the last call.
  std::vector<std::string> newAlerts();
  // The cursor showing: its resource id.
  std::optional<int> cursor() const;

 private:
  void watchForNewObject(const std::vector<AIArtHandle>& before);
  void wake();

  Machine& machine_;
  std::unique_ptr<hostapp::TextFiles> preferenceFiles_;
  std::unique_ptr<hostapp::HostApplication> host_;
  std::unique_ptr<hostapp::ToolEvents> tool_;
  std::unique_ptr<hostapp::HostEdits> edits_;
  std::unique_ptr<hostapp::PreferencesFile> preferencesFile_;
  std::vector<AIArtHandle> beforeDrag_;
  AIArtHandle lastMade_ = nullptr;
  std::size_t alertsSeen_ = 0;
  bool unloaded_ = false;
};

}  // namespace mirtilcli
