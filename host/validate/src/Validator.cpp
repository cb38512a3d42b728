#include "hostvalidate/Validator.h"

namespace hostvalidate {

ValidationSize scaledSize(int repeat) {
  ValidationSize size;
  const int times = repeat < 1 ? 1 : repeat;
  size.cycles *= times;
  size.sequences *= times;
  return size;
}

bool validate(const ModuleSource& module, uint64_t seed, const ValidationSize& size, std::ostream& out) {
  const std::function<CheckReport()> checks[] = {
      [&] { return checkCycles(module, size.cycles); },
      [&] { return checkRandomSequences(module, seed, size.sequences, size.interactionsPerSequence); },
      [&] { return checkFaultSweep(module, size.sweepOnly); },
      [&] { return checkMissingSuites(module); },
  };
  {
    const Trial probe(module, false);
    if (!probe.loaded()) {
      out << "FAIL load: " << probe.loadError() << "\n";
      return false;
    }
  }
  bool passed = true;
  for (const auto& check : checks) {
    const CheckReport report = check();
    out << (report.passed() ? "PASS " : "FAIL ") << report.name << ": " << report.figure << "\n";
    for (const std::string& failure : report.failures) out << "  " << failure << "\n";
    out.flush();
    passed = passed && report.passed();
  }
  return passed;
}

}  // namespace hostvalidate
