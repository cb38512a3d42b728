#ifndef PLATFORM_PLATFORM_EXPORT_H
#define PLATFORM_PLATFORM_EXPORT_H

// Marks the functions the platform library exports; everything else stays
// hidden. On Windows the library is static and serves the host alone.
#if defined(_WIN32)
#  define PLATFORM_API
#else
#  define PLATFORM_API __attribute__((visibility("default")))
#endif

#endif
