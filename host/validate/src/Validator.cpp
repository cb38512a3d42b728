#include "hostvalidate/Validator.h"

namespace hostvalidate {

ValidationSize scaledSize(int repeat) {
  ValidationSize size;
  const int times = repeat < 1 ? 1 : repeat;
  size.cycles *= times;
  size.sequences *= times;
  return size;
}

const std::vector<Check>& checks() {
  static const std::vector<Check> all = {
      {"cycles", "load, start-up, unloads and reloads, shutdown: the same registrations, nothing left held", 1,
       [](const ModuleSource& module, uint64_t, const ValidationSize& size) {
         return checkCycles(module, size.cycles);
       }},
      {"missing-suites", "start-up with each suite missing answers the host's code and releases what it took", 3,
       [](const ModuleSource& module, uint64_t, const ValidationSize&) { return checkMissingSuites(module); }},
      {"random-sequences", "seeded random interactions, the document checked after every message", 7,
       [](const ModuleSource& module, uint64_t seed, const ValidationSize& size) {
         return checkRandomSequences(module, seed, size.sequences, size.interactionsPerSequence);
       }},
      {"fault-sweep", "the k-th host call failing, every k, over the profile's scenarios", 10,
       [](const ModuleSource& module, uint64_t, const ValidationSize& size) {
         return checkFaultSweep(module, size.sweepOnly);
       }},
  };
  return all;
}

bool validate(const ModuleSource& module, uint64_t seed, const ValidationSize& size, std::ostream& out) {
  {
    const Trial probe(module, false);
    if (!probe.loaded()) {
      out << "FAIL load: " << probe.loadError() << "\n";
      return false;
    }
  }
  bool passed = true;
  for (const Check& check : checks()) {
    if (check.strictness > size.strictness) continue;
    const CheckReport report = check.run(module, seed, size);
    out << (report.passed() ? "PASS " : "FAIL ") << check.id << " (" << report.name << "): " << report.figure
        << "\n";
    for (const std::string& note : report.notes) out << "  " << note << "\n";
    for (const std::string& failure : report.failures) out << "  " << failure << "\n";
    out.flush();
    passed = passed && report.passed();
  }
  return passed;
}

}  // namespace hostvalidate
