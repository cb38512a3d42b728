#ifndef PLATFORM_PLATFORM_EXPORT_H
#define PLATFORM_PLATFORM_EXPORT_H

// Marks the functions the platform library exports; everything else stays hidden.
#if defined(_WIN32)
#  if defined(MIRTIL_PLATFORM_BUILD)
#    define PLATFORM_API __declspec(dllexport)
#  else
#    define PLATFORM_API __declspec(dllimport)
#  endif
#else
#  define PLATFORM_API __attribute__((visibility("default")))
#endif

#endif
