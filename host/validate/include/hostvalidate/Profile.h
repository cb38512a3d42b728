// What the validator's checks need to know of the plug-in under test, kept
// out of the checks themselves: its preference for the kind of object a
// drag makes, its options dialog, the dictionary entries that must stay
// finite, the codes it answers of its own accord when a host call fails,
// the alerts it shows for a failure, and the scenarios the fault sweep runs. mirrortileProfile() describes
// this project's plug-in; another plug-in brings a profile of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hostapi/HostTypes.h"

namespace hostvalidate {

class Trial;

// A fault sweep scenario: what is set up before the faults start, and
// what is then done with the k-th host call failing.
struct Scenario {
  std::string name;
  std::function<void(Trial&)> setup;
  std::function<void(Trial&)> act;
};

struct PluginProfile {
  // The preference that chooses what a drag makes, and its values (0 to count - 1).
  std::string preferenceSection;
  std::string typePreference;
  int32_t typeCount = 0;
  // The value of that preference with which a drag over art makes an object,
  // as the sweep checks after each fault.
  int32_t creatingType = 0;
  // The options dialog's text fields and radio buttons, and the buttons that close it.
  std::vector<int32_t> dialogFields;
  std::vector<int32_t> dialogChoices;
  int32_t okButton = 0;
  int32_t cancelButton = 0;
  // Entries of the plug-in's objects that hold reals and must stay finite.
  std::vector<std::string> finiteRealKeys;
  // Codes the plug-in answers in place of a host call's failure.
  std::vector<AIErr> ownCodes;
  // The alerts (regular expressions over the whole text) the plug-in shows
  // when a host call fails; any other alert a failure brings is a fault,
  // unless the call is one of takenAsAnswers.
  std::vector<std::string> failureAlerts;
  // Host calls ("Suite/Function") whose failure the plug-in takes for an
  // answer: those that answer a value rather than a code, so that a failure
  // cannot be told from a real answer, and those its handling reads as "no
  // such art". What it then does, an alert included, is its answer to what
  // it was told; the sweep lists such points rather than failing them.
  std::vector<std::string> takenAsAnswers;
  std::vector<Scenario> scenarios;
};

const PluginProfile& mirrortileProfile();

}  // namespace hostvalidate
