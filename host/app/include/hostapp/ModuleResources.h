// Reading a module's resources and its property list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "hostapi/HostResources.h"

namespace hostapp {

// The resource of that type and id, or null.
const ModuleResource* findResource(const ModuleResourceTable* table, uint32_t type, uint16_t id);

// The properties the host needs before it calls a module.
struct PluginProperties {
  std::string kind;          // four characters, "SPEA" for a plug-in
  int32_t interfaceVersion = 0;
  std::string entryPoint;    // empty when the list names none
};

// False, with the reason in error, for a list that does not hold together.
bool readPropertyList(const unsigned char* data, std::size_t size, PluginProperties& properties,
                      std::string& error);

}  // namespace hostapp
