/*
 * The host's suites: tables of functions handed out by name and version
 * through the basic suite. Function names follow the calls as the
 * plug-in writes them (sAIArt->GetArtFirstChild(edit,&edititem)).
 * Suites whose functions the plug-in never calls are declared without
 * a body: the plug-in acquires them, but never looks inside.
 *
 * What holds for every function below unless its comment says otherwise:
 * - Codes. 0 on success; 'PARM' (kHostBadParameterErr) for a null pointer
 *   or an argument out of range; 'STAL' (kHostStaleHandleErr) for a handle
 *   of another kind, of an object since gone, or never issued. Any call
 *   may instead answer the code of a fault the host was told to inject,
 *   changing nothing (except where the basic, dialog and item suites say
 *   otherwise). Functions without a code answer null, 0 or false, and do
 *   nothing, where one with a code would have failed.
 * - Ownership. Texts and records passed in are copied before the call
 *   returns. Handles handed out belong to the host and stay valid as long
 *   as their object; the plug-in gives back only what a comment says it
 *   must (suites, blocks, dictionary and array references, art sets).
 * - When. Only while the plug-in handles a message of the host, on the
 *   thread that sent it; `self` and `plugin` are the plug-in reference of
 *   that message's head (another answers 'PARM').
 */
#ifndef MIRTIL_HOSTAPI_HOSTSUITES_H
#define MIRTIL_HOSTAPI_HOSTSUITES_H

#include "HostTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ======================================================================
 * SP suites
 * ==================================================================== */

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4
/* Injected faults reach only AcquireSuite (an acquisition made to fail,
 * 'S!FD' unless told otherwise) and AllocateBlock ('!MEM'); the other
 * functions are never made to fail. */
typedef struct SPBasicSuite {
  /* Hands out the suite of that name and version in *suite; each
   * acquisition is released with ReleaseSuite. 'S!FD' when the host has
   * no such suite (or the version differs). */
  AIErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
  /* Gives back one acquisition. 'PARM' for a null name, 'S!FD' for an
   * unknown suite, 'SBSY' for a suite not held. */
  AIErr (*ReleaseSuite)(const char* name, int32_t version);
  /* Non-zero when the two texts are equal; 0 when either is null. */
  AIBoolean (*IsEqual)(const char* token1, const char* token2);
  /* A block of at least size bytes (one for 0) in *block, which the
   * plug-in frees with FreeBlock; *block is null and the answer '!MEM'
   * when none can be had. 'PARM' for a null block. */
  AIErr (*AllocateBlock)(size_t size, void** block);
  /* Frees a block from AllocateBlock; null is 0 and does nothing, a block
   * the host never gave out (or freed already) 'PARM'. */
  AIErr (*FreeBlock)(void* block);
} SPBasicSuite;

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3
/* What the platform knows of a loaded plug-in: its module handle. */
typedef struct SPPlatformAccessInfo {
  void* defaultAccess;
} SPPlatformAccessInfo;
typedef struct SPAccessSuite {
  /* Locks the plug-in's library in memory: until each lock is released
   * with ReleasePlugin, the host refuses to unload it ('LOCK' from the
   * host's unload) except when quitting. */
  AIErr (*AcquirePlugin)(SPPluginRef plugin, SPAccessRef* access);
  /* Releases one lock; 'PARM' for another access or when none is held. */
  AIErr (*ReleasePlugin)(SPAccessRef access);
  /* The plug-in's access in *access, without a lock. */
  AIErr (*GetPluginAccess)(SPPluginRef plugin, SPAccessRef* access);
  /* The module handle of the plug-in's library in info->defaultAccess
   * (the handle its resources are loaded from). */
  AIErr (*GetAccessInfo)(SPAccessRef access, SPPlatformAccessInfo* info);
} SPAccessSuite;

#define kSPPluginsSuite "SP Plug-ins Suite"
#define kSPPluginsSuiteVersion 4
typedef struct SPPluginsSuite {
  /* Names the plug-in (copied). */
  AIErr (*SetPluginName)(SPPluginRef plugin, const char* name);
  /* The name in *name, valid until the next SetPluginName; empty until set. */
  AIErr (*GetPluginName)(SPPluginRef plugin, const char** name);
} SPPluginsSuite;

/* Acquired, never called (see the end of this header). */
#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2
typedef struct SPBlocksSuite SPBlocksSuite;

/* ======================================================================
 * Application suites used by the framework
 * ==================================================================== */

#define kAINotifierSuite "AI Notifier Suite"
#define kAINotifierSuiteVersion 2
typedef struct AINotifierSuite {
  /* Registers an active notifier for notifications of `type` (such as
   * kAIApplicationStartedNotifier, sent after start-up); they come as
   * ("AI Notifier", "AI Notify") with this handle. Usually at start-up. */
  AIErr (*AddNotifier)(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier);
  /* An inactive notifier is sent nothing. */
  AIErr (*SetNotifierActive)(AINotifierHandle notifier, AIBoolean active);
} AINotifierSuite;

#define kAIContextSuite "AI Context Suite"
#define kAIContextSuiteVersion 3
typedef struct AIContextSuite {
  /* Enters an application context, for host calls made outside the
   * handling of a document message; popped with PopAppContext. */
  AIErr (*PushAppContext)(SPPluginRef self, AIAppContextHandle* appContext);
  /* Leaves the innermost context; 'PARM' for any other handle, also one
   * popped already. */
  AIErr (*PopAppContext)(AIAppContextHandle appContext);
} AIContextSuite;

/* ======================================================================
 * ADM suites (dialogs, items, icons, alerts)
 * ==================================================================== */

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 8
typedef struct ADMBasicSuite {
  /* Shows the text (null: empty) as an error alert and waits until the
   * user closes it. */
  void (*ErrorAlert)(const char* text);
  /* The same, as a message. */
  void (*MessageAlert)(const char* text);
  /* Asks the user; answers 1 for yes, 0 for no (and 0 when it cannot ask). */
  int32_t (*QuestionAlert)(const char* text);
} ADMBasicSuite;

/* ---- Dialogs --------------------------------------------------------
 * A dialog is open only while Modal runs: the plug-in's procedures below
 * are called from inside Modal, and the dialog and item handles they are
 * given stop working when Modal returns. For a handle of a dialog no
 * longer open, of another kind or never issued, the dialog and item
 * functions do nothing and answer null, 0, false, "" or kDialogItemNoID.
 * These two suites answer no codes, and the host's fault injection does
 * not count or fail their calls. Modal may be called during any message;
 * a procedure may itself open another dialog, which ends before the one
 * around it. */

/* Called once by Modal with the new dialog, before the user can act: sets
 * up items, procedures and values. 0 shows the dialog; any other answer
 * closes it unseen and Modal answers -1. */
typedef AIErr (*ADMDialogInitProc)(ADMDialogRef dialog);
/* Called with each event the user sends the dialog itself (SetTrackProc);
 * the answer is not read. `tracker` stands for the event; it may be
 * null, and the plug-in does not read through it. */
typedef AIBoolean (*ADMDialogTrackProc)(ADMDialogRef dialog, ADMTrackerRef tracker);
/* The same for an event on one item (ADMItemSuite.SetTrackProc). */
typedef AIBoolean (*ADMItemTrackProc)(ADMItemRef item, ADMTrackerRef tracker);
/* Called when the user clicks the item, in place of the item's own
 * reaction; DefaultNotify gives that reaction too. `notifier` stands for
 * the click; the host does not read it back. */
typedef void (*ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 5
typedef struct ADMDialogSuite {
  /* Shows the plug-in's dialog resource `dialogID` (kResourceDialog) and
   * returns when it has ended. `name` (null: none) is copied for the
   * host's record; `plugin`, `style` and `options` are not read. Calls
   * initProc (when not null), then lets the user work the dialog; userData
   * is kept for GetUserData. Answers the result the dialog was ended with
   * (EndModal; a push button's own reaction ends it with the button's id);
   * -1 when it could not be shown (no dialog resource of that id, initProc
   * answered an error, or the host has no user to show it to); -2 when the
   * user closed it without any of its items. */
  int32_t (*Modal)(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style, ADMDialogInitProc initProc,
                   ADMUserData userData, int32_t options);
  /* Ends the dialog with modalResultID, which Modal answers; the user's
   * actions stop once the procedure that called it returns (called from
   * initProc, before the user can act). The first call decides: later
   * ones change nothing. `cancelling` is not read. */
  void (*EndModal)(ADMDialogRef dialog, int32_t modalResultID, AIBoolean cancelling);
  /* The userData given to Modal. */
  ADMUserData (*GetUserData)(ADMDialogRef dialog);
  /* The procedure that hears the events sent to the dialog itself; null
   * for none (the events are then lost). */
  void (*SetTrackProc)(ADMDialogRef dialog, ADMDialogTrackProc trackProc);
  /* The first item of that id; null for kDialogItemNoID and for an id no
   * item has. */
  ADMItemRef (*GetItem)(ADMDialogRef dialog, int32_t itemID);
  /* Items in template order, also those without an id; null for a dialog
   * without items. */
  ADMItemRef (*GetFirstItem)(ADMDialogRef dialog);
  /* The item after `item`; null after the last, and for an item that is
   * not one of this dialog's. */
  ADMItemRef (*GetNextItem)(ADMDialogRef dialog, ADMItemRef item);
} ADMDialogSuite;

/* Item type names answered by ADMItemSuite.GetItemType. */
#define kADMFrameType "ADM Frame Type"
#define kADMTextStaticType "ADM Text Static Type"
#define kADMTextEditType "ADM Text Edit Type"
#define kADMPushButtonType "ADM Push Button Type"
#define kADMRadioButtonType "ADM Radio Button Type"
#define kADMPictureType "ADM Picture Static Type"

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 7
/* An item's text and whole-number value go together: a text that is a
 * whole decimal number within 32 bits, set by SetText or typed by the
 * user, also sets the value, kept within the item's limits, and the text
 * then shows the value so kept; SetIntValue sets both. Items start with
 * their template's text, value 0 and off. */
typedef struct ADMItemSuite {
  /* The dialog the item belongs to. */
  ADMDialogRef (*GetDialog)(ADMItemRef item);
  /* Its id in the template; kDialogItemNoID for an item without one. */
  int32_t (*GetID)(ADMItemRef item);
  /* One of the kADM...Type names, by the template's item kind; "" for a
   * kind the host does not know. The text is the host's, never freed. */
  const char* (*GetItemType)(ADMItemRef item);
  /* A number kept for the plug-in, 0 at first whatever the template's
   * style bits; the host does not act on it. */
  void (*SetItemStyle)(ADMItemRef item, int32_t style);
  int32_t (*GetItemStyle)(ADMItemRef item);
  /* The procedure that hears the events sent to the item; null for none. */
  void (*SetTrackProc)(ADMItemRef item, ADMItemTrackProc trackProc);
  /* The procedure a click on the item calls instead of its own reaction;
   * null gives the item its own reaction back. */
  void (*SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc notifyProc);
  /* The item's own reaction to a click: a push button ends the dialog
   * with its id (EndModal), a radio button switches on and every other
   * radio button of the dialog off; other items do nothing. `notifier` is
   * not read. */
  void (*DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
  /* Sets the text (copied), and the value when the text is a number, as
   * said above; a null text does nothing. */
  void (*SetText)(ADMItemRef item, const char* text);
  /* Copies at most maxLength - 1 characters and a terminator into text;
   * an unknown item copies "". Nothing for a null text or maxLength < 1. */
  void (*GetText)(ADMItemRef item, char* text, int32_t maxLength);
  /* Kept, not used: values and their text are whole numbers. */
  void (*SetUnits)(ADMItemRef item, int32_t units);
  void (*SetPrecision)(ADMItemRef item, int32_t precision);
  /* The limits later values are kept within (none at first); the present
   * value stays as it is. A maximum below the minimum counts as the
   * minimum. */
  void (*SetMinIntValue)(ADMItemRef item, int32_t value);
  void (*SetMaxIntValue)(ADMItemRef item, int32_t value);
  /* Sets the value, kept within the limits, and its decimal text. */
  void (*SetIntValue)(ADMItemRef item, int32_t value);
  int32_t (*GetIntValue)(ADMItemRef item);
  /* The item's on or off state (radio buttons). Unlike the user's click,
   * it leaves the dialog's other radio buttons as they are. */
  void (*SetBooleanValue)(ADMItemRef item, AIBoolean value);
  AIBoolean (*GetBooleanValue)(ADMItemRef item);
} ADMItemSuite;

/* Icon type answered for an icon that could not be loaded. */
#define kADMUnknownIconType 7
#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1
typedef struct ADMIconSuite {
  /* An icon from the plug-in's icon resource iconID; the host keeps it.
   * Never null: an icon that could not be loaded has the type
   * kADMUnknownIconType and no size. Null only when the call is failed. */
  ADMIconRef (*GetFromResource)(SPPluginRef plugin, int32_t iconID, int32_t iconIndex);
  /* The icon's type; kADMUnknownIconType for one not loaded or an unknown handle. */
  int32_t (*GetType)(ADMIconRef icon);
  /* Its size in pixels; 0 for one not loaded or an unknown handle. */
  int32_t (*GetWidth)(ADMIconRef icon);
  int32_t (*GetHeight)(ADMIconRef icon);
} ADMIconSuite;

/* Acquired, never called (see the end of this header). */
#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 3
typedef struct ADMListSuite ADMListSuite;
#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 5
typedef struct ADMEntrySuite ADMEntrySuite;
#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1
typedef struct ADMTrackerSuite ADMTrackerSuite;
#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1
typedef struct ADMNotifierSuite ADMNotifierSuite;

/* ======================================================================
 * Art and document suites
 *
 * What holds for the art, path, group, layer, dictionary, art set, path
 * style, art style, plugin group and transform suites:
 * - When. During any message. The document changes a message makes are
 *   one undo step with it and with the updates that follow it; the
 *   messages of a tool drag, from the press to the release, share one.
 *   The user's undo takes the step back and redo brings it again, art
 *   and handles alike: art brought back answers to its old handles.
 * - Locks. The host does not keep the plug-in from changing locked or
 *   hidden art or art on a layer that is not editable; these suites never
 *   answer 'LOCK'.
 * - Art. A handle of art that was disposed of answers 'STAL', as does
 *   every handle of art inside it. 'NDOC' comes only from calls that need
 *   a layer (the current one) when the document has none.
 * - Placing. NewArt, DuplicateArt, ReorderArt and CopyEntryToArt put art
 *   at a paint order: kPlaceAbove or kPlaceBelow the art `prep` (among
 *   its siblings), kPlaceInsideOnTop or kPlaceInsideOnBottom of the group
 *   or compound path `prep`, or kPlaceAboveAll or kPlaceBelowAll in the
 *   current layer (`prep` not read). 'PARM' for another paint order and
 *   for a null `prep` where one is read; 'PLAC' (kHostCantPlaceErr) for a
 *   `prep` that has no siblings (a top-level layer's own group, an edit
 *   or result group), for placing inside art that is not a group or
 *   compound path, and for anything but a path inside a compound path;
 *   'NDOC' when the current layer is needed and there is none. The edit
 *   and result groups of plug-in art are groups: art goes into them with
 *   the inside orders. '!MEM' when the new art would take the document
 *   past its limit on art objects (its art kept for undo counts too).
 * ==================================================================== */

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 10
typedef struct AIArtSuite {
  /* New art of the type (any art type, kUnknownArt too), put at the
   * paint order, in *newArt: an empty group or compound path, a
   * path with no segments, open, or plug-in art with an empty edit and
   * result group and no plugin group yet (UseAIPluginGroup). New art has
   * no name, no style and no attributes of its own. 'PARM' for a null
   * newArt or a number that is no art type (kAnyArt too). */
  AIErr (*NewArt)(AIArtType type, AIPaintOrder paintOrder, AIArtHandle prep, AIArtHandle* newArt);
  /* Takes the art, with everything inside it, out of the document.
   * 'DENY' (kHostNotAllowedErr) for a top-level layer's own group and for
   * an edit or result group; a sublayer's group goes with its sublayer.
   * References held to the dictionaries of the art stay usable until
   * released. */
  AIErr (*DisposeArt)(AIArtHandle art);
  /* The art's type (never kAnyArt). */
  AIErr (*GetArtType)(AIArtHandle art, AIArtType* type);
  /* The group the art is in; null for a top-level layer's own group. An
   * edit or result group answers its plug-in art. */
  AIErr (*GetArtParent)(AIArtHandle art, AIArtHandle* parent);
  /* The topmost art inside a group or compound path; children run from
   * the top of the stacking order downward. Null for art without
   * children, plug-in art among them (GetPluginArtEditArt reaches its
   * groups). */
  AIErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
  /* The art just below; null for the bottom one and for edit and result
   * groups. */
  AIErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
  /* The art just above; null for the top one and for edit and result
   * groups. */
  AIErr (*GetArtPriorSibling)(AIArtHandle art, AIArtHandle* sibling);
  /* Tight geometric bounds, strokes not included: a path's curve (not its
   * control points), the union of a group's or compound path's children,
   * a clipping group's clip paths (children whose path style has clip),
   * plug-in art's result group, other kinds their box as placed. Art
   * without extent answers left +inf, top -inf, right -inf, bottom +inf,
   * which overlaps nothing. */
  AIErr (*GetArtBounds)(AIArtHandle art, AIRealRect* bounds);
  /* The art's attribute bits under whichAttr in *attr; the others 0. */
  AIErr (*GetArtUserAttr)(AIArtHandle art, AIArtUserAttr whichAttr, AIArtUserAttr* attr);
  /* Sets the bits under whichAttr to those of attr, the others staying
   * (selecting art is setting kArtSelected). */
  AIErr (*SetArtUserAttr)(AIArtHandle art, AIArtUserAttr whichAttr, AIArtUserAttr attr);
  /* The innermost layer holding the art (a sublayer before its layer); a
   * layer's own group answers its layer. */
  AIErr (*GetLayerOfArt)(AIArtHandle art, AILayerHandle* layer);
  /* The layer's own group, whose children are the layer's art; a null
   * layer means the current layer ('NDOC' when there is none). */
  AIErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* art);
  /* Whether the art is a layer's own group (a sublayer's too). */
  AIErr (*IsArtLayerGroup)(AIArtHandle art, AIBoolean* isLayerGroup);
  /* A deep copy put at the paint order, in *newArt: the subtree with its
   * attributes, names, styles and dictionaries, plug-in art with its edit
   * and result groups, its plugin group and its need of an update. A copy
   * of a layer's own group is a sublayer. 'PARM' for a null newArt. */
  AIErr (*DuplicateArt)(AIArtHandle art, AIPaintOrder paintOrder, AIArtHandle prep, AIArtHandle* newArt);
  /* Moves the art, with everything inside it, to the paint order; placed
   * above or below itself it stays where it is. 'DENY' as DisposeArt,
   * 'PLAC' for a place inside the art itself. */
  AIErr (*ReorderArt)(AIArtHandle art, AIPaintOrder paintOrder, AIArtHandle prep);
  /* The art's dictionary (made empty when it has none) in *dictionary,
   * with a reference the caller gives back with the dictionary suite's
   * Release; each call hands out one more. */
  AIErr (*GetDictionary)(AIArtHandle art, AIDictionaryRef* dictionary);
  /* True for a handle of art in the document; false for null, stale or
   * foreign handles and when the call is failed. */
  AIBoolean (*ValidArt)(AIArtHandle art);
  /* The art's name, at most maxLength - 1 characters and a terminator;
   * 'PARM' for a null name or maxLength < 1. Art without a name of its own
   * answers its default name and sets *isDefaultName (which may be null):
   * a layer's own group its layer's title, plug-in art its plugin group's
   * default name, else "<Group>", "<Clip Group>", "<Plugin Art>",
   * "<Path>", "<Compound Path>" and so on by kind. */
  AIErr (*GetArtName)(AIArtHandle art, char* name, int32_t maxLength, AIBoolean* isDefaultName);
  /* Names the art (copied); "" gives it back its default name. */
  AIErr (*SetArtName)(AIArtHandle art, const char* name);
} AIArtSuite;

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 5
/* Every function takes path art: 'TYPE' (kHostWrongArtTypeErr) for art of
 * another kind, compound paths included. Segments and counts are
 * indices from 0; coordinates are taken as given, infinities included. */
typedef struct AIPathSuite {
  /* 'RANG' (kHostIndexRangeErr) for a path of more than 32767 segments. */
  AIErr (*GetPathSegmentCount)(AIArtHandle path, int16_t* count);
  /* Cuts the path to count segments, or grows it with copies of its last
   * segment (zeros for a path without any). 'RANG' for a negative count. */
  AIErr (*SetPathSegmentCount)(AIArtHandle path, int16_t count);
  /* Copies count segments from segNumber on into segments. 'RANG' when
   * segNumber or count is negative or the run passes the end; 'PARM' for
   * null segments when count is more than 0. */
  AIErr (*GetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, AIPathSegment segments[]);
  /* Writes count segments from segNumber on; segNumber may be the present
   * count, and writing past the end grows the path. 'RANG' for a negative
   * segNumber or count and for segNumber past the present count; 'PARM'
   * for null segments when count is more than 0. */
  AIErr (*SetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, const AIPathSegment segments[]);
  /* Whether the path is closed; new paths are open. */
  AIErr (*GetPathClosed)(AIArtHandle path, AIBoolean* closed);
  /* A closed path has a segment from its last anchor back to its first. */
  AIErr (*SetPathClosed)(AIArtHandle path, AIBoolean closed);
} AIPathSuite;

#define kAIGroupSuite "AI Group Suite"
#define kAIGroupSuiteVersion 3
/* Both take a group (a layer's own group, an edit or result group too):
 * 'TYPE' for other art, compound paths and plug-in art included. */
typedef struct AIGroupSuite {
  /* Whether the group is a clipping group; new groups are not. */
  AIErr (*GetGroupClipped)(AIArtHandle group, AIBoolean* clipped);
  /* A clipping group shows only what lies inside its clip paths (its
   * children whose path style has clip set), and has their bounds. */
  AIErr (*SetGroupClipped)(AIArtHandle group, AIBoolean clipped);
} AIGroupSuite;

#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 9
/* Layers are the top-level layers, from the topmost downward; a sublayer
 * is a layer whose own group lies inside another layer. A layer handle
 * answers 'STAL' once its layer is gone or has become a plain group. */
typedef struct AILayerSuite {
  /* The number of top-level layers. */
  AIErr (*CountLayers)(int32_t* count);
  /* The topmost layer; null when the document has none. */
  AIErr (*GetFirstLayer)(AILayerHandle* first);
  /* The layer below prev; null after the last. 'PARM' for a sublayer. */
  AIErr (*GetNextLayer)(AILayerHandle prev, AILayerHandle* next);
  /* The layer where kPlaceAboveAll and kPlaceBelowAll put art: the one
   * last made current while it still is a layer, else the topmost. 'NDOC'
   * when the document has no layer. */
  AIErr (*GetCurrentLayer)(AILayerHandle* layer);
  /* Makes any layer current, a sublayer too. */
  AIErr (*SetCurrentLayer)(AILayerHandle layer);
  /* Copies at most maxLength - 1 characters and a terminator; 'PARM' for
   * a null title or maxLength < 1. */
  AIErr (*GetLayerTitle)(AILayerHandle layer, char* title, int32_t maxLength);
  /* False when the layer or a layer around it is hidden. */
  AIErr (*GetLayerVisible)(AILayerHandle layer, AIBoolean* visible);
  /* Shows or hides this layer (the layers inside it with it). */
  AIErr (*SetLayerVisible)(AILayerHandle layer, AIBoolean visible);
  /* False when the layer or a layer around it is not editable. */
  AIErr (*GetLayerEditable)(AILayerHandle layer, AIBoolean* editable);
  /* Marks this layer editable or not; the host keeps no one from editing
   * it (see Locks above). */
  AIErr (*SetLayerEditable)(AILayerHandle layer, AIBoolean editable);
  /* Turns a sublayer into a plain group, which stays where it is with its
   * art. A null layer means the innermost layer holding art; art is read
   * only then. 'DENY' for a top-level layer. */
  AIErr (*ChangeLayerToGroup)(AILayerHandle layer, AIArtHandle art);
} AILayerSuite;

#define kAIDictionarySuite "AI Dictionary Suite"
#define kAIDictionarySuiteVersion 5
/* Every art object has a dictionary, reached through the art suite's
 * GetDictionary with a reference the plug-in gives back with Release.
 * Entries are held under keys and hold an integer, boolean, real, array
 * or art, stored as copies; changing them is part of the undo step. A key
 * is one per text for the host's life, never given back: 'PARM' for a
 * null key, 'STAL' for one the host did not give out. The get functions
 * answer 'NOEN' (kHostNoSuchEntryErr) when there is no entry under the
 * key, 'KIND' (kHostEntryKindErr) when it holds another kind of value,
 * and 'PARM' for a null value after those. */
typedef struct AIDictionarySuite {
  /* The key of the text; null for a null or empty text. */
  AIDictKey (*Key)(const char* keyString);
  /* The key's text, the host's for its life; null for a key the host did
   * not give out. */
  const char* (*GetKeyString)(AIDictKey key);
  /* One more reference, given back with Release. */
  AIErr (*AddRef)(AIDictionaryRef dictionary);
  /* Gives back one reference. 'STAL' when none is held (more releases
   * than references), and for a dictionary whose art is gone and whose
   * last reference has been given back. */
  AIErr (*Release)(AIDictionaryRef dictionary);
  /* Whether there is an entry under the key, of any kind; false for a bad
   * dictionary or key. */
  AIBoolean (*IsKnown)(AIDictionaryRef dictionary, AIDictKey key);
  /* Removes the entry; 'NOEN' when there is none. */
  AIErr (*DeleteEntry)(AIDictionaryRef dictionary, AIDictKey key);
  /* The set functions put the value under the key, replacing an entry of
   * any kind. */
  AIErr (*GetIntegerEntry)(AIDictionaryRef dictionary, AIDictKey key, int32_t* value);
  AIErr (*SetIntegerEntry)(AIDictionaryRef dictionary, AIDictKey key, int32_t value);
  AIErr (*GetBooleanEntry)(AIDictionaryRef dictionary, AIDictKey key, AIBoolean* value);
  AIErr (*SetBooleanEntry)(AIDictionaryRef dictionary, AIDictKey key, AIBoolean value);
  AIErr (*GetRealEntry)(AIDictionaryRef dictionary, AIDictKey key, AIReal* value);
  AIErr (*SetRealEntry)(AIDictionaryRef dictionary, AIDictKey key, AIReal value);
  /* A new array holding a copy of the entry's values in *value, with one
   * reference the caller gives back with the array suite's Release; what
   * *value held before is overwritten, not released. Changing the array
   * changes the entry only when written back with SetArrayEntry. 'PARM'
   * for a null value, before anything else. */
  AIErr (*GetArrayEntry)(AIDictionaryRef dictionary, AIDictKey key, AIArrayRef* value);
  /* Stores a copy of the array's values; the caller keeps its reference. */
  AIErr (*SetArrayEntry)(AIDictionaryRef dictionary, AIDictKey key, AIArrayRef value);
  /* Stores a copy of the art with everything inside it (as DuplicateArt
   * copies), which later changes of the art leave as it is. '!MEM' when
   * the copy could not be placed back within the document's limit on art
   * objects. */
  AIErr (*CopyArtToEntry)(AIDictionaryRef dictionary, AIDictKey key, AIArtHandle art);
  /* New art made from the stored copy, put at the paint order (see
   * Placing above), in *art; art may be null when the handle is not
   * wanted. 'KIND' when the entry holds no art. */
  AIErr (*CopyEntryToArt)(AIDictionaryRef dictionary, AIDictKey key, AIPaintOrder paintOrder, AIArtHandle prep,
                          AIArtHandle* art);
} AIDictionarySuite;

#define kAIArraySuite "AI Array Suite"
#define kAIArraySuiteVersion 3
/* Arrays are the plug-in's own values, not the document's: their changes
 * are not undone. An array lives while references to it are held;
 * CreateArray and the dictionary suite's GetArrayEntry hand out the
 * first. Entries are indexed from 0 and are empty, integer or real. The
 * get functions answer 'RANG' for an index outside the array, 'NOEN' for
 * an empty entry, 'KIND' for an entry of the other kind (no conversion),
 * then 'PARM' for a null value. */
typedef struct AIArraySuite {
  /* A new empty array with one reference, in *array. */
  AIErr (*CreateArray)(AIArrayRef* array);
  /* One more reference, given back with Release. */
  AIErr (*AddRef)(AIArrayRef array);
  /* Gives back one reference; the last frees the array, whose handle then
   * answers 'STAL'. */
  AIErr (*Release)(AIArrayRef array);
  /* The number of entries; -1 for a handle that is not a live array and
   * when the call is failed. */
  int32_t (*Size)(AIArrayRef array);
  /* Inserts an empty entry before index i (i may equal the size); 'RANG'
   * for another index. */
  AIErr (*InsertEntry)(AIArrayRef array, int32_t i);
  /* Removes entry i; 'RANG' for an index outside the array. */
  AIErr (*DeleteEntry)(AIArrayRef array, int32_t i);
  /* The set functions replace entry i, of any kind; 'RANG' for an index
   * outside the array (they do not grow it). */
  AIErr (*GetRealEntry)(AIArrayRef array, int32_t i, AIReal* value);
  AIErr (*SetRealEntry)(AIArrayRef array, int32_t i, AIReal value);
  AIErr (*GetIntegerEntry)(AIArrayRef array, int32_t i, int32_t* value);
  AIErr (*SetIntegerEntry)(AIArrayRef array, int32_t i, int32_t value);
} AIArraySuite;

#define kAIArtSetSuite "AI Art Set Suite"
#define kAIArtSetSuiteVersion 6
/* An art set is a list of art handles the plug-in makes, fills and
 * disposes of; it holds handles, not art, so art disposed of after the
 * set was filled is still listed, by a handle that now answers 'STAL'. */
typedef struct AIArtSetSuite {
  /* A new empty set in *artSet, which the caller disposes of. */
  AIErr (*NewArtSet)(AIArtSet* artSet);
  /* Disposes of the set *artSet and sets *artSet to null; 'PARM' for a
   * null artSet or *artSet. */
  AIErr (*DisposeArtSet)(AIArtSet* artSet);
  /* Replaces the set's content with the document's art that matches any
   * of the numSpecs specs, layer by layer from the top, each art before
   * the art inside it: inside groups, compound paths and plug-in art's
   * edit groups, never inside result groups. Layers' own groups are not
   * listed; the art in them is, on hidden and locked layers too. 'PARM' for null
   * specs, numSpecs less than 1 or a null set. */
  AIErr (*MatchingArtSet)(AIArtSpec* specs, int16_t numSpecs, AIArtSet artSet);
  /* The number of art handles in the set. */
  AIErr (*CountArtSet)(AIArtSet artSet, int32_t* count);
  /* The art at index (from 0); 'RANG' for an index outside the set. */
  AIErr (*IndexArtSet)(AIArtSet artSet, int32_t index, AIArtHandle* art);
} AIArtSetSuite;

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 5
/* Art of every kind either has a style of its own or none; its path style
 * is that style's. */
typedef struct AIPathStyleSuite {
  /* The art's path style; art without a style of its own answers the
   * cleared style: no fill or stroke paint, both colours kNoColor,
   * opacities 1, stroke width 1, neither clip nor even-odd. */
  AIErr (*GetPathStyle)(AIArtHandle art, AIPathStyle* style);
  /* Gives the art a style of its own with every field of style known
   * (values taken as given); 'PARM' for a null style. */
  AIErr (*SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
} AIPathStyleSuite;

#define kAIArtStyleSuite "AI Art Style Suite"
#define kAIArtStyleSuiteVersion 3
/* Style handles are the host's for its whole life: never given back and
 * never stale; equal styles share one handle. */
typedef struct AIArtStyleSuite {
  /* The style of the art; null when it has none of its own. */
  AIErr (*GetArtStyle)(AIArtHandle art, AIArtStyleHandle* style);
  /* Gives the art the style; null leaves it without a style of its own. */
  AIErr (*SetArtStyle)(AIArtHandle art, AIArtStyleHandle style);
  /* The style's path style, and which of its fields are known in
   * *paintData (which may be null); 'PARM' for a null style or pathStyle. */
  AIErr (*GetPaintAttributes)(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData);
  /* The style of those values in *style; a null paintData means every
   * field is known. options are not read; no art changes. 'PARM' for a
   * null pathStyle or style. */
  AIErr (*NewStyle)(const AIPathStyle* pathStyle, const AIPathStyleMap* paintData, int32_t options,
                    AIArtStyleHandle* style);
  /* True when the art has no style of its own; false when it has one, and
   * for a bad handle or a failed call. */
  AIBoolean (*ArtHasNoStyle)(AIArtHandle art);
} AIArtStyleSuite;

/* Plugin-group option bits. */
#define kPluginGroupWantsNotifyEditsOption 0x0400 /* send notify-edits around the host's edits */
#define kPluginGroupEditArtIsHandleOption 0x8000  /* kept; the host's edits move the edit art in any case */

/* The version the group's art records, and a description (null: none). */
typedef struct AIAddPluginGroupData {
  int32_t major;
  int32_t minor;
  const char* desc;
} AIAddPluginGroupData;

#define kAIPluginGroupSuite "AI Plugin Group Suite"
#define kAIPluginGroupSuiteVersion 3
/* Plug-in art (kPluginArt) is drawn from its result group, which the
 * plug-in builds from its edit group and its dictionary when the host
 * sends ("AI Plugin Group", "AI Update"); both groups live as long as
 * the art. Functions taking plug-in art answer 'TYPE' for other art, and
 * 'NATT' (kHostNotAttachedErr) where a plugin group is needed and the art
 * belongs to none. Group handles and names are the host's for its life. */
typedef struct AIPluginGroupSuite {
  /* Registers a plugin group of the name (copied) with data's version and
   * description and the option bits; its art is then sent the plugin
   * group messages. Usually at start-up. 'PARM' for null data, a null or
   * empty name or a null entry; 'DENY' for a name a plug-in registered
   * already. A name known so far only from a document read in is taken
   * over, under the handle that document's art already names. `self` is
   * not checked: the host sends the messages of a group only when self is
   * this plug-in's reference. */
  AIErr (*AddAIPluginGroup)(SPPluginRef self, const char* name, AIAddPluginGroupData* data, int32_t options,
                            AIPluginGroupHandle* entry);
  /* The name (copied) GetArtName answers for the group's art without a
   * name of its own; "" gives back "<Plugin Art>". */
  AIErr (*SetAIPluginGroupDefaultName)(AIPluginGroupHandle entry, const char* name);
  /* The group's name as registered, in *name. */
  AIErr (*GetAIPluginGroupName)(AIPluginGroupHandle entry, const char** name);
  /* Attaches plug-in art to the group (from another one, if need be),
   * recording the group's version in the art. It is not marked for an
   * update. */
  AIErr (*UseAIPluginGroup)(AIArtHandle art, AIPluginGroupHandle entry);
  /* The art's edit group: what the object is made from, which the user
   * edits. Attached or not. */
  AIErr (*GetPluginArtEditArt)(AIArtHandle art, AIArtHandle* editArt);
  /* The art's result group: what the document shows. Attached or not. */
  AIErr (*GetPluginArtResultArt)(AIArtHandle art, AIArtHandle* resultArt);
  /* The plugin group the art belongs to. */
  AIErr (*GetPluginArtPluginGroup)(AIArtHandle art, AIPluginGroupHandle* entry);
  /* The name of the plugin group the art belongs to. */
  AIErr (*GetPluginArtName)(AIArtHandle art, const char** name);
  /* The version recorded in the art when it was attached (or as a
   * document read in gave it). 'PARM' for a null major or minor. */
  AIErr (*GetPluginArtVersion)(AIArtHandle art, int32_t* major, int32_t* minor);
  /* Asks for an update: once the present message (or host edit) is done,
   * the host sends ("AI Plugin Group", "AI Update") for the art if its
   * group is this plug-in's; marks made while the updates are being sent
   * wait for the next message. Marking again before the update gives one
   * update. Art attached to no group is never updated. */
  AIErr (*MarkPluginArtDirty)(AIArtHandle art);
} AIPluginGroupSuite;

/* Transform flags. */
#define kTransformObjects 1 /* move the points and placements */
#define kScaleLines 2       /* stroke widths are multiplied by the line scale */
#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1
typedef struct AITransformArtSuite {
  /* Puts the art and everything inside it through the matrix (not
   * changed): with kTransformObjects, path points and other kinds'
   * placement, plug-in art's edit and result groups alike; with
   * kScaleLines, the stroke width of each stroked style of its own is
   * multiplied by lineScale. Values are taken as given; plug-in art is
   * not marked for an update. 'PARM' for a null matrix, before the art. */
  AIErr (*TransformArt)(AIArtHandle art, AIRealMatrix* matrix, AIReal lineScale, int32_t flags);
} AITransformArtSuite;

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1
/* Single-precision arithmetic on the caller's values; no document
 * changes. Null pointers do nothing and answer 0 or false, as failed
 * calls do. */
typedef struct AIRealMathSuite {
  /* Sets *m to the matrix that changes nothing, or that moves by tx, ty. */
  void (*AIRealMatrixSetIdentity)(AIRealMatrix* m);
  void (*AIRealMatrixSetTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
  /* Appends a move, a scaling about the origin or a turn about it; the
   * appended step acts after the steps already in the matrix. */
  void (*AIRealMatrixConcatTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
  void (*AIRealMatrixConcatScale)(AIRealMatrix* m, AIReal sh, AIReal sv);
  /* The turn is by angle radians, +h toward +v. */
  void (*AIRealMatrixConcatRotate)(AIRealMatrix* m, AIReal angle);
  /* *out is *in put through the matrix; in and out may be one point. */
  void (*AIRealMatrixXformPoint)(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out);
  /* Direction of the line from p1 to p2, in radians from -pi to pi; 0 for
   * equal points. */
  AIReal (*AIRealPointAngle)(const AIRealPoint* p1, const AIRealPoint* p2);
  /* True when the points lie at most tolerance apart. */
  AIBoolean (*AIRealPointClose)(const AIRealPoint* p1, const AIRealPoint* p2, AIReal tolerance);
  /* Rectangles that touch at an edge overlap; art bounds without extent
   * overlap nothing. */
  AIBoolean (*AIRealRectOverlap)(const AIRealRect* r1, const AIRealRect* r2);
} AIRealMathSuite;

/* ======================================================================
 * Menus, tools, timers, preferences, undo
 * ==================================================================== */

#define kAutoEnableMenuItemAction 1
#define kIfOpenDocument 0x40
typedef struct AIPlatformAddMenuItemData {
  const char* groupName;
  unsigned char* itemText; /* length byte, then the characters */
} AIPlatformAddMenuItemData;

#define kAIMenuSuite "AI Menu Suite"
#define kAIMenuSuiteVersion 7
typedef struct AIMenuSuite {
  /* Adds the command `inKey` to the menu group data->groupName, shown as
   * data->itemText (a length byte, then the characters); choosing it
   * sends ("AI Menu", "AI Go") with this handle. Usually at start-up. */
  AIErr (*AddMenuItem)(SPPluginRef self, const char* inKey, AIPlatformAddMenuItemData* data, int32_t options,
                       AIMenuItemHandle* menuItem);
  /* Lets the host enable the item itself: with kAutoEnableMenuItemAction
   * it is enabled while the conditions in ifIsTrue hold and those in
   * ifIsNotTrue do not (kIfOpenDocument is the one this host knows). */
  AIErr (*UpdateMenuItemAutomatically)(AIMenuItemHandle menuItem, int32_t action, int32_t ifObjectIsInArtwork,
                                       int32_t ifObjectIsNotInArtwork, int32_t ifIsSelected, int32_t ifIsNotSelected,
                                       int32_t ifIsTrue, int32_t ifIsNotTrue);
  /* Whether the item shows a check mark. */
  AIErr (*IsItemChecked)(AIMenuItemHandle menuItem, AIBoolean* checked);
  AIErr (*CheckItem)(AIMenuItemHandle menuItem, AIBoolean checked);
  /* Whether the user can choose it now. */
  AIErr (*IsItemEnabled)(AIMenuItemHandle menuItem, AIBoolean* enabled);
} AIMenuSuite;

#define kToolWantsToTrackCursorOption 1
typedef struct AIAddToolData {
  const char* title;
  const char* tooltip;
  int32_t helpID; /* 0: no help topic */
  ADMIconRef normalIcon;
  int16_t sameGroupAs;   /* -2: a group of its own */
  int16_t sameToolsetAs; /* -2: a toolset of its own */
} AIAddToolData;

#define kAIToolSuite "AI Tool Suite"
#define kAIToolSuiteVersion 9
typedef struct AIToolSuite {
  /* Adds a tool with data's title, tooltip and icon (from the icon
   * suite); the user's work with it comes as ("AI Tool", ...) messages
   * with this handle. Usually at start-up. */
  AIErr (*AddTool)(SPPluginRef self, const char* name, AIAddToolData* data, int32_t options, AIToolHandle* tool);
  /* The icon shown while the pointer is over the tool; an icon handle the
   * host did not give out leaves the tool without one. */
  AIErr (*SetToolRolloverIcon)(AIToolHandle tool, ADMIconRef icon);
} AIToolSuite;

#define kAITimerSuite "AI Timer Suite"
#define kAITimerSuiteVersion 3
typedef struct AITimerSuite {
  /* An active timer whose period, in ticks of 1/60 second (more than 0),
   * counts from now; each time it ends the host sends ("AI Timer",
   * "AI Go") with this handle and the next period begins. */
  AIErr (*AddTimer)(SPPluginRef self, const char* name, int32_t period, AITimerHandle* timer);
  /* Switching a timer on starts its period afresh. */
  AIErr (*SetTimerActive)(AITimerHandle timer, AIBoolean active);
  AIErr (*GetTimerActive)(AITimerHandle timer, AIBoolean* active);
  /* A new period (more than 0, else 'PARM'), counted from now. */
  AIErr (*SetTimerPeriod)(AITimerHandle timer, int32_t period);
  AIErr (*GetTimerPeriod)(AITimerHandle timer, int32_t* period);
} AITimerSuite;

#define kAIPreferenceSuite "AI Preference Suite"
#define kAIPreferenceSuiteVersion 2
typedef struct AIPreferenceSuite {
  /* The value kept under section `prefix`, name `suffix`; a missing
   * value leaves *value as it was and answers 0. */
  AIErr (*GetIntegerPreference)(const char* prefix, const char* suffix, int32_t* value);
  /* Keeps the value; 'NPRF' when the host's preferences file cannot be
   * written (the value is kept for this run all the same). */
  AIErr (*PutIntegerPreference)(const char* prefix, const char* suffix, int32_t value);
} AIPreferenceSuite;

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 4
typedef struct AIUndoSuite {
  /* Reverts the document changes made since the mark of the open undo
   * step (the tool's press, else the start of the message), keeping the
   * mark; with no step open it does nothing. Always 0. */
  AIErr (*UndoChanges)(void);
  /* A silent step makes no undo step of its own: it joins the step
   * before it. Affects the open step only. Always 0. */
  AIErr (*SetSilent)(AIBoolean silent);
} AIUndoSuite;

/* ======================================================================
 * Suites acquired but not called
 *
 * The host hands each of these out (and the blocks, list, entry, tracker
 * and notifier suites above) as a table without functions: the plug-in
 * acquires and releases them like any suite, and calls nothing in them.
 * ==================================================================== */
#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 8
typedef struct AIDocumentSuite AIDocumentSuite;
#define kAIHardSoftSuite "AI Hard Soft Suite"
#define kAIHardSoftSuiteVersion 2
typedef struct AIHardSoftSuite AIHardSoftSuite;
#define kAITextFrameSuite "AI Text Frame Suite"
#define kAITextFrameSuiteVersion 1
typedef struct AITextFrameSuite AITextFrameSuite;
#define kAILegacyTextConversionSuite "AI Legacy Text Conversion Suite"
#define kAILegacyTextConversionSuiteVersion 1
typedef struct AILegacyTextConversionSuite AILegacyTextConversionSuite;
#define kAIMatchingArtSuite "AI Matching Art Suite"
#define kAIMatchingArtSuiteVersion 5
typedef struct AIMatchingArtSuite AIMatchingArtSuite;
#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1
typedef struct AIMdMemorySuite AIMdMemorySuite;
#define kAIFilterSuite "AI Filter Suite"
#define kAIFilterSuiteVersion 2
typedef struct AIFilterSuite AIFilterSuite;
#define kAIBlendStyleSuite "AI Blend Style Suite"
#define kAIBlendStyleSuiteVersion 3
typedef struct AIBlendStyleSuite AIBlendStyleSuite;
#define kAIDictionaryIteratorSuite "AI Dictionary Iterator Suite"
#define kAIDictionaryIteratorSuiteVersion 1
typedef struct AIDictionaryIteratorSuite AIDictionaryIteratorSuite;
#define kAITagSuite "AI Tag Suite"
#define kAITagSuiteVersion 2
typedef struct AITagSuite AITagSuite;
#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 6
typedef struct AIUserSuite AIUserSuite;
#define kAIRealBezierSuite "AI Real Bezier Suite"
#define kAIRealBezierSuiteVersion 1
typedef struct AIRealBezierSuite AIRealBezierSuite;
#define kAIRasterSuite "AI Raster Suite"
#define kAIRasterSuiteVersion 5
typedef struct AIRasterSuite AIRasterSuite;
#define kAIHitTestSuite "AI Hit Test Suite"
#define kAIHitTestSuiteVersion 2
typedef struct AIHitTestSuite AIHitTestSuite;
#define kAIPathConstructionSuite "AI PathConstruction Suite"
#define kAIPathConstructionSuiteVersion 2
typedef struct AIPathConstructionSuite AIPathConstructionSuite;
#define kAIActionManagerSuite "AI Action Manager Suite"
#define kAIActionManagerSuiteVersion 2
typedef struct AIActionManagerSuite AIActionManagerSuite;
#define kAIDocumentViewSuite "AI Document View Suite"
#define kAIDocumentViewSuiteVersion 7
typedef struct AIDocumentViewSuite AIDocumentViewSuite;
#define kAICommandManagerSuite "AI Command Manager Suite"
#define kAICommandManagerSuiteVersion 1
typedef struct AICommandManagerSuite AICommandManagerSuite;
#define kAIRasterizeSuite "AI Rasterize Suite"
#define kAIRasterizeSuiteVersion 5
typedef struct AIRasterizeSuite AIRasterizeSuite;

/* The text-engine suites, each "ATE <word> Suite" at version 1, in the
 * order the plug-in acquires them. Expand with a macro X(word). */
#define kATESuiteVersion 1
/* clang-format off */
#define HOST_ATE_SUITE_WORDS(X) \
  X(ApplicationPaint) X(CompFont) X(CompFontClass) X(CompFontClassSet) X(CompFontComponent) \
  X(CompFontSet) X(GlyphRun) X(GlyphRunsIterator) X(MojiKumi) X(MojiKumiSet) X(TextFrame) \
  X(TextFramesIterator) X(TextLine) X(TextLinesIterator) X(TextResources) \
  X(ApplicationTextResources) X(DocumentTextResources) X(VersionInfo) \
  X(ArrayApplicationPaintRef) X(ArrayReal) X(ArrayBool) X(ArrayInteger) X(ArrayLineCapType) \
  X(ArrayFigureStyle) X(ArrayLineJoinType) X(ArrayWariChuJustification) \
  X(ArrayStyleRunAlignment) X(ArrayAutoKernType) X(ArrayBaselineDirection) X(ArrayLanguage) \
  X(ArrayFontCapsOption) X(ArrayFontBaselineOption) X(ArrayFontOpenTypePositionOption) \
  X(ArrayUnderlinePosition) X(ArrayStrikethroughPosition) X(ArrayParagraphJustification) \
  X(ArrayArrayReal) X(ArrayBurasagariType) X(ArrayPreferredKinsokuOrder) X(ArrayKinsokuRef) \
  X(ArrayMojiKumiRef) X(ArrayMojiKumiSetRef) X(ArrayTabStopsRef) X(ArrayLeadingType) \
  X(ArrayFontRef) X(ArrayGlyphID) X(ArrayRealPoint) X(ArrayRealMatrix) X(CharFeatures) \
  X(CharInspector) X(CharStyle) X(CharStyles) X(CharStylesIterator) X(Find) X(Font) X(Glyph) \
  X(Glyphs) X(GlyphsIterator) X(Kinsoku) X(KinsokuSet) X(ParaFeatures) X(Paragraph) \
  X(ParagraphsIterator) X(ParaInspector) X(ParaStyle) X(ParaStyles) X(ParaStylesIterator) \
  X(Spell) X(Stories) X(Story) X(TabStop) X(TabStops) X(TabStopsIterator) X(TextRange) \
  X(TextRanges) X(TextRangesIterator) X(TextRunsIterator) X(WordsIterator)
/* clang-format on */

#ifdef __cplusplus
}
#endif

#endif
