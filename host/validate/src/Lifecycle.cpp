// Checks of the plug-in's life in the host: repeated load, start-up,
// unload, reload and shutdown cycles, and start-ups with a suite missing.

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

CheckReport checkCycles(const ModuleSource& module, int cycles) {
  CheckReport report{"load and unload cycles", "", {}};
  constexpr int kReloadsPerCycle = 3;
  std::string firstRegistrations;
  int messages = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    const auto fail = [&](const std::string& what) {
      report.failures.push_back("cycle " + std::to_string(cycle) + ": " + what);
    };
    Trial trial(module);
    if (!trial.loaded()) {
      fail(trial.loadError());
      break;
    }
    hostapp::HostApplication& host = trial.host();
    ++messages;
    if (trial.startupAnswer() != kNoErr) fail("start-up answered " + describeCode(trial.startupAnswer()));
    const std::string registered = registrations(host);
    if (cycle == 1) firstRegistrations = registered;
    if (registered != firstRegistrations) fail("start-up registered " + registered + " where the first registered " + firstRegistrations);
    const int32_t held = host.suitesHeld();
    for (int round = 1; round <= kReloadsPerCycle; ++round) {
      const AIErr unloaded = host.unload();
      const AIErr reloaded = host.reload();
      messages += 2;
      if (unloaded != kNoErr) fail("unload answered " + describeCode(unloaded));
      if (reloaded != kNoErr) fail("reload answered " + describeCode(reloaded));
      if (registrations(host) != firstRegistrations) fail("reload " + std::to_string(round) + " registered again");
      if (host.suitesHeld() != held) {
        fail("after reload " + std::to_string(round) + " " + std::to_string(host.suitesHeld()) +
             " suites are held, after start-up " + std::to_string(held));
      }
    }
    const AIErr shutdown = host.shutdown();
    ++messages;
    if (shutdown != kNoErr) fail("shutdown answered " + describeCode(shutdown));
    if (host.suitesHeld() != 0) fail("shutdown left " + std::to_string(host.suitesHeld()) + " suites held");
    host.unload();
    ++messages;
    for (const std::string& suite : unbalancedSuites(host.suiteLog())) fail("suite not released as acquired: " + suite);
    for (const std::string& left : trial.finish()) fail(left);
  }
  report.figure = std::to_string(cycles) + " cycles of load, start-up, " + std::to_string(kReloadsPerCycle) +
                  " unloads and reloads, shutdown and unload (" + std::to_string(messages) + " messages)";
  return report;
}

CheckReport checkMissingSuites(const ModuleSource& module) {
  CheckReport report{"missing suites", "", {}};
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
