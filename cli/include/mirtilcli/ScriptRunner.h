// Runs a script of mirtil-host on a session: every line is read and
// checked first, so that a bad line stops the script before it changes
// anything; then the lines run in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mirtilcli/Script.h"
#include "mirtilcli/Session.h"

namespace mirtilcli {

class ScriptRunner {
 public:
  ScriptRunner(Session& session, std::string fileName);

  // Reads the script; throws UsageError naming file:line for a bad line.
  void load(const std::string& text);
  // Runs what load read. Throws CheckFailure when an expectation does not
  // hold or a message answers a code the next line does not expect, and
  // UsageError for input that cannot be used (an unknown id, a file that
  // cannot be read); both name file:line.
  void run();
  // The code the last message answered.
  AIErr lastResult() const { return lastResult_; }

  struct Step;

 private:
  Step parse(const ScriptLine& line);
  // Prints the alerts of the step and keeps them for the expectations.
  void noteAlerts();
  std::string place(int line) const;

  Session& session_;
  std::string fileName_;
  std::vector<Step> steps_;
  // Alerts shown since the last expectation about alerts.
  std::vector<std::string> unchecked_;
  AIErr lastResult_ = kNoErr;
};

struct ScriptRunner::Step {
  int line = 0;
  // A step that sends messages answers the first code that was not 0.
  bool sendsMessages = false;
  bool expectsResult = false;
  std::function<AIErr()> act;
};

}  // namespace mirtilcli
