// The application suites' tables, private to the host application.
#pragma once

#include "hostapi/HostAPI.h"
#include "hostcore/SuiteRegistry.h"

namespace hostapp {

// The core's suites and the application's, each under its name and version.
void registerAppSuites(hostcore::SuiteRegistry& registry);
// The basic suite every message carries.
const SPBasicSuite& basicSuiteTable();

}  // namespace hostapp
