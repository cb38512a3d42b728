#ifndef COMMON_MIRTILPLUGIN_H
#define COMMON_MIRTILPLUGIN_H

// The product's plug-in object: registers the "Rotate Mirrortiles" command,
// the animation timer, the mirror-tile plugin group and the "Mirrortile"
// tool, and serves the messages that reach them.

#include <cstdint>

#include "MirtilNames.h"
#include "framework/Plugin.h"

// Number of menu items the product adds.
constexpr int ADDS_MENU = 1;

// A pending timer action: gets the place for the delay, in milliseconds, after
// which it wants to run again (left 0 for no further run).
using TimerAction = AIErr (*)(uint32_t* next_delay);

// Tool drag modes.
enum MirtilToolMode : int32_t {
  kToolModeNone = 0,
  kToolModeCreate = 1,
  kToolModeReAlign = 2
};

class MirtilPlugin : public Plugin {
 public:
  explicit MirtilPlugin(SPPluginRef pluginRef);
  ~MirtilPlugin() override;

  AIErr Startup(SPInterfaceMessage* message) override;
  AIErr Shutdown(SPInterfaceMessage* message) override;
  AIErr UpdateMenu(AIMenuMessage* message) override;
  AIErr PluginGroupUpdate(AIPluginGroupMessage* message) override;
  AIErr PluginGroupNotify(AIPluginGroupMessage* message) override;
  AIErr About(SPInterfaceMessage* message) override;
  AIErr GoMenu(AIMenuMessage* message) override;
  AIErr GoTimer(AITimerMessage* message) override;
  AIErr EditToolOptions(AIToolMessage* message) override;
  AIErr TrackToolCursor(AIToolMessage* message) override;
  AIErr ToolMouseDown(AIToolMessage* message) override;
  AIErr ToolMouseDrag(AIToolMessage* message) override;
  AIErr ToolMouseUp(AIToolMessage* message) override;
  AIErr SelectTool(AIToolMessage* message) override;
  AIErr DeselectTool(AIToolMessage* message) override;
  AIErr ReselectTool(AIToolMessage* message) override;

  // Runs action once the timer has waited ms milliseconds; 'PARM' for a
  // zero delay or a null action.
  AIErr CallThisAfter(TimerAction action, uint32_t ms);
  void StopTimer();

 private:
  AIErr AddMenu(SPInterfaceMessage* message);
  AIErr AddTimers(SPInterfaceMessage* message);
  AIErr addPluginGroup(SPInterfaceMessage* message);
  AIErr AddTool(SPInterfaceMessage* message);

  AIMenuItemHandle menuItems[ADDS_MENU];  // entry 0: "Rotate Mirrortiles"
  int32_t thismenuitem;                   // next free entry of menuItems
  AITimerHandle timer;                    // the animation timer
  TimerAction tocall;                     // pending timer action, or null
  AIPluginGroupHandle pig_handle;         // the mirror-tile plugin group
  int32_t toolMode;                       // what the current drag does (MirtilToolMode)
  AIRealPoint startingPoint;              // press point of the current drag
};

// Makes cursor resource cursorId of this library current; any failure leaves
// the cursor as it was.
void SetToolCursor(SPPluginRef self, uint16_t cursorId);

// True when the current layer is visible and editable; a failing host call
// is reported and answers false.
bool CurrentLayerUsable();

// One step of the rotation animation: turns every mirror-tile object the
// user neither works on nor hides; asks for the next step after the
// "Delay" preference when there was any object.
AIErr AutoRotateAllMirtils(uint32_t* next_delay);

// The point the object turns about: the reference point of its type (cnj,
// or the centre for "Sweep") moved by its stored offset.
AIErr ReadMirtilPivot(AIArtHandle art, AIRealPoint* pivot);

// Fix-ups after the host edited an object; each leaves other art alone.
AIErr EnsureCentrePointsCoinc(AIArtHandle art);
AIErr EnsureMirtilNoStyle(AIArtHandle art);
AIErr SolveFreeTransformFix(AIArtHandle art);

// The preferences dialog's procedures; its user data is the place of the
// packed transfer value.
AIErr PrefsDialogInit(ADMDialogRef dialog);
void PrefsOkNotify(ADMItemRef item, ADMNotifierRef notifier);
// Prepares an integer edit field showing value limited to min..max.
void SetupIntItem(ADMItemRef item, int32_t units, int32_t precision, int32_t min, int32_t max,
                  int32_t value);

#endif
