// Loads plug-in modules with the dynamic linker and tells the platform
// library about each, so that the module's cursors can be found.
#pragma once

#include "hostapp/ModuleLoader.h"

namespace hostposix {

class DlopenModuleLoader : public hostapp::ModuleLoader {
 public:
  std::unique_ptr<hostapp::LoadedModule> load(const std::string& path, std::string& error) override;
};

}  // namespace hostposix
