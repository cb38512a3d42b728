// The stand-in host application, a small front: it loads a plug-in module,
// sends it the host's messages, and serves the suites the document core
// does not (plug-in access, notifiers, alerts, icons, menus, timers, tools,
// preferences; AppSuites.cpp). What the plug-in registered lives in the
// registries (Registries.h), where tests can look.
//
// One host is active at a time: the suites are plain function tables and
// reach the host through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hostapi/HostAPI.h"
#include "hostapi/HostResources.h"
#include "hostapp/Dialogs.h"
#include "hostapp/ModuleLoader.h"
#include "hostapp/ModuleResources.h"
#include "hostapp/Preferences.h"
#include "hostapp/PreferencesFile.h"
#include "hostapp/Registries.h"
#include "hostcore/HostCore.h"

namespace hostapp {

// Icon type the host answers for an icon it loaded.
constexpr int32_t kLoadedIconType = 1;

// Sees every message the host sends the plug-in: as it goes out, and as
// the plug-in answers it (before the updates the message brings about).
class MessageWatcher {
 public:
  virtual ~MessageWatcher() = default;
  virtual void sending(const char* caller, const char* selector) = 0;
  virtual void answered(const char* caller, const char* selector, AIErr answer) = 0;
};

class HostApplication {
 public:
  explicit HostApplication(ModuleLoader& loader);
  // Sends nothing; drops the module.
  ~HostApplication();
  HostApplication(const HostApplication&) = delete;
  HostApplication& operator=(const HostApplication&) = delete;

  // The host whose suites are being called.
  static HostApplication& active();

  // ---- The document core ----------------------------------------------
  // The document, the suite registry, the fault injector (suite functions,
  // the k-th host call, suite acquisitions, block allocations) and the
  // invariant check all live in the core.
  hostcore::HostCore& core() { return core_; }
  hostcore::Document& document() { return core_.document(); }
  hostcore::FaultInjector& faults() { return core_.faults(); }

  // ---- Suites -----------------------------------------------------------
  // Acquisitions of the suite not yet released.
  int32_t suiteHoldCount(const std::string& name) const;
  // Acquisitions of all suites not yet released.
  int32_t suitesHeld() const;
  // Every successful acquisition ("+name") and release ("-name"), in order.
  std::vector<std::string> suiteLog() const;
  // Blocks of the basic suite not yet freed.
  std::size_t liveBlocks() const { return liveBlocks_.size(); }
  const SPBasicSuite* basicSuite() const;

  // ---- The module and its messages -------------------------------------
  // Loads the library, reads its property list and finds its entry point.
  // False, with the reason in loadError(), for a module the host refuses.
  bool loadModule(const std::string& path);
  const std::string& loadError() const { return loadError_; }
  const PluginProperties& properties() const { return properties_; }
  const ModuleResourceTable* resources() const { return resources_; }
  // Makes a resource of the module look missing.
  void hideResource(uint32_t type, uint16_t id);

  // ("SP Interface", "Startup"), then the application-started notification
  // to every such notifier the plug-in added.
  AIErr startup();
  // ("SP Interface", "Shutdown"), as at quitting: from then on the host
  // may unload the plug-in even if it locked itself in memory.
  AIErr shutdown();
  // ("SP Access", "Unload"). A plug-in that locked itself in memory stays
  // loaded until the host quits: before shutdown the answer is 'LOCK' and
  // nothing is sent.
  AIErr unload();
  // ("SP Access", "Reload") to an unloaded plug-in; a loaded one hears nothing.
  AIErr reload();
  // Sends any message: the head is filled in (plug-in reference, the kept
  // globals word, basic suite), and the globals word is kept afterwards.
  // Then every dirty plug-in art object of the plug-in gets its update.
  AIErr sendMessage(const char* caller, const char* selector, SPMessageData& head);
  // Null stops the watching.
  void watchMessages(MessageWatcher* watcher) { watcher_ = watcher; }
  // A message that carries only the head.
  AIErr sendPlainMessage(const char* caller, const char* selector);
  // ("AI Menu", "AI Go") for the item; nothing when the item is disabled.
  std::optional<AIErr> chooseMenuItem(AIMenuItemHandle item);
  // The globals word the host keeps for the plug-in.
  void* globals() const { return globals_; }
  // The plug-in reference the host gives the module.
  SPPluginRef pluginRef() const;
  void* moduleHandle() const;

  // ---- Document state --------------------------------------------------
  void setDocumentOpen(bool open) { documentOpen_ = open; }
  bool documentOpen() const { return documentOpen_; }

  // ---- Clock -------------------------------------------------------------
  // Moves the clock on by ticks of 1/60 second, sending ("AI Timer", "AI Go")
  // each time an active timer's period elapses. The first answer of those
  // messages that was not 0.
  AIErr advanceClock(int64_t ticks);
  int64_t clock() const { return timerClock_.now(); }

  // ---- What the plug-in did ------------------------------------------
  const std::vector<std::string>& alerts() const { return alerts_; }
  // Records in the order the plug-in made them; handles null past the last.
  const std::vector<MenuItemRecord>& menuItems() const { return menus_.items.records(); }
  const MenuItemRecord* menuItem(AIMenuItemHandle item) const { return menus_.items.find(item); }
  bool menuItemEnabled(AIMenuItemHandle item) const { return menus_.enabled(item, documentOpen_); }
  AIMenuItemHandle menuItemHandle(std::size_t index) const {
    return menus_.items.handleAt<AIMenuItemHandle>(index);
  }
  const std::vector<TimerRecord>& timers() const { return timerClock_.timers.records(); }
  const TimerRecord* timer(AITimerHandle timer) const { return timerClock_.timers.find(timer); }
  AITimerHandle timerHandle(std::size_t index) const { return timerClock_.timers.handleAt<AITimerHandle>(index); }
  const std::vector<ToolRecord>& tools() const { return tools_.tools.records(); }
  // The handle of the plug-in's tool registered index-th (from 0).
  AIToolHandle toolHandle(std::size_t index) const { return tools_.tools.handleAt<AIToolHandle>(index); }
  const std::vector<IconRecord>& icons() const { return tools_.icons.records(); }
  const std::vector<NotifierRecord>& notifiers() const { return notifiers_.notifiers.records(); }
  AINotifierHandle notifierHandle(std::size_t index) const {
    return notifiers_.notifiers.handleAt<AINotifierHandle>(index);
  }
  const std::string& pluginName() const { return pluginName_; }
  // SP Access locks held by the plug-in.
  int32_t pluginLocks() const { return pluginLocks_; }
  // Application contexts pushed and not yet popped; pushes in all.
  int32_t contextDepth() const { return contexts_.depth(); }
  int32_t contextPushes() const { return contexts_.pushes(); }
  Preferences& preferences() { return preferences_; }
  // Keeps the preferences in the file from now on: reads them from it, and
  // writes it after every change. False, keeping nothing, when the file
  // does not read as preferences.
  bool keepPreferencesIn(std::unique_ptr<PreferencesFile> file);
  // The cursor the platform shows: its resource id, false when none.
  bool currentCursor(uint16_t& id) const;
  // The modal dialogs the plug-in opened, and the user's scripts for them.
  DialogHost& dialogs() { return dialogs_; }
  // Sends ("AI Plugin Group", "AI Update") for each dirty plug-in art object
  // of the plug-in's groups, as the host does after every message and edit.
  void updatePluginArt();

 private:
  // The suite functions, which reach the host through active().
  friend struct SuiteFunctions;

  const ModuleResource* visibleResource(uint32_t type, uint16_t id) const;

  ModuleLoader& loader_;
  hostcore::HostCore core_;
  hostcore::HostCore::Activation coreActivation_;
  std::unique_ptr<LoadedModule> module_;
  std::string loadError_;
  PluginProperties properties_;
  const ModuleResourceTable* resources_ = nullptr;
  PluginMainProc entryPoint_ = nullptr;
  std::set<std::pair<uint32_t, uint16_t>> hiddenResources_;
  void* globals_ = nullptr;
  bool updatingPluginArt_ = false;
  MessageWatcher* watcher_ = nullptr;

  // By the suite's place in the core's registry.
  std::vector<int32_t> suiteHolds_;
  struct SuiteLogEntry {
    bool acquired;
    size_t place;
  };
  std::vector<SuiteLogEntry> suiteLog_;
  std::set<void*> liveBlocks_;

  bool documentOpen_ = false;

  std::vector<std::string> alerts_;
  MenuRegistry menus_;
  TimerClock timerClock_;
  ToolRegistry tools_;
  NotifierRegistry notifiers_;
  AppContexts contexts_;
  std::string pluginName_;
  int32_t pluginLocks_ = 0;
  bool quitting_ = false;
  Preferences preferences_;
  std::unique_ptr<PreferencesFile> preferencesFile_;
  DialogHost dialogs_{[this](int32_t id) -> const ResourceDialog* {
    const ModuleResource* resource =
        id >= 0 && id <= 0xFFFF ? visibleResource(kResourceDialog, static_cast<uint16_t>(id)) : nullptr;
    return resource ? static_cast<const ResourceDialog*>(resource->data) : nullptr;
  }};
};

}  // namespace hostapp
