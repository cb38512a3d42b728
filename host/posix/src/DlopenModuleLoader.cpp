#include "hostposix/DlopenModuleLoader.h"

#include <dlfcn.h>

#include "hostapp/ModuleResources.h"
#include "platform/platform_host.h"

namespace hostposix {

namespace {

// The table the module's directory function answers, or null.
const ModuleResourceTable* ResourceTable(void* module) {
  const auto directory = reinterpret_cast<ModuleResourceDirectoryProc>(dlsym(module, kModuleResourceDirectoryName));
  return directory ? directory() : nullptr;
}

// The platform asks whether a loaded module holds a resource.
int ModuleHoldsResource(HINSTANCE module, unsigned type, unsigned short id) {
  return hostapp::findResource(ResourceTable(module), type, id) != nullptr;
}

class DlopenModule : public hostapp::LoadedModule {
 public:
  explicit DlopenModule(void* handle) : handle_(handle) {
    platform_register_module(static_cast<HINSTANCE>(handle_), ModuleHoldsResource);
  }
  ~DlopenModule() override {
    platform_unregister_module(static_cast<HINSTANCE>(handle_));
    dlclose(handle_);
  }
  DlopenModule(const DlopenModule&) = delete;
  DlopenModule& operator=(const DlopenModule&) = delete;

  void* findSymbol(const char* name) const override { return dlsym(handle_, name); }
  void* nativeHandle() const override { return handle_; }
  const ModuleResourceTable* resources() const override { return ResourceTable(handle_); }

 private:
  void* handle_;
};

}  // namespace

std::unique_ptr<hostapp::LoadedModule> DlopenModuleLoader::load(const std::string& path, std::string& error) {
  // Local binding: the module's symbols never stand in for the host's.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : "unknown reason";
    return nullptr;
  }
  return std::make_unique<DlopenModule>(handle);
}

}  // namespace hostposix
