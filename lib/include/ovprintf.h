#ifndef OVPRINTF_H
#define OVPRINTF_H

// Lets the compiler check printf-style arguments (1-based positions; `this` counts in members).
#if defined(__GNUC__)
#  define OV_PRINTF_FORMAT(format_index, first_argument) \
     __attribute__((format(printf, format_index, first_argument)))
#else
#  define OV_PRINTF_FORMAT(format_index, first_argument)
#endif

#endif
