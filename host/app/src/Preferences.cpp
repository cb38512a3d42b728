#include "hostapp/Preferences.h"

#include <istream>
#include <ostream>

namespace hostapp {

bool Preferences::get(const std::string& section, const std::string& name, int32_t& value) const {
  const auto found = values_.find({section, name});
  if (found == values_.end()) return false;
  value = found->second;
  return true;
}

void Preferences::put(const std::string& section, const std::string& name, int32_t value) {
  values_[{section, name}] = value;
}

void Preferences::save(std::ostream& out) const {
  for (const auto& entry : values_) {
    out << entry.first.first << '/' << entry.first.second << '=' << entry.second << '\n';
  }
}

bool Preferences::load(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    // A file edited by hand may end its lines as Windows does, or hold blank ones.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::size_t slash = line.find('/');
    const std::size_t equals = line.find('=', slash == std::string::npos ? 0 : slash);
    if (slash == std::string::npos || equals == std::string::npos) return false;
    try {
      std::size_t used = 0;
      const std::string number = line.substr(equals + 1);
      const long value = std::stol(number, &used);
      if (used != number.size() || value < INT32_MIN || value > INT32_MAX) return false;
      put(line.substr(0, slash), line.substr(slash + 1, equals - slash - 1), static_cast<int32_t>(value));
    } catch (const std::exception&) {
      return false;
    }
  }
  return true;
}

}  // namespace hostapp
