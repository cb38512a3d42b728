// Drives the built module Mirtil.aip through the stand-in host.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MirtilNames.h"
#include "hostapp/HostApplication.h"
#include "hostposix/DlopenModuleLoader.h"
#include "platform/winapi.h"

namespace {

constexpr AIErr kSomeFault = HOST_FOURCC('B', 'O', 'O', 'M');
// Five framework suites, 44 product suites and 78 text-engine suites.
constexpr int32_t kSuitesAcquired = 5 + 44 + 78;

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<hostapp::HostApplication>(loader);
    ASSERT_TRUE(host->loadModule(MIRTIL_MODULE_PATH)) << host->loadError();
  }
  void TearDown() override {
    // Leave the library as the host would at quitting, then check nothing leaked.
    if (host->globals()) {
      host->shutdown();
      host->unload();
    }
    EXPECT_EQ(host->suitesHeld(), 0);
    EXPECT_EQ(host->liveBlocks(), 0u);
  }

  // A start-up that fails at its last registration, before the plug-in
  // locks itself in memory, so that the host may unload it.
  void startUnlocked() {
    host->faults().failCall(kAIToolSuite, "AddTool", 1, kSomeFault);
    ASSERT_EQ(host->startup(), kSomeFault);
    ASSERT_EQ(host->pluginLocks(), 0);
    host->faults().clear();
  }

  // Every release matches an acquisition of the same suite, in reverse of nothing:
  // the suites released are exactly those acquired, in the same order.
  void ExpectReleasedAsAcquired() const {
    std::vector<std::string> acquired, released;
    for (const std::string& entry : host->suiteLog()) {
      (entry[0] == '+' ? acquired : released).push_back(entry.substr(1));
    }
    EXPECT_EQ(acquired, released);
  }

  hostposix::DlopenModuleLoader loader;
  std::unique_ptr<hostapp::HostApplication> host;
};

TEST_F(ModuleTest, PropertyListNamesAPluginWithItsEntryPoint) {
  const unsigned char expected[79] = {
      1,   0,   0,   0,   0,   0,   3,   0,   0,   0,                            // version, list version, count
      'E', 'B', 'D', 'A', 'd', 'n', 'i', 'k', 0,   0, 0, 0, 4, 0, 0, 0, 'A', 'E', 'P', 'S',  // kind SPEA
      'E', 'B', 'D', 'A', 's', 'r', 'v', 'i', 0,   0, 0, 0, 4, 0, 0, 0, 2,   0,   0,   0,   // ivrs 2
      'E', 'B', 'D', 'A', '6', '8', 'x', 'w', 0,   0, 0, 0, 12, 0, 0, 0,                  // wx86
      'P', 'l', 'u', 'g', 'i', 'n', 'M', 'a', 'i', 'n', 0, 0, 0};
  const ModuleResource* list = hostapp::findResource(host->resources(), kResourcePropertyList, 16000);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->language, 1033);
  ASSERT_EQ(list->size, 79u);
  EXPECT_TRUE(std::equal(expected, expected + 79, static_cast<const unsigned char*>(list->data)));
  EXPECT_EQ(host->properties().kind, "SPEA");
  EXPECT_EQ(host->properties().interfaceVersion, 2);
  EXPECT_EQ(host->properties().entryPoint, "PluginMain");
}

TEST_F(ModuleTest, ResourcesHoldIconsCursorsPictureDialogsAndVersion) {
  const ModuleResourceTable* table = host->resources();
  for (uint16_t id : {104, 103}) {
    const ModuleResource* icon = hostapp::findResource(table, kResourceIconGroup, id);
    ASSERT_NE(icon, nullptr) << id;
    const auto* image = static_cast<const ResourceImage*>(icon->data);
    EXPECT_EQ(image->width, 22);
    EXPECT_EQ(image->height, 18);
    EXPECT_EQ(image->bitsPerPixel, 24);
  }
  for (uint16_t id : {116, 118, 119}) {
    const ModuleResource* cursor = hostapp::findResource(table, kResourceCursorGroup, id);
    ASSERT_NE(cursor, nullptr) << id;
    const auto* image = static_cast<const ResourceImage*>(cursor->data);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->bitsPerPixel, 1);
    EXPECT_EQ(image->hotSpotX, 7);
    EXPECT_EQ(image->hotSpotY, 8);
  }
  const ModuleResource* bitmap = hostapp::findResource(table, kResourceBitmap, 117);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(static_cast<const ResourceImage*>(bitmap->data)->width, 127);
  EXPECT_EQ(static_cast<const ResourceImage*>(bitmap->data)->height, 176);

  const ModuleResource* prefs = hostapp::findResource(table, kResourceDialog, 108);
  ASSERT_NE(prefs, nullptr);
  const auto* dialog = static_cast<const ResourceDialog*>(prefs->data);
  EXPECT_STREQ(dialog->title, "Mirrortile preferences");
  EXPECT_EQ(dialog->width, 186);
  EXPECT_EQ(dialog->height, 93);
  EXPECT_STREQ(dialog->fontName, "MS Sans Serif");
  EXPECT_EQ(dialog->fontSize, 8);
  ASSERT_EQ(dialog->itemCount, 9);
  const ResourceDialogItem& sweep = dialog->items[8];
  EXPECT_EQ(sweep.id, 1007);
  EXPECT_EQ(sweep.kind, kDialogItemRadioButton);
  EXPECT_STREQ(sweep.text, "Sweep");
  EXPECT_EQ(sweep.x, 131);
  EXPECT_EQ(sweep.width, 44);
  const ResourceDialogItem& steps = dialog->items[4];
  EXPECT_EQ(steps.id, 1000);
  EXPECT_EQ(steps.style, kDialogItemStyleBorder | kDialogItemStyleAutoHScroll);

  const ModuleResource* about = hostapp::findResource(table, kResourceDialog, 16002);
  ASSERT_NE(about, nullptr);
  const auto* box = static_cast<const ResourceDialog*>(about->data);
  EXPECT_STREQ(box->title, "");
  ASSERT_EQ(box->itemCount, 3);
  EXPECT_EQ(box->items[0].id, 3);
  EXPECT_EQ(box->items[1].kind, kDialogItemPicture);
  EXPECT_EQ(box->items[1].bitmapID, 117);

  const ModuleResource* version = hostapp::findResource(table, kResourceVersion, 1);
  ASSERT_NE(version, nullptr);
  const auto* record = static_cast<const ResourceVersion*>(version->data);
  EXPECT_EQ(record->fileVersion[0], 3);
  EXPECT_EQ(record->fileVersion[3], 316);
  EXPECT_STREQ(record->internalName, "Mirtil");
  EXPECT_STREQ(record->originalFilename, "Mirtil.aip");
}

TEST_F(ModuleTest, StartupRegistersCommandTimerGroupAndTool) {
  ASSERT_EQ(host->startup(), kNoErr);

  ASSERT_EQ(host->menuItems().size(), 2u);
  EXPECT_EQ(host->menuItems()[0].group, "Objects");
  EXPECT_EQ(host->menuItems()[0].text, "-");
  const hostapp::MenuItemRecord& command = host->menuItems()[1];
  EXPECT_EQ(command.group, "Objects");
  EXPECT_EQ(command.name, "Rotate Mirrortiles");
  EXPECT_EQ(command.text, "Rotate Mirrortiles");
  EXPECT_FALSE(command.checked);
  const AIMenuItemHandle commandHandle = host->menuItemHandle(1);
  EXPECT_FALSE(host->menuItemEnabled(commandHandle));
  EXPECT_FALSE(host->chooseMenuItem(commandHandle).has_value());
  host->setDocumentOpen(true);
  EXPECT_TRUE(host->menuItemEnabled(commandHandle));

  ASSERT_EQ(host->timers().size(), 1u);
  EXPECT_EQ(host->timers()[0].name, "timerAndAgain");
  EXPECT_EQ(host->timers()[0].period, 6);
  EXPECT_FALSE(host->timers()[0].active);

  ASSERT_EQ(host->core().pluginGroups().size(), 1u);
  const hostcore::PluginGroupEntry& group = host->core().pluginGroups()[0];
  EXPECT_EQ(group.name, "ORVoMirtilPig");
  EXPECT_EQ(group.major, 1);
  EXPECT_EQ(group.minor, 2);
  EXPECT_EQ(group.options, 0x8400);
  EXPECT_EQ(group.description, "Mirrortile");
  EXPECT_EQ(group.defaultName, "Mirrortile");

  ASSERT_EQ(host->tools().size(), 1u);
  const hostapp::ToolRecord& tool = host->tools()[0];
  EXPECT_EQ(tool.name, "Mirrortile");
  EXPECT_EQ(tool.title, "Mirrortile");
  EXPECT_EQ(tool.tooltip, "Mirrortile");
  EXPECT_EQ(tool.options, 1);
  EXPECT_EQ(tool.iconID, 104);
  EXPECT_EQ(tool.rolloverIconID, 103);
  EXPECT_EQ(tool.sameGroupAs, -2);
  EXPECT_EQ(tool.sameToolsetAs, -2);

  EXPECT_EQ(host->pluginName(), "Plugin");
  ASSERT_EQ(host->notifiers().size(), 1u);
  EXPECT_EQ(host->notifiers()[0].name, "Plugin App Started Notifier");
  EXPECT_EQ(host->notifiers()[0].type, kAIApplicationStartedNotifier);
  EXPECT_EQ(host->pluginLocks(), 1);
  EXPECT_EQ(host->suitesHeld(), kSuitesAcquired);
  // The application-started notification pushed and popped one context.
  EXPECT_EQ(host->contextPushes(), 1);
  EXPECT_EQ(host->contextDepth(), 0);
  EXPECT_TRUE(host->alerts().empty());
}

TEST_F(ModuleTest, ShutdownStopsTheTimerAndReleasesEverySuite) {
  ASSERT_EQ(host->startup(), kNoErr);
  EXPECT_EQ(host->shutdown(), kNoErr);
  EXPECT_EQ(host->suitesHeld(), 0);
  EXPECT_FALSE(host->timers()[0].active);
  ExpectReleasedAsAcquired();
}

TEST_F(ModuleTest, FailedAcquisitionAlertsAndReleasesExactlyWhatWasAcquired) {
  host->faults().failAcquisition(kAIArtSuite, kSomeFault);
  EXPECT_EQ(host->startup(), kSomeFault);
  ASSERT_EQ(host->alerts().size(), 1u);
  EXPECT_EQ(host->alerts()[0], "Error: " + std::to_string(kSomeFault) + ", suite: AI Art Suite, version: 10!");
  EXPECT_EQ(host->suitesHeld(), 0);
  // The framework's five, dialog, icon and blocks came before the art suite.
  const std::vector<std::string> log = host->suiteLog();
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& e) { return e[0] == '+'; }), 8);
  ExpectReleasedAsAcquired();
  EXPECT_TRUE(host->menuItems().empty());
}

TEST_F(ModuleTest, FailureAmongTheFirstFrameworkSuitesIsSilent) {
  host->faults().failAcquisition(kAIContextSuite, kSomeFault);
  EXPECT_EQ(host->startup(), kSomeFault);
  EXPECT_TRUE(host->alerts().empty());
  EXPECT_EQ(host->suitesHeld(), 0);
  ExpectReleasedAsAcquired();
}

// Each registration step of the start-up failing in turn: the host gets the
// step's code, what came before stays registered, nothing after it is made,
// and the plug-in does not lock itself in memory.
struct RegistrationFault {
  const char* suite;
  const char* function;
  uint64_t nth;
  size_t menuItems, timers, groups, tools;
};

void PrintTo(const RegistrationFault& fault, std::ostream* out) {
  *out << fault.function << " #" << fault.nth;
}

class RegistrationFaultTest : public ModuleTest, public ::testing::WithParamInterface<RegistrationFault> {};

TEST_P(RegistrationFaultTest, EndsTheStartupAndKeepsWhatCameBefore) {
  const RegistrationFault& fault = GetParam();
  host->faults().failCall(fault.suite, fault.function, fault.nth, kSomeFault);
  EXPECT_EQ(host->startup(), kSomeFault);
  EXPECT_EQ(host->menuItems().size(), fault.menuItems);
  EXPECT_EQ(host->timers().size(), fault.timers);
  EXPECT_EQ(host->core().pluginGroups().size(), fault.groups);
  EXPECT_EQ(host->tools().size(), fault.tools);
  EXPECT_EQ(host->pluginLocks(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, RegistrationFaultTest,
    ::testing::Values(RegistrationFault{kSPPluginsSuite, "SetPluginName", 1, 0, 0, 0, 0},
                      RegistrationFault{kAINotifierSuite, "AddNotifier", 1, 0, 0, 0, 0},
                      RegistrationFault{kAIMenuSuite, "AddMenuItem", 1, 0, 0, 0, 0},
                      RegistrationFault{kAIMenuSuite, "AddMenuItem", 2, 1, 0, 0, 0},
                      RegistrationFault{kAIMenuSuite, "UpdateMenuItemAutomatically", 1, 2, 0, 0, 0},
                      RegistrationFault{kAITimerSuite, "AddTimer", 1, 2, 0, 0, 0},
                      RegistrationFault{kAITimerSuite, "SetTimerActive", 1, 2, 1, 0, 0},
                      RegistrationFault{kAIPluginGroupSuite, "AddAIPluginGroup", 1, 2, 1, 0, 0},
                      RegistrationFault{kAIPluginGroupSuite, "SetAIPluginGroupDefaultName", 1, 2, 1, 1, 0},
                      RegistrationFault{kAIToolSuite, "AddTool", 1, 2, 1, 1, 0},
                      RegistrationFault{kAIToolSuite, "SetToolRolloverIcon", 1, 2, 1, 1, 1}));

TEST_F(ModuleTest, TheFirstBlockFailingAnswersMemBeforeAnyObjectExists) {
  host->faults().failBlockAllocation(1);
  EXPECT_EQ(host->startup(), HOST_FOURCC('!', 'M', 'E', 'M'));
  EXPECT_EQ(host->globals(), nullptr);
  EXPECT_EQ(host->suitesHeld(), 0);
  EXPECT_EQ(host->startup(), kNoErr);
  EXPECT_NE(host->globals(), nullptr);
}

TEST_F(ModuleTest, MissingToolIconGivesIcoWithoutTool) {
  host->hideResource(kResourceIconGroup, 103);
  EXPECT_EQ(host->startup(), kIconNotLoadedErr);
  EXPECT_EQ(host->timers().size(), 1u);
  EXPECT_EQ(host->core().pluginGroups().size(), 1u);
  EXPECT_TRUE(host->tools().empty());
}

TEST_F(ModuleTest, ALockedPlugInStaysLoadedUntilTheHostQuits) {
  ASSERT_EQ(host->startup(), kNoErr);
  void* object = host->globals();
  EXPECT_EQ(host->pluginLocks(), 1);
  EXPECT_EQ(host->unload(), kHostLockedErr);
  EXPECT_EQ(host->reload(), kNoErr);
  EXPECT_EQ(host->globals(), object);
  EXPECT_EQ(host->suitesHeld(), kSuitesAcquired);

  EXPECT_EQ(host->shutdown(), kNoErr);
  EXPECT_EQ(host->unload(), kNoErr);
  EXPECT_EQ(host->globals(), nullptr);
}

TEST_F(ModuleTest, UnloadAndReloadRecreateTheObjectWithoutNewRegistrations) {
  startUnlocked();
  EXPECT_EQ(host->unload(), kNoErr);
  EXPECT_EQ(host->globals(), nullptr);
  EXPECT_EQ(host->suitesHeld(), 0);
  EXPECT_EQ(host->liveBlocks(), 0u);

  EXPECT_EQ(host->reload(), kNoErr);
  EXPECT_NE(host->globals(), nullptr);
  EXPECT_EQ(host->suitesHeld(), kSuitesAcquired);
  EXPECT_EQ(host->menuItems().size(), 2u);
  EXPECT_EQ(host->timers().size(), 1u);
  EXPECT_EQ(host->tools().size(), 0u);
  EXPECT_EQ(host->core().pluginGroups().size(), 1u);
  EXPECT_EQ(host->notifiers().size(), 1u);
}

TEST_F(ModuleTest, FailingReloadDestroysTheObjectAndTheNextMessageMakesANewOne) {
  startUnlocked();
  ASSERT_EQ(host->unload(), kNoErr);
  host->faults().failAcquisition(kAIMenuSuite, kSomeFault);
  EXPECT_EQ(host->reload(), kSomeFault);
  EXPECT_EQ(host->globals(), nullptr);
  EXPECT_EQ(host->suitesHeld(), 0);
  EXPECT_EQ(host->liveBlocks(), 0u);
  ExpectReleasedAsAcquired();

  host->faults().clear();
  EXPECT_EQ(host->reload(), kNoErr);
  EXPECT_NE(host->globals(), nullptr);
  EXPECT_EQ(host->suitesHeld(), kSuitesAcquired);
}

TEST_F(ModuleTest, DispatchAnswersUnknownMessagesAndDefaults) {
  ASSERT_EQ(host->startup(), kNoErr);
  const int32_t pushes = host->contextPushes();
  EXPECT_EQ(host->sendPlainMessage("No Such Caller", "AI Go"), kUnhandledMessageErr);
  EXPECT_EQ(host->sendPlainMessage(kCallerAIMenu, "No Such Selector"), kUnhandledMessageErr);
  EXPECT_EQ(host->sendPlainMessage(kSPCacheCaller, kSPPluginPurgeCachesSelector), kNoErr);
  EXPECT_EQ(host->sendPlainMessage(kSPPropertiesCaller, kSPPropertiesAcquireSelector), kUnhandledMessageErr);
  EXPECT_EQ(host->sendPlainMessage(kCallerAIFilter, kSelectorAIGoFilter), kUnhandledMessageErr);
  EXPECT_EQ(host->sendPlainMessage(kCallerAILiveEffect, kSelectorAIGoLiveEffect), kUnhandledMessageErr);
  EXPECT_EQ(host->sendPlainMessage(kCallerAIFileFormat, kSelectorAICheckFileFormat), kUnhandledMessageErr);
  EXPECT_EQ(host->contextPushes(), pushes);

  AIMenuMessage update{};
  update.menuItem = host->menuItemHandle(1);
  EXPECT_EQ(host->sendMessage(kCallerAIMenu, kSelectorAIUpdateMenuItem, update.d), kNoErr);

  // A notification of another type, not "AI Notify": unhandled, context balanced.
  AINotifierMessage other{};
  other.type = "AI Some Other Notifier";
  EXPECT_EQ(host->sendMessage(kCallerAINotifier, "AI Something", other.d), kUnhandledMessageErr);
  EXPECT_EQ(host->contextPushes(), pushes + 1);
  EXPECT_EQ(host->contextDepth(), 0);
  // The same with "AI Notify" reaches the default Notify.
  EXPECT_EQ(host->sendMessage(kCallerAINotifier, kSelectorAINotify, other.d), kNoErr);
  EXPECT_EQ(host->contextDepth(), 0);
}

TEST_F(ModuleTest, GlobalsWordAfterUnloadIsRefused) {
  startUnlocked();
  void* stale = host->globals();
  ASSERT_EQ(host->unload(), kNoErr);
  SPInterfaceMessage message{};
  // A host that kept the old pointer: refused, nothing touched.
  message.d.self = host->pluginRef();
  message.d.globals = stale;
  message.d.basic = const_cast<SPBasicSuite*>(host->basicSuite());
  std::string error;
  const std::unique_ptr<hostapp::LoadedModule> same = loader.load(MIRTIL_MODULE_PATH, error);
  ASSERT_NE(same, nullptr) << error;
  const auto entry = reinterpret_cast<PluginMainProc>(same->findSymbol("PluginMain"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(kSPInterfaceCaller, kSPInterfaceAboutSelector, &message), HOST_FOURCC('P', 'A', 'R', 'M'));
  EXPECT_EQ(message.d.globals, stale);
  EXPECT_EQ(host->globals(), nullptr);
}

TEST_F(ModuleTest, ClockFiresTheTimerWhenItsPeriodElapses) {
  ASSERT_EQ(host->startup(), kNoErr);
  host->setDocumentOpen(true);
  const std::optional<AIErr> chosen = host->chooseMenuItem(host->menuItemHandle(1));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, kNoErr);
  EXPECT_TRUE(host->menuItems()[1].checked);
  EXPECT_TRUE(host->timers()[0].active);
  EXPECT_EQ(host->timers()[0].period, 30);  // half a second
  host->advanceClock(29);
  EXPECT_TRUE(host->timers()[0].active);
  // The step finds no mirror-tile object and schedules nothing more.
  host->advanceClock(1);
  EXPECT_FALSE(host->timers()[0].active);
  EXPECT_EQ(host->clock(), 30);
}

TEST_F(ModuleTest, ModuleCursorsAreFoundThroughThePlatform) {
  const auto module = static_cast<HINSTANCE>(host->moduleHandle());
  for (unsigned short id : {116, 118, 119}) EXPECT_NE(LoadCursorA(module, MAKEINTRESOURCEA(id)), nullptr) << id;
  EXPECT_EQ(LoadCursorA(module, MAKEINTRESOURCEA(117)), nullptr);
}

}  // namespace
