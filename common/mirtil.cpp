// The product's plug-in object: its start-up registrations, shutdown, menu
// update and the tool cursor.

#include <cstring>
#include <new>

#include "MirtilPlugin.h"
#include "framework/CheckedCall.h"
#include "framework/PluginSuites.h"
#include "ovlog.h"
#include "platform/winapi.h"

namespace {

constexpr int16_t kOwnToolGroup = -2;

// Turns a zero-terminated text in place into a length byte followed by the
// characters, as the host's menu takes it.
template <std::size_t Size>
unsigned char* ToLengthPrefixed(char (&text)[Size]) {
  constexpr std::size_t length = Size - 1;
  static_assert(length <= 255, "a length byte counts at most 255 characters");
  std::memmove(text + 1, text, length);
  text[0] = static_cast<char>(length);
  return reinterpret_cast<unsigned char*>(text);
}

}  // namespace

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new (std::nothrow) MirtilPlugin(pluginRef); }

MirtilPlugin::MirtilPlugin(SPPluginRef self)
    : Plugin(self),
      menuItems(),
      thismenuitem(0),
      timer(nullptr),
      tocall(nullptr),
      pig_handle(nullptr),
      toolMode(kToolModeNone),
      startingPoint() {}

MirtilPlugin::~MirtilPlugin() = default;

AIErr MirtilPlugin::Startup(SPInterfaceMessage* message) {
  const AIErr result = Plugin::Startup(message);
  if (result != kNoErr) return result;

  // Reports are for development builds; in use the log stays silent.
  set_log_output(LOG_TO_NOWHERE, nullptr);

  CHECK_CALL(AddMenu(message));
  CHECK_CALL(AddTimers(message));
  CHECK_CALL(addPluginGroup(message));
  CHECK_CALL(AddTool(message));

  // The host keeps the library loaded until it quits.
  LockPlugin(true);
  return kNoErr;
}

AIErr MirtilPlugin::AddMenu(SPInterfaceMessage* message) {
  AIMenuItemHandle mhandle = nullptr;
  AIPlatformAddMenuItemData menuData;
  menuData.groupName = "Objects";

  char separatorText[] = "-";
  menuData.itemText = ToLengthPrefixed(separatorText);
  CHECK_CALL(sAIMenu->AddMenuItem( message->d.self,"-",&menuData,0, &mhandle));

  char commandText[] = "Rotate Mirrortiles";
  menuData.itemText = ToLengthPrefixed(commandText);
  CHECK_CALL(sAIMenu->AddMenuItem( message->d.self,"Rotate Mirrortiles",&menuData,0, &mhandle));

  // A command beyond the table is still counted, so the check below reports it,
  // but never stored past the table's end.
  if (thismenuitem < ADDS_MENU) menuItems[thismenuitem] = mhandle;
  thismenuitem += 1;

  CHECK_CALL(sAIMenu->UpdateMenuItemAutomatically( mhandle,kAutoEnableMenuItemAction, 0, 0, 0, 0, kIfOpenDocument, 0 ));

  if (thismenuitem > ADDS_MENU) {
    ReportErrorBlock(FormatErrorBlock("Too many menu items were added", kCantErr, __LINE__, __FILE__,
                                      "thismenuitem > ADDS_MENU"));
    return kCantErr;
  }
  return kNoErr;
}

AIErr MirtilPlugin::AddTimers(SPInterfaceMessage* message) {
  // Period in ticks of 1/60 second: a tenth of a second.
  CHECK_CALL(sAITimer->AddTimer( message->d.self, "timerAndAgain", 60 / 10, &timer ));
  // Runs only while the animation wants a step.
  CHECK_CALL(sAITimer->SetTimerActive(timer,false));
  return kNoErr;
}

AIErr MirtilPlugin::addPluginGroup(SPInterfaceMessage* message) {
  AIAddPluginGroupData data;
  data.major = 1;
  data.minor = 2;
  data.desc = "Mirrortile";
  const int32_t options = kPluginGroupEditArtIsHandleOption | kPluginGroupWantsNotifyEditsOption;
  CHECK_CALL(sAIPluginGroup->AddAIPluginGroup(message->d.self,"ORVoMirtilPig", &data, options, &pig_handle));
  CHECK_CALL(sAIPluginGroup->SetAIPluginGroupDefaultName(pig_handle, "Mirrortile"));
  return kNoErr;
}

AIErr MirtilPlugin::AddTool(SPInterfaceMessage* message) {
  const ADMIconRef iconref = sADMIcon->GetFromResource(message->d.self, kToolIconID, 0);
  if (sADMIcon->GetType(iconref) == kADMUnknownIconType) return kIconNotLoadedErr;
  const ADMIconRef ro_iconref = sADMIcon->GetFromResource(message->d.self, kToolRolloverIconID, 0);
  if (sADMIcon->GetType(ro_iconref) == kADMUnknownIconType) return kIconNotLoadedErr;

  AIAddToolData toolData;
  toolData.title = "Mirrortile";
  toolData.tooltip = "Mirrortile";
  toolData.helpID = 0;
  toolData.normalIcon = iconref;
  toolData.sameGroupAs = kOwnToolGroup;
  toolData.sameToolsetAs = kOwnToolGroup;

  AIToolHandle tool = nullptr;
  CHECK_CALL(sAITool->AddTool(message->d.self, "Mirrortile", &toolData, (1L<<0), &tool ));
  CHECK_CALL(sAITool->SetToolRolloverIcon( tool, ro_iconref));
  return kNoErr;
}

AIErr MirtilPlugin::Shutdown(SPInterfaceMessage* message) {
  // A start-up that failed early holds no suites.
  if (sAITimer) sAITimer->SetTimerActive(timer, false);
  return Plugin::Shutdown(message);
}

AIErr MirtilPlugin::UpdateMenu(AIMenuMessage*) {
  // The host enables the command by itself while a document is open.
  return kNoErr;
}

void SetToolCursor(SPPluginRef self, uint16_t cursorId) {
  if (!sSPAccess) return;
  SPAccessRef access = nullptr;
  if (sSPAccess->GetPluginAccess(self, &access) != kNoErr) return;
  SPPlatformAccessInfo info{};
  if (sSPAccess->GetAccessInfo(access, &info) != kNoErr) return;
  const HCURSOR cursor = LoadCursorA(static_cast<HINSTANCE>(info.defaultAccess), MAKEINTRESOURCEA(cursorId));
  if (cursor) SetCursor(cursor);
}
