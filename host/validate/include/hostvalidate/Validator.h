// The plug-in validator of the stand-in host: checks a module through
// load, start-up, shutdown, unload and reload cycles, seeded random
// interaction sequences, a sweep of failing host calls over the profile's
// scenarios, and start-ups with each suite missing in turn. Each check has
// an id, a one-line description and a strictness, and answers its figure
// and the failures it found. What the checks know of the plug-in comes from
// its profile (Profile.h).
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "hostvalidate/Profile.h"
#include "hostvalidate/Trial.h"

namespace hostvalidate {

struct CheckReport {
  std::string name;
  std::string figure;                 // what was tried, in numbers
  std::vector<std::string> failures;  // empty when the check passed
  std::vector<std::string> notes;     // what a passing check still shows, one line each
  bool passed() const { return failures.empty(); }
};

struct ValidationSize {
  int cycles = 20;
  int sequences = 100;
  int interactionsPerSequence = 300;
  // Scenarios of the fault sweep whose name holds one of these; all when empty.
  std::vector<std::string> sweepOnly;
  // The checks run are those of this strictness or less (1 to 10).
  int strictness = 10;
};

struct Check {
  const char* id;
  const char* description;  // one line
  int strictness;           // 1: always worth running, 10: the longest
  std::function<CheckReport(const ModuleSource&, uint64_t seed, const ValidationSize&)> run;
};

// Every check, the least strict first.
const std::vector<Check>& checks();

// Sizes for `repeat`: the default size times repeat.
ValidationSize scaledSize(int repeat);

CheckReport checkCycles(const ModuleSource& module, int cycles);
// Sequence i uses the seed seed + i; a failure names its seed, and
// checkSequence(seed) replays it.
CheckReport checkRandomSequences(const ModuleSource& module, uint64_t seed, int sequences, int interactions);
CheckReport checkSequence(const ModuleSource& module, uint64_t seed, int interactions);
CheckReport checkFaultSweep(const ModuleSource& module, const std::vector<std::string>& only = {});
CheckReport checkMissingSuites(const ModuleSource& module);

// Every check, printing each report as it comes; true when all passed.
bool validate(const ModuleSource& module, uint64_t seed, const ValidationSize& size, std::ostream& out);

// The names of the fault sweep's standard scenarios.
std::vector<std::string> sweepScenarioNames(const PluginProfile& profile = mirrortileProfile());

}  // namespace hostvalidate
