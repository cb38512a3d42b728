// One run of the plug-in in a fresh stand-in host, as the validator's
// checks need it: the module loaded and started, an open document of one
// layer, the user's tool and the host's edits, and the account of what
// was left behind when it ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hostvalidate/Profile.h"
#include "hostapp/HostApplication.h"
#include "hostapp/HostEdits.h"
#include "hostapp/ModuleLoader.h"
#include "hostapp/ToolEvents.h"

namespace hostvalidate {

// Where the module comes from, and what the checks know of it.
struct ModuleSource {
  hostapp::ModuleLoader& loader;
  std::string path;
  const PluginProfile& profile = mirrortileProfile();
};

// The code the validator makes host calls fail with: no host or plug-in
// code of its own, so an answer carrying it came from the injected fault.
constexpr AIErr kInjectedErr = HOST_FOURCC('V', 'F', 'L', 'T');

// "'STOP'" for four printable characters, else the number.
std::string describeCode(AIErr code);

class Trial {
 public:
  // Loads the module; started() tells whether the start-up answered 0.
  explicit Trial(const ModuleSource& module, bool start = true);
  ~Trial();
  Trial(const Trial&) = delete;
  Trial& operator=(const Trial&) = delete;

  bool loaded() const { return loaded_; }
  const std::string& loadError() const { return host_->loadError(); }
  AIErr startupAnswer() const { return startupAnswer_; }

  hostapp::HostApplication& host() { return *host_; }
  hostcore::Document& document() { return host_->document(); }
  hostapp::ToolEvents& tool() { return *tool_; }
  hostapp::HostEdits& edits() { return *edits_; }
  const PluginProfile& profile() const { return profile_; }
  AILayerHandle layer() const { return layer_; }

  // A closed square path of the given half side about the point, on top
  // of the layer (null: the current layer).
  AIArtHandle addSquare(AIRealPoint centre, AIReal half, AILayerHandle on = nullptr);
  // The document's plug-in art of the plug-in's group, topmost first.
  std::vector<AIArtHandle> mirrortiles();
  // Every live art of the document that is not a layer's own group.
  std::vector<AIArtHandle> allArt();
  void select(AIArtHandle art, bool on);
  void deselectAll();

  // References to host objects the plug-in took and has not given back.
  std::vector<std::string> heldReferences() const;
  // Shuts the plug-in down and unloads it as the host does at quitting,
  // then lists what it left behind: suites still held and blocks of the
  // basic suite not freed.
  std::vector<std::string> finish();

 private:
  const PluginProfile& profile_;
  std::unique_ptr<hostapp::HostApplication> host_;
  std::unique_ptr<hostapp::ToolEvents> tool_;
  std::unique_ptr<hostapp::HostEdits> edits_;
  bool loaded_ = false;
  bool finished_ = false;
  AIErr startupAnswer_ = kNoErr;
  AILayerHandle layer_ = nullptr;
};

}  // namespace hostvalidate
