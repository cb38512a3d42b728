#include "hostwindows/WindowsModuleLoader.h"

#include "WindowsResources.h"
#include "hostwindows/WideText.h"
#include "platform/platform_host.h"

namespace hostwindows {

namespace {

class WindowsModule : public hostapp::LoadedModule {
 public:
  explicit WindowsModule(HMODULE handle) : handle_(handle), resources_(handle) {
    platform_register_module(handle_, nullptr);
  }
  ~WindowsModule() override {
    platform_unregister_module(handle_);
    FreeLibrary(handle_);
  }
  WindowsModule(const WindowsModule&) = delete;
  WindowsModule& operator=(const WindowsModule&) = delete;

  void* findSymbol(const char* name) const override {
    return reinterpret_cast<void*>(GetProcAddress(handle_, name));
  }
  void* nativeHandle() const override { return handle_; }
  const ModuleResourceTable* resources() const override { return resources_.table(); }

 private:
  HMODULE handle_;
  WindowsResources resources_;
};

}  // namespace

std::unique_ptr<hostapp::LoadedModule> WindowsModuleLoader::load(const std::string& path, std::string& error) {
  // No error boxes: a module that cannot be loaded is reported, not shown.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const HMODULE handle = LoadLibraryExW(wide(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD failure = GetLastError();
  SetErrorMode(previousMode);
  if (!handle) {
    error = systemMessage(failure, path);
    return nullptr;
  }
  return std::make_unique<WindowsModule>(handle);
}

}  // namespace hostwindows
