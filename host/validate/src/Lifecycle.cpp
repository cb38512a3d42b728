// Checks of the plug-in's life in the host: repeated load, start-up,
// unload, reload and shutdown cycles, and start-ups with a suite missing.

#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "hostvalidate/Validator.h"

namespace hostvalidate {

namespace {

// What the plug-in registered with the host, in words.
std::string registrations(hostapp::HostApplication& host) {
  std::ostringstream out;
  out << "plug-in " << host.pluginName() << ";";
  for (const hostapp::MenuItemRecord& item : host.menuItems()) out << " menu " << item.group << "/" << item.name << ";";
  for (const hostapp::TimerRecord& timer : host.timers()) out << " timer " << timer.name << ";";
  for (const hostapp::ToolRecord& tool : host.tools()) out << " tool " << tool.name << ";";
  for (const hostapp::NotifierRecord& notifier : host.notifiers()) out << " notifier " << notifier.name << ";";
  for (const hostcore::PluginGroupEntry& group : host.core().pluginGroups()) {
    out << " plugin group " << group.name << " " << group.major << "." << group.minor << ";";
  }
  return out.str();
}

// Names of suites acquired more often than released, or the reverse.
std::vector<std::string> unbalancedSuites(const std::vector<std::string>& suiteLog) {
  std::map<std::string, int> balance;
  for (const std::string& entry : suiteLog) balance[entry.substr(1)] += entry[0] == '+' ? 1 : -1;
  std::vector<std::string> names;
  for (const auto& suite : balance) {
    if (suite.second != 0) names.push_back(suite.first + " (" + std::to_string(suite.second) + ")");
  }
  return names;
}

std::vector<std::string> acquisitions(const std::vector<std::string>& suiteLog) {
  std::vector<std::string> names;
  for (const std::string& entry : suiteLog) {
    if (entry[0] == '+') names.push_back(entry.substr(1));
  }
  return names;
}

}  // namespace

namespace {

constexpr int kUnloadsPerCycle = 3;
using Failure = std::function<void(const std::string&)>;

// A started plug-in locks itself in memory: the host keeps it loaded, and
// it goes on working, until the host quits. False when the module did not load.
bool lockedCycle(const ModuleSource& module, std::string& firstRegistrations, int& messages, const Failure& fail) {
  Trial trial(module);
  if (!trial.loaded()) {
    fail(trial.loadError());
    return false;
  }
  hostapp::HostApplication& host = trial.host();
  ++messages;
  if (trial.startupAnswer() != kNoErr) fail("start-up answered " + describeCode(trial.startupAnswer()));
  const std::string registered = registrations(host);
  if (firstRegistrations.empty()) firstRegistrations = registered;
  if (registered != firstRegistrations) fail("start-up registered " + registered + " where the first registered " + firstRegistrations);
  const int32_t held = host.suitesHeld();
  void* const object = host.globals();
  for (int round = 1; round <= kUnloadsPerCycle; ++round) {
    const std::string unload = "unload " + std::to_string(round);
    const AIErr unloaded = host.unload();
    if (unloaded != kHostLockedErr) fail(unload + " of the locked plug-in answered " + describeCode(unloaded));
    if (host.globals() != object) fail(unload + " replaced the locked plug-in's object");
    if (registrations(host) != firstRegistrations) fail(unload + " changed the registrations");
    if (host.suitesHeld() != held) fail(unload + " changed the suites held");
    const std::size_t before = trial.mirrortiles().size();
    const AIRealPoint centre{AIReal(100 * round), 0};
    trial.addSquare(centre, 5);
    trial.tool().dragFromTo(centre, {}, {centre.h + 40, 0});
    if (trial.mirrortiles().size() != before + 1) fail("after " + unload + " a drag made no object");
    trial.deselectAll();
  }
  const AIErr shutdown = host.shutdown();
  ++messages;
  if (shutdown != kNoErr) fail("shutdown answered " + describeCode(shutdown));
  if (host.suitesHeld() != 0) fail("shutdown left " + std::to_string(host.suitesHeld()) + " suites held");
  const AIErr unloaded = host.unload();
  ++messages;
  if (unloaded != kNoErr) fail("unload at quitting answered " + describeCode(unloaded));
  for (const std::string& suite : unbalancedSuites(host.suiteLog())) fail("suite not released as acquired: " + suite);
  for (const std::string& left : trial.finish()) fail(left);
  return true;
}

// A start-up that failed before the plug-in locked itself: the host may
// unload it, and each reload registers nothing again.
void unlockedCycle(const ModuleSource& module, int& messages, const Failure& fail) {
  Trial trial(module, false);
  hostapp::HostApplication& host = trial.host();
  host.faults().failCall(kAIToolSuite, "AddTool", 1, kInjectedErr);
  const AIErr answer = host.startup();
  ++messages;
  if (answer != kInjectedErr) fail("start-up with AddTool failing answered " + describeCode(answer));
  if (host.pluginLocks() != 0) fail("a failed start-up locked the plug-in");
  host.faults().clear();
  const std::string partial = registrations(host);
  for (int round = 1; round <= kUnloadsPerCycle; ++round) {
    const AIErr unloaded = host.unload();
    const bool gone = host.globals() == nullptr;
    const AIErr reloaded = host.reload();
    messages += 2;
    if (unloaded != kNoErr || !gone) fail("unload of the unlocked plug-in answered " + describeCode(unloaded));
    if (reloaded != kNoErr || !host.globals()) fail("reload answered " + describeCode(reloaded));
    if (registrations(host) != partial) fail("reload " + std::to_string(round) + " registered again");
  }
  for (const std::string& left : trial.finish()) fail(left);
}

}  // namespace

CheckReport checkCycles(const ModuleSource& module, int cycles) {
  CheckReport report{"load and unload cycles", "", {}, {}};
  std::string firstRegistrations;
  int messages = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    const Failure fail = [&](const std::string& what) {
      report.failures.push_back("cycle " + std::to_string(cycle) + ": " + what);
    };
    if (!lockedCycle(module, firstRegistrations, messages, fail)) break;
    unlockedCycle(module, messages, fail);
  }
  report.figure = std::to_string(cycles) + " cycles of load, start-up, " + std::to_string(kUnloadsPerCycle) +
                  " refused unloads with a drag after each, shutdown and unload; and of a start-up failed before "
                  "the lock, " + std::to_string(kUnloadsPerCycle) + " unloads and reloads (" +
                  std::to_string(messages) + " messages)";
  return report;
}

CheckReport checkMissingSuites(const ModuleSource& module) {
  CheckReport report{"missing suites", "", {}, {}};
  std::vector<std::string> acquired;
  {
    Trial trial(module);
    acquired = acquisitions(trial.host().suiteLog());
  }
  bool alertsNow = false;  // the alert suite has been acquired before this one
  std::set<std::string> tried;
  for (const std::string& suite : acquired) {
    if (!tried.insert(suite).second) continue;
    const auto fail = [&](const std::string& what) { report.failures.push_back(suite + " missing: " + what); };
    Trial trial(module, false);
    hostapp::HostApplication& host = trial.host();
    host.faults().failAcquisition(suite, kInjectedErr);
    const AIErr answer = host.startup();
    if (answer != kInjectedErr) fail("start-up answered " + describeCode(answer));
    const std::vector<std::string>& alerts = host.alerts();
    if (alertsNow) {
      const std::string named = "suite: " + suite + ", version: ";
      if (alerts.size() != 1 || alerts[0].find(named) == std::string::npos) {
        fail("expected one alert naming the suite, got " + std::to_string(alerts.size()) +
             (alerts.empty() ? "" : ": " + alerts[0]));
      }
    } else if (!alerts.empty()) {
      fail("alert before the alert suite was acquired: " + alerts[0]);
    }
    if (host.suitesHeld() != 0) fail(std::to_string(host.suitesHeld()) + " suites still held");
    for (const std::string& unbalanced : unbalancedSuites(host.suiteLog())) fail("not released as acquired: " + unbalanced);
    for (const std::string& held : trial.heldReferences()) fail(held);
    for (const std::string& name : acquisitions(host.suiteLog())) {
      if (name == suite) fail("acquired although missing");
    }
    for (const std::string& left : trial.finish()) fail(left);
    if (suite == kADMBasicSuite) alertsNow = true;
  }
  report.figure = std::to_string(tried.size()) + " suites missing in turn at start-up";
  return report;
}

}  // namespace hostvalidate
