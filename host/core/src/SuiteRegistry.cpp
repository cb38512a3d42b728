#include "hostcore/SuiteRegistry.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <tuple>

namespace hostcore {

namespace {

size_t hashOf(const char* name) { return std::hash<std::string_view>{}(name); }

}  // namespace

bool SuiteRegistry::add(const char* name, int32_t version, const void* table) {
  if (name == nullptr || table == nullptr || place(name, version) != kNotFound) return false;
  const Key key{hashOf(name), version, entries_.size()};
  const auto at = std::lower_bound(keys_.begin(), keys_.end(), key, [](const Key& a, const Key& b) {
    return std::tie(a.nameHash, a.version) < std::tie(b.nameHash, b.version);
  });
  keys_.insert(at, key);
  entries_.push_back(Entry{name, version, table});
  return true;
}

size_t SuiteRegistry::place(const char* name, int32_t version) const {
  if (name == nullptr) return kNotFound;
  const size_t hash = hashOf(name);
  auto at =
      std::lower_bound(keys_.begin(), keys_.end(), hash, [](const Key& key, size_t h) { return key.nameHash < h; });
  for (; at != keys_.end() && at->nameHash == hash; ++at) {
    if (at->version == version && entries_[at->place].name == name) return at->place;
  }
  return kNotFound;
}

const void* SuiteRegistry::find(const char* name, int32_t version) const {
  const size_t at = place(name, version);
  return at == kNotFound ? nullptr : entries_[at].table;
}

}  // namespace hostcore
