#include "hostapp/HostApplication.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "hostcore/CoreSuites.h"
#include "platform/platform_host.h"

namespace hostapp {

namespace {

HostApplication* activeHost = nullptr;

// Distinct addresses the host hands out as the plug-in's access handle.
char accessTag;

constexpr int32_t kMessageCheck = 0x53504D44;  // 'SPMD'
constexpr int32_t kSupportedInterfaceVersion = 2;

template <typename Handle>
Handle HandleOf(std::size_t index) {
  return reinterpret_cast<Handle>(static_cast<uintptr_t>(index + 1));
}

// The record a handle names, or null for a handle this host did not issue.
template <typename Record, typename Handle>
Record* RecordOf(std::vector<Record>& records, Handle handle) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value == 0 || value > records.size()) return nullptr;
  return &records[value - 1];
}

std::string TextOrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

// The suite tables' functions. They reach the host through active(); every
// pointer argument is checked, since a plug-in's mistake must be answered,
// not followed.
struct SuiteFunctions {
  static HostApplication& host() { return HostApplication::active(); }

// Every application suite function counts itself with the core's fault
// injector on entry and answers an injected fault instead of acting.
#define HOSTAPP_ENTER(suite, function) \
  HostApplication& h = host();           \
  if (const AIErr injected = h.core_.faults().enterCall(suite, function)) return injected
#define HOSTAPP_ENTER_OR(suite, function, failValue) \
  HostApplication& h = host();                       \
  if (h.core_.faults().enterCall(suite, function) != kNoErr) return failValue

  // ---- SP Basic ----
  static AIErr AcquireSuite(const char* name, int32_t version, const void** suite) {
    HostApplication& h = host();
    const AIErr result = h.core_.acquireSuite(name, version, suite);
    if (result != kNoErr) return result;
    h.suiteHolds_[name] += 1;
    h.suiteLog_.push_back(std::string("+") + name);
    return kNoErr;
  }
  static AIErr ReleaseSuite(const char* name, int32_t version) {
    HostApplication& h = host();
    if (!name) return kHostBadParameterErr;
    if (!h.core_.suites().find(name, version)) return kHostSuiteNotFoundErr;
    int32_t& holds = h.suiteHolds_[name];
    if (holds <= 0) return kHostSuiteBusyErr;
    holds -= 1;
    h.suiteLog_.push_back(std::string("-") + name);
    return kNoErr;
  }
  static AIBoolean IsEqual(const char* token1, const char* token2) {
    return token1 && token2 && std::strcmp(token1, token2) == 0;
  }
  static AIErr AllocateBlock(size_t size, void** block) {
    HostApplication& h = host();
    if (!block) return kHostBadParameterErr;
    *block = nullptr;
    if (h.core_.faults().blockAllocationFails()) return kHostOutOfMemoryErr;
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (!memory) return kHostOutOfMemoryErr;
    h.liveBlocks_.insert(memory);
    *block = memory;
    return kNoErr;
  }
  static AIErr FreeBlock(void* block) {
    HostApplication& h = host();
    if (!block) return kNoErr;
    // A block the host never gave out is refused, not freed.
    if (h.liveBlocks_.erase(block) == 0) return kHostBadParameterErr;
    std::free(block);
    return kNoErr;
  }

  // ---- SP Access ----
  static bool IsOurs(SPPluginRef plugin) { return plugin && plugin == host().pluginRef(); }
  static SPAccessRef AccessRef() { return reinterpret_cast<SPAccessRef>(&accessTag); }

  static AIErr AcquirePlugin(SPPluginRef plugin, SPAccessRef* access) {
    HOSTAPP_ENTER(kSPAccessSuite, "AcquirePlugin");
    if (!IsOurs(plugin) || !access) return kHostBadParameterErr;
    h.pluginLocks_ += 1;
    *access = AccessRef();
    return kNoErr;
  }
  static AIErr ReleasePlugin(SPAccessRef access) {
    HOSTAPP_ENTER(kSPAccessSuite, "ReleasePlugin");
    if (access != AccessRef() || h.pluginLocks_ == 0) return kHostBadParameterErr;
    h.pluginLocks_ -= 1;
    return kNoErr;
  }
  static AIErr GetPluginAccess(SPPluginRef plugin, SPAccessRef* access) {
    HOSTAPP_ENTER(kSPAccessSuite, "GetPluginAccess");
    if (!IsOurs(plugin) || !access) return kHostBadParameterErr;
    *access = AccessRef();
    return kNoErr;
  }
  static AIErr GetAccessInfo(SPAccessRef access, SPPlatformAccessInfo* info) {
    HOSTAPP_ENTER(kSPAccessSuite, "GetAccessInfo");
    if (access != AccessRef() || !info) return kHostBadParameterErr;
    info->defaultAccess = h.moduleHandle();
    return kNoErr;
  }

  // ---- SP Plug-ins ----
  static AIErr SetPluginName(SPPluginRef plugin, const char* name) {
    HOSTAPP_ENTER(kSPPluginsSuite, "SetPluginName");
    if (!IsOurs(plugin) || !name) return kHostBadParameterErr;
    h.pluginName_ = name;
    return kNoErr;
  }
  static AIErr GetPluginName(SPPluginRef plugin, const char** name) {
    HOSTAPP_ENTER(kSPPluginsSuite, "GetPluginName");
    if (!IsOurs(plugin) || !name) return kHostBadParameterErr;
    *name = h.pluginName_.c_str();
    return kNoErr;
  }

  // ---- AI Notifier ----
  static AIErr AddNotifier(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier) {
    HOSTAPP_ENTER(kAINotifierSuite, "AddNotifier");
    if (!IsOurs(self) || !name || !type || !notifier) return kHostBadParameterErr;
    h.notifiers_.push_back({name, type, true});
    *notifier = HandleOf<AINotifierHandle>(h.notifiers_.size() - 1);
    return kNoErr;
  }
  static AIErr SetNotifierActive(AINotifierHandle notifier, AIBoolean active) {
    HOSTAPP_ENTER(kAINotifierSuite, "SetNotifierActive");
    NotifierRecord* record = RecordOf(h.notifiers_, notifier);
    if (!record) return kHostStaleHandleErr;
    record->active = active != 0;
    return kNoErr;
  }

  // ---- AI Context ----
  static AIErr PushAppContext(SPPluginRef self, AIAppContextHandle* appContext) {
    HOSTAPP_ENTER(kAIContextSuite, "PushAppContext");
    if (!IsOurs(self) || !appContext) return kHostBadParameterErr;
    h.contextDepth_ += 1;
    h.contextPushes_ += 1;
    *appContext = HandleOf<AIAppContextHandle>(static_cast<std::size_t>(h.contextDepth_ - 1));
    return kNoErr;
  }
  static AIErr PopAppContext(AIAppContextHandle appContext) {
    HOSTAPP_ENTER(kAIContextSuite, "PopAppContext");
    // Contexts are popped innermost first.
    if (h.contextDepth_ == 0 || appContext != HandleOf<AIAppContextHandle>(static_cast<std::size_t>(h.contextDepth_ - 1))) {
      return kHostBadParameterErr;
    }
    h.contextDepth_ -= 1;
    return kNoErr;
  }

  // ---- ADM Basic ----
  static void ErrorAlert(const char* text) {
    HOSTAPP_ENTER_OR(kADMBasicSuite, "ErrorAlert", );
    h.alerts_.push_back(TextOrEmpty(text));
  }
  static void MessageAlert(const char* text) {
    HOSTAPP_ENTER_OR(kADMBasicSuite, "MessageAlert", );
    h.alerts_.push_back(TextOrEmpty(text));
  }
  // Every question is answered yes.
  static int32_t QuestionAlert(const char* text) {
    HOSTAPP_ENTER_OR(kADMBasicSuite, "QuestionAlert", 0);
    h.alerts_.push_back(TextOrEmpty(text));
    return 1;
  }

  // ---- ADM Icon ----
  static ADMIconRef GetIconFromResource(SPPluginRef plugin, int32_t iconID, int32_t) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetFromResource", nullptr);
    IconRecord icon;
    icon.resourceID = iconID;
    icon.type = kADMUnknownIconType;
    const ModuleResource* resource =
        IsOurs(plugin) && iconID >= 0 && iconID <= 0xFFFF ? h.visibleResource(kResourceIconGroup, static_cast<uint16_t>(iconID)) : nullptr;
    if (resource) {
      const ResourceImage* image = static_cast<const ResourceImage*>(resource->data);
      icon.type = kLoadedIconType;
      icon.width = image->width;
      icon.height = image->height;
    }
    h.icons_.push_back(icon);
    return HandleOf<ADMIconRef>(h.icons_.size() - 1);
  }
  static int32_t GetIconType(ADMIconRef icon) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetType", kADMUnknownIconType);
    const IconRecord* record = RecordOf(h.icons_, icon);
    return record ? record->type : kADMUnknownIconType;
  }
  static int32_t GetIconWidth(ADMIconRef icon) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetWidth", 0);
    const IconRecord* record = RecordOf(h.icons_, icon);
    return record ? record->width : 0;
  }
  static int32_t GetIconHeight(ADMIconRef icon) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetHeight", 0);
    const IconRecord* record = RecordOf(h.icons_, icon);
    return record ? record->height : 0;
  }

  // ---- AI Menu ----
  static AIErr AddMenuItem(SPPluginRef self, const char* inKey, AIPlatformAddMenuItemData* data, int32_t options,
                           AIMenuItemHandle* menuItem) {
    HOSTAPP_ENTER(kAIMenuSuite, "AddMenuItem");
    if (!IsOurs(self) || !inKey || !data || !data->groupName || !data->itemText || !menuItem) {
      return kHostBadParameterErr;
    }
    MenuItemRecord record;
    record.group = data->groupName;
    record.name = inKey;
    record.text.assign(reinterpret_cast<const char*>(data->itemText + 1), data->itemText[0]);
    record.options = options;
    h.menuItems_.push_back(record);
    *menuItem = HandleOf<AIMenuItemHandle>(h.menuItems_.size() - 1);
    return kNoErr;
  }
  static AIErr UpdateMenuItemAutomatically(AIMenuItemHandle menuItem, int32_t action, int32_t, int32_t, int32_t,
                                           int32_t, int32_t ifIsTrue, int32_t ifIsNotTrue) {
    HOSTAPP_ENTER(kAIMenuSuite, "UpdateMenuItemAutomatically");
    MenuItemRecord* record = RecordOf(h.menuItems_, menuItem);
    if (!record) return kHostStaleHandleErr;
    record->automatic = true;
    record->autoAction = action;
    record->ifIsTrue = ifIsTrue;
    record->ifIsNotTrue = ifIsNotTrue;
    return kNoErr;
  }
  static AIErr IsItemChecked(AIMenuItemHandle menuItem, AIBoolean* checked) {
    HOSTAPP_ENTER(kAIMenuSuite, "IsItemChecked");
    const MenuItemRecord* record = RecordOf(h.menuItems_, menuItem);
    if (!record) return kHostStaleHandleErr;
    if (!checked) return kHostBadParameterErr;
    *checked = record->checked;
    return kNoErr;
  }
  static AIErr CheckItem(AIMenuItemHandle menuItem, AIBoolean checked) {
    HOSTAPP_ENTER(kAIMenuSuite, "CheckItem");
    MenuItemRecord* record = RecordOf(h.menuItems_, menuItem);
    if (!record) return kHostStaleHandleErr;
    record->checked = checked != 0;
    return kNoErr;
  }
  static AIErr IsItemEnabled(AIMenuItemHandle menuItem, AIBoolean* enabled) {
    HOSTAPP_ENTER(kAIMenuSuite, "IsItemEnabled");
    if (!RecordOf(h.menuItems_, menuItem)) return kHostStaleHandleErr;
    if (!enabled) return kHostBadParameterErr;
    *enabled = h.menuItemEnabled(menuItem);
    return kNoErr;
  }

  // ---- AI Timer ----
  static AIErr AddTimer(SPPluginRef self, const char* name, int32_t period, AITimerHandle* timer) {
    HOSTAPP_ENTER(kAITimerSuite, "AddTimer");
    if (!IsOurs(self) || !name || period <= 0 || !timer) return kHostBadParameterErr;
    h.timers_.push_back({name, period, true, h.clock_});
    *timer = HandleOf<AITimerHandle>(h.timers_.size() - 1);
    return kNoErr;
  }
  static AIErr SetTimerActive(AITimerHandle timer, AIBoolean active) {
    HOSTAPP_ENTER(kAITimerSuite, "SetTimerActive");
    TimerRecord* record = RecordOf(h.timers_, timer);
    if (!record) return kHostStaleHandleErr;
    if (active && !record->active) record->periodStart = h.clock_;
    record->active = active != 0;
    return kNoErr;
  }
  static AIErr GetTimerActive(AITimerHandle timer, AIBoolean* active) {
    HOSTAPP_ENTER(kAITimerSuite, "GetTimerActive");
    const TimerRecord* record = RecordOf(h.timers_, timer);
    if (!record) return kHostStaleHandleErr;
    if (!active) return kHostBadParameterErr;
    *active = record->active;
    return kNoErr;
  }
  static AIErr SetTimerPeriod(AITimerHandle timer, int32_t period) {
    HOSTAPP_ENTER(kAITimerSuite, "SetTimerPeriod");
    TimerRecord* record = RecordOf(h.timers_, timer);
    if (!record) return kHostStaleHandleErr;
    if (period <= 0) return kHostBadParameterErr;
    record->period = period;
    record->periodStart = h.clock_;
    return kNoErr;
  }
  static AIErr GetTimerPeriod(AITimerHandle timer, int32_t* period) {
    HOSTAPP_ENTER(kAITimerSuite, "GetTimerPeriod");
    const TimerRecord* record = RecordOf(h.timers_, timer);
    if (!record) return kHostStaleHandleErr;
    if (!period) return kHostBadParameterErr;
    *period = record->period;
    return kNoErr;
  }

  // ---- AI Tool ----
  static int32_t IconResourceID(ADMIconRef icon) {
    const IconRecord* record = RecordOf(host().icons_, icon);
    return record ? record->resourceID : -1;
  }
  static AIErr AddTool(SPPluginRef self, const char* name, AIAddToolData* data, int32_t options, AIToolHandle* tool) {
    HOSTAPP_ENTER(kAIToolSuite, "AddTool");
    if (!IsOurs(self) || !name || !data || !tool) return kHostBadParameterErr;
    ToolRecord record;
    record.name = name;
    record.title = TextOrEmpty(data->title);
    record.tooltip = TextOrEmpty(data->tooltip);
    record.helpID = data->helpID;
    record.options = options;
    record.iconID = IconResourceID(data->normalIcon);
    record.sameGroupAs = data->sameGroupAs;
    record.sameToolsetAs = data->sameToolsetAs;
    h.tools_.push_back(record);
    *tool = HandleOf<AIToolHandle>(h.tools_.size() - 1);
    return kNoErr;
  }
  static AIErr SetToolRolloverIcon(AIToolHandle tool, ADMIconRef icon) {
    HOSTAPP_ENTER(kAIToolSuite, "SetToolRolloverIcon");
    ToolRecord* record = RecordOf(h.tools_, tool);
    if (!record) return kHostStaleHandleErr;
    record->rolloverIconID = IconResourceID(icon);
    return kNoErr;
  }

  // ---- AI Preference ----
  static AIErr GetIntegerPreference(const char* prefix, const char* suffix, int32_t* value) {
    HOSTAPP_ENTER(kAIPreferenceSuite, "GetIntegerPreference");
    if (!prefix || !suffix || !value) return kHostBadParameterErr;
    h.preferences_.get(prefix, suffix, *value);
    return kNoErr;
  }
  static AIErr PutIntegerPreference(const char* prefix, const char* suffix, int32_t value) {
    HOSTAPP_ENTER(kAIPreferenceSuite, "PutIntegerPreference");
    if (!prefix || !suffix) return kHostBadParameterErr;
    h.preferences_.put(prefix, suffix, value);
    if (h.preferencesFile_ && !h.preferencesFile_->save(h.preferences_)) return kHostNoPreferenceErr;
    return kNoErr;
  }
};

namespace {

const SPBasicSuite kBasicTable = {SuiteFunctions::AcquireSuite, SuiteFunctions::ReleaseSuite,
                                  SuiteFunctions::IsEqual, SuiteFunctions::AllocateBlock,
                                  SuiteFunctions::FreeBlock};
const SPAccessSuite kAccessTable = {SuiteFunctions::AcquirePlugin, SuiteFunctions::ReleasePlugin,
                                    SuiteFunctions::GetPluginAccess, SuiteFunctions::GetAccessInfo};
const SPPluginsSuite kPluginsTable = {SuiteFunctions::SetPluginName, SuiteFunctions::GetPluginName};
const AINotifierSuite kNotifierTable = {SuiteFunctions::AddNotifier, SuiteFunctions::SetNotifierActive};
const AIContextSuite kContextTable = {SuiteFunctions::PushAppContext, SuiteFunctions::PopAppContext};
const ADMBasicSuite kAlertTable = {SuiteFunctions::ErrorAlert, SuiteFunctions::MessageAlert,
                                       SuiteFunctions::QuestionAlert};
const ADMIconSuite kIconTable = {SuiteFunctions::GetIconFromResource, SuiteFunctions::GetIconType,
                                 SuiteFunctions::GetIconWidth, SuiteFunctions::GetIconHeight};
const AIMenuSuite kMenuTable = {SuiteFunctions::AddMenuItem, SuiteFunctions::UpdateMenuItemAutomatically,
                                SuiteFunctions::IsItemChecked, SuiteFunctions::CheckItem,
                                SuiteFunctions::IsItemEnabled};
const AITimerSuite kTimerTable = {SuiteFunctions::AddTimer, SuiteFunctions::SetTimerActive,
                                  SuiteFunctions::GetTimerActive, SuiteFunctions::SetTimerPeriod,
                                  SuiteFunctions::GetTimerPeriod};
const AIToolSuite kToolTable = {SuiteFunctions::AddTool, SuiteFunctions::SetToolRolloverIcon};
const AIPreferenceSuite kPreferenceTable = {SuiteFunctions::GetIntegerPreference,
                                            SuiteFunctions::PutIntegerPreference};

// Suites the plug-in holds but never calls: an empty table each.
const unsigned char kUncalledTable[1] = {0};
const std::pair<const char*, int32_t> kUncalledSuites[] = {
    {kSPBlocksSuite, kSPBlocksSuiteVersion},
    {kAIDocumentSuite, kAIDocumentSuiteVersion},
    {kAIHardSoftSuite, kAIHardSoftSuiteVersion},
    {kAITextFrameSuite, kAITextFrameSuiteVersion},
    {kAILegacyTextConversionSuite, kAILegacyTextConversionSuiteVersion},
    {kAIMatchingArtSuite, kAIMatchingArtSuiteVersion},
    {kAIMdMemorySuite, kAIMdMemorySuiteVersion},
    {kAIFilterSuite, kAIFilterSuiteVersion},
    {kAIBlendStyleSuite, kAIBlendStyleSuiteVersion},
    {kAIDictionaryIteratorSuite, kAIDictionaryIteratorSuiteVersion},
    {kAITagSuite, kAITagSuiteVersion},
    {kAIUserSuite, kAIUserSuiteVersion},
    {kAIRealBezierSuite, kAIRealBezierSuiteVersion},
    {kAIRasterSuite, kAIRasterSuiteVersion},
    {kAIHitTestSuite, kAIHitTestSuiteVersion},
    {kAIPathConstructionSuite, kAIPathConstructionSuiteVersion},
    {kAIActionManagerSuite, kAIActionManagerSuiteVersion},
    {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion},
    {kAICommandManagerSuite, kAICommandManagerSuiteVersion},
    {kAIRasterizeSuite, kAIRasterizeSuiteVersion},
    {kADMListSuite, kADMListSuiteVersion},
    {kADMEntrySuite, kADMEntrySuiteVersion},
    {kADMTrackerSuite, kADMTrackerSuiteVersion},
    {kADMNotifierSuite, kADMNotifierSuiteVersion},
#define HOSTAPP_ATE_SUITE(word) {"ATE " #word " Suite", kATESuiteVersion},
    HOST_ATE_SUITE_WORDS(HOSTAPP_ATE_SUITE)
#undef HOSTAPP_ATE_SUITE
};

}  // namespace

HostApplication::HostApplication(ModuleLoader& loader) : loader_(loader), coreActivation_(core_) {
  if (activeHost) throw std::logic_error("only one host application can be active at a time");
  activeHost = this;
  hostcore::SuiteRegistry& registry = core_.suites();
  hostcore::registerCoreSuites(registry);
  registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &kAccessTable);
  registry.add(kSPPluginsSuite, kSPPluginsSuiteVersion, &kPluginsTable);
  registry.add(kAINotifierSuite, kAINotifierSuiteVersion, &kNotifierTable);
  registry.add(kAIContextSuite, kAIContextSuiteVersion, &kContextTable);
  registry.add(kADMBasicSuite, kADMBasicSuiteVersion, &kAlertTable);
  registry.add(kADMIconSuite, kADMIconSuiteVersion, &kIconTable);
  registry.add(kAIMenuSuite, kAIMenuSuiteVersion, &kMenuTable);
  registry.add(kAITimerSuite, kAITimerSuiteVersion, &kTimerTable);
  registry.add(kAIToolSuite, kAIToolSuiteVersion, &kToolTable);
  registry.add(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &kPreferenceTable);
  registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &DialogHost::dialogSuite());
  registry.add(kADMItemSuite, kADMItemSuiteVersion, &DialogHost::itemSuite());
  // The core may already give some of these a table of its own; add leaves those.
  for (const auto& suite : kUncalledSuites) registry.add(suite.first, suite.second, kUncalledTable);
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
  const auto found = suiteHolds_.find(name);
  return found == suiteHolds_.end() ? 0 : found->second;
}

int32_t HostApplication::suitesHeld() const {
  int32_t held = 0;
  for (const auto& entry : suiteHolds_) held += entry.second;
  return held;
}

const SPBasicSuite* HostApplication::basicSuite() const { return &kBasicTable; }

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
  if (!readPropertyList(static_cast<const unsigned char*>(propertyList->data), propertyList->size, properties,
                        error)) {
    return refuse(error);
  }
  if (properties.kind != "SPEA") return refuse("is not a plug-in (its kind is '" + properties.kind + "')");
  if (properties.interfaceVersion != kSupportedInterfaceVersion) {
    return refuse("speaks interface version " + std::to_string(properties.interfaceVersion) +
                  ", the host speaks " + std::to_string(kSupportedInterfaceVersion));
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
  head.basic = const_cast<SPBasicSuite*>(&kBasicTable);
  // A message that comes outside a longer user action (a tool drag, an
  // edit) is an undo step of its own, with the updates it causes.
  const hostcore::UndoStep step(core_.document().journal(), hostcore::UndoStep::Kind::UnlessOpen);
  if (watcher_) watcher_->sending(caller, selector);
  const AIErr result = entryPoint_(caller, selector, &head);
  globals_ = head.globals;
  if (watcher_) watcher_->answered(caller, selector, result);
  // A plug-in that has let go of its suites (shut down, or unloaded) can
  // update nothing; its art waits for the next message.
  const bool stopped = (std::strcmp(caller, kSPInterfaceCaller) == 0 &&
                        std::strcmp(selector, kSPInterfaceShutdownSelector) == 0) ||
                       (std::strcmp(caller, kSPAccessCaller) == 0 && std::strcmp(selector, kSPAccessUnloadSelector) == 0);
  if (!updatingPluginArt_ && !stopped) updatePluginArt();
  return result;
}

AIToolHandle HostApplication::toolHandle(std::size_t index) const {
  return index < tools_.size() ? HandleOf<AIToolHandle>(index) : nullptr;
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
    doc.clearDirty(art);
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
  for (std::size_t i = 0; i < notifiers_.size(); ++i) {
    if (!notifiers_[i].active || notifiers_[i].type != kAIApplicationStartedNotifier) continue;
    AINotifierMessage message{};
    message.notifier = HandleOf<AINotifierHandle>(i);
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

const MenuItemRecord* HostApplication::menuItem(AIMenuItemHandle item) const {
  return RecordOf(const_cast<std::vector<MenuItemRecord>&>(menuItems_), item);
}

AIMenuItemHandle HostApplication::menuItemHandle(std::size_t index) const {
  return index < menuItems_.size() ? HandleOf<AIMenuItemHandle>(index) : nullptr;
}

bool HostApplication::menuItemEnabled(AIMenuItemHandle item) const {
  const MenuItemRecord* record = menuItem(item);
  if (!record) return false;
  if (!record->automatic || record->autoAction != kAutoEnableMenuItemAction) return true;
  if ((record->ifIsTrue & kIfOpenDocument) && !documentOpen_) return false;
  if ((record->ifIsNotTrue & kIfOpenDocument) && documentOpen_) return false;
  return true;
}

const TimerRecord* HostApplication::timer(AITimerHandle timer) const {
  return RecordOf(const_cast<std::vector<TimerRecord>&>(timers_), timer);
}

AIErr HostApplication::advanceClock(int64_t ticks) {
  const int64_t target = clock_ + ticks;
  AIErr firstFailure = kNoErr;
  for (;;) {
    // The active timer whose period ends first, if it ends by the target.
    std::size_t due = timers_.size();
    for (std::size_t i = 0; i < timers_.size(); ++i) {
      const TimerRecord& t = timers_[i];
      if (!t.active || t.periodStart + t.period > target) continue;
      if (due == timers_.size() ||
          t.periodStart + t.period < timers_[due].periodStart + timers_[due].period) {
        due = i;
      }
    }
    if (due == timers_.size()) break;
    clock_ = timers_[due].periodStart + timers_[due].period;
    timers_[due].periodStart = clock_;
    AITimerMessage message{};
    message.timer = HandleOf<AITimerHandle>(due);
    const AIErr answer = sendMessage(kCallerAITimer, kSelectorAIGoTimer, message.d);
    if (firstFailure == kNoErr) firstFailure = answer;
  }
  clock_ = target;
  return firstFailure;
}

bool HostApplication::currentCursor(uint16_t& id) const {
  HINSTANCE module = nullptr;
  if (!platform_current_cursor(&id, &module)) return false;
  return module_ && module == static_cast<HINSTANCE>(module_->nativeHandle());
}

}  // namespace hostapp
