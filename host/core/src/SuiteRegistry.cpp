#include "hostcore/SuiteRegistry.h"

#include <functional>
#include <string_view>

namespace hostcore {

namespace {

size_t hashOf(const char* name) { return std::hash<std::string_view>{}(name); }

}  // namespace

bool SuiteRegistry::add(const char* name, int32_t version, const void* table) {
  if (name == nullptr || table == nullptr || place(name, version) != kNotFound) return false;
  entries_.push_back(Entry{hashOf(name), version, name, table});
  return true;
}

size_t SuiteRegistry::place(const char* name, int32_t version) const {
  if (name == nullptr) return kNotFound;
  const size_t hash = hashOf(name);
  for (size_t at = 0; at < entries_.size(); ++at) {
    const Entry& entry = entries_[at];
    if (entry.nameHash == hash && entry.version == version && entry.name == name) return at;
  }
  return kNotFound;
}

const void* SuiteRegistry::find(const char* name, int32_t version) const {
  const size_t at = place(name, version);
  return at == kNotFound ? nullptr : entries_[at].table;
}

}  // namespace hostcore
