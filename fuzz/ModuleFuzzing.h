// What the fuzz targets share: a failure ends the run naming what was
// found, and the targets that drive the real module load it once per
// process, before the first input, so that its coverage stays known and no
// input pays for loading it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "hostapp/ModuleLoader.h"
#include "hostposix/DlopenModuleLoader.h"

inline void fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

// Hands every host the one module loaded at the start; the module is never
// unloaded, so its statics live on from input to input as they would in
// a host that keeps it mapped.
class ModuleLoadedOnce : public hostapp::ModuleLoader {
 public:
  explicit ModuleLoadedOnce(hostapp::ModuleLoader& loader) {
    std::string error;
    module_ = loader.load(MIRTIL_MODULE_PATH, error);
    if (!module_) fail(MIRTIL_MODULE_PATH ": " + error);
  }

  std::unique_ptr<hostapp::LoadedModule> load(const std::string&, std::string&) override {
    return std::make_unique<Borrowed>(*module_);
  }

 private:
  class Borrowed : public hostapp::LoadedModule {
   public:
    explicit Borrowed(const hostapp::LoadedModule& module) : module_(module) {}
    void* findSymbol(const char* name) const override { return module_.findSymbol(name); }
    void* nativeHandle() const override { return module_.nativeHandle(); }
    const ModuleResourceTable* resources() const override { return module_.resources(); }

   private:
    const hostapp::LoadedModule& module_;
  };

  std::unique_ptr<hostapp::LoadedModule> module_;
};

// The module's loader, which loads it on the first call: each target's
// LLVMFuzzerInitialize calls it.
inline hostapp::ModuleLoader& moduleLoader() {
  // The plug-in stamps every log line with the local time; with a fixed
  // zone the C library reads none from disk for it.
  static const bool fixedZone = setenv("TZ", "UTC", 1) == 0;
  (void)fixedZone;
  static hostposix::DlopenModuleLoader dlopenLoader;
  static ModuleLoadedOnce once(dlopenLoader);
  return once;
}
