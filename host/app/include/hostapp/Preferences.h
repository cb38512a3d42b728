// The host's integer preferences, by section and name. Kept in memory; a
// caller that wants them across runs saves and loads them through streams.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <utility>

namespace hostapp {

class Preferences {
 public:
  bool get(const std::string& section, const std::string& name, int32_t& value) const;
  void put(const std::string& section, const std::string& name, int32_t value);
  void clear() { values_.clear(); }
  // Every preference, by section and name.
  const std::map<std::pair<std::string, std::string>, int32_t>& values() const { return values_; }

  // One "section/name=value" line per preference.
  void save(std::ostream& out) const;
  // False at the first line that is not of that form; the lines before it are kept.
  bool load(std::istream& in);

 private:
  std::map<std::pair<std::string, std::string>, int32_t> values_;
};

}  // namespace hostapp
