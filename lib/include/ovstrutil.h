#ifndef OVSTRUTIL_H
#define OVSTRUTIL_H

// Plain NUL-terminated text routines. Results come from alloc_mem and are the
// caller's to release with free_mem.

// Null for a null text or when storage runs out.
char* string_duplicate(const char* text);
// The same under a block name of the caller's choosing.
char* string_duplicate_as(const char* text, const char* block_name);
// first then second (null counts as empty). Consumes first on success only.
char* string_concat(char* first, const char* second);
// first, separator unless first already ends with it (or is empty), then second.
char* strcat_with_separator(const char* first, char separator, const char* second);
// In place.
void str_to_upper(char* text);
// 0 with the value stored, or -1 (also when the digits overflow 32 bits).
int str_to_int(const char* text, int* value);
int str_to_float(const char* text, float* value);

#endif
