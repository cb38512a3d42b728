// The "Rotate Mirrortiles" command: an endless animation that turns every
// mirror-tile object the user neither works on nor hides, one step at a
// time, on the plug-in's one host timer. The command's check mark is the
// animation's on/off state.

#include <utility>

#include "MirtilArtList.h"
#include "MirtilPlugin.h"
#include "framework/CheckedCall.h"
#include "framework/PluginSuites.h"
#include "ovaimirtilpig.h"

namespace {

constexpr int32_t kDefaultSteps = 90;  // steps per full turn
constexpr int32_t kDefaultDelay = 5;   // tenths of a second between steps
constexpr double kFullTurn = 6.283185307;
}  // namespace

AIErr MirtilPlugin::GoMenu(AIMenuMessage* message) {
  if (message->menuItem != menuItems[0]) return kNoErr;
  AIBoolean checked = false;
  CHECK_CALL(sAIMenu->IsItemChecked(message->menuItem,&checked));
  if (checked) {
    CHECK_CALL(sAIMenu->CheckItem(message->menuItem,false));
    StopTimer();
    return kNoErr;
  }
  CHECK_CALL(sAIMenu->CheckItem(message->menuItem,true));
  // The first step comes half a second (500 ms) after the command.
  CHECK_CALL(CallThisAfter(AutoRotateAllMirtils,500));
  return kNoErr;
}

void MirtilPlugin::StopTimer() {
  // A pending action stays, but only the timer runs it.
  sAITimer->SetTimerActive(timer, false);
}

AIErr MirtilPlugin::CallThisAfter(TimerAction action, uint32_t ms) {
  if (ms == 0 || !action) return RefuseBadArgs("CallThisAfter");
  CHECK_CALL(sAITimer->SetTimerPeriod(timer,60 * ms / 1000));
  CHECK_CALL(sAITimer->SetTimerActive(timer,true));
  this->tocall = action;
  return kNoErr;
}

AIErr MirtilPlugin::GoTimer(AITimerMessage*) {
  CHECK_CALL(sAITimer->SetTimerActive(timer,false));
  // The report names the call "(*tocall)(&next_delay)": the local takes the
  // field's name on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
  const TimerAction tocall = std::exchange(this->tocall, nullptr);
#pragma GCC diagnostic pop
  uint32_t next_delay = 0;
  if (tocall) CHECK_CALL((*tocall)(&next_delay));
  if (next_delay != 0) CallThisAfter(tocall, next_delay);
  return kNoErr;
}

AIErr AutoRotateAllMirtils(uint32_t* next_delay) {
  int32_t steps = kDefaultSteps;
  int32_t delay = kDefaultDelay;
  CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Steps",&steps));
  CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Delay",&delay));
  // A count of steps below 1 would turn by an infinite or negative angle, a
  // delay below 1 end or stall the animation without a word.
  if (steps < 1) steps = kDefaultSteps;
  if (delay < 1) delay = kDefaultDelay;

  const MirtilArtList artlist(GetAllMirtils);
  if (artlist.Count() < 1) return kNoErr;
  const AIReal step = static_cast<AIReal>(kFullTurn / steps);
  for (int lp = 0; lp < artlist.Count(); lp++) {
    AIArtUserAttr attr = 0;
    AILayerHandle layer = nullptr;
    AIBoolean layereditable = false;
    AIBoolean layervisible = false;
    CHECK_CALL(sAIArt->GetArtUserAttr(artlist[lp],kArtSelected|kArtLocked|kArtHidden,&attr));
    CHECK_CALL(sAIArt->GetLayerOfArt(artlist[lp],&layer));
    CHECK_CALL(sAILayer->GetLayerEditable(layer,&layereditable));
    CHECK_CALL(sAILayer->GetLayerVisible(layer,&layervisible));
    // Objects the user works on, or cannot see or change, stand still.
    if (layereditable && layervisible && attr == 0) {
      RotateMirtilPIG(artlist[lp], step);
      sAIPluginGroup->MarkPluginArtDirty(artlist[lp]);
    }
  }
  CHECK_CALL(sAIUndo->SetSilent(true));
  if (next_delay) *next_delay = static_cast<uint32_t>(delay) * 100;
  return kNoErr;
}
