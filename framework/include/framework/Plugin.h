#ifndef FRAMEWORK_PLUGIN_H
#define FRAMEWORK_PLUGIN_H

// The plug-in object the host talks to. PluginMain creates the one object on
// the first message, keeps it in the message's globals word and turns each
// (caller, selector) pair into one of the virtual operations below. The
// defaults answer as a plug-in that handles nothing; the product overrides
// what it needs.

#include <cstdint>

#include "framework/PluginErrors.h"
#include "hostapi/HostAPI.h"

class HostSuites;

#if defined(_WIN32)
#  define MIRTIL_MODULE_EXPORT __declspec(dllexport)
#else
#  define MIRTIL_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" MIRTIL_MODULE_EXPORT AIErr PluginMain(const char* caller, const char* selector,
                                                 void* message);

class Plugin {
 public:
  static constexpr int kMaxNameLength = 256;  // terminator included

  explicit Plugin(SPPluginRef pluginRef);
  virtual ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // The slot order of these operations is part of the object's layout.
  virtual AIErr LockPlugin(bool lock);
  virtual AIErr Startup(SPInterfaceMessage* message);
  virtual AIErr ApplicationStarted();
  virtual AIErr Shutdown(SPInterfaceMessage* message);
  virtual AIErr Unload(SPAccessMessage* message);
  virtual AIErr Reload(SPAccessMessage* message);
  virtual AIErr AcquireProperty(SPInterfaceMessage* message);
  virtual AIErr ReleaseProperty(SPInterfaceMessage* message);
  virtual AIErr About(SPInterfaceMessage* message);
  virtual bool Purge();
  virtual AIErr Message(const char* caller, const char* selector, void* message);
  virtual AIErr Notify(AINotifierMessage* message);
  virtual AIErr GoMenu(AIMenuMessage* message);
  virtual AIErr UpdateMenu(AIMenuMessage* message);
  virtual AIErr GetFilterParameters(SPInterfaceMessage* message);
  virtual AIErr GoFilter(SPInterfaceMessage* message);
  virtual AIErr PluginGroupNotify(AIPluginGroupMessage* message);
  virtual AIErr PluginGroupUpdate(AIPluginGroupMessage* message);
  virtual AIErr GetFileFormatParameters(SPInterfaceMessage* message);
  virtual AIErr GoFileFormat(SPInterfaceMessage* message);
  virtual AIErr CheckFileFormat(SPInterfaceMessage* message);
  virtual AIErr EditToolOptions(AIToolMessage* message);
  virtual AIErr TrackToolCursor(AIToolMessage* message);
  virtual AIErr ToolMouseDown(AIToolMessage* message);
  virtual AIErr ToolMouseDrag(AIToolMessage* message);
  virtual AIErr ToolMouseUp(AIToolMessage* message);
  virtual AIErr SelectTool(AIToolMessage* message);
  virtual AIErr DeselectTool(AIToolMessage* message);
  virtual AIErr ReselectTool(AIToolMessage* message);
  virtual AIErr EditLiveEffectParameters(SPInterfaceMessage* message);
  virtual AIErr GoLiveEffect(SPInterfaceMessage* message);
  virtual AIErr InterpolateLiveEffectParameters(SPInterfaceMessage* message);
  virtual AIErr GetLiveEffectInputType(SPInterfaceMessage* message);
  virtual AIErr GoTimer(AITimerMessage* message);

 protected:
  // Creates the suite set unless one is held; answers the acquisition's code
  // and holds no set afterwards when it failed.
  AIErr AcquireSuites();
  // Gives back every suite the held set acquired.
  void ReleaseSuites();

  SPPluginRef pluginRef;
  char pluginName[kMaxNameLength];
  HostSuites* suites;
  int32_t lockCount;
  SPAccessRef pluginAccess;
  AINotifierHandle appStartedNotifier;

 private:
  AIErr DispatchNotifier(const char* selector, AINotifierMessage* message);
};

// Supplied by the product: the plug-in object for the host's reference, made
// with the global allocation (the host's blocks); null when memory fails.
Plugin* AllocatePlugin(SPPluginRef pluginRef);

#endif
