/*
 * Basic types of the host's programming interface: error codes, opaque
 * handles, points, rectangles, matrices, path segments and the numbered
 * constants (art types, paint orders, attribute bits) the host defines.
 * Plain C; shared by the plug-in and the stand-in host.
 */
#ifndef MIRTIL_HOSTAPI_HOSTTYPES_H
#define MIRTIL_HOSTAPI_HOSTTYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Scalars ---------------------------------------------------------- */

typedef int32_t AIErr;           /* 0 for success, else a code (often four characters) */
typedef unsigned char AIBoolean; /* 0 false, non-zero true */
typedef float AIReal;            /* the host's reals are single precision */

/* Four characters packed with the first in the most significant byte. */
#define HOST_FOURCC(a, b, c, d)                                                            \
  ((int32_t)(((uint32_t)(unsigned char)(a) << 24) | ((uint32_t)(unsigned char)(b) << 16) | \
             ((uint32_t)(unsigned char)(c) << 8) | (uint32_t)(unsigned char)(d)))

/* ---- Error codes the host itself answers ------------------------------
 * Every host function answers one of these (or 0). Codes the plug-in
 * returns to the host pass through the host unchanged.                    */
#define kNoErr 0
#define kHostBadParameterErr HOST_FOURCC('P', 'A', 'R', 'M')  /* null or out-of-range argument */
#define kHostOutOfMemoryErr HOST_FOURCC('!', 'M', 'E', 'M')   /* no block to be had, or past the art limit */
#define kHostStaleHandleErr HOST_FOURCC('S', 'T', 'A', 'L')   /* handle disposed, foreign or never issued */
#define kHostWrongArtTypeErr HOST_FOURCC('T', 'Y', 'P', 'E')  /* the art is not of the kind the call needs */
#define kHostNoSuchEntryErr HOST_FOURCC('N', 'O', 'E', 'N')   /* dictionary or array has no such entry */
#define kHostEntryKindErr HOST_FOURCC('K', 'I', 'N', 'D')     /* dictionary entry holds another kind of value */
#define kHostIndexRangeErr HOST_FOURCC('R', 'A', 'N', 'G')    /* index or count outside the object */
#define kHostNoDocumentErr HOST_FOURCC('N', 'D', 'O', 'C')    /* no document, or it has no layer */
#define kHostCantPlaceErr HOST_FOURCC('P', 'L', 'A', 'C')     /* the paint order cannot be honoured */
#define kHostLockedErr HOST_FOURCC('L', 'O', 'C', 'K')        /* unload refused: the plug-in locked itself */
#define kHostSuiteNotFoundErr HOST_FOURCC('S', '!', 'F', 'D') /* no suite of that name and version */
#define kHostSuiteBusyErr HOST_FOURCC('S', 'B', 'S', 'Y')     /* release of a suite that is not held */
#define kHostNoPreferenceErr HOST_FOURCC('N', 'P', 'R', 'F')  /* the preferences file cannot be written */
#define kHostInjectedFaultErr HOST_FOURCC('F', 'A', 'U', 'L') /* default code of an injected fault */
#define kHostNotAllowedErr HOST_FOURCC('D', 'E', 'N', 'Y')    /* refused for this object or name */
#define kHostNotAttachedErr HOST_FOURCC('N', 'A', 'T', 'T')   /* the plug-in art belongs to no plugin group */

/* The code by which a plugin group asks, at before-operation time, to be
 * sent the after-operation notification too. */
#define kWantsAfterMsgPluginGroupErr HOST_FOURCC('A', 'F', 'T', 'R')

/* ---- Opaque handles ---------------------------------------------------
 * Values given out by the host; the plug-in never looks inside them.     */
typedef struct SPOpaquePlugin* SPPluginRef;
typedef struct SPOpaqueAccess* SPAccessRef;
typedef struct AIOpaqueArt* AIArtHandle;
typedef struct AIOpaqueLayer* AILayerHandle;
typedef struct AIOpaqueDictionary* AIDictionaryRef;
typedef struct AIOpaqueDictKey* AIDictKey;
typedef struct AIOpaqueArray* AIArrayRef;
typedef struct AIOpaqueArtSet* AIArtSet;
typedef struct AIOpaqueArtStyle* AIArtStyleHandle;
typedef struct AIOpaqueMenuItem* AIMenuItemHandle;
typedef struct AIOpaqueTool* AIToolHandle;
typedef struct AIOpaqueTimer* AITimerHandle;
typedef struct AIOpaqueNotifier* AINotifierHandle;
typedef struct AIOpaquePluginGroup* AIPluginGroupHandle;
typedef struct AIOpaqueAppContext* AIAppContextHandle;
typedef struct ADMOpaqueDialog* ADMDialogRef;
typedef struct ADMOpaqueItem* ADMItemRef;
typedef struct ADMOpaqueIcon* ADMIconRef;
typedef struct ADMOpaqueTracker* ADMTrackerRef;
typedef struct ADMOpaqueNotifier* ADMNotifierRef;
typedef void* ADMUserData;

/* ---- Geometry ---------------------------------------------------------
 * Document points (1/72 inch); v grows upward. Angles in radians, a
 * positive angle turning +h toward +v.                                    */
typedef struct AIRealPoint {
  AIReal h;
  AIReal v;
} AIRealPoint;

/* left, top, right, bottom; top is the larger v. */
typedef struct AIRealRect {
  AIReal left;
  AIReal top;
  AIReal right;
  AIReal bottom;
} AIRealRect;

/* Affine matrix: a point (x, y) maps to (a x + c y + tx, b x + d y + ty).
 * Build it only through the real-math suite. */
typedef struct AIRealMatrix {
  AIReal a, b, c, d;
  AIReal tx, ty;
} AIRealMatrix;

/* One anchor of a path with its two control points; a straight segment
 * has in == out == p. */
typedef struct AIPathSegment {
  AIRealPoint p;
  AIRealPoint in;
  AIRealPoint out;
  AIBoolean corner;
} AIPathSegment;

/* ---- Art types --------------------------------------------------------- */
enum {
  kAnyArt = -1, /* matches every type when selecting art */
  kUnknownArt = 0,
  kGroupArt = 1,
  kPathArt = 2,
  kCompoundPathArt = 3,
  kPlacedArt = 5, /* linked or embedded picture */
  kRasterArt = 6,
  kMeshArt = 8,
  kPluginArt = 10,
  kTextFrameArt = 11,
  kSymbolArt = 12,
  kForeignArt = 13 /* kept as it came from a file, not editable here */
};
typedef int16_t AIArtType;

/* ---- Paint orders (where new or moved art goes) ------------------------ */
enum {
  kPlaceAbove = 1,          /* just above the reference art */
  kPlaceBelow = 2,          /* just below the reference art */
  kPlaceInsideOnTop = 3,    /* first child of the reference group */
  kPlaceInsideOnBottom = 4, /* last child of the reference group */
  kPlaceAboveAll = 5,       /* top of the current layer */
  kPlaceBelowAll = 6        /* bottom of the current layer */
};
typedef int16_t AIPaintOrder;

/* ---- User attributes of art -------------------------------------------- */
enum { kArtSelected = 1, kArtLocked = 2, kArtHidden = 4 };
typedef int32_t AIArtUserAttr;

/* What to match when selecting art: the type (kAnyArt for every type) and
 * the attributes under whichAttr that must equal those of attr. */
typedef struct AIArtSpec {
  AIArtType type;
  AIArtUserAttr whichAttr;
  AIArtUserAttr attr;
} AIArtSpec;

/* ---- Path style --------------------------------------------------------- */
enum {
  kNoColor = 0,    /* nothing painted */
  kRGBColor = 1,   /* red, green, blue in 0..1 */
  kPaintServer = 2 /* a gradient or pattern kept by the document, by index */
};

typedef struct AIColor {
  int32_t kind;
  AIReal red, green, blue;
  int32_t paintServer; /* document paint server index for kPaintServer */
} AIColor;

typedef struct AIFillStyle {
  AIColor color;
  AIReal opacity; /* 0..1 */
} AIFillStyle;

typedef struct AIStrokeStyle {
  AIColor color;
  AIReal opacity; /* 0..1 */
  AIReal width;
} AIStrokeStyle;

/* The two paint switches stand at the head of the record. */
typedef struct AIPathStyle {
  AIBoolean fillPaint;
  AIBoolean strokePaint;
  AIFillStyle fill;
  AIStrokeStyle stroke;
  AIBoolean clip;    /* the path is a clipping path */
  AIBoolean evenOdd; /* fill rule: non-zero winding unless set */
} AIPathStyle;

/* Which fields of a path style are known (non-zero) when styles are read
 * from several objects at once. */
typedef struct AIPathStyleMap {
  AIBoolean fillPaint;
  AIBoolean strokePaint;
  AIBoolean fill;
  AIBoolean stroke;
  AIBoolean clip;
  AIBoolean evenOdd;
} AIPathStyleMap;

#ifdef __cplusplus
}
#endif

#endif
