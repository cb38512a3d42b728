#ifndef COMMON_MIRTILPLUGIN_H
#define COMMON_MIRTILPLUGIN_H

// The product's plug-in object: registers the "Rotate Mirrortiles" command,
// the animation timer, the mirror-tile plugin group and the "Mirrortile"
// tool, and serves the messages that reach them.

#include <cstdint>

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

#endif
