// The application suites: plug-in access, notifiers, contexts, alerts,
// icons, menus, timers, tools and preferences, over the host's registries.
#include "AppSuites.h"

#include <cstdlib>
#include <cstring>

#include "hostapp/HostApplication.h"
#include "hostcore/CoreSuites.h"

namespace hostapp {

namespace {

// Distinct addresses the host hands out as the plug-in's access handle.
char accessTag;

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
  HostApplication& h = host();         \
  if (const AIErr injected = h.core_.faults().enterCall(suite, function)) return injected
#define HOSTAPP_ENTER_OR(suite, function, failValue) \
  HostApplication& h = host();                       \
  if (h.core_.faults().enterCall(suite, function) != kNoErr) return failValue

  // ---- SP Basic ----
  static AIErr AcquireSuite(const char* name, int32_t version, const void** suite) {
    HostApplication& h = host();
    const AIErr result = h.core_.acquireSuite(name, version, suite);
    if (result != kNoErr) return result;
    const size_t place = h.core_.suites().place(name, version);
    if (place >= h.suiteHolds_.size()) h.suiteHolds_.resize(place + 1, 0);
    h.suiteHolds_[place] += 1;
    h.suiteLog_.push_back({true, place});
    return kNoErr;
  }
  static AIErr ReleaseSuite(const char* name, int32_t version) {
    HostApplication& h = host();
    if (!name) return kHostBadParameterErr;
    const size_t place = h.core_.suites().place(name, version);
    if (place == hostcore::SuiteRegistry::kNotFound) return kHostSuiteNotFoundErr;
    if (place >= h.suiteHolds_.size() || h.suiteHolds_[place] <= 0) return kHostSuiteBusyErr;
    h.suiteHolds_[place] -= 1;
    h.suiteLog_.push_back({false, place});
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
    *notifier = h.notifiers_.notifiers.add<AINotifierHandle>({name, type, true});
    return kNoErr;
  }
  static AIErr SetNotifierActive(AINotifierHandle notifier, AIBoolean active) {
    HOSTAPP_ENTER(kAINotifierSuite, "SetNotifierActive");
    NotifierRecord* record = h.notifiers_.notifiers.find(notifier);
    if (!record) return kHostStaleHandleErr;
    record->active = active != 0;
    return kNoErr;
  }

  // ---- AI Context ----
  static AIErr PushAppContext(SPPluginRef self, AIAppContextHandle* appContext) {
    HOSTAPP_ENTER(kAIContextSuite, "PushAppContext");
    if (!IsOurs(self) || !appContext) return kHostBadParameterErr;
    *appContext = h.contexts_.push();
    return kNoErr;
  }
  static AIErr PopAppContext(AIAppContextHandle appContext) {
    HOSTAPP_ENTER(kAIContextSuite, "PopAppContext");
    // Contexts are popped innermost first.
    return h.contexts_.pop(appContext) ? kNoErr : kHostBadParameterErr;
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
    const ModuleResource* resource = IsOurs(plugin) && iconID >= 0 && iconID <= 0xFFFF
                                         ? h.visibleResource(kResourceIconGroup, static_cast<uint16_t>(iconID))
                                         : nullptr;
    if (resource) {
      const ResourceImage* image = static_cast<const ResourceImage*>(resource->data);
      icon.type = kLoadedIconType;
      icon.width = image->width;
      icon.height = image->height;
    }
    return h.tools_.icons.add<ADMIconRef>(icon);
  }
  static int32_t GetIconType(ADMIconRef icon) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetType", kADMUnknownIconType);
    const IconRecord* record = h.tools_.icons.find(icon);
    return record ? record->type : kADMUnknownIconType;
  }
  static int32_t GetIconWidth(ADMIconRef icon) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetWidth", 0);
    const IconRecord* record = h.tools_.icons.find(icon);
    return record ? record->width : 0;
  }
  static int32_t GetIconHeight(ADMIconRef icon) {
    HOSTAPP_ENTER_OR(kADMIconSuite, "GetHeight", 0);
    const IconRecord* record = h.tools_.icons.find(icon);
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
    *menuItem = h.menus_.items.add<AIMenuItemHandle>(record);
    return kNoErr;
  }
  static AIErr UpdateMenuItemAutomatically(AIMenuItemHandle menuItem, int32_t action, int32_t, int32_t, int32_t,
                                           int32_t, int32_t ifIsTrue, int32_t ifIsNotTrue) {
    HOSTAPP_ENTER(kAIMenuSuite, "UpdateMenuItemAutomatically");
    MenuItemRecord* record = h.menus_.items.find(menuItem);
    if (!record) return kHostStaleHandleErr;
    record->automatic = true;
    record->autoAction = action;
    record->ifIsTrue = ifIsTrue;
    record->ifIsNotTrue = ifIsNotTrue;
    return kNoErr;
  }
  static AIErr IsItemChecked(AIMenuItemHandle menuItem, AIBoolean* checked) {
    HOSTAPP_ENTER(kAIMenuSuite, "IsItemChecked");
    const MenuItemRecord* record = h.menus_.items.find(menuItem);
    if (!record) return kHostStaleHandleErr;
    if (!checked) return kHostBadParameterErr;
    *checked = record->checked;
    return kNoErr;
  }
  static AIErr CheckItem(AIMenuItemHandle menuItem, AIBoolean checked) {
    HOSTAPP_ENTER(kAIMenuSuite, "CheckItem");
    MenuItemRecord* record = h.menus_.items.find(menuItem);
    if (!record) return kHostStaleHandleErr;
    record->checked = checked != 0;
    return kNoErr;
  }
  static AIErr IsItemEnabled(AIMenuItemHandle menuItem, AIBoolean* enabled) {
    HOSTAPP_ENTER(kAIMenuSuite, "IsItemEnabled");
    if (!h.menus_.items.find(menuItem)) return kHostStaleHandleErr;
    if (!enabled) return kHostBadParameterErr;
    *enabled = h.menuItemEnabled(menuItem);
    return kNoErr;
  }

  // ---- AI Timer ----
  static AIErr AddTimer(SPPluginRef self, const char* name, int32_t period, AITimerHandle* timer) {
    HOSTAPP_ENTER(kAITimerSuite, "AddTimer");
    if (!IsOurs(self) || !name || period <= 0 || !timer) return kHostBadParameterErr;
    *timer = h.timerClock_.timers.add<AITimerHandle>({name, period, true, h.timerClock_.now()});
    return kNoErr;
  }
  static AIErr SetTimerActive(AITimerHandle timer, AIBoolean active) {
    HOSTAPP_ENTER(kAITimerSuite, "SetTimerActive");
    TimerRecord* record = h.timerClock_.timers.find(timer);
    if (!record) return kHostStaleHandleErr;
    if (active && !record->active) record->periodStart = h.timerClock_.now();
    record->active = active != 0;
    return kNoErr;
  }
  static AIErr GetTimerActive(AITimerHandle timer, AIBoolean* active) {
    HOSTAPP_ENTER(kAITimerSuite, "GetTimerActive");
    const TimerRecord* record = h.timerClock_.timers.find(timer);
    if (!record) return kHostStaleHandleErr;
    if (!active) return kHostBadParameterErr;
    *active = record->active;
    return kNoErr;
  }
  static AIErr SetTimerPeriod(AITimerHandle timer, int32_t period) {
    HOSTAPP_ENTER(kAITimerSuite, "SetTimerPeriod");
    TimerRecord* record = h.timerClock_.timers.find(timer);
    if (!record) return kHostStaleHandleErr;
    if (period <= 0) return kHostBadParameterErr;
    record->period = period;
    record->periodStart = h.timerClock_.now();
    return kNoErr;
  }
  static AIErr GetTimerPeriod(AITimerHandle timer, int32_t* period) {
    HOSTAPP_ENTER(kAITimerSuite, "GetTimerPeriod");
    const TimerRecord* record = h.timerClock_.timers.find(timer);
    if (!record) return kHostStaleHandleErr;
    if (!period) return kHostBadParameterErr;
    *period = record->period;
    return kNoErr;
  }

  // ---- AI Tool ----
  static AIErr AddTool(SPPluginRef self, const char* name, AIAddToolData* data, int32_t options, AIToolHandle* tool) {
    HOSTAPP_ENTER(kAIToolSuite, "AddTool");
    if (!IsOurs(self) || !name || !data || !tool) return kHostBadParameterErr;
    ToolRecord record;
    record.name = name;
    record.title = TextOrEmpty(data->title);
    record.tooltip = TextOrEmpty(data->tooltip);
    record.helpID = data->helpID;
    record.options = options;
    record.iconID = h.tools_.iconResourceID(data->normalIcon);
    record.sameGroupAs = data->sameGroupAs;
    record.sameToolsetAs = data->sameToolsetAs;
    *tool = h.tools_.tools.add<AIToolHandle>(record);
    return kNoErr;
  }
  static AIErr SetToolRolloverIcon(AIToolHandle tool, ADMIconRef icon) {
    HOSTAPP_ENTER(kAIToolSuite, "SetToolRolloverIcon");
    ToolRecord* record = h.tools_.tools.find(tool);
    if (!record) return kHostStaleHandleErr;
    record->rolloverIconID = h.tools_.iconResourceID(icon);
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

const SPBasicSuite kBasicTable = {SuiteFunctions::AcquireSuite, SuiteFunctions::ReleaseSuite, SuiteFunctions::IsEqual,
                                  SuiteFunctions::AllocateBlock, SuiteFunctions::FreeBlock};
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
const AIPreferenceSuite kPreferenceTable = {SuiteFunctions::GetIntegerPreference, SuiteFunctions::PutIntegerPreference};

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

const SPBasicSuite& basicSuiteTable() { return kBasicTable; }

void registerAppSuites(hostcore::SuiteRegistry& registry) {
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

}  // namespace hostapp
