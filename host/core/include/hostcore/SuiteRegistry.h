// The suite tables the host hands out, by name and version, each at a
// place in the registry that does not change once given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostcore {

class SuiteRegistry {
 public:
  static constexpr size_t kNotFound = static_cast<size_t>(-1);

  // False when a table of that name and version is already there.
  bool add(const char* name, int32_t version, const void* table);
  // The table's place, or kNotFound when there is none.
  size_t place(const char* name, int32_t version) const;
  // Null when there is none.
  const void* find(const char* name, int32_t version) const;
  const std::string& nameAt(size_t place) const { return entries_[place].name; }
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string name;
    int32_t version;
    const void* table;
  };
  struct Key {
    size_t nameHash;
    int32_t version;
    size_t place;
  };
  // A hundred suites, acquired and released by every plug-in at every start
  // and stop: a search of keys sorted by the name's hash allocates nothing.
  std::vector<Entry> entries_;
  std::vector<Key> keys_;
};

}  // namespace hostcore
