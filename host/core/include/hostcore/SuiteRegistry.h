// The suite tables the host hands out, by name and version.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace hostcore {

class SuiteRegistry {
 public:
  // False when a table of that name and version is already there.
  bool add(const char* name, int32_t version, const void* table);
  // Null when there is none.
  const void* find(const char* name, int32_t version) const;
  size_t size() const { return tables_.size(); }

 private:
  std::map<std::pair<std::string, int32_t>, const void*> tables_;
};

}  // namespace hostcore
