#include "hostcore/SuiteRegistry.h"

namespace hostcore {

bool SuiteRegistry::add(const char* name, int32_t version, const void* table) {
  if (name == nullptr || table == nullptr) return false;
  return tables_.emplace(std::make_pair(std::string(name), version), table).second;
}

const void* SuiteRegistry::find(const char* name, int32_t version) const {
  if (name == nullptr) return nullptr;
  const auto at = tables_.find(std::make_pair(std::string(name), version));
  return at == tables_.end() ? nullptr : at->second;
}

}  // namespace hostcore
