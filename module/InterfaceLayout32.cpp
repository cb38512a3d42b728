// The interface's records as a 32-bit Windows host lays them out: 4-byte
// pointers, single-precision reals. Compiled into the 32-bit module only;
// a record that changes shape stops the build here.
#include <cstddef>

#include "hostapi/HostAPI.h"

#define LAYOUT(type, size) static_assert(sizeof(type) == (size), #type " has the size a 32-bit host expects")
#define FIELD(type, field, offset) \
  static_assert(offsetof(type, field) == (offset), #type "." #field " lies where a 32-bit host reads it")

static_assert(sizeof(void*) == 4, "a 32-bit build");
LAYOUT(AIReal, 4);
LAYOUT(AIErr, 4);
LAYOUT(AIBoolean, 1);

// The head of every message and the records behind it.
LAYOUT(SPMessageData, 16);
FIELD(SPMessageData, SPCheck, 0);
FIELD(SPMessageData, self, 4);
FIELD(SPMessageData, globals, 8);
FIELD(SPMessageData, basic, 12);
LAYOUT(SPInterfaceMessage, 16);
LAYOUT(AINotifierMessage, 28);
FIELD(AINotifierMessage, notifier, 16);
FIELD(AINotifierMessage, type, 20);
FIELD(AINotifierMessage, notifyData, 24);
LAYOUT(AIMenuMessage, 20);
FIELD(AIMenuMessage, menuItem, 16);
LAYOUT(AITimerMessage, 20);
FIELD(AITimerMessage, timer, 16);
LAYOUT(AIToolMessage, 32);
FIELD(AIToolMessage, tool, 16);
FIELD(AIToolMessage, cursor, 20);
FIELD(AIToolMessage, pressure, 28);
LAYOUT(AIPluginGroupMessage, 36);
FIELD(AIPluginGroupMessage, entry, 16);
FIELD(AIPluginGroupMessage, art, 20);
FIELD(AIPluginGroupMessage, time, 24);
FIELD(AIPluginGroupMessage, code, 28);
FIELD(AIPluginGroupMessage, subCode, 32);

// Values the suites' functions take and fill in.
LAYOUT(AIRealPoint, 8);
FIELD(AIRealPoint, v, 4);
LAYOUT(AIRealRect, 16);
FIELD(AIRealRect, top, 4);
FIELD(AIRealRect, bottom, 12);
LAYOUT(AIRealMatrix, 24);
FIELD(AIRealMatrix, tx, 16);
LAYOUT(AIPathSegment, 28);
FIELD(AIPathSegment, in, 8);
FIELD(AIPathSegment, out, 16);
FIELD(AIPathSegment, corner, 24);
LAYOUT(AIArtSpec, 12);
FIELD(AIArtSpec, whichAttr, 4);
FIELD(AIArtSpec, attr, 8);
LAYOUT(AIColor, 20);
FIELD(AIColor, paintServer, 16);
LAYOUT(AIFillStyle, 24);
FIELD(AIFillStyle, opacity, 20);
LAYOUT(AIStrokeStyle, 28);
FIELD(AIStrokeStyle, width, 24);
LAYOUT(AIPathStyle, 60);
FIELD(AIPathStyle, fill, 4);
FIELD(AIPathStyle, stroke, 28);
FIELD(AIPathStyle, clip, 56);
FIELD(AIPathStyle, evenOdd, 57);
LAYOUT(AIPathStyleMap, 6);
LAYOUT(SPPlatformAccessInfo, 4);
LAYOUT(AIAddPluginGroupData, 12);
FIELD(AIAddPluginGroupData, desc, 8);
LAYOUT(AIPlatformAddMenuItemData, 8);
FIELD(AIPlatformAddMenuItemData, itemText, 4);
LAYOUT(AIAddToolData, 20);
FIELD(AIAddToolData, normalIcon, 12);
FIELD(AIAddToolData, sameGroupAs, 16);
FIELD(AIAddToolData, sameToolsetAs, 18);

// Suites: tables of 4-byte function pointers, in the order declared.
LAYOUT(SPBasicSuite, 5 * 4);
LAYOUT(SPAccessSuite, 4 * 4);
LAYOUT(SPPluginsSuite, 2 * 4);
LAYOUT(AINotifierSuite, 2 * 4);
LAYOUT(AIContextSuite, 2 * 4);
LAYOUT(ADMBasicSuite, 3 * 4);
LAYOUT(ADMDialogSuite, 7 * 4);
LAYOUT(ADMItemSuite, 18 * 4);
LAYOUT(ADMIconSuite, 4 * 4);
LAYOUT(AIArtSuite, 19 * 4);
LAYOUT(AIPathSuite, 6 * 4);
LAYOUT(AIGroupSuite, 2 * 4);
LAYOUT(AILayerSuite, 11 * 4);
LAYOUT(AIDictionarySuite, 16 * 4);
LAYOUT(AIArraySuite, 10 * 4);
LAYOUT(AIArtSetSuite, 5 * 4);
LAYOUT(AIPathStyleSuite, 2 * 4);
LAYOUT(AIArtStyleSuite, 5 * 4);
LAYOUT(AIPluginGroupSuite, 10 * 4);
LAYOUT(AITransformArtSuite, 1 * 4);
LAYOUT(AIRealMathSuite, 9 * 4);
LAYOUT(AIMenuSuite, 5 * 4);
LAYOUT(AIToolSuite, 2 * 4);
LAYOUT(AITimerSuite, 5 * 4);
LAYOUT(AIPreferenceSuite, 2 * 4);
LAYOUT(AIUndoSuite, 2 * 4);
