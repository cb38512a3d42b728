// The suites the core implements over the document.
#pragma once

#include "hostcore/SuiteRegistry.h"

namespace hostcore {

// Adds the art, path, group, layer, dictionary, array, art set, path
// style, art style, plugin group, transform art, real math and undo
// suites, and the document-side suites that are acquired but never
// called. Answers false when one of them was already registered.
bool registerCoreSuites(SuiteRegistry& registry);

}  // namespace hostcore
