/*
 * The messages the host sends to a plug-in's entry point: caller and
 * selector texts, and the records passed with them. Every record starts
 * with the same four-word head.
 *
 * What holds for every message:
 * - The host calls the entry point on its one thread and waits for the
 *   answer; the plug-in calls suites only until it answers (HostSuites.h).
 * - A message sent while no undo step is open is one step of its own,
 *   with the document changes it makes and the updates that follow it;
 *   the messages of a tool drag and of a host edit join that one's step.
 * - After the answer, except to Shutdown and Unload, each plug-in art
 *   object of the plug-in's plugin groups that is marked dirty is sent
 *   ("AI Plugin Group", "AI Update"), each a message of its own.
 * - The answer is 0 or a code, which goes back unchanged to whatever had
 *   the host send the message. The host acts on no answers but those the
 *   records below name, so a message the plug-in does not handle it may
 *   answer with 0. Besides the messages it sends in its work, named
 *   below, the host's validator sends every caller with every selector,
 *   unknown texts too, with records whose handles may be null or not the
 *   plug-in's.
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
  int32_t SPCheck;            /* 'SPMD'; not read by the plug-in */
  SPPluginRef self;           /* the host's handle of this plug-in, for suite calls taking self or plugin */
  void* globals;              /* the plug-in's own pointer: what it left here at its last answer, null at first */
  struct SPBasicSuite* basic; /* the basic suite, through which every other suite is acquired */
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

/* Times and operation codes of the plugin-group notify-edits message. The
 * host sends the before and after times; check and during come only from
 * its validator. */
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

/* The messages that carry only the head:
 * - ("SP Interface", "Startup"): the first message after loading. The
 *   plug-in acquires its suites and registers its menu items, tools,
 *   timers, notifiers and plugin groups, and may lock itself in memory
 *   (SPAccessSuite.AcquirePlugin). An answer other than 0 is a failed
 *   start-up: the host answers that code and sends no application-started
 *   notification. Before such an answer the plug-in releases every suite
 *   it acquired: the host may then unload it.
 * - ("SP Interface", "Shutdown"): the host quits. The plug-in releases
 *   every suite it holds, and has freed its blocks of the basic suite by
 *   the Unload that follows; the host may unload it even when it is
 *   locked.
 * - ("SP Access", "Unload"): the library is about to be unloaded; not sent
 *   (the host's unload answers 'LOCK') while the plug-in is locked in
 *   memory, unless the host is quitting. What the plug-in registered stays
 *   registered. It frees its globals and leaves the head's globals null:
 *   the host sends Reload only to a plug-in whose globals are null.
 * - ("SP Access", "Reload"): the library is back after an Unload. The
 *   plug-in sets up its globals again and registers nothing again: its
 *   registrations are still the host's.
 * - ("SP Interface", "About"): the plug-in may show its about dialog.
 * - Purge, Properties, Filter, File Format and Live Effect messages: only
 *   the host's validator sends them. */
typedef struct SPInterfaceMessage {
  SPMessageData d;
} SPInterfaceMessage;
typedef SPInterfaceMessage SPAccessMessage;

/* ("AI Notifier", "AI Notify"): kAIApplicationStartedNotifier, after a
 * start-up answered with 0, to each active notifier of that type in the
 * order they were added. An answer other than 0 ends the start-up with
 * that code: later notifiers hear nothing. */
typedef struct AINotifierMessage {
  SPMessageData d;
  AINotifierHandle notifier; /* as AddNotifier gave it */
  const char* type;          /* the notification type, a text */
  void* notifyData;          /* null for the application-started notification */
} AINotifierMessage;

/* ("AI Menu", "AI Go"): the user chose the item; sent only while it is
 * enabled. The answer goes back to the user's choice. The menu's
 * "AI Update" selector comes only from the validator. */
typedef struct AIMenuMessage {
  SPMessageData d;
  AIMenuItemHandle menuItem; /* the chosen item */
} AIMenuMessage;

/* ("AI Timer", "AI Go"): each time the period of the active timer ends;
 * the next period has already begun. The answer is not acted on. */
typedef struct AITimerMessage {
  SPMessageData d;
  AITimerHandle timer;
} AITimerMessage;

/* ("AI Tool", ...): the user's work with the tool.
 * - "AI Mouse Down" opens the drag's undo step and marks it: the undo
 *   suite's UndoChanges goes back to this point. "AI Mouse Drag" follows
 *   at each point of the drag, "AI Mouse Up" at its end, after which the
 *   drag's changes are one undo step (none when it left nothing).
 * - "AI Track Cursor": the pointer moves over the document with the tool;
 *   the plug-in may set the cursor.
 * - "AI Edit Options": a double click on the tool (cursor 0, 0); the
 *   plug-in may show its options dialog.
 * - "AI Select", "AI Deselect" and "AI Reselect" come only from the
 *   validator.
 * The answers are not acted on: a drag goes on whatever the plug-in
 * answers. */
typedef struct AIToolMessage {
  SPMessageData d;
  AIToolHandle tool;  /* as AddTool gave it */
  AIRealPoint cursor; /* document points */
  AIReal pressure;    /* 1: the host knows no pressure */
} AIToolMessage;

/* ("AI Plugin Group", ...) about one plug-in art object of the plug-in's
 * groups.
 * - "AI Update": the art was marked dirty (by the plug-in, or by the host
 *   after an edit). The plug-in rebuilds its result group from its edit
 *   group and its dictionary; time and code are null, subCode 0. The
 *   answer is not acted on.
 * - "AI Notify Edits": only for groups added with
 *   kPluginGroupWantsNotifyEditsOption, around the host's own edits of the
 *   art (moving, transforming, moving a point of the edit art, painting),
 *   in the edit's undo step. First at kAIBeforeOperationTime with
 *   kAIGeometryOperationCode or kAIStyleOperationCode: the plug-in answers
 *   0 to let the edit be made, kWantsAfterMsgPluginGroupErr ('AFTR') to
 *   let it be made and hear of it afterwards, any other code to refuse it
 *   (nothing is changed and the edit answers that code). Having answered
 *   'AFTR', it hears kAIAfterOperationTime with the same code once the
 *   edit is made, and for a free transformation, a point moved or paint
 *   once more with kAIChangeOperationCode and its sub-code
 *   (kAIPluginArtChangeSubCode for the free transformation, else 0); the
 *   first of those answers other than 0 is the edit's answer, the edit
 *   staying made. Then the art is marked dirty and updated. */
typedef struct AIPluginGroupMessage {
  SPMessageData d;
  AIPluginGroupHandle entry; /* the art's plugin group */
  AIArtHandle art;           /* the plug-in art */
  const char* time;
  const char* code;
  int32_t subCode; /* 0 when absent */
} AIPluginGroupMessage;

#ifdef __cplusplus
}
#endif

#endif
