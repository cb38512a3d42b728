// The host's view of the plug-in's user-interface calls on Windows, where
// the plug-in calls the system itself: the cursor showing is the system's,
// told apart by loading each cursor of the registered modules.
#include "platform/platform_host.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<HINSTANCE>& Modules() {
  static std::vector<HINSTANCE> modules;
  return modules;
}

BOOL CALLBACK CollectNumberedName(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
  if (IS_INTRESOURCE(name)) {
    reinterpret_cast<std::vector<unsigned short>*>(ids)->push_back(static_cast<unsigned short>(reinterpret_cast<uintptr_t>(name)));
  }
  return TRUE;
}

}  // namespace

extern "C" {

void platform_register_module(HINSTANCE module, PlatformResourceLookup) {
  if (std::find(Modules().begin(), Modules().end(), module) == Modules().end()) Modules().push_back(module);
}

void platform_unregister_module(HINSTANCE module) {
  Modules().erase(std::remove(Modules().begin(), Modules().end(), module), Modules().end());
}

int platform_current_cursor(unsigned short* id, HINSTANCE* module) {
  const HCURSOR current = GetCursor();
  if (!current) return 0;
  for (HINSTANCE candidate : Modules()) {
    std::vector<unsigned short> ids;
    EnumResourceNamesA(candidate, MAKEINTRESOURCEA(PLATFORM_RESOURCE_CURSOR_GROUP), CollectNumberedName,
                       reinterpret_cast<LONG_PTR>(&ids));
    for (unsigned short cursorId : ids) {
      // Cursors loaded from a module are shared: the same id gives the same handle.
      if (LoadCursorA(candidate, MAKEINTRESOURCEA(cursorId)) != current) continue;
      if (id) *id = cursorId;
      if (module) *module = candidate;
      return 1;
    }
  }
  return 0;
}

}  // extern "C"
