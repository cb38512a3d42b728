#include "mirtilcli/Session.h"

#include <cctype>
#include <cmath>
#include <functional>

#include "MirtilNames.h"
#include "mirtilcli/Script.h"

namespace mirtilcli {

namespace {

constexpr const char* kLastMadeId = "@last";

AIErr FirstFailure(AIErr sofar, AIErr next) { return sofar != kNoErr ? sofar : next; }

// Every art object in the layers' stacking order, depth first, without
// the insides of plug-in art.
void VisitArt(hostcore::Document& document, const std::function<void(AIArtHandle)>& visit) {
  std::function<void(AIArtHandle)> walk = [&](AIArtHandle parent) {
    AIArtHandle child = nullptr;
    hostcore::require(document.firstChild(parent, &child), "firstChild");
    while (child) {
      visit(child);
      AIArtType type = kUnknownArt;
      hostcore::require(document.artType(child, &type), "artType");
      if (type != kPluginArt) walk(child);
      if (document.sibling(child, &child) != kNoErr) break;
    }
  };
  AILayerHandle layer = nullptr;
  if (document.firstLayer(&layer) != kNoErr) return;
  while (layer) {
    AIArtHandle group = nullptr;
    if (document.firstArtOfLayer(layer, &group) == kNoErr) walk(group);
    if (document.nextLayer(layer, &layer) != kNoErr) break;
  }
}

// Runs document changes as one undo step of the user's; a silent one
// joins the step before it.
using Step = hostcore::UndoStep::Kind;
template <typename Change>
void AsUserStep(hostcore::Document& document, Change change, Step kind = Step::Own) {
  const hostcore::UndoStep step(document.journal(), kind);
  change();
}

// The preferences file through the machine's files, written atomically
// into a folder made when it is first needed.
class PreferenceFiles : public hostapp::TextFiles {
 public:
  explicit PreferenceFiles(Machine& machine) : machine_(machine) {}
  bool read(const std::string& path, std::string& contents) override {
    std::string error;
    return machine_.files.read(path, &contents, &error);
  }
  bool write(const std::string& path, const std::string& contents) override {
    std::string error;
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !machine_.makeFolders(path.substr(0, slash), &error)) return false;
    return hostfiles::writeFileAtomically(machine_.files, path, contents, &error);
  }

 private:
  Machine& machine_;
};

}  // namespace

AIRealPoint toHost(Point point) {
  return AIRealPoint{static_cast<AIReal>(point.x), static_cast<AIReal>(-point.y)};
}

Point fromHost(AIRealPoint point) { return Point{point.h, -static_cast<double>(point.v)}; }

Session::Session(Machine& machine, const SessionSetup& setup)
    : machine_(machine), preferenceFiles_(std::make_unique<PreferenceFiles>(machine)) {
  host_ = std::make_unique<hostapp::HostApplication>(machine.loader);
  if (!host_->loadModule(setup.pluginPath)) throw UsageError(host_->loadError());
  if (!setup.preferencesPath.empty()) {
    auto file = std::make_unique<hostapp::PreferencesFile>(*preferenceFiles_, setup.preferencesPath);
    if (!host_->keepPreferencesIn(std::move(file))) {
      throw UsageError(setup.preferencesPath + ": not a preferences file (lines of section/name=number)");
    }
    preferencesFile_ = std::make_unique<hostapp::PreferencesFile>(*preferenceFiles_, setup.preferencesPath);
  }
  if (const AIErr started = host_->startup()) {
    throw UsageError(setup.pluginPath + ": the plug-in did not start (" + formatResultCode(started) + ")");
  }
  tool_ = std::make_unique<hostapp::ToolEvents>(*host_);
  edits_ = std::make_unique<hostapp::HostEdits>(*host_);
  newDocument();
}

Session::~Session() {
  // As at quitting; a plug-in already unloaded hears nothing more.
  if (unloaded_) return;
  host_->shutdown();
  host_->unload();
}

hostapp::HostEdits& Session::edits() {
  wake();
  return *edits_;
}

void Session::newDocument(const std::string& layerTitle) {
  host_->core().newDocument();
  AILayerHandle first = nullptr;
  hostcore::require(document().addLayer(layerTitle.c_str(), &first), "addLayer");
  document().journal().clear();
  host_->setDocumentOpen(true);
  lastMade_ = nullptr;
}

void Session::documentOpened() {
  host_->setDocumentOpen(true);
  lastMade_ = nullptr;
}

Progress::Progress(Machine& machine, std::string work) : machine_(machine), work_(std::move(work)) {}

Progress::~Progress() {
  if (shown_) machine_.err << "\r\x1b[K" << std::flush;
}

void Progress::show(const std::string& state) {
  if (!machine_.terminal) return;
  machine_.err << "\r" << work_ << (state.empty() ? "" : ": " + state) << "\x1b[K" << std::flush;
  shown_ = true;
}

std::optional<int32_t> parseObjectType(const std::string& text) {
  std::string lower;
  for (const char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "0" || lower == "inplace") return 0;
  if (lower == "1" || lower == "sweep") return 1;
  return std::nullopt;
}

AILayerHandle Session::layer(const std::string& title) {
  AILayerHandle layer = nullptr;
  hostcore::require(document().firstLayer(&layer), "firstLayer");
  while (layer) {
    std::string candidate;
    if (document().layerTitle(layer, &candidate) == kNoErr && candidate == title) return layer;
    if (document().nextLayer(layer, &layer) != kNoErr) break;
  }
  std::string known;
  for (const std::string& name : layerTitles()) known += (known.empty() ? "" : ", ") + ("'" + name + "'");
  throw UsageError("no layer named '" + title + "'; the layers are " + (known.empty() ? "none" : known));
}

std::vector<std::string> Session::layerTitles() {
  std::vector<std::string> titles;
  AILayerHandle layer = nullptr;
  if (document().firstLayer(&layer) != kNoErr) return titles;
  while (layer) {
    std::string title;
    if (document().layerTitle(layer, &title) == kNoErr) titles.push_back(title);
    if (document().nextLayer(layer, &layer) != kNoErr) break;
  }
  return titles;
}

AILayerHandle Session::topLayer() {
  AILayerHandle layer = nullptr;
  if (document().firstLayer(&layer) != kNoErr || !layer) throw UsageError("the document has no layer");
  return layer;
}

void Session::addLayer(const std::string& title) {
  AsUserStep(document(), [&] {
    AILayerHandle made = nullptr;
    hostcore::require(document().addLayer(title.c_str(), &made, hostcore::Document::LayerPlace::Top), "addLayer");
    hostcore::require(document().setCurrentLayer(made), "setCurrentLayer");
  });
}

void Session::makeCurrent(AILayerHandle layer) {
  AsUserStep(document(), [&] { hostcore::require(document().setCurrentLayer(layer), "setCurrentLayer"); });
}

void Session::setCurrentLayer(const std::string& title) { makeCurrent(layer(title)); }

void Session::setLayerVisible(const std::string& title, bool visible) {
  const AILayerHandle chosen = layer(title);
  AsUserStep(document(), [&] { hostcore::require(document().setLayerVisible(chosen, visible), "setLayerVisible"); });
}

void Session::setLayerEditable(const std::string& title, bool editable) {
  const AILayerHandle chosen = layer(title);
  AsUserStep(document(), [&] { hostcore::require(document().setLayerEditable(chosen, editable), "setLayerEditable"); });
}

AIArtHandle Session::art(const std::string& id) {
  if (id == kLastMadeId) {
    if (!lastMade_ || !document().validArt(lastMade_)) throw UsageError("no mirror-tile object was made");
    return lastMade_;
  }
  const AIArtHandle found = document().artById(id);
  if (!found) throw UsageError("no art with id '" + id + "'");
  return found;
}

AIArtHandle Session::addPath(const std::vector<AIPathSegment>& segments, bool closed, const AIPathStyle& style,
                             const std::string& id) {
  if (!id.empty() && document().artById(id)) throw UsageError("the id '" + id + "' is taken");
  AIArtHandle path = nullptr;
  AIErr err = kNoErr;
  AsUserStep(document(), [&] {
    AIArtHandle group = nullptr;
    err = document().firstArtOfLayer(nullptr, &group);
    if (!err) err = document().newArt(kPathArt, kPlaceInsideOnTop, group, &path);
    if (!err) err = document().setSegments(path, 0, static_cast<int16_t>(segments.size()), segments.data());
    if (!err) err = document().setPathClosed(path, closed);
    if (!err) err = document().setPathStyle(path, style);
    if (!err && !id.empty()) err = document().setArtId(path, id);
  });
  if (err) throw UsageError("the host refused the new path (" + formatResultCode(err) + ")");
  return path;
}

void Session::select(const std::vector<AIArtHandle>& arts) {
  // Selecting is no step of its own for undo.
  AsUserStep(
      document(),
      [&] {
        VisitArt(document(), [&](AIArtHandle art) {
          hostcore::require(document().setUserAttr(art, kArtSelected, 0), "setUserAttr");
        });
        for (AIArtHandle art : arts)
          hostcore::require(document().setUserAttr(art, kArtSelected, kArtSelected), "setUserAttr");
      },
      Step::Silent);
}

std::vector<AIArtHandle> Session::mirrortiles() {
  std::vector<AIArtHandle> found;
  VisitArt(document(), [&](AIArtHandle art) {
    uint32_t group = 0;
    if (document().pluginGroupOf(art, &group) == kNoErr && host_->core().pluginGroup(group).name == kMirtilPluginGroupName) {
      found.push_back(art);
    }
  });
  return found;
}

void Session::setPreference(const std::string& name, int32_t value, bool keep) {
  host_->preferences().put(kMirtilPrefsSection, name, value);
  if (keep && preferencesFile_ && !preferencesFile_->save(host_->preferences())) {
    throw UsageError(preferencesFile_->path() + ": cannot write the preferences");
  }
}

AIErr Session::press(Point at) {
  wake();
  beforeDrag_ = mirrortiles();
  return tool_->press(toHost(at));
}

AIErr Session::moveTo(Point at) {
  wake();
  return tool_->drag(toHost(at));
}

AIErr Session::release(Point at) {
  wake();
  const AIErr result = tool_->release(toHost(at));
  watchForNewObject(beforeDrag_);
  return result;
}

void Session::watchForNewObject(const std::vector<AIArtHandle>& before) {
  for (AIArtHandle art : mirrortiles()) {
    bool known = false;
    for (AIArtHandle old : before) known = known || old == art;
    if (!known) lastMade_ = art;
  }
}

AIErr Session::trackCursor(Point at) {
  wake();
  return tool_->trackCursor(toHost(at));
}

AIErr Session::drag(Point from, Point to, int moves) {
  AIErr result = press(from);
  for (int i = 1; i <= moves; ++i) {
    const double t = static_cast<double>(i) / moves;
    result = FirstFailure(result, moveTo(Point{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}));
  }
  return FirstFailure(result, release(to));
}

AIErr Session::chooseMenu(const std::string& text) {
  wake();
  const std::vector<hostapp::MenuItemRecord>& items = host_->menuItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].text == text) return host_->chooseMenuItem(host_->menuItemHandle(i)).value_or(kNoErr);
  }
  throw UsageError("no menu command \"" + text + "\"");
}

AIErr Session::wait(double seconds) {
  wake();
  return host_->advanceClock(static_cast<int64_t>(std::llround(seconds * kTicksPerSecond)));
}

AIErr Session::about() {
  wake();
  host_->dialogs().script({hostapp::DialogStep::event(kAboutTextItem)});
  const AIErr result = host_->sendPlainMessage(kSPInterfaceCaller, kSPInterfaceAboutSelector);
  host_->dialogs().dropScripts();
  return result;
}

AIErr Session::options(std::optional<int32_t> steps, std::optional<int32_t> delay, std::optional<int32_t> type,
                       bool ok) {
  wake();
  std::vector<hostapp::DialogStep> user;
  if (steps) user.push_back(hostapp::DialogStep::type(kStepsItem, std::to_string(*steps)));
  if (delay) user.push_back(hostapp::DialogStep::type(kDelayItem, std::to_string(*delay)));
  if (type) user.push_back(hostapp::DialogStep::press(*type == kMirtilSweep ? kSweepItem : kInPlaceItem));
  user.push_back(hostapp::DialogStep::press(ok ? kOKItem : kCancelItem));
  host_->dialogs().script(std::move(user));
  const AIErr result = tool_->editOptions();
  // The user's steps are for this dialog only, also when it did not open.
  host_->dialogs().dropScripts();
  return result;
}

AIErr Session::unload() {
  const AIErr answer = host_->unload();
  if (answer == kNoErr) unloaded_ = true;
  return answer;
}

AIErr Session::reload() {
  unloaded_ = false;
  return host_->reload();
}

void Session::wake() {
  // The host reloads an unloaded plug-in before it sends it anything else.
  if (unloaded_) reload();
}

std::vector<std::string> Session::newAlerts() {
  const std::vector<std::string>& all = host_->alerts();
  std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(alertsSeen_), all.end());
  alertsSeen_ = all.size();
  return fresh;
}

std::optional<int> Session::cursor() const {
  uint16_t id = 0;
  if (!host_->currentCursor(id)) return std::nullopt;
  return id;
}

}  // namespace mirtilcli
