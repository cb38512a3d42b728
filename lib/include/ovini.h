#ifndef OVINI_H
#define OVINI_H

// Settings files of sections and name-value records:
//   # comment            (also ';', in the first column only)
//   [Section]
//   Name value
//   Name "value with blanks"
// Names hold only A-Z a-z 0-9 + - _ . and are compared case-sensitively.
// Each file is parsed once into a cache; the first record of a name wins.

#include "ovstr/ovstr.h"

// A new copy of the value (empty when there is none), to be released with
// free_mem; null on failure.
char* getini(const char* file, const char* section, const char* name);

// The typed getters answer their default when the value cannot be had.
// The value when it is not empty (release it with free_mem); else null.
char* get_string_from_ini(const char* file, const char* section, const char* name);
// Converted in base 0: decimal, 0x hexadecimal or 0 octal.
long get_int_from_ini(const char* file, const char* section, const char* name, long default_value);
unsigned long get_unsigned_from_ini(const char* file, const char* section, const char* name,
                                    unsigned long default_value);
float get_float_from_ini(const char* file, const char* section, const char* name,
                         float default_value);
// True when the value is present and not empty.
bool get_BOOLEAN_from_ini(const char* file, const char* section, const char* name,
                          bool default_value);
// The value's only character.
char get_char_from_ini(const char* file, const char* section, const char* name, char default_value);

// Drops the file's cache, so that the next request reads it again.
bool clear_ini_cache(const char* file);
// On by default; off makes every request read the file afresh.
void set_ini_cache_use(bool on);

// The settings file of this system: none, so every setting takes its default.
OvStr IniFileName();

#endif
