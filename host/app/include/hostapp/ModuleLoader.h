// How the host loads a plug-in module: a seam, so that the application stays
// portable and each platform brings its own loader.
#pragma once

#include <memory>
#include <string>

#include "hostapi/HostResources.h"

namespace hostapp {

class LoadedModule {
 public:
  virtual ~LoadedModule() = default;
  // The exported symbol, or null.
  virtual void* findSymbol(const char* name) const = 0;
  // What the plug-in receives as its module handle (platform access info).
  virtual void* nativeHandle() const = 0;
  // The module's resources as the platform keeps them, read into one table
  // that lives as long as the module; null when it has none.
  virtual const ModuleResourceTable* resources() const = 0;
};

class ModuleLoader {
 public:
  virtual ~ModuleLoader() = default;
  // Null, with the reason in error, when the library cannot be loaded.
  virtual std::unique_ptr<LoadedModule> load(const std::string& path, std::string& error) = 0;
};

}  // namespace hostapp
