// The fault sweep: each standard scenario is run again and again in a
// fresh host, with the k-th host call of the scenario failing, for every k
// until the scenario runs through without reaching the k-th call.

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "hostapp/Dialogs.h"
#include "hostcore/Invariants.h"
#include "hostvalidate/MessageLog.h"
#include "hostvalidate/Validator.h"

namespace hostvalidate {

namespace {

bool selected(const std::vector<std::string>& only, const std::string& name) {
  return only.empty() || std::any_of(only.begin(), only.end(), [&](const std::string& part) {
           return name.find(part) != std::string::npos;
         });
}

// The plug-in's own codes stand in for a host failure where its handling
// says so.
bool answersForTheFault(const PluginProfile& profile, AIErr answer) {
  return answer == kInjectedErr ||
         std::find(profile.ownCodes.begin(), profile.ownCodes.end(), answer) != profile.ownCodes.end();
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

CheckReport checkFaultSweep(const ModuleSource& module, const std::vector<std::string>& only) {
  CheckReport report{"fault sweep", "", {}};
  uint64_t points = 0;
  int swept = 0;
  std::map<std::string, int> silent;  // failed calls answered with 0
  for (const Scenario& scenario : module.profile.scenarios) {
    if (!selected(only, scenario.name)) continue;
    ++swept;
    const auto fail = [&](uint64_t k, const std::string& what) {
      report.failures.push_back(scenario.name + ", host call " + std::to_string(k) + " failing: " + what);
    };
    std::vector<AIErr> reference;
    {
      Trial trial(module);
      if (scenario.setup) scenario.setup(trial);
      MessageLog log(trial.host(), false, module.profile);
      scenario.act(trial);
      for (const MessageRecord& message : log.messages()) reference.push_back(message.answer);
    }
    for (uint64_t k = 1;; ++k) {
      Trial trial(module);
      if (scenario.setup) scenario.setup(trial);
      hostcore::FaultInjector& faults = trial.host().faults();
      const uint64_t firedBefore = faults.faultsFired();
      MessageLog log(trial.host(), true, module.profile);
      faults.failHostCall(k, kInjectedErr);
      scenario.act(trial);
      if (faults.faultsFired() == firedBefore) {
        std::vector<AIErr> answers;
        for (const MessageRecord& message : log.messages()) answers.push_back(message.answer);
        if (answers != reference) fail(k, "the untouched run answered otherwise than the first");
        break;
      }
      ++points;
      faults.clear();
      const auto faulted = std::find_if(log.messages().begin(), log.messages().end(),
                                        [](const MessageRecord& m) { return m.faulted; });
      if (faulted == log.messages().end()) {
        fail(k, "the fault fired outside any message");
      } else if (faulted->answer == kNoErr) {
        ++silent[faulted->failedCall];
      } else if (!answersForTheFault(module.profile, faulted->answer)) {
        fail(k, faulted->name() + " answered " + describeCode(faulted->answer) + " for a failed " +
                    faulted->failedCall);
      }
      for (const std::string& problem : log.problems()) fail(k, problem);
      const std::string next = nextInteractionFails(trial);
      if (!next.empty()) fail(k, next);
      // A release the host refused leaves its reference held: the host's doing.
      const std::string failedCall = faults.lastFailedCall();
      const bool releaseRefused = failedCall.find("/Release") != std::string::npos ||
                                  failedCall.find("/Dispose") != std::string::npos;
      if (!releaseRefused) {
        for (const std::string& held : trial.heldReferences()) fail(k, held + " (" + failedCall + " failed)");
      }
      for (const std::string& left : trial.finish()) fail(k, left + " (" + failedCall + " failed)");
    }
  }
  report.figure = std::to_string(points) + " fault points swept over " + std::to_string(swept) + " scenarios";
  int silentPoints = 0;
  for (const auto& entry : silent) silentPoints += entry.second;
  report.figure += " (" + std::to_string(silentPoints) + " answered 0 where the plug-in's handling drops the failure, in " +
                   std::to_string(silent.size()) + " different calls)";
  return report;
}

}  // namespace hostvalidate
