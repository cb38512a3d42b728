#include "MemoryProbe.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace bench {

namespace {

// A "Name:   1234 kB" line of /proc/self/status, in bytes; -1 when missing.
int64_t StatusBytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, name.size() + 1, name + ":") == 0) return std::stoll(line.substr(name.size() + 1)) * 1024;
  }
  return -1;
}

}  // namespace

void StartPeakFromHere() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

int64_t ResidentBytes() { return StatusBytes("VmRSS"); }

int64_t PeakResidentBytes() { return StatusBytes("VmHWM"); }

}  // namespace bench
