/*
 * The messages the host sends to a plug-in's entry point: caller and
 * selector texts, and the records passed with them. Every record starts
 * with the same four-word head.
 */
#ifndef MIRTIL_HOSTAPI_HOSTMESSAGES_H
#define MIRTIL_HOSTAPI_HOSTMESSAGES_H

#include "HostTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

struct SPBasicSuite;

/* The head of every message record. */
typedef struct SPMessageData {
  int32_t SPCheck;            /* not read by the plug-in */
  SPPluginRef self;           /* the host's handle of this plug-in */
  void* globals;              /* the plug-in's own pointer, kept by the host */
  struct SPBasicSuite* basic; /* the basic suite */
} SPMessageData;

/* Signature of the entry point every plug-in module exports. */
typedef AIErr (*PluginMainProc)(const char* caller, const char* selector, void* message);
#define kPluginMainName "PluginMain"

/* ---- Callers and selectors -------------------------------------------- */
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"

#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceAboutSelector "About"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceShutdownSelector "Shutdown"

#define kSPCacheCaller "SP Cache"
#define kSPPluginPurgeCachesSelector "Plug-in Purge"

#define kSPPropertiesCaller "SP Properties"
#define kSPPropertiesAcquireSelector "Acquire"
#define kSPPropertiesReleaseSelector "Release"

#define kCallerAINotifier "AI Notifier"
#define kSelectorAINotify "AI Notify"

#define kCallerAIMenu "AI Menu"
#define kSelectorAIGoMenuItem "AI Go"
#define kSelectorAIUpdateMenuItem "AI Update"

#define kCallerAIFilter "AI Filter"
#define kSelectorAIGetFilterParameters "AI Get Parameters"
#define kSelectorAIGoFilter "AI Go"

#define kCallerAIPluginGroup "AI Plugin Group"
#define kSelectorAINotifyEdits "AI Notify Edits"
#define kSelectorAIUpdateArt "AI Update"

#define kCallerAIFileFormat "AI File Format"
#define kSelectorAIGetFileFormatParameters "AI Get Parameters"
#define kSelectorAIGoFileFormat "AI Go"
#define kSelectorAICheckFileFormat "AI Check"

#define kCallerAITool "AI Tool"
#define kSelectorAIEditToolOptions "AI Edit Options"
#define kSelectorAITrackToolCursor "AI Track Cursor"
#define kSelectorAIToolMouseDown "AI Mouse Down"
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
#define kSelectorAIToolMouseUp "AI Mouse Up"
#define kSelectorAISelectTool "AI Select"
#define kSelectorAIDeselectTool "AI Deselect"
#define kSelectorAIReselectTool "AI Reselect"

#define kCallerAILiveEffect "AI Live Effect"
#define kSelectorAIEditLiveEffectParameters "AI Live Effect Edit Parameters"
#define kSelectorAIGoLiveEffect "AI Live Effect Go Live"
#define kSelectorAILiveEffectInterpolate "AI Live Effect Interpolate Parameters"
#define kSelectorAILiveEffectInputType "AI Live Effect Input Type"

#define kCallerAITimer "AI Timer"
#define kSelectorAIGoTimer "AI Go"

/* Notification types. */
#define kAIApplicationStartedNotifier "AI Application Started Notifier"

/* Times and operation codes of the plugin-group notify-edits message. */
#define kAICheckOperationTime "AI Check Operation Time"
#define kAIBeforeOperationTime "AI Before Operation Time"
#define kAIAfterOperationTime "AI After Operation Time"
#define kAIDuringOperationTime "AI During Operation Time"
#define kAIGeometryOperationCode "AI Geometry Operation Code"
#define kAIStyleOperationCode "AI Style Operation Code"
#define kAIChangeOperationCode "AI Change Operation Code"
/* Sub-code of a change that the host made to plug-in art as a whole
 * (a free transformation). */
#define kAIPluginArtChangeSubCode HOST_FOURCC('P', 'L', 'U', 'G')

/* ---- Records ------------------------------------------------------------ */

/* Startup, Shutdown, About, Unload, Reload, Purge, Properties, Filter,
 * File Format and Live Effect messages carry only the head here. */
typedef struct SPInterfaceMessage {
  SPMessageData d;
} SPInterfaceMessage;
typedef SPInterfaceMessage SPAccessMessage;

typedef struct AINotifierMessage {
  SPMessageData d;
  AINotifierHandle notifier;
  const char* type; /* the notification type, a text */
  void* notifyData;
} AINotifierMessage;

typedef struct AIMenuMessage {
  SPMessageData d;
  AIMenuItemHandle menuItem; /* the chosen item */
} AIMenuMessage;

typedef struct AITimerMessage {
  SPMessageData d;
  AITimerHandle timer;
} AITimerMessage;

typedef struct AIToolMessage {
  SPMessageData d;
  AIToolHandle tool;
  AIRealPoint cursor; /* document points */
  AIReal pressure;
} AIToolMessage;

/* Update ("AI Update") and notify-edits ("AI Notify Edits") messages. The
 * time, code and sub-code are set for notify-edits only. */
typedef struct AIPluginGroupMessage {
  SPMessageData d;
  AIPluginGroupHandle entry;
  AIArtHandle art;
  const char* time;
  const char* code;
  int32_t subCode; /* 0 when absent */
} AIPluginGroupMessage;

#ifdef __cplusplus
}
#endif

#endif
