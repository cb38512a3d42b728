/*
 * The resources a plug-in module carries (property list, icons, cursors,
 * pictures, dialog templates, version record) as the host reads them: the
 * module exports one function, named by kModuleResourceDirectoryName, that
 * answers the table of all of them. Plain C; shared by the module and the
 * stand-in host.
 */
#ifndef MIRTIL_HOSTAPI_HOSTRESOURCES_H
#define MIRTIL_HOSTAPI_HOSTRESOURCES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Resource types; the numbered ones are those of the Windows resource table. */
#define kResourceBitmap 2u
#define kResourceDialog 5u
#define kResourceCursorGroup 12u
#define kResourceIconGroup 14u
#define kResourceVersion 16u
#define kResourcePropertyList 0x5049504Cu /* "PIPL": raw bytes */

/* Icons and bitmaps: 24 bits per pixel, RGB bytes, rows from the top.
 * Cursors: 1 bit per pixel, one byte per pixel (0 black, 1 white), with a
 * mask of one byte per pixel (1 where the cursor is transparent). */
typedef struct ResourceImage {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
  int32_t hotSpotX; /* cursors only */
  int32_t hotSpotY;
  const unsigned char* pixels;
  const unsigned char* mask; /* cursors only, else null */
} ResourceImage;

/* Dialog item kinds, after the Windows template statements. */
enum {
  kDialogItemPushButton = 1,        /* PUSHBUTTON */
  kDialogItemDefaultPushButton = 2, /* DEFPUSHBUTTON */
  kDialogItemStaticText = 3,        /* LTEXT */
  kDialogItemEditText = 4,          /* EDITTEXT */
  kDialogItemRadioButton = 5,       /* AUTORADIOBUTTON */
  kDialogItemPicture = 6,           /* CONTROL of class Static showing a bitmap */
  kDialogItemGroupFrame = 7         /* GROUPBOX */
};

/* Style bits of dialogs and items. */
#define kDialogStyleModalFrame 0x0001u
#define kDialogStyleCaption 0x0002u
#define kDialogStyleSystemMenu 0x0004u
#define kDialogItemStyleBorder 0x0100u
#define kDialogItemStyleAutoHScroll 0x0200u

#define kDialogItemNoID (-1)

/* Positions and sizes in dialog units. */
typedef struct ResourceDialogItem {
  int32_t id; /* kDialogItemNoID for items without one */
  int32_t kind;
  const char* text;
  int32_t x, y, width, height;
  uint32_t style;
  int32_t bitmapID; /* pictures only, else 0 */
} ResourceDialogItem;

typedef struct ResourceDialog {
  const char* title; /* "" for none */
  int32_t width, height;
  const char* fontName;
  int32_t fontSize;
  uint32_t style;
  int32_t itemCount;
  const ResourceDialogItem* items;
} ResourceDialog;

typedef struct ResourceVersion {
  uint16_t fileVersion[4];
  const char* fileDescription;
  const char* productName;
  const char* internalName;
  const char* originalFilename;
} ResourceVersion;

/* data points at a ResourceImage, ResourceDialog or ResourceVersion by type,
 * or at the raw bytes of a property list; size is the byte count of data. */
typedef struct ModuleResource {
  uint32_t type;
  uint16_t id;
  uint16_t language;
  const void* data;
  uint32_t size;
} ModuleResource;

typedef struct ModuleResourceTable {
  int32_t count;
  const ModuleResource* resources;
} ModuleResourceTable;

#define kModuleResourceDirectoryName "ModuleResourceDirectory"
typedef const ModuleResourceTable* (*ModuleResourceDirectoryProc)(void);

#ifdef __cplusplus
}
#endif

#endif
