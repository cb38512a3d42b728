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
 * ==================================================================== */

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 10
typedef struct AIArtSuite {
  AIErr (*NewArt)(AIArtType type, AIPaintOrder paintOrder, AIArtHandle prep, AIArtHandle* newArt);
  AIErr (*DisposeArt)(AIArtHandle art);
  AIErr (*GetArtType)(AIArtHandle art, AIArtType* type);
  AIErr (*GetArtParent)(AIArtHandle art, AIArtHandle* parent);
  /* Children run from the top of the stacking order downward. */
  AIErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
  AIErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
  AIErr (*GetArtPriorSibling)(AIArtHandle art, AIArtHandle* sibling);
  /* Tight geometric bounds; a clipping group's are its clip path's. */
  AIErr (*GetArtBounds)(AIArtHandle art, AIRealRect* bounds);
  AIErr (*GetArtUserAttr)(AIArtHandle art, AIArtUserAttr whichAttr, AIArtUserAttr* attr);
  AIErr (*SetArtUserAttr)(AIArtHandle art, AIArtUserAttr whichAttr, AIArtUserAttr attr);
  AIErr (*GetLayerOfArt)(AIArtHandle art, AILayerHandle* layer);
  /* The layer's art group; a null layer means the current layer. */
  AIErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* art);
  AIErr (*IsArtLayerGroup)(AIArtHandle art, AIBoolean* isLayerGroup);
  AIErr (*DuplicateArt)(AIArtHandle art, AIPaintOrder paintOrder, AIArtHandle prep, AIArtHandle* newArt);
  AIErr (*ReorderArt)(AIArtHandle art, AIPaintOrder paintOrder, AIArtHandle prep);
  AIErr (*GetDictionary)(AIArtHandle art, AIDictionaryRef* dictionary);
  AIBoolean (*ValidArt)(AIArtHandle art);
  /* Copies at most maxLength - 1 characters; isDefaultName may be null. */
  AIErr (*GetArtName)(AIArtHandle art, char* name, int32_t maxLength, AIBoolean* isDefaultName);
  AIErr (*SetArtName)(AIArtHandle art, const char* name);
} AIArtSuite;

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 5
typedef struct AIPathSuite {
  AIErr (*GetPathSegmentCount)(AIArtHandle path, int16_t* count);
  AIErr (*SetPathSegmentCount)(AIArtHandle path, int16_t count);
  AIErr (*GetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, AIPathSegment segments[]);
  /* Writing past the present count grows the path. */
  AIErr (*SetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, const AIPathSegment segments[]);
  AIErr (*GetPathClosed)(AIArtHandle path, AIBoolean* closed);
  AIErr (*SetPathClosed)(AIArtHandle path, AIBoolean closed);
} AIPathSuite;

#define kAIGroupSuite "AI Group Suite"
#define kAIGroupSuiteVersion 3
typedef struct AIGroupSuite {
  AIErr (*GetGroupClipped)(AIArtHandle group, AIBoolean* clipped);
  AIErr (*SetGroupClipped)(AIArtHandle group, AIBoolean clipped);
} AIGroupSuite;

#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 9
typedef struct AILayerSuite {
  AIErr (*CountLayers)(int32_t* count);
  /* Layers run from the topmost downward. */
  AIErr (*GetFirstLayer)(AILayerHandle* first);
  AIErr (*GetNextLayer)(AILayerHandle prev, AILayerHandle* next);
  AIErr (*GetCurrentLayer)(AILayerHandle* layer);
  AIErr (*SetCurrentLayer)(AILayerHandle layer);
  AIErr (*GetLayerTitle)(AILayerHandle layer, char* title, int32_t maxLength);
  AIErr (*GetLayerVisible)(AILayerHandle layer, AIBoolean* visible);
  AIErr (*SetLayerVisible)(AILayerHandle layer, AIBoolean visible);
  AIErr (*GetLayerEditable)(AILayerHandle layer, AIBoolean* editable);
  AIErr (*SetLayerEditable)(AILayerHandle layer, AIBoolean editable);
  /* Turns a sublayer's group (and the sublayer with it) into a plain
   * group; a null layer means the layer of the art. */
  AIErr (*ChangeLayerToGroup)(AILayerHandle layer, AIArtHandle art);
} AILayerSuite;

#define kAIDictionarySuite "AI Dictionary Suite"
#define kAIDictionarySuiteVersion 5
typedef struct AIDictionarySuite {
  /* The one key of a text; null when it cannot be made. */
  AIDictKey (*Key)(const char* keyString);
  const char* (*GetKeyString)(AIDictKey key);
  AIErr (*AddRef)(AIDictionaryRef dictionary);
  AIErr (*Release)(AIDictionaryRef dictionary);
  AIBoolean (*IsKnown)(AIDictionaryRef dictionary, AIDictKey key);
  AIErr (*DeleteEntry)(AIDictionaryRef dictionary, AIDictKey key);
  AIErr (*GetIntegerEntry)(AIDictionaryRef dictionary, AIDictKey key, int32_t* value);
  AIErr (*SetIntegerEntry)(AIDictionaryRef dictionary, AIDictKey key, int32_t value);
  AIErr (*GetBooleanEntry)(AIDictionaryRef dictionary, AIDictKey key, AIBoolean* value);
  AIErr (*SetBooleanEntry)(AIDictionaryRef dictionary, AIDictKey key, AIBoolean value);
  AIErr (*GetRealEntry)(AIDictionaryRef dictionary, AIDictKey key, AIReal* value);
  AIErr (*SetRealEntry)(AIDictionaryRef dictionary, AIDictKey key, AIReal value);
  /* Replaces *value with the stored array, with a reference of the caller's. */
  AIErr (*GetArrayEntry)(AIDictionaryRef dictionary, AIDictKey key, AIArrayRef* value);
  AIErr (*SetArrayEntry)(AIDictionaryRef dictionary, AIDictKey key, AIArrayRef value);
  /* Stores a detached deep copy of the art and its subtree. */
  AIErr (*CopyArtToEntry)(AIDictionaryRef dictionary, AIDictKey key, AIArtHandle art);
  /* Copies the stored art into the document at the paint order. */
  AIErr (*CopyEntryToArt)(AIDictionaryRef dictionary, AIDictKey key, AIPaintOrder paintOrder, AIArtHandle prep,
                          AIArtHandle* art);
} AIDictionarySuite;

#define kAIArraySuite "AI Array Suite"
#define kAIArraySuiteVersion 3
typedef struct AIArraySuite {
  AIErr (*CreateArray)(AIArrayRef* array);
  AIErr (*AddRef)(AIArrayRef array);
  AIErr (*Release)(AIArrayRef array);
  int32_t (*Size)(AIArrayRef array);
  /* Inserts an empty entry before index i (i may equal the size). */
  AIErr (*InsertEntry)(AIArrayRef array, int32_t i);
  AIErr (*DeleteEntry)(AIArrayRef array, int32_t i);
  AIErr (*GetRealEntry)(AIArrayRef array, int32_t i, AIReal* value);
  AIErr (*SetRealEntry)(AIArrayRef array, int32_t i, AIReal value);
  AIErr (*GetIntegerEntry)(AIArrayRef array, int32_t i, int32_t* value);
  AIErr (*SetIntegerEntry)(AIArrayRef array, int32_t i, int32_t value);
} AIArraySuite;

#define kAIArtSetSuite "AI Art Set Suite"
#define kAIArtSetSuiteVersion 6
typedef struct AIArtSetSuite {
  AIErr (*NewArtSet)(AIArtSet* artSet);
  AIErr (*DisposeArtSet)(AIArtSet* artSet);
  /* Fills the set with the document's art matching any of the specs, in
   * layer order, depth first from the top. */
  AIErr (*MatchingArtSet)(AIArtSpec* specs, int16_t numSpecs, AIArtSet artSet);
  AIErr (*CountArtSet)(AIArtSet artSet, int32_t* count);
  AIErr (*IndexArtSet)(AIArtSet artSet, int32_t index, AIArtHandle* art);
} AIArtSetSuite;

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 5
typedef struct AIPathStyleSuite {
  AIErr (*GetPathStyle)(AIArtHandle art, AIPathStyle* style);
  AIErr (*SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
} AIPathStyleSuite;

#define kAIArtStyleSuite "AI Art Style Suite"
#define kAIArtStyleSuiteVersion 3
typedef struct AIArtStyleSuite {
  /* The style of the art; null when it has none of its own. */
  AIErr (*GetArtStyle)(AIArtHandle art, AIArtStyleHandle* style);
  AIErr (*SetArtStyle)(AIArtHandle art, AIArtStyleHandle style);
  AIErr (*GetPaintAttributes)(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData);
  AIErr (*NewStyle)(const AIPathStyle* pathStyle, const AIPathStyleMap* paintData, int32_t options,
                    AIArtStyleHandle* style);
  /* True when the art stands without a style of its own. */
  AIBoolean (*ArtHasNoStyle)(AIArtHandle art);
} AIArtStyleSuite;

/* Plugin-group option bits. */
#define kPluginGroupWantsNotifyEditsOption 0x0400 /* send notify-edits around edits */
#define kPluginGroupEditArtIsHandleOption 0x8000  /* host edits move the edit art */

typedef struct AIAddPluginGroupData {
  int32_t major;
  int32_t minor;
  const char* desc;
} AIAddPluginGroupData;

#define kAIPluginGroupSuite "AI Plugin Group Suite"
#define kAIPluginGroupSuiteVersion 3
typedef struct AIPluginGroupSuite {
  AIErr (*AddAIPluginGroup)(SPPluginRef self, const char* name, AIAddPluginGroupData* data, int32_t options,
                            AIPluginGroupHandle* entry);
  AIErr (*SetAIPluginGroupDefaultName)(AIPluginGroupHandle entry, const char* name);
  AIErr (*GetAIPluginGroupName)(AIPluginGroupHandle entry, const char** name);
  /* Attaches plug-in art to a group; records the group's version. */
  AIErr (*UseAIPluginGroup)(AIArtHandle art, AIPluginGroupHandle entry);
  AIErr (*GetPluginArtEditArt)(AIArtHandle art, AIArtHandle* editArt);
  AIErr (*GetPluginArtResultArt)(AIArtHandle art, AIArtHandle* resultArt);
  AIErr (*GetPluginArtPluginGroup)(AIArtHandle art, AIPluginGroupHandle* entry);
  /* The name of the plugin group the art belongs to. */
  AIErr (*GetPluginArtName)(AIArtHandle art, const char** name);
  AIErr (*GetPluginArtVersion)(AIArtHandle art, int32_t* major, int32_t* minor);
  AIErr (*MarkPluginArtDirty)(AIArtHandle art);
} AIPluginGroupSuite;

/* Transform flags. */
#define kTransformObjects 1
#define kScaleLines 2 /* stroke widths are multiplied by the line scale */
#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1
typedef struct AITransformArtSuite {
  AIErr (*TransformArt)(AIArtHandle art, AIRealMatrix* matrix, AIReal lineScale, int32_t flags);
} AITransformArtSuite;

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1
typedef struct AIRealMathSuite {
  void (*AIRealMatrixSetIdentity)(AIRealMatrix* m);
  void (*AIRealMatrixSetTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
  /* The appended step acts after the steps already in the matrix. */
  void (*AIRealMatrixConcatTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
  void (*AIRealMatrixConcatScale)(AIRealMatrix* m, AIReal sh, AIReal sv);
  void (*AIRealMatrixConcatRotate)(AIRealMatrix* m, AIReal angle);
  void (*AIRealMatrixXformPoint)(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out);
  /* Direction of the line from p1 to p2, in radians. */
  AIReal (*AIRealPointAngle)(const AIRealPoint* p1, const AIRealPoint* p2);
  AIBoolean (*AIRealPointClose)(const AIRealPoint* p1, const AIRealPoint* p2, AIReal tolerance);
  /* Rectangles that touch at an edge overlap. */
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
