// Loads plug-in modules with LoadLibrary and reads their resources the
// way a Windows host does, through FindResource, LoadResource and
// LockResource; tells the platform library about each module, so that
// the cursor showing can be named.
#pragma once

#include "hostapp/ModuleLoader.h"

namespace hostwindows {

class WindowsModuleLoader : public hostapp::ModuleLoader {
 public:
  // path is UTF-8.
  std::unique_ptr<hostapp::LoadedModule> load(const std::string& path, std::string& error) override;
};

}  // namespace hostwindows
