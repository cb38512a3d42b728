#include "hostapp/HostApplication.h"

#include <cstdlib>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "AppSuites.h"
#include "platform/platform_host.h"

namespace hostapp {

namespace {

HostApplication* activeHost = nullptr;

constexpr int32_t kMessageCheck = 0x53504D44;  // 'SPMD'
constexpr int32_t kSupportedInterfaceVersion = 2;

}  // namespace

HostApplication::HostApplication(ModuleLoader& loader) : loader_(loader), coreActivation_(core_) {
  if (activeHost) throw std::logic_error("only one host application can be active at a time");
  activeHost = this;
  registerAppSuites(core_.suites());
}

HostApplication::~HostApplication() {
  module_.reset();
  activeHost = nullptr;
}

HostApplication& HostApplication::active() {
  if (!activeHost) throw std::logic_error("no host application is active");
  return *activeHost;
}

int32_t HostApplication::suiteHoldCount(const std::string& name) const {
  int32_t held = 0;
  for (size_t place = 0; place < suiteHolds_.size(); ++place) {
    if (core_.suites().nameAt(place) == name) held += suiteHolds_[place];
  }
  return held;
}

int32_t HostApplication::suitesHeld() const { return std::accumulate(suiteHolds_.begin(), suiteHolds_.end(), 0); }

std::vector<std::string> HostApplication::suiteLog() const {
  std::vector<std::string> log;
  log.reserve(suiteLog_.size());
  for (const SuiteLogEntry& entry : suiteLog_) {
    log.push_back((entry.acquired ? "+" : "-") + core_.suites().nameAt(entry.place));
  }
  return log;
}

const SPBasicSuite* HostApplication::basicSuite() const { return &basicSuiteTable(); }

SPPluginRef HostApplication::pluginRef() const {
  return module_ ? reinterpret_cast<SPPluginRef>(module_.get()) : nullptr;
}

void* HostApplication::moduleHandle() const { return module_ ? module_->nativeHandle() : nullptr; }

bool HostApplication::loadModule(const std::string& path) {
  module_.reset();
  entryPoint_ = nullptr;
  resources_ = nullptr;
  globals_ = nullptr;
  loadError_.clear();

  std::string error;
  std::unique_ptr<LoadedModule> module = loader_.load(path, error);
  const auto refuse = [&](const std::string& reason) {
    loadError_ = path + ": " + reason;
    return false;
  };
  if (!module) return refuse("cannot be loaded: " + error);

  const ModuleResourceTable* resources = module->resources();
  if (!resources) return refuse("has no resources");
  const ModuleResource* propertyList = nullptr;
  for (int32_t i = 0; resources && i < resources->count; ++i) {
    if (resources->resources[i].type == kResourcePropertyList) propertyList = &resources->resources[i];
  }
  if (!propertyList) return refuse("has no plug-in property list");
  PluginProperties properties;
  if (!readPropertyList(static_cast<const unsigned char*>(propertyList->data), propertyList->size, properties, error)) {
    return refuse(error);
  }
  if (properties.kind != "SPEA") return refuse("is not a plug-in (its kind is '" + properties.kind + "')");
  if (properties.interfaceVersion != kSupportedInterfaceVersion) {
    return refuse("speaks interface version " + std::to_string(properties.interfaceVersion) + ", the host speaks " +
                  std::to_string(kSupportedInterfaceVersion));
  }
  if (properties.entryPoint.empty()) return refuse("names no entry point");
  const auto entryPoint = reinterpret_cast<PluginMainProc>(module->findSymbol(properties.entryPoint.c_str()));
  if (!entryPoint) return refuse("does not export its entry point " + properties.entryPoint);

  module_ = std::move(module);
  resources_ = resources;
  properties_ = properties;
  entryPoint_ = entryPoint;
  return true;
}

void HostApplication::hideResource(uint32_t type, uint16_t id) { hiddenResources_.insert({type, id}); }

const ModuleResource* HostApplication::visibleResource(uint32_t type, uint16_t id) const {
  if (hiddenResources_.count({type, id})) return nullptr;
  return findResource(resources_, type, id);
}

AIErr HostApplication::sendMessage(const char* caller, const char* selector, SPMessageData& head) {
  if (!entryPoint_) throw std::logic_error("no module is loaded");
  head.SPCheck = kMessageCheck;
  head.self = pluginRef();
  head.globals = globals_;
  head.basic = const_cast<SPBasicSuite*>(&basicSuiteTable());
  // A message that comes outside a longer user action (a tool drag, an
  // edit) is an undo step of its own, with the updates it causes.
  const hostcore::UndoStep step(core_.document().journal(), hostcore::UndoStep::Kind::UnlessOpen);
  if (watcher_) watcher_->sending(caller, selector);
  const AIErr result = entryPoint_(caller, selector, &head);
  globals_ = head.globals;
  if (watcher_) watcher_->answered(caller, selector, result);
  // A plug-in that has let go of its suites (shut down, or unloaded) can
  // update nothing; its art waits for the next message.
  const bool stopped =
      (std::strcmp(caller, kSPInterfaceCaller) == 0 && std::strcmp(selector, kSPInterfaceShutdownSelector) == 0) ||
      (std::strcmp(caller, kSPAccessCaller) == 0 && std::strcmp(selector, kSPAccessUnloadSelector) == 0);
  if (!updatingPluginArt_ && !stopped) updatePluginArt();
  return result;
}

bool HostApplication::keepPreferencesIn(std::unique_ptr<PreferencesFile> file) {
  if (!file || !file->load(preferences_)) return false;
  preferencesFile_ = std::move(file);
  return true;
}

void HostApplication::updatePluginArt() {
  struct Updating {
    bool& flag;
    explicit Updating(bool& f) : flag(f) { flag = true; }
    ~Updating() { flag = false; }
  } updating(updatingPluginArt_);
  hostcore::Document& doc = core_.document();
  for (AIArtHandle art : doc.dirtyPluginArt()) {
    // An earlier update may have disposed of it.
    uint32_t group = 0;
    if (doc.pluginGroupOf(art, &group) != kNoErr) continue;
    if (core_.pluginGroup(group).plugin != pluginRef()) continue;
    // Cleared first: the update may mark it again for the next round.
    if (doc.clearDirty(art) != kNoErr) continue;
    AIPluginGroupMessage message{};
    message.entry = core_.pluginGroupHandle(group);
    message.art = art;
    sendMessage(kCallerAIPluginGroup, kSelectorAIUpdateArt, message.d);
  }
}

AIErr HostApplication::sendPlainMessage(const char* caller, const char* selector) {
  SPInterfaceMessage message{};
  return sendMessage(caller, selector, message.d);
}

AIErr HostApplication::startup() {
  const AIErr result = sendPlainMessage(kSPInterfaceCaller, kSPInterfaceStartupSelector);
  if (result != kNoErr) return result;
  for (std::size_t i = 0; i < notifiers().size(); ++i) {
    if (!notifiers()[i].active || notifiers()[i].type != kAIApplicationStartedNotifier) continue;
    AINotifierMessage message{};
    message.notifier = notifierHandle(i);
    message.type = kAIApplicationStartedNotifier;
    const AIErr notified = sendMessage(kCallerAINotifier, kSelectorAINotify, message.d);
    if (notified != kNoErr) return notified;
  }
  return kNoErr;
}

AIErr HostApplication::shutdown() {
  quitting_ = true;
  return sendPlainMessage(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
}

AIErr HostApplication::unload() {
  if (pluginLocks_ > 0 && !quitting_) return kHostLockedErr;
  return sendPlainMessage(kSPAccessCaller, kSPAccessUnloadSelector);
}

AIErr HostApplication::reload() {
  if (globals_) return kNoErr;
  return sendPlainMessage(kSPAccessCaller, kSPAccessReloadSelector);
}

std::optional<AIErr> HostApplication::chooseMenuItem(AIMenuItemHandle item) {
  if (!menuItem(item) || !menuItemEnabled(item)) return std::nullopt;
  AIMenuMessage message{};
  message.menuItem = item;
  return sendMessage(kCallerAIMenu, kSelectorAIGoMenuItem, message.d);
}

AIErr HostApplication::advanceClock(int64_t ticks) {
  const int64_t target = timerClock_.now() + ticks;
  AIErr firstFailure = kNoErr;
  while (const std::optional<std::size_t> due = timerClock_.nextDue(target)) {
    AITimerMessage message{};
    message.timer = timerHandle(*due);
    const AIErr answer = sendMessage(kCallerAITimer, kSelectorAIGoTimer, message.d);
    if (firstFailure == kNoErr) firstFailure = answer;
  }
  timerClock_.moveTo(target);
  return firstFailure;
}

bool HostApplication::currentCursor(uint16_t& id) const {
  HINSTANCE module = nullptr;
  if (!platform_current_cursor(&id, &module)) return false;
  return module_ && module == static_cast<HINSTANCE>(module_->nativeHandle());
}

}  // namespace hostapp
