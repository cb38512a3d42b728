// Reading any text as the host's preferences file, held in memory: a file
// that is refused leaves the preferences as they were; one that is read
// saves and reads back to the same values and the same text. The values
// read reach the plug-in: it starts with them, makes an object, runs its
// animation a step and opens its options dialog, and must leave nothing
// behind.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "MirtilNames.h"
#include "ModuleFuzzing.h"
#include "hostapp/Dialogs.h"
#include "hostapp/PreferencesFile.h"
#include "hostvalidate/Trial.h"

namespace {

// The one file there is, whatever its name.
class OneFile : public hostapp::TextFiles {
 public:
  explicit OneFile(std::string contents) : text(std::move(contents)) {}
  bool read(const std::string&, std::string& contents) override {
    contents = text;
    return true;
  }
  bool write(const std::string&, const std::string& contents) override {
    text = contents;
    return true;
  }
  std::string text;
};

bool holdsPluginValues(const hostapp::Preferences& prefs) {
  for (const auto& entry : prefs.values()) {
    if (entry.first.first == kMirtilPrefsSection) return true;
  }
  return false;
}

// The plug-in started with these preferences.
void runPlugin(const hostapp::Preferences& prefs) {
  hostvalidate::Trial trial({moduleLoader(), MIRTIL_MODULE_PATH}, false);
  hostapp::HostApplication& host = trial.host();
  host.preferences() = prefs;
  if (host.startup() != kNoErr) fail("start-up failed");
  trial.addSquare({0, 0}, 5);
  trial.tool().dragFromTo({0, 0}, {}, {40, 0});
  host.chooseMenuItem(host.menuItemHandle(1));
  host.advanceClock(70);
  host.dialogs().script({hostapp::DialogStep::press(kOKItem)});
  trial.tool().editOptions();
  for (const std::string& held : trial.heldReferences()) fail(held);
  for (const std::string& left : trial.finish()) fail(left);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  moduleLoader();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OneFile files(std::string(reinterpret_cast<const char*>(data), size));
  hostapp::PreferencesFile file(files, "prefs");
  hostapp::Preferences prefs;
  prefs.put("Kept", "Before", 1);
  const hostapp::Preferences before = prefs;
  if (!file.load(prefs)) {
    if (prefs.values() != before.values()) fail("a refused file changed the preferences");
    return 0;
  }
  if (!file.save(prefs)) fail("the preferences cannot be saved");
  const std::string saved = files.text;
  hostapp::Preferences again;
  if (!file.load(again)) fail("the saved preferences are refused:\n" + saved);
  if (again.values() != prefs.values()) fail("the saved preferences read back otherwise:\n" + saved);
  if (!file.save(again) || files.text != saved) fail("the preferences save to other text:\n" + saved);
  if (holdsPluginValues(prefs)) runPlugin(prefs);
  return 0;
}
