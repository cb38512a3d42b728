// The tool's options: the preferences dialog worked by a scripted user, and
// the host's preferences file.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "InteractionFixture.h"

namespace {

using hostapp::DialogStep;

// Files in memory instead of on disk.
class MemoryFiles : public hostapp::TextFiles {
 public:
  bool read(const std::string& path, std::string& contents) override {
    const auto found = files.find(path);
    if (found == files.end()) return false;
    contents = found->second;
    return true;
  }
  bool write(const std::string& path, const std::string& contents) override {
    if (readOnly) return false;
    files[path] = contents;
    return true;
  }
  std::map<std::string, std::string> files;
  bool readOnly = false;
};

class PreferencesTest : public InteractionTest {
 protected:
  // The options dialog as the user saw it.
  const hostapp::DialogRecord& shown() { return host->dialogs().history().back(); }
  int32_t stored(const char* name) {
    int32_t value = -999;
    host->preferences().get(kMirtilPrefsSection, name, value);
    return value;
  }
  void expectShown(int32_t steps, int32_t delay, bool sweep) {
    const hostapp::DialogRecord& dialog = shown();
    ASSERT_NE(dialog.item(kStepsItem), nullptr);
    EXPECT_EQ(dialog.item(kStepsItem)->intValue, steps);
    EXPECT_EQ(dialog.item(kStepsItem)->text, std::to_string(steps));
    EXPECT_EQ(dialog.item(kDelayItem)->intValue, delay);
    EXPECT_EQ(dialog.item(kSweepItem)->boolValue, sweep);
    EXPECT_EQ(dialog.item(kInPlaceItem)->boolValue, !sweep);
  }
};

TEST_F(PreferencesTest, WithNothingStoredTheDialogShowsTheDefaultsAndOKStoresThem) {
  host->dialogs().script({DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kNoErr);
  EXPECT_EQ(shown().resourceID, 108);
  EXPECT_EQ(shown().name, "OrvoMirPref");
  EXPECT_EQ(shown().result, kOKItem);
  expectShown(90, 5, true);
  EXPECT_EQ(shown().item(kStepsItem)->minValue, 1);
  EXPECT_EQ(shown().item(kStepsItem)->maxValue, 360);
  EXPECT_EQ(shown().item(kDelayItem)->maxValue, 50);
  EXPECT_EQ(stored(kMirtilStepsPref), 90);
  EXPECT_EQ(stored(kMirtilDelayPref), 5);
  EXPECT_EQ(stored(kMirtilTypePref), 1);
}

TEST_F(PreferencesTest, TypedValuesAndTheChosenRotationAreStored) {
  host->dialogs().script({DialogStep::type(kStepsItem, "120"), DialogStep::type(kDelayItem, "12"),
                          DialogStep::press(kInPlaceItem), DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kNoErr);
  EXPECT_EQ(shown().ignoredSteps, 0);
  EXPECT_EQ(stored(kMirtilStepsPref), 120);
  EXPECT_EQ(stored(kMirtilDelayPref), 12);
  EXPECT_EQ(stored(kMirtilTypePref), 0);

  // Shown again as stored; "Sweep" chosen back.
  host->dialogs().script({DialogStep::press(kSweepItem), DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kNoErr);
  expectShown(120, 12, false);
  EXPECT_EQ(stored(kMirtilTypePref), 1);
}

TEST_F(PreferencesTest, StoredValuesOutsideTheirRangesAreShownAtTheLimits) {
  putPreference(kMirtilStepsPref, 400);
  putPreference(kMirtilDelayPref, 0);
  putPreference(kMirtilTypePref, 7);
  host->dialogs().script({DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kNoErr);
  expectShown(360, 1, true);
  EXPECT_EQ(stored(kMirtilStepsPref), 360);
  EXPECT_EQ(stored(kMirtilDelayPref), 1);
  EXPECT_EQ(stored(kMirtilTypePref), 1);
}

TEST_F(PreferencesTest, ValuesOfAThousandOrMoreDoNotCarryIntoTheNextField) {
  putPreference(kMirtilStepsPref, 1500);
  putPreference(kMirtilDelayPref, 2000);
  putPreference(kMirtilTypePref, 0);
  host->dialogs().script({DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kNoErr);
  expectShown(360, 50, false);
  EXPECT_EQ(stored(kMirtilStepsPref), 360);
  EXPECT_EQ(stored(kMirtilDelayPref), 50);
  EXPECT_EQ(stored(kMirtilTypePref), 0);
}

TEST_F(PreferencesTest, TypedValuesAreKeptWithinTheFieldsLimits) {
  host->dialogs().script({DialogStep::type(kStepsItem, "5000"), DialogStep::type(kDelayItem, "0"),
                          DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kNoErr);
  EXPECT_EQ(stored(kMirtilStepsPref), 360);
  EXPECT_EQ(stored(kMirtilDelayPref), 1);
}

TEST_F(PreferencesTest, CancelChangesNothingAndAnswersStop) {
  putPreference(kMirtilStepsPref, 30);
  host->dialogs().script({DialogStep::type(kStepsItem, "200"), DialogStep::press(kInPlaceItem),
                          DialogStep::press(kCancelItem)});
  EXPECT_EQ(tool->editOptions(), kUserCancelledErr);
  EXPECT_EQ(shown().result, kCancelItem);
  EXPECT_EQ(stored(kMirtilStepsPref), 30);
  EXPECT_EQ(stored(kMirtilDelayPref), -999);
  EXPECT_EQ(stored(kMirtilTypePref), -999);
}

TEST_F(PreferencesTest, ADialogThatCannotBeShownAnswersStop) {
  // No user waits for it.
  EXPECT_EQ(tool->editOptions(), kUserCancelledErr);
  EXPECT_TRUE(host->dialogs().history().empty());
  // Its template is missing.
  host->hideResource(kResourceDialog, kPrefsDialogID);
  host->dialogs().script({DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kUserCancelledErr);
  EXPECT_EQ(stored(kMirtilStepsPref), -999);
}

TEST_F(PreferencesTest, ADialogClosedWithoutAButtonAnswersStop) {
  host->dialogs().script({DialogStep::type(kStepsItem, "45")});
  EXPECT_EQ(tool->editOptions(), kUserCancelledErr);
  EXPECT_EQ(shown().result, hostapp::kDialogDismissed);
  EXPECT_EQ(stored(kMirtilStepsPref), -999);
}

TEST_F(PreferencesTest, TheToolMakesObjectsOfTheChosenType) {
  host->dialogs().script({DialogStep::press(kInPlaceItem), DialogStep::press(kOKItem)});
  ASSERT_EQ(tool->editOptions(), kNoErr);
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  EXPECT_EQ(integer(pig, kMirtilTypeKey), 0);
}

TEST_F(PreferencesTest, PreferencesLiveInTheHostsFile) {
  MemoryFiles files;
  files.files["prefs"] = "Mirtil/Steps=45\n";
  ASSERT_TRUE(host->keepPreferencesIn(std::make_unique<hostapp::PreferencesFile>(files, "prefs")));
  EXPECT_EQ(stored(kMirtilStepsPref), 45);

  host->dialogs().script({DialogStep::type(kDelayItem, "9"), DialogStep::press(kOKItem)});
  ASSERT_EQ(tool->editOptions(), kNoErr);
  expectShown(45, 5, true);
  EXPECT_EQ(files.files["prefs"], "Mirtil/Delay=9\nMirtil/Steps=45\nMirtil/Type=1\n");

  // A file that cannot be written fails the write, which the plug-in reports.
  files.readOnly = true;
  host->dialogs().script({DialogStep::press(kOKItem)});
  EXPECT_EQ(tool->editOptions(), kHostNoPreferenceErr);
}

TEST_F(PreferencesTest, AMissingFileHoldsNoneABrokenOneIsRefusedAndAnEditedOneIsRead) {
  MemoryFiles files;
  ASSERT_TRUE(host->keepPreferencesIn(std::make_unique<hostapp::PreferencesFile>(files, "none")));
  host->dialogs().script({DialogStep::press(kOKItem)});
  ASSERT_EQ(tool->editOptions(), kNoErr);
  expectShown(90, 5, true);

  files.files["broken"] = "not preferences\n";
  EXPECT_FALSE(host->keepPreferencesIn(std::make_unique<hostapp::PreferencesFile>(files, "broken")));
  EXPECT_EQ(stored(kMirtilStepsPref), 90);

  // Blank lines and Windows line ends, as a text editor may leave them, are no fault.
  files.files["edited"] = "\r\nMirtil/Steps=30\r\n\nMirtil/Delay=7\r\n";
  ASSERT_TRUE(host->keepPreferencesIn(std::make_unique<hostapp::PreferencesFile>(files, "edited")));
  EXPECT_EQ(stored(kMirtilStepsPref), 30);
  EXPECT_EQ(stored(kMirtilDelayPref), 7);
}

TEST(PreferencesPath, AUserCanNameTheFile) {
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  ASSERT_EQ(setenv(hostapp::kPreferencesPathVariable, "/tmp/my-prefs", 1), 0);
  EXPECT_EQ(hostapp::defaultPreferencesPath(), "/tmp/my-prefs");
  ASSERT_EQ(unsetenv(hostapp::kPreferencesPathVariable), 0);
  ASSERT_EQ(setenv("HOME", "/home/someone", 1), 0);
  EXPECT_EQ(hostapp::defaultPreferencesPath(), "/home/someone/.mirrortile-preferences");
  if (home) setenv("HOME", savedHome.c_str(), 1);
}

TEST(PreferencesFileOnDisk, SavesAndReadsBack) {
  hostapp::DiskTextFiles disk;
  const std::string path = ::testing::TempDir() + "mirtil-preferences-test-" + std::to_string(::getpid());
  hostapp::Preferences written;
  written.put(kMirtilPrefsSection, kMirtilStepsPref, 12);
  ASSERT_TRUE(hostapp::PreferencesFile(disk, path).save(written));
  hostapp::Preferences read;
  ASSERT_TRUE(hostapp::PreferencesFile(disk, path).load(read));
  int32_t steps = 0;
  EXPECT_TRUE(read.get(kMirtilPrefsSection, kMirtilStepsPref, steps));
  EXPECT_EQ(steps, 12);
  std::remove(path.c_str());
}

}  // namespace
