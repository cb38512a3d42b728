// The module's entry point: finds or makes the plug-in object, hands it the
// message and turns every failure into the code the host receives.

#include "framework/Plugin.h"
#include "framework/PluginSuites.h"

namespace {

// True while no plug-in object exists (the library was just loaded, or the
// object was destroyed by an unload).
bool unloaded = true;

bool IsAccessMessage(const char* caller, const char* selector, const char* accessSelector) {
  return sSPBasic->IsEqual(caller, kSPAccessCaller) && sSPBasic->IsEqual(selector, accessSelector);
}

}  // namespace

extern "C" AIErr PluginMain(const char* caller, const char* selector, void* message) {
  SPMessageData* head = static_cast<SPMessageData*>(message);
  Plugin* plugin = static_cast<Plugin*>(head->globals);
  sSPBasic = head->basic;

  // A host that kept a pointer the plug-in had already cleared: refused
  // without touching what it names.
  if (plugin && unloaded) return kBadParameterErr;

  const bool isUnload = IsAccessMessage(caller, selector, kSPAccessUnloadSelector);
  const bool isReload = IsAccessMessage(caller, selector, kSPAccessReloadSelector);
  AIErr result = kNoErr;
  try {
    if (!plugin) {
      plugin = AllocatePlugin(head->self);
      if (!plugin) return kOutOfMemoryErr;
      head->globals = plugin;
      unloaded = false;
    }
    result = plugin->Message(caller, selector, message);
  } catch (...) {
    // Only the string class throws (storage ran out, text too long).
    result = kBadParameterErr;
  }

  // An unload always ends the object; a failed reload leaves no half-made one.
  if (plugin && (isUnload || (isReload && result != kNoErr))) {
    delete plugin;
    head->globals = nullptr;
    unloaded = true;
  }
  return result;
}
