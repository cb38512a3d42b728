#ifndef PLATFORM_WINAPI_H
#define PLATFORM_WINAPI_H

// The few user-interface calls the plug-in makes. On Windows they are the
// system's own; elsewhere the platform library provides them.

#if defined(_WIN32)

#include <windows.h>

#else

#include <stdint.h>

#include "platform/platform_export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef struct HCURSOR__* HCURSOR;

// A resource named by its 16-bit number instead of a text.
#define MAKEINTRESOURCEA(id) ((const char*)(uintptr_t)(unsigned short)(id))

#define MB_OK 0x00000000u
#define IDOK 1

PLATFORM_API void OutputDebugStringA(const char* text);
// Shows text with an OK button; answers IDOK.
PLATFORM_API int MessageBoxA(HWND owner, const char* text, const char* caption, unsigned type);
// Answers null unless the module is loaded and holds a cursor with that number.
PLATFORM_API HCURSOR LoadCursorA(HINSTANCE module, const char* name);
// Makes cursor current; answers the cursor that was current before.
PLATFORM_API HCURSOR SetCursor(HCURSOR cursor);

#ifdef __cplusplus
}
#endif

#endif

#endif
