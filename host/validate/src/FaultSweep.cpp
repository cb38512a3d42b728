// The fault sweep: each standard scenario is run again and again in a
// fresh host, with the k-th host call of the scenario failing, for every k
// until the scenario runs through without reaching the k-th call; then
// likewise with the k-th block allocation of the basic suite failing.
// An alert the plug-in shows for a failure must be one of its failure
// alerts; a failure it answers 0 for and shows nothing is a silent drop,
// listed by the call that failed.

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "hostapp/Dialogs.h"
#include "hostcore/Invariants.h"
#include "hostvalidate/MessageLog.h"
#include "hostvalidate/Validator.h"

namespace hostvalidate {

namespace {

bool selected(const std::vector<std::string>& only, const std::string& name) {
  return only.empty() || std::any_of(only.begin(), only.end(),
                                     [&](const std::string& part) { return name.find(part) != std::string::npos; });
}

// What fails at the k-th point of a sweep, and the code the plug-in sees.
struct FaultKind {
  const char* what;
  AIErr code;
  void (*arm)(hostcore::FaultInjector& faults, uint64_t k);
};

const FaultKind kFaultKinds[] = {
    {"host call", kInjectedErr,
     [](hostcore::FaultInjector& faults, uint64_t k) { faults.failHostCall(k, kInjectedErr); }},
    {"block allocation", kHostOutOfMemoryErr,
     [](hostcore::FaultInjector& faults, uint64_t k) { faults.failBlockAllocation(k); }},
};

// The plug-in's own codes stand in for a host failure where its handling
// says so.
bool answersForTheFault(const PluginProfile& profile, AIErr answer, AIErr faultCode) {
  return answer == faultCode ||
         std::find(profile.ownCodes.begin(), profile.ownCodes.end(), answer) != profile.ownCodes.end();
}

bool isFailureAlert(const PluginProfile& profile, const std::string& text) {
  return std::any_of(profile.failureAlerts.begin(), profile.failureAlerts.end(),
                     [&](const std::string& pattern) { return std::regex_match(text, std::regex(pattern)); });
}

// The alerts of the faulted run that the run without the fault did not show.
std::vector<std::string> alertsForTheFault(const std::vector<std::string>& shown, std::vector<std::string> reference) {
  std::vector<std::string> extra;
  for (const std::string& alert : shown) {
    const auto same = std::find(reference.begin(), reference.end(), alert);
    if (same == reference.end()) {
      extra.push_back(alert);
    } else {
      reference.erase(same);
    }
  }
  return extra;
}

// After a fault, a drag on a fresh layer still makes an object.
std::string nextInteractionFails(Trial& trial) {
  hostapp::HostApplication& host = trial.host();
  host.dialogs().dropScripts();
  if (!host.globals() && host.reload() != kNoErr) return "the plug-in did not reload";
  hostcore::Document& doc = trial.document();
  AILayerHandle fresh = nullptr;
  hostcore::require(doc.addLayer("After the fault", &fresh), "addLayer");
  hostcore::require(doc.setCurrentLayer(fresh), "setCurrentLayer");
  trial.host().preferences().put(trial.profile().preferenceSection, trial.profile().typePreference,
                                 trial.profile().creatingType);
  trial.deselectAll();
  trial.addSquare({1000, 1000}, 5, fresh);
  const std::size_t before = trial.mirrortiles().size();
  const hostapp::ToolEvents::DragAnswers answers = trial.tool().dragFromTo({1000, 1000}, {}, {1040, 1000});
  if (answers.press || answers.drag || answers.release) {
    return "a drag afterwards answered " + describeCode(answers.press) + ", " + describeCode(answers.drag) + ", " +
           describeCode(answers.release);
  }
  if (trial.mirrortiles().size() != before + 1) return "a drag afterwards made no object";
  return {};
}

}  // namespace

std::vector<std::string> sweepScenarioNames(const PluginProfile& profile) {
  std::vector<std::string> names;
  for (const Scenario& scenario : profile.scenarios) names.push_back(scenario.name);
  return names;
}

namespace {

struct SweepTally {
  uint64_t points = 0;
  uint64_t alerted = 0;  // points where the failure brought an alert
  // The calls whose failure was answered 0 with nothing shown, with the
  // number of points and the scenarios where it happened.
  std::map<std::string, std::pair<int, std::set<std::string>>> silent;
  // The alerts shown after a failure taken for an answer, with the scenarios.
  std::map<std::string, std::set<std::string>> answeredAlerts;
};

std::string listed(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// The scenario's answers and alerts with nothing failing.
struct Reference {
  std::vector<AIErr> answers;
  std::vector<std::string> alerts;
};

Reference runUntouched(const ModuleSource& module, const Scenario& scenario) {
  Reference reference;
  Trial trial(module);
  if (scenario.setup) scenario.setup(trial);
  const std::size_t alertsBefore = trial.host().alerts().size();
  MessageLog log(trial.host(), false, module.profile);
  scenario.act(trial);
  for (const MessageRecord& message : log.messages()) reference.answers.push_back(message.answer);
  reference.alerts.assign(trial.host().alerts().begin() + static_cast<std::ptrdiff_t>(alertsBefore),
                          trial.host().alerts().end());
  return reference;
}

// Runs the scenario with the k-th point of the kind failing; false when the
// scenario ran through without reaching it.
bool sweepPoint(const ModuleSource& module, const Scenario& scenario, const FaultKind& kind, uint64_t k,
                const Reference& reference, SweepTally& tally, CheckReport& report) {
  const auto fail = [&](const std::string& what) {
    report.failures.push_back(scenario.name + ", " + kind.what + " " + std::to_string(k) + " failing: " + what);
  };
  Trial trial(module);
  if (scenario.setup) scenario.setup(trial);
  hostcore::FaultInjector& faults = trial.host().faults();
  const uint64_t firedBefore = faults.faultsFired();
  const std::size_t alertsBefore = trial.host().alerts().size();
  MessageLog log(trial.host(), true, module.profile);
  kind.arm(faults, k);
  scenario.act(trial);
  if (faults.faultsFired() == firedBefore) {
    std::vector<AIErr> answers;
    for (const MessageRecord& message : log.messages()) answers.push_back(message.answer);
    if (answers != reference.answers) fail("the untouched run answered otherwise than the first");
    return false;
  }
  ++tally.points;
  faults.clear();
  const std::vector<std::string> shown(trial.host().alerts().begin() + static_cast<std::ptrdiff_t>(alertsBefore),
                                       trial.host().alerts().end());
  const std::vector<std::string> alerts = alertsForTheFault(shown, reference.alerts);
  const auto faulted =
      std::find_if(log.messages().begin(), log.messages().end(), [](const MessageRecord& m) { return m.faulted; });
  if (faulted == log.messages().end()) {
    fail("the fault fired outside any message");
  } else {
    const bool takenAsAnswer = std::find(module.profile.takenAsAnswers.begin(), module.profile.takenAsAnswers.end(),
                                         faulted->failedCall) != module.profile.takenAsAnswers.end();
    for (const std::string& alert : alerts) {
      if (takenAsAnswer) {
        tally.answeredAlerts[faulted->failedCall + " taken for an answer: \"" + alert + "\""].insert(scenario.name);
      } else if (!isFailureAlert(module.profile, alert)) {
        fail(faulted->name() + " showed \"" + alert + "\" for a failed " + faulted->failedCall +
             ", which is not one of the plug-in's failure alerts");
      }
    }
    if (!alerts.empty()) ++tally.alerted;
    if (faulted->answer == kNoErr && alerts.empty()) {
      auto& silent = tally.silent[faulted->failedCall];
      ++silent.first;
      silent.second.insert(scenario.name);
    } else if (faulted->answer != kNoErr && !answersForTheFault(module.profile, faulted->answer, kind.code)) {
      fail(faulted->name() + " answered " + describeCode(faulted->answer) + " for a failed " + faulted->failedCall);
    }
  }
  for (const std::string& problem : log.problems()) fail(problem);
  const std::string next = nextInteractionFails(trial);
  if (!next.empty()) fail(next);
  // A release the host refused leaves its reference held: the host's doing.
  const std::string failedCall = faults.lastFailedCall();
  const bool releaseRefused =
      failedCall.find("/Release") != std::string::npos || failedCall.find("/Dispose") != std::string::npos;
  if (!releaseRefused) {
    for (const std::string& held : trial.heldReferences()) fail(held + " (" + failedCall + " failed)");
  }
  for (const std::string& left : trial.finish()) fail(left + " (" + failedCall + " failed)");
  return true;
}

}  // namespace

CheckReport checkFaultSweep(const ModuleSource& module, const std::vector<std::string>& only) {
  CheckReport report{"fault sweep", "", {}, {}};
  std::map<std::string, SweepTally> tallies;  // by kind
  int swept = 0;
  for (const Scenario& scenario : module.profile.scenarios) {
    if (!selected(only, scenario.name)) continue;
    ++swept;
    const Reference reference = runUntouched(module, scenario);
    for (const FaultKind& kind : kFaultKinds) {
      SweepTally& tally = tallies[kind.what];
      for (uint64_t k = 1; sweepPoint(module, scenario, kind, k, reference, tally, report); ++k) {
      }
    }
  }
  std::string figure;
  for (const FaultKind& kind : kFaultKinds) {
    const SweepTally& tally = tallies[kind.what];
    int silentPoints = 0;
    for (const auto& entry : tally.silent) {
      silentPoints += entry.second.first;
      report.notes.push_back(std::string("a failed ") + entry.first + " dropped silently at " +
                             std::to_string(entry.second.first) + " " + kind.what + " points (" +
                             listed(entry.second.second) + ")");
    }
    for (const auto& entry : tally.answeredAlerts) {
      report.notes.push_back("a failed " + entry.first + " (" + listed(entry.second) + ")");
    }
    figure += (figure.empty() ? "" : "; ") + std::to_string(tally.points) + " " + kind.what + " points (" +
              std::to_string(tally.alerted) + " with an alert, " + std::to_string(silentPoints) +
              " dropped silently in " + std::to_string(tally.silent.size()) + " different calls)";
  }
  report.figure = figure + " over " + std::to_string(swept) + " scenarios";
  return report;
}

}  // namespace hostvalidate
