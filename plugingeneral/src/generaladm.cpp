#include "plugingeneral/generaladm.h"

#include <cstring>

#include "framework/CheckedCall.h"
#include "framework/PluginSuites.h"
#include "ovini.h"
#include "ovlog.h"

const char* const kPluginAssertion = "Plugin assertion";

namespace {

constexpr int32_t kAboutTextItem = 3;
constexpr int32_t kEndingItem = 1;
constexpr int32_t kFrameStyle = 2;

[[noreturn]] void AssertionFailed(const char* file, int line, const char* condition) {
  log_info("***assertion failed***");
  log_info(file);
  ReportErrorBlock(OvStr(line));
  log_info(condition);
  throw kPluginAssertion;
}

}  // namespace

#define ADM_ASSERT(condition) \
  do {                        \
    if (!(condition)) AssertionFailed(__FILE__, __LINE__, #condition); \
  } while (false)

AIErr AboutDialogInit(ADMDialogRef inDialog) {
  ADM_ASSERT(inDialog);
  sADMDialog->SetTrackProc(inDialog, AboutDialogTrack);
  for (ADMItemRef item = sADMDialog->GetFirstItem(inDialog); item;
       item = sADMDialog->GetNextItem(inDialog, item)) {
    sADMItem->SetTrackProc(item, AboutItemTrack);
    if (StringsEqual(sADMItem->GetItemType(item), kADMFrameType)) sADMItem->SetItemStyle(item, kFrameStyle);
  }
  const char* text = static_cast<const char*>(sADMDialog->GetUserData(inDialog));
  if (text) {
    const ADMItemRef textItem = sADMDialog->GetItem(inDialog, kAboutTextItem);
    if (textItem) sADMItem->SetText(textItem, text);
  }
  return kNoErr;
}

AIBoolean AboutDialogTrack(ADMDialogRef inDialog, ADMTrackerRef inTracker) {
  ADM_ASSERT(inDialog);
  ADM_ASSERT(inTracker);
  sADMDialog->EndModal(inDialog, kEndingItem, false);
  return true;
}

AIBoolean AboutItemTrack(ADMItemRef inItem, ADMTrackerRef inTracker) {
  ADM_ASSERT(inItem);
  ADM_ASSERT(inTracker);
  sADMDialog->EndModal(sADMItem->GetDialog(inItem), kEndingItem, false);
  return true;
}

bool StringsEqual(const char* a, const char* b) {
  ADM_ASSERT(a);
  ADM_ASSERT(b);
  return std::strcmp(a, b) == 0;
}

void UserADMAlert(OvStr msg) {
  ADM_ASSERT(!msg.IsEmpty());
  log_info((OvStr("UserADMAlert: ") + msg).CStr());
  // The setting is meant to choose a lighter alert; there is none yet, so
  // either way the user sees the error alert.
  const bool lightweight = get_BOOLEAN_from_ini(IniFileName().CStr(), "General", "ADMLightweightAlert", false);
  static_cast<void>(lightweight);
  sADMBasic->ErrorAlert(msg.CStr());
}

void UserADMInfo(OvStr msg) {
  ADM_ASSERT(!msg.IsEmpty());
  log_info((OvStr("UserADMInfo: ") + msg).CStr());
  sADMBasic->MessageAlert(msg.CStr());
}

bool UserADMQuestion(OvStr qn) {
  ADM_ASSERT(!qn.IsEmpty());
  const int32_t answer = sADMBasic->QuestionAlert(qn.CStr());
  log_info(OvStr("UserADMQuestion: %s: Answer:%d", qn.CStr(), static_cast<int>(answer)).CStr());
  return answer == 1;
}
