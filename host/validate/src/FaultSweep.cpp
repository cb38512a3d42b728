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

struct Scenario {
  std::string name;
  std::function<void(Trial&)> setup;
  std::function<void(Trial&)> act;
};

void setType(Trial& trial, int32_t type) { trial.host().preferences().put(kMirtilPrefsSection, kMirtilTypePref, type); }

AIArtHandle makeObject(Trial& trial, AIRealPoint centre, AIRealPoint cnj) {
  trial.addSquare(centre, 5);
  trial.tool().dragFromTo(centre, {}, cnj);
  const std::vector<AIArtHandle> objects = trial.mirrortiles();
  return objects.empty() ? nullptr : objects.front();
}

void createDrag(Trial& trial) { trial.tool().dragFromTo({0, 0}, {{20, 0}}, {40, 0}); }

AIArtHandle onlyObject(Trial& trial) {
  const std::vector<AIArtHandle> objects = trial.mirrortiles();
  return objects.empty() ? nullptr : objects.front();
}

std::vector<Scenario> scenarios() {
  const auto withSquare = [](Trial& trial) { trial.addSquare({0, 0}, 5); };
  const auto withObject = [](Trial& trial) { makeObject(trial, {50, 50}, {80, 50}); };
  const auto withSelectedObject = [](Trial& trial) {
    trial.select(makeObject(trial, {50, 50}, {80, 50}), true);
  };
  std::vector<Scenario> list;
  list.push_back({"create InPlace", [=](Trial& t) { setType(t, 0); withSquare(t); }, createDrag});
  list.push_back({"create Sweep", [=](Trial& t) { setType(t, 1); withSquare(t); }, createDrag});
  list.push_back({"refused drag: locked layer",
                  [=](Trial& t) {
                    withSquare(t);
                    hostcore::require(t.document().setLayerEditable(t.layer(), false), "setLayerEditable");
                  },
                  createDrag});
  list.push_back({"refused drag: other art selected",
                  [=](Trial& t) { t.select(t.addSquare({0, 0}, 5), true); }, createDrag});
  list.push_back({"refused drag: two objects selected",
                  [=](Trial& t) {
                    t.select(makeObject(t, {50, 50}, {80, 50}), true);
                    t.select(makeObject(t, {-50, -50}, {-80, -50}), true);
                  },
                  createDrag});
  list.push_back({"refused drag: too short", withSquare,
                  [](Trial& t) { t.tool().dragFromTo({0, 0}, {}, {5, 0}); }});
  list.push_back({"refused drag: no art", withSquare,
                  [](Trial& t) { t.tool().dragFromTo({500, 500}, {}, {540, 500}); }});
  list.push_back({"re-align", withSelectedObject,
                  [](Trial& t) { t.tool().dragFromTo({50, 40}, {{70, 30}}, {90, 50}); }});
  list.push_back({"move", withObject, [](Trial& t) { t.edits().move(onlyObject(t), 10, -5); }});
  list.push_back({"move edit point", withObject,
                  [](Trial& t) { t.edits().moveEditPoint(onlyObject(t), 1, {90, 60}); }});
  list.push_back({"free transform", withObject,
                  [](Trial& t) { t.edits().freeTransform(onlyObject(t), AIRealMatrix{1.5f, 0.2f, 0, 1.2f, 4, 3}); }});
  list.push_back({"paint", withObject, [](Trial& t) {
                    AIPathStyle style{};
                    style.fillPaint = true;
                    style.fill.color.kind = kRGBColor;
                    style.fill.color.red = 1;
                    style.fill.opacity = 1;
                    t.edits().paint(onlyObject(t), style);
                  }});
  list.push_back({"animation on", withObject,
                  [](Trial& t) { t.host().chooseMenuItem(t.host().menuItemHandle(1)); }});
  list.push_back({"animation steps",
                  [=](Trial& t) {
                    withObject(t);
                    t.host().chooseMenuItem(t.host().menuItemHandle(1));
                  },
                  [](Trial& t) { t.host().advanceClock(70); }});
  list.push_back({"options OK", nullptr, [](Trial& t) {
                    t.host().dialogs().script({hostapp::DialogStep::type(kStepsItem, "12"),
                                               hostapp::DialogStep::type(kDelayItem, "3"),
                                               hostapp::DialogStep::press(kSweepItem),
                                               hostapp::DialogStep::press(kOKItem)});
                    t.tool().editOptions();
                  }});
  list.push_back({"options Cancel", nullptr, [](Trial& t) {
                    t.host().dialogs().script(
                        {hostapp::DialogStep::type(kStepsItem, "5"), hostapp::DialogStep::press(kCancelItem)});
                    t.tool().editOptions();
                  }});
  list.push_back({"about", nullptr, [](Trial& t) {
                    t.host().dialogs().script({hostapp::DialogStep::event(), hostapp::DialogStep::event()});
                    t.host().sendPlainMessage(kSPInterfaceCaller, kSPInterfaceAboutSelector);
                  }});
  return list;
}

bool selected(const std::vector<std::string>& only, const std::string& name) {
  return only.empty() || std::any_of(only.begin(), only.end(), [&](const std::string& part) {
           return name.find(part) != std::string::npos;
         });
}

// The plug-in's own codes stand in for a host failure where its handling
// says so: '!MEM' for a path maker, 'PARM' for a failure while a report is
// formatted, 'CANT' and '!IMP' for what the failed call left undone,
// 'STOP' for a dialog that could not be shown.
bool answersForTheFault(AIErr answer) {
  return answer == kInjectedErr || answer == kOutOfMemoryErr || answer == kBadParameterErr || answer == kCantErr ||
         answer == kNoArtInRegionErr || answer == kUserCancelledErr;
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
  setType(trial, 1);
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

std::vector<std::string> sweepScenarioNames() {
  std::vector<std::string> names;
  for (const Scenario& scenario : scenarios()) names.push_back(scenario.name);
  return names;
}

CheckReport checkFaultSweep(const ModuleSource& module, const std::vector<std::string>& only) {
  CheckReport report{"fault sweep", "", {}};
  uint64_t points = 0;
  int swept = 0;
  std::map<std::string, int> silent;  // failed calls answered with 0
  for (const Scenario& scenario : scenarios()) {
    if (!selected(only, scenario.name)) continue;
    ++swept;
    const auto fail = [&](uint64_t k, const std::string& what) {
      report.failures.push_back(scenario.name + ", host call " + std::to_string(k) + " failing: " + what);
    };
    std::vector<AIErr> reference;
    {
      Trial trial(module);
      if (scenario.setup) scenario.setup(trial);
      MessageLog log(trial.host(), false);
      scenario.act(trial);
      for (const MessageRecord& message : log.messages()) reference.push_back(message.answer);
    }
    for (uint64_t k = 1;; ++k) {
      Trial trial(module);
      if (scenario.setup) scenario.setup(trial);
      hostcore::FaultInjector& faults = trial.host().faults();
      const uint64_t firedBefore = faults.faultsFired();
      MessageLog log(trial.host(), true);
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
      } else if (!answersForTheFault(faulted->answer)) {
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
