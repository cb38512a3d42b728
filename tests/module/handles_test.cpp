// Every handle the application hands out is checked by kind and age: one of
// another kind, of an object since gone, or made up is answered with the
// host's error (or nothing) and never followed.

#include "hostcore/Handles.h"

#include <gtest/gtest.h>

#include <memory>

#include "hostapp/Dialogs.h"
#include "hostapp/HostApplication.h"
#include "hostposix/DlopenModuleLoader.h"

namespace {

// The same slot of a handle with the generation after its own.
template <typename Handle>
Handle Aged(Handle handle, hostcore::HandleKind kind) {
  hostcore::DecodedHandle h;
  EXPECT_TRUE(hostcore::readHandle(handle, kind, h));
  return hostcore::makeHandle<Handle>(kind, h.index, (h.generation + 1) & hostcore::handle_layout::kGenerationMask);
}

template <typename Handle, typename Other>
Handle Foreign(Other other) {
  return reinterpret_cast<Handle>(other);
}

class HandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<hostapp::HostApplication>(loader);
    ASSERT_TRUE(host->loadModule(MIRTIL_MODULE_PATH)) << host->loadError();
    ASSERT_EQ(host->startup(), kNoErr);
    ASSERT_FALSE(host->menuItems().empty());
    ASSERT_FALSE(host->timers().empty());
    ASSERT_FALSE(host->tools().empty());
    ASSERT_FALSE(host->notifiers().empty());
    ASSERT_FALSE(host->icons().empty());
    menu = host->menuItemHandle(0);
    timer = host->timerHandle(0);
    tool = host->toolHandle(0);
    notifier = host->notifierHandle(0);
  }
  void TearDown() override {
    host->shutdown();
    host->unload();
  }
  template <typename Suite>
  const Suite* suite(const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(host->core().acquireSuite(name, version, &table), kNoErr) << name;
    return static_cast<const Suite*>(table);
  }

  hostposix::DlopenModuleLoader loader;
  std::unique_ptr<hostapp::HostApplication> host;
  AIMenuItemHandle menu = nullptr;
  AITimerHandle timer = nullptr;
  AIToolHandle tool = nullptr;
  AINotifierHandle notifier = nullptr;
};

TEST_F(HandleTest, MenuItemsRefuseOtherKindsAndAges) {
  const auto* menus = suite<AIMenuSuite>(kAIMenuSuite, kAIMenuSuiteVersion);
  AIBoolean checked = false;
  EXPECT_EQ(menus->IsItemChecked(menu, &checked), kNoErr);
  EXPECT_EQ(menus->IsItemChecked(Foreign<AIMenuItemHandle>(timer), &checked), kHostStaleHandleErr);
  EXPECT_EQ(menus->IsItemChecked(Aged(menu, hostcore::HandleKind::MenuItem), &checked), kHostStaleHandleErr);
  EXPECT_EQ(menus->CheckItem(Foreign<AIMenuItemHandle>(uintptr_t{1}), true), kHostStaleHandleErr);
  EXPECT_EQ(host->menuItemHandle(host->menuItems().size()), nullptr);
  EXPECT_FALSE(host->chooseMenuItem(Foreign<AIMenuItemHandle>(tool)).has_value());
}

TEST_F(HandleTest, TimersRefuseOtherKindsAndAges) {
  const auto* timers = suite<AITimerSuite>(kAITimerSuite, kAITimerSuiteVersion);
  int32_t period = 0;
  EXPECT_EQ(timers->GetTimerPeriod(timer, &period), kNoErr);
  EXPECT_EQ(timers->GetTimerPeriod(Foreign<AITimerHandle>(menu), &period), kHostStaleHandleErr);
  EXPECT_EQ(timers->SetTimerActive(Aged(timer, hostcore::HandleKind::Timer), true), kHostStaleHandleErr);
  EXPECT_EQ(host->timer(Foreign<AITimerHandle>(notifier)), nullptr);
}

TEST_F(HandleTest, NotifiersRefuseOtherKindsAndAges) {
  const auto* notifiers = suite<AINotifierSuite>(kAINotifierSuite, kAINotifierSuiteVersion);
  EXPECT_EQ(notifiers->SetNotifierActive(notifier, true), kNoErr);
  EXPECT_EQ(notifiers->SetNotifierActive(Foreign<AINotifierHandle>(timer), false), kHostStaleHandleErr);
  EXPECT_EQ(notifiers->SetNotifierActive(Aged(notifier, hostcore::HandleKind::Notifier), false), kHostStaleHandleErr);
  EXPECT_TRUE(host->notifiers()[0].active);
}

TEST_F(HandleTest, ToolsAndIconsRefuseOtherKindsAndAges) {
  const auto* tools = suite<AIToolSuite>(kAIToolSuite, kAIToolSuiteVersion);
  const auto* icons = suite<ADMIconSuite>(kADMIconSuite, kADMIconSuiteVersion);
  const ADMIconRef icon = icons->GetFromResource(host->pluginRef(), host->icons()[0].resourceID, 0);
  EXPECT_EQ(icons->GetType(icon), hostapp::kLoadedIconType);
  EXPECT_EQ(icons->GetType(Foreign<ADMIconRef>(tool)), kADMUnknownIconType);
  EXPECT_EQ(icons->GetWidth(Aged(icon, hostcore::HandleKind::Icon)), 0);

  EXPECT_EQ(tools->SetToolRolloverIcon(tool, icon), kNoErr);
  EXPECT_EQ(tools->SetToolRolloverIcon(Foreign<AIToolHandle>(menu), icon), kHostStaleHandleErr);
  EXPECT_EQ(tools->SetToolRolloverIcon(Aged(tool, hostcore::HandleKind::Tool), icon), kHostStaleHandleErr);
  // An icon handle of another kind leaves the tool without an icon.
  EXPECT_EQ(tools->SetToolRolloverIcon(tool, Foreign<ADMIconRef>(timer)), kNoErr);
  EXPECT_EQ(host->tools()[0].rolloverIconID, -1);
}

TEST_F(HandleTest, AppContextsArePoppedInnermostFirstAndOnlyOnce) {
  const auto* contexts = suite<AIContextSuite>(kAIContextSuite, kAIContextSuiteVersion);
  AIAppContextHandle outer = nullptr, inner = nullptr;
  ASSERT_EQ(contexts->PushAppContext(host->pluginRef(), &outer), kNoErr);
  ASSERT_EQ(contexts->PushAppContext(host->pluginRef(), &inner), kNoErr);
  EXPECT_EQ(contexts->PopAppContext(outer), kHostBadParameterErr);
  EXPECT_EQ(contexts->PopAppContext(Foreign<AIAppContextHandle>(menu)), kHostBadParameterErr);
  EXPECT_EQ(contexts->PopAppContext(inner), kNoErr);
  ASSERT_EQ(contexts->PushAppContext(host->pluginRef(), &inner), kNoErr);  // the same depth again
  EXPECT_EQ(contexts->PopAppContext(Aged(inner, hostcore::HandleKind::AppContext)), kHostBadParameterErr);
  EXPECT_EQ(contexts->PopAppContext(inner), kNoErr);
  EXPECT_EQ(contexts->PopAppContext(inner), kHostBadParameterErr);  // popped already
  EXPECT_EQ(contexts->PopAppContext(outer), kNoErr);
  EXPECT_EQ(host->contextDepth(), 0);
}

// Dialogs and their items: handles live while the dialog is open.
const ResourceDialogItem kItems[] = {{1, kDialogItemPushButton, "OK", 0, 0, 10, 10, 0, 0},
                                     {7, kDialogItemEditText, "text", 0, 20, 10, 10, 0, 0}};
const ResourceDialog kTemplate = {"", 100, 100, "", 8, 0, 2, kItems};

struct Seen {
  ADMDialogRef dialog = nullptr;
  ADMItemRef item = nullptr;
  int32_t itemID = 0;
  ADMDialogRef itemsDialog = nullptr;
  ADMItemRef wrongKind = nullptr;
  ADMItemRef wrongAge = nullptr;
  ADMDialogRef dialogAsItemsDialog = nullptr;
};
Seen seen;

AIErr Init(ADMDialogRef dialog) {
  const auto& dialogs = hostapp::DialogHost::dialogSuite();
  const auto& items = hostapp::DialogHost::itemSuite();
  seen.dialog = dialog;
  seen.item = dialogs.GetItem(dialog, 7);
  seen.itemID = items.GetID(seen.item);
  seen.itemsDialog = items.GetDialog(seen.item);
  seen.wrongKind = dialogs.GetItem(Foreign<ADMDialogRef>(seen.item), 7);
  seen.wrongAge = dialogs.GetItem(Aged(dialog, hostcore::HandleKind::Dialog), 7);
  seen.dialogAsItemsDialog = items.GetDialog(Foreign<ADMItemRef>(dialog));
  return kNoErr;
}

TEST(DialogHandleTest, DialogsAndItemsRefuseOtherKindsAgesAndClosedDialogs) {
  hostapp::DialogHost host([](int32_t id) { return id == 5 ? &kTemplate : nullptr; });
  host.script({hostapp::DialogStep::press(1)});
  const auto& dialogs = hostapp::DialogHost::dialogSuite();
  const auto& items = hostapp::DialogHost::itemSuite();
  EXPECT_EQ(dialogs.Modal(nullptr, "test", 5, 0, Init, nullptr, 0), 1);
  EXPECT_EQ(seen.itemID, 7);
  EXPECT_EQ(seen.itemsDialog, seen.dialog);
  EXPECT_EQ(seen.wrongKind, nullptr);
  EXPECT_EQ(seen.wrongAge, nullptr);
  EXPECT_EQ(seen.dialogAsItemsDialog, nullptr);
  // Closed: its handles find nothing, also when another dialog opens in its slot.
  EXPECT_EQ(items.GetID(seen.item), kDialogItemNoID);
  const Seen first = seen;
  host.script({hostapp::DialogStep::press(1)});
  EXPECT_EQ(dialogs.Modal(nullptr, "again", 5, 0, Init, nullptr, 0), 1);
  EXPECT_NE(seen.dialog, first.dialog);
  EXPECT_NE(seen.item, first.item);
}

}  // namespace
