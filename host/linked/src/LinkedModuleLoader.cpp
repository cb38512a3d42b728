#include "hostlinked/LinkedModuleLoader.h"

#include <cstring>

#include "hostapp/ModuleResources.h"
#include "platform/platform_host.h"

namespace hostlinked {

namespace {

class LinkedModule : public hostapp::LoadedModule {
 public:
  LinkedModule(PluginMainProc entryPoint, ModuleResourceDirectoryProc resourceDirectory)
      : entryPoint_(entryPoint), resourceDirectory_(resourceDirectory) {
    platform_register_module(handle(), holdsResource);
  }
  ~LinkedModule() override { platform_unregister_module(handle()); }
  LinkedModule(const LinkedModule&) = delete;
  LinkedModule& operator=(const LinkedModule&) = delete;

  void* findSymbol(const char* name) const override {
    return std::strcmp(name, "PluginMain") == 0 ? reinterpret_cast<void*>(entryPoint_) : nullptr;
  }
  void* nativeHandle() const override { return handle(); }
  const ModuleResourceTable* resources() const override { return resourceDirectory_(); }

  // The platform asks whether a module holds a resource (for its cursors);
  // the handle it was given is the module's record.
  static int holdsResource(HINSTANCE module, unsigned type, unsigned short id) {
    const auto* linked = reinterpret_cast<const LinkedModule*>(module);
    return hostapp::findResource(linked->resourceDirectory_(), type, id) != nullptr ? 1 : 0;
  }

 private:
  HINSTANCE handle() const { return reinterpret_cast<HINSTANCE>(const_cast<LinkedModule*>(this)); }

  PluginMainProc entryPoint_;
  ModuleResourceDirectoryProc resourceDirectory_;
};

}  // namespace

LinkedModuleLoader::LinkedModuleLoader(PluginMainProc entryPoint, ModuleResourceDirectoryProc resourceDirectory)
    : entryPoint_(entryPoint), resourceDirectory_(resourceDirectory) {}

std::unique_ptr<hostapp::LoadedModule> LinkedModuleLoader::load(const std::string&, std::string&) {
  return std::make_unique<LinkedModule>(entryPoint_, resourceDirectory_);
}

}  // namespace hostlinked
