// A plug-in module linked into the host program itself, for systems without
// a dynamic linker (the browser) and for tests that drive the module in
// process. The host still reaches it only through its two exports, the
// entry point and the resource directory, and still reads its property
// list; every load gives the same module.
#pragma once

#include "hostapi/HostMessages.h"
#include "hostapi/HostResources.h"
#include "hostapp/ModuleLoader.h"

namespace hostlinked {

class LinkedModuleLoader : public hostapp::ModuleLoader {
 public:
  LinkedModuleLoader(PluginMainProc entryPoint, ModuleResourceDirectoryProc resourceDirectory);
  // The path only names the module in messages.
  std::unique_ptr<hostapp::LoadedModule> load(const std::string& path, std::string& error) override;

 private:
  PluginMainProc entryPoint_;
  ModuleResourceDirectoryProc resourceDirectory_;
};

}  // namespace hostlinked
