#include "framework/Plugin.h"

#include <cstring>
#include <new>

#include "framework/HostSuiteSet.h"
#include "framework/PluginSuites.h"
#include "ovstr/ovstr.h"

namespace {

using Operation = AIErr (*)(Plugin& plugin, void* message);

struct SelectorRoute {
  const char* selector;
  Operation operation;
};

struct CallerRoute {
  const char* caller;
  const SelectorRoute* selectors;  // ended by a null selector
};

template <typename MessageType>
MessageType* As(void* message) {
  return static_cast<MessageType*>(message);
}

const SelectorRoute kAccessRoutes[] = {
    {kSPAccessUnloadSelector, [](Plugin& p, void* m) { return p.Unload(As<SPAccessMessage>(m)); }},
    {kSPAccessReloadSelector, [](Plugin& p, void* m) { return p.Reload(As<SPAccessMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kInterfaceRoutes[] = {
    {kSPInterfaceAboutSelector, [](Plugin& p, void* m) { return p.About(As<SPInterfaceMessage>(m)); }},
    {kSPInterfaceStartupSelector,
     [](Plugin& p, void* m) { return p.Startup(As<SPInterfaceMessage>(m)); }},
    {kSPInterfaceShutdownSelector,
     [](Plugin& p, void* m) { return p.Shutdown(As<SPInterfaceMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kCacheRoutes[] = {
    {kSPPluginPurgeCachesSelector,
     [](Plugin& p, void*) { return p.Purge() ? kCachesFlushedErr : AIErr{kNoErr}; }},
    {nullptr, nullptr}};

const SelectorRoute kPropertiesRoutes[] = {
    {kSPPropertiesAcquireSelector,
     [](Plugin& p, void* m) { return p.AcquireProperty(As<SPInterfaceMessage>(m)); }},
    {kSPPropertiesReleaseSelector,
     [](Plugin& p, void* m) { return p.ReleaseProperty(As<SPInterfaceMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kMenuRoutes[] = {
    {kSelectorAIGoMenuItem, [](Plugin& p, void* m) { return p.GoMenu(As<AIMenuMessage>(m)); }},
    {kSelectorAIUpdateMenuItem, [](Plugin& p, void* m) { return p.UpdateMenu(As<AIMenuMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kFilterRoutes[] = {
    {kSelectorAIGetFilterParameters,
     [](Plugin& p, void* m) { return p.GetFilterParameters(As<SPInterfaceMessage>(m)); }},
    {kSelectorAIGoFilter, [](Plugin& p, void* m) { return p.GoFilter(As<SPInterfaceMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kPluginGroupRoutes[] = {
    {kSelectorAINotifyEdits,
     [](Plugin& p, void* m) { return p.PluginGroupNotify(As<AIPluginGroupMessage>(m)); }},
    {kSelectorAIUpdateArt,
     [](Plugin& p, void* m) { return p.PluginGroupUpdate(As<AIPluginGroupMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kFileFormatRoutes[] = {
    {kSelectorAIGetFileFormatParameters,
     [](Plugin& p, void* m) { return p.GetFileFormatParameters(As<SPInterfaceMessage>(m)); }},
    {kSelectorAIGoFileFormat,
     [](Plugin& p, void* m) { return p.GoFileFormat(As<SPInterfaceMessage>(m)); }},
    {kSelectorAICheckFileFormat,
     [](Plugin& p, void* m) { return p.CheckFileFormat(As<SPInterfaceMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kToolRoutes[] = {
    {kSelectorAIEditToolOptions,
     [](Plugin& p, void* m) { return p.EditToolOptions(As<AIToolMessage>(m)); }},
    {kSelectorAITrackToolCursor,
     [](Plugin& p, void* m) { return p.TrackToolCursor(As<AIToolMessage>(m)); }},
    {kSelectorAIToolMouseDown, [](Plugin& p, void* m) { return p.ToolMouseDown(As<AIToolMessage>(m)); }},
    {kSelectorAIToolMouseDrag, [](Plugin& p, void* m) { return p.ToolMouseDrag(As<AIToolMessage>(m)); }},
    {kSelectorAIToolMouseUp, [](Plugin& p, void* m) { return p.ToolMouseUp(As<AIToolMessage>(m)); }},
    {kSelectorAISelectTool, [](Plugin& p, void* m) { return p.SelectTool(As<AIToolMessage>(m)); }},
    {kSelectorAIDeselectTool, [](Plugin& p, void* m) { return p.DeselectTool(As<AIToolMessage>(m)); }},
    {kSelectorAIReselectTool, [](Plugin& p, void* m) { return p.ReselectTool(As<AIToolMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kLiveEffectRoutes[] = {
    {kSelectorAIEditLiveEffectParameters,
     [](Plugin& p, void* m) { return p.EditLiveEffectParameters(As<SPInterfaceMessage>(m)); }},
    {kSelectorAIGoLiveEffect,
     [](Plugin& p, void* m) { return p.GoLiveEffect(As<SPInterfaceMessage>(m)); }},
    {kSelectorAILiveEffectInterpolate,
     [](Plugin& p, void* m) { return p.InterpolateLiveEffectParameters(As<SPInterfaceMessage>(m)); }},
    {kSelectorAILiveEffectInputType,
     [](Plugin& p, void* m) { return p.GetLiveEffectInputType(As<SPInterfaceMessage>(m)); }},
    {nullptr, nullptr}};

const SelectorRoute kTimerRoutes[] = {
    {kSelectorAIGoTimer, [](Plugin& p, void* m) { return p.GoTimer(As<AITimerMessage>(m)); }},
    {nullptr, nullptr}};

// The notifier caller takes any selector and is served apart (DispatchNotifier).
const CallerRoute kCallerRoutes[] = {
    {kSPAccessCaller, kAccessRoutes},
    {kSPInterfaceCaller, kInterfaceRoutes},
    {kSPCacheCaller, kCacheRoutes},
    {kSPPropertiesCaller, kPropertiesRoutes},
    {kCallerAINotifier, nullptr},
    {kCallerAIMenu, kMenuRoutes},
    {kCallerAIFilter, kFilterRoutes},
    {kCallerAIPluginGroup, kPluginGroupRoutes},
    {kCallerAIFileFormat, kFileFormatRoutes},
    {kCallerAITool, kToolRoutes},
    {kCallerAILiveEffect, kLiveEffectRoutes},
    {kCallerAITimer, kTimerRoutes},
};

// Pops the application context pushed for a notification, also when an
// exception passes.
class PushedAppContext {
 public:
  explicit PushedAppContext(SPPluginRef self) : pushed_(sAIContext != nullptr) {
    if (pushed_) sAIContext->PushAppContext(self, &context_);
  }
  ~PushedAppContext() {
    if (pushed_ && sAIContext) sAIContext->PopAppContext(context_);
  }
  PushedAppContext(const PushedAppContext&) = delete;
  PushedAppContext& operator=(const PushedAppContext&) = delete;

 private:
  bool pushed_;
  AIAppContextHandle context_ = nullptr;
};

}  // namespace

Plugin::Plugin(SPPluginRef self)
    : pluginRef(self),
      pluginName(),
      suites(nullptr),
      lockCount(0),
      pluginAccess(nullptr),
      appStartedNotifier(nullptr) {
  std::strncpy(pluginName, "Plugin", kMaxNameLength - 1);
}

Plugin::~Plugin() = default;

AIErr Plugin::AcquireSuites() {
  if (suites) return kNoErr;
  suites = new (std::nothrow) HostSuites();
  if (!suites) return kOutOfMemoryErr;
  const AIErr result = suites->AcquireResult();
  HostSuites::SetAcquisitionCount(1);
  if (result != kNoErr) ReleaseSuites();
  return result;
}

void Plugin::ReleaseSuites() {
  delete suites;
  suites = nullptr;
}

AIErr Plugin::LockPlugin(bool lock) {
  if (lock) {
    lockCount += 1;
    if (lockCount == 1) sSPAccess->AcquirePlugin(pluginRef, &pluginAccess);
  } else {
    lockCount -= 1;
    if (lockCount == 0) {
      sSPAccess->ReleasePlugin(pluginAccess);
      pluginAccess = nullptr;
    }
    if (lockCount < 0) lockCount = 0;
  }
  return kNoErr;
}

AIErr Plugin::Startup(SPInterfaceMessage* message) {
  AIErr result = AcquireSuites();
  if (result == kNoErr) result = sSPPlugins->SetPluginName(message->d.self, pluginName);
  if (result == kNoErr) {
    const OvStr notifierName("%s App Started Notifier", pluginName);
    result = sAINotifier->AddNotifier(message->d.self, notifierName.CStr(),
                                      kAIApplicationStartedNotifier, &appStartedNotifier);
  }
  return result;
}

AIErr Plugin::ApplicationStarted() { return kNoErr; }

AIErr Plugin::Shutdown(SPInterfaceMessage*) {
  ReleaseSuites();
  return kNoErr;
}

AIErr Plugin::Unload(SPAccessMessage*) {
  ReleaseSuites();
  return kNoErr;
}

AIErr Plugin::Reload(SPAccessMessage*) { return AcquireSuites(); }

AIErr Plugin::AcquireProperty(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::ReleaseProperty(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::About(SPInterfaceMessage*) { return kUnhandledMessageErr; }
bool Plugin::Purge() { return false; }
AIErr Plugin::Notify(AINotifierMessage*) { return kNoErr; }
AIErr Plugin::GoMenu(AIMenuMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::UpdateMenu(AIMenuMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GetFilterParameters(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GoFilter(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::PluginGroupNotify(AIPluginGroupMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::PluginGroupUpdate(AIPluginGroupMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GetFileFormatParameters(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GoFileFormat(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::CheckFileFormat(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::EditToolOptions(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::TrackToolCursor(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::ToolMouseDown(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::ToolMouseDrag(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::ToolMouseUp(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::SelectTool(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::DeselectTool(AIToolMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::ReselectTool(AIToolMessage*) { return kNoErr; }
AIErr Plugin::EditLiveEffectParameters(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GoLiveEffect(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::InterpolateLiveEffectParameters(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GetLiveEffectInputType(SPInterfaceMessage*) { return kUnhandledMessageErr; }
AIErr Plugin::GoTimer(AITimerMessage*) { return kUnhandledMessageErr; }

AIErr Plugin::Message(const char* caller, const char* selector, void* message) {
  for (const CallerRoute& route : kCallerRoutes) {
    if (!sSPBasic->IsEqual(caller, route.caller)) continue;
    if (!route.selectors) return DispatchNotifier(selector, static_cast<AINotifierMessage*>(message));
    for (const SelectorRoute* entry = route.selectors; entry->selector; ++entry) {
      if (sSPBasic->IsEqual(selector, entry->selector)) return entry->operation(*this, message);
    }
    return kUnhandledMessageErr;
  }
  return kUnhandledMessageErr;
}

AIErr Plugin::DispatchNotifier(const char* selector, AINotifierMessage* message) {
  const PushedAppContext context(message->d.self);
  AIErr result = kUnhandledMessageErr;
  if (message->type && sSPBasic->IsEqual(message->type, kAIApplicationStartedNotifier)) {
    result = ApplicationStarted();
  }
  if ((result == kNoErr || result == kUnhandledMessageErr) &&
      sSPBasic->IsEqual(selector, kSelectorAINotify)) {
    result = Notify(message);
  }
  return result;
}
