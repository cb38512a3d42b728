#ifndef PLATFORM_PLATFORM_HOST_H
#define PLATFORM_PLATFORM_HOST_H

// The host's side of the platform library: where the plug-in's debugger lines
// and message boxes go, which modules are loaded, which cursor is showing.
// Plug-in code never includes this header.

#include "platform/platform_export.h"
#include "platform/winapi.h"

#ifdef __cplusplus
extern "C" {
#endif

#if !defined(_WIN32)
// On Windows debugger lines and message boxes go to the system itself.
typedef enum PlatformOutputKind {
  PLATFORM_DEBUGGER_LINE = 0,
  PLATFORM_MESSAGE_BOX = 1
} PlatformOutputKind;

typedef void (*PlatformOutputSink)(PlatformOutputKind kind, const char* text, void* context);

// Every debugger line and message box text goes to sink, with context passed back.
// A null sink restores the default: standard error, one line each.
PLATFORM_API void platform_set_output_sink(PlatformOutputSink sink, void* context);
#endif

// Resource types as the module's resource table numbers them.
#define PLATFORM_RESOURCE_CURSOR_GROUP 12u

// Answers non-zero when module holds a resource of that type and number.
typedef int (*PlatformResourceLookup)(HINSTANCE module, unsigned resource_type, unsigned short id);

// Registering a module again replaces its lookup. On Windows the system
// finds a module's cursors itself and the lookup is not called.
PLATFORM_API void platform_register_module(HINSTANCE module, PlatformResourceLookup lookup);
PLATFORM_API void platform_unregister_module(HINSTANCE module);

// Answers non-zero when a cursor is current, with its number and module.
PLATFORM_API int platform_current_cursor(unsigned short* id, HINSTANCE* module);

#ifdef __cplusplus
}
#endif

#endif
