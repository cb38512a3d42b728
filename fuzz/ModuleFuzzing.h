// What the fuzz targets that drive the real module share: a failure ends
// the run naming what was found, and the module stays mapped between
// inputs so that its coverage stays known.
#pragma once

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

inline void fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

inline void keepModuleMapped() {
  if (!dlopen(MIRTIL_MODULE_PATH, RTLD_NOW)) fail(dlerror());
}
