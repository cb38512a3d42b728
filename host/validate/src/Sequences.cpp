// Seeded random interaction sequences, the document checked after every
// message.

#include <deque>

#include "hostvalidate/Interactions.h"
#include "hostvalidate/Validator.h"

namespace hostvalidate {

namespace {

constexpr std::size_t kStepsRemembered = 8;

// Runs one sequence, adding its failures to the report; answers the
// number of messages sent.
std::size_t runSequence(const ModuleSource& module, uint64_t seed, int interactions, CheckReport& report) {
  Trial trial(module);
  if (!trial.loaded() || trial.startupAnswer() != kNoErr) {
    report.failures.push_back("seed " + std::to_string(seed) + ": the plug-in did not start");
    return 0;
  }
  MessageLog log(trial.host(), true, trial.profile());
  SeededChoices choices(seed);
  RandomInteractions random(trial, log, choices);
  std::deque<std::string> recent;
  for (int i = 1; i <= interactions; ++i) {
    recent.push_back(random.step());
    if (recent.size() > kStepsRemembered) recent.pop_front();
    if (!log.problems().empty()) {
      std::string steps;
      for (const std::string& step : recent) steps += "\n    " + step;
      report.failures.push_back("seed " + std::to_string(seed) + ", interaction " + std::to_string(i) + ": " +
                                log.problems().front() + "; the last interactions:" + steps);
      break;
    }
  }
  std::vector<std::string> left = trial.heldReferences();
  for (const std::string& more : trial.finish()) left.push_back(more);
  for (const std::string& what : left) {
    report.failures.push_back("seed " + std::to_string(seed) + ": " + what);
  }
  return log.messages().size();
}

}  // namespace

CheckReport checkSequence(const ModuleSource& module, uint64_t seed, int interactions) {
  CheckReport report{"random interactions", "", {}, {}};
  const std::size_t messages = runSequence(module, seed, interactions, report);
  report.figure = "seed " + std::to_string(seed) + ": " + std::to_string(messages) + " messages survived";
  return report;
}

CheckReport checkRandomSequences(const ModuleSource& module, uint64_t seed, int sequences, int interactions) {
  CheckReport report{"random interactions", "", {}, {}};
  std::size_t messages = 0;
  for (int i = 0; i < sequences; ++i) {
    messages += runSequence(module, seed + static_cast<uint64_t>(i), interactions, report);
  }
  report.figure = std::to_string(sequences) + " sequences of " + std::to_string(interactions) +
                  " interactions from seed " + std::to_string(seed) + ", " + std::to_string(messages) +
                  " messages survived";
  return report;
}

}  // namespace hostvalidate
