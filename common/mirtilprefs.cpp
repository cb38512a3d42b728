// The preferences dialog, opened as the tool's options: "Steps" and "Delay"
// of the animation and the "Type" of new objects, kept by the host in
// section "Mirtil". The three travel into and out of the dialog packed
// into one integer.

#include <algorithm>

#include "MirtilPlugin.h"
#include "framework/CheckedCall.h"
#include "framework/PluginSuites.h"
#include "ovaimirtilpig.h"

namespace {

constexpr int32_t kMinSteps = 1;
constexpr int32_t kMaxSteps = 360;
constexpr int32_t kMinDelay = 1;
constexpr int32_t kMaxDelay = 50;

struct PrefsValues {
  int32_t steps;
  int32_t delay;
  int32_t type;
};

int32_t Pack(const PrefsValues& values) {
  return values.type * 1000 * 1000 + values.delay * 1000 + values.steps;
}

PrefsValues Unpack(int32_t value) {
  return PrefsValues{value % 1000, (value / 1000) % 1000, value / 1000000};
}

}  // namespace

AIErr MirtilPlugin::EditToolOptions(AIToolMessage* message) {
  int32_t steps = 90;
  int32_t delay = 5;
  int32_t type = kMirtilSweep;
  CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Steps",&steps));
  CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Delay",&delay));
  CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Type",&type));

  // Each field holds three decimal digits: a value outside its range would
  // carry into the next field. The dialog limits them to these ranges anyway.
  int32_t transfer = Pack(PrefsValues{std::clamp(steps, kMinSteps, kMaxSteps),
                                      std::clamp(delay, kMinDelay, kMaxDelay),
                                      type == kMirtilInPlace ? kMirtilInPlace : kMirtilSweep});

  const int32_t closedBy = sADMDialog->Modal(message->d.self, "OrvoMirPref", kPrefsDialogID, 0,
                                             PrefsDialogInit, &transfer, 0);
  if (closedBy != kOKItem) return kUserCancelledErr;

  const PrefsValues chosen = Unpack(transfer);
  steps = chosen.steps;
  delay = chosen.delay;
  type = chosen.type;
  CHECK_CALL(sAIPreference->PutIntegerPreference("Mirtil","Steps",steps));
  CHECK_CALL(sAIPreference->PutIntegerPreference("Mirtil","Delay",delay));
  CHECK_CALL(sAIPreference->PutIntegerPreference("Mirtil","Type",type));
  return kNoErr;
}

AIErr PrefsDialogInit(ADMDialogRef dialog) {
  const int32_t* transfer = static_cast<const int32_t*>(sADMDialog->GetUserData(dialog));
  if (!transfer) return kNoErr;
  const PrefsValues shown = Unpack(*transfer);
  SetupIntItem(sADMDialog->GetItem(dialog, kStepsItem), 0, 0, kMinSteps, kMaxSteps, shown.steps);
  SetupIntItem(sADMDialog->GetItem(dialog, kDelayItem), 0, 0, kMinDelay, kMaxDelay, shown.delay);
  const int32_t typeItem = shown.type == kMirtilInPlace ? kInPlaceItem : kSweepItem;
  sADMItem->SetBooleanValue(sADMDialog->GetItem(dialog, typeItem), true);
  sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kOKItem), PrefsOkNotify);
  return kNoErr;
}

void SetupIntItem(ADMItemRef item, int32_t units, int32_t precision, int32_t min, int32_t max,
                  int32_t value) {
  sADMItem->SetUnits(item, units);
  sADMItem->SetPrecision(item, precision);
  sADMItem->SetMinIntValue(item, min);
  sADMItem->SetMaxIntValue(item, max);
  sADMItem->SetIntValue(item, std::min(std::max(min, value), max));
}

void PrefsOkNotify(ADMItemRef item, ADMNotifierRef notifier) {
  const ADMDialogRef dialog = sADMItem->GetDialog(item);
  // Closes the dialog with the OK result.
  sADMItem->DefaultNotify(item, notifier);
  int32_t* transfer = static_cast<int32_t*>(sADMDialog->GetUserData(dialog));
  const int32_t type =
      sADMItem->GetBooleanValue(sADMDialog->GetItem(dialog, kInPlaceItem)) ? kMirtilInPlace : kMirtilSweep;
  if (transfer) {
    *transfer = Pack(PrefsValues{sADMItem->GetIntValue(sADMDialog->GetItem(dialog, kStepsItem)),
                                 sADMItem->GetIntValue(sADMDialog->GetItem(dialog, kDelayItem)), type});
  }
}
