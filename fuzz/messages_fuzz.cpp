// Random interactions with the real module, chosen by the input bytes;
// the document is checked after every message, and the plug-in must
// leave nothing behind. A failure aborts, naming what was found. Short
// sequences keep each input quick.

#include <cstddef>
#include <cstdint>

#include "ModuleFuzzing.h"
#include "hostvalidate/Interactions.h"

namespace {

constexpr int kMostInteractions = 8;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  moduleLoader();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const hostvalidate::ModuleSource module{moduleLoader(), MIRTIL_MODULE_PATH};
  hostvalidate::Trial trial(module);
  if (trial.startupAnswer() != kNoErr) fail("start-up failed");
  {
    hostvalidate::MessageLog log(trial.host(), true);
    hostvalidate::ByteChoices choices(data, size);
    hostvalidate::RandomInteractions random(trial, log, choices);
    for (int i = 0; i < kMostInteractions && !choices.exhausted(); ++i) {
      const std::string done = random.step();
      if (!log.problems().empty()) fail(done + ": " + log.problems().front());
    }
  }
  for (const std::string& held : trial.heldReferences()) fail(held);
  for (const std::string& left : trial.finish()) fail(left);
  return 0;
}
