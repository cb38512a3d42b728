#include "ovstrutil.h"

#include <cctype>
#include <clocale>
#include <cstdint>
#include <cstring>

#include "ovlog.h"
#include "ovmem.h"

namespace {

size_t length_of(const char* text) { return text ? std::strlen(text) : 0; }

// Joins up to three parts (null or empty ones are skipped) into a new block.
char* join(const char* block_name, const char* first, const char* middle, const char* last) {
  const size_t first_length = length_of(first);
  const size_t middle_length = length_of(middle);
  const size_t last_length = length_of(last);
  char* joined = static_cast<char*>(
      alloc_mem(static_cast<unsigned>(first_length + middle_length + last_length + 1), block_name));
  if (!joined) return nullptr;
  char* end = joined;
  if (first_length) end = static_cast<char*>(std::memcpy(end, first, first_length)) + first_length;
  if (middle_length) end = static_cast<char*>(std::memcpy(end, middle, middle_length)) + middle_length;
  if (last_length) end = static_cast<char*>(std::memcpy(end, last, last_length)) + last_length;
  *end = '\0';
  return joined;
}

constexpr size_t kMaxNumberLength = 31;
// Nine significant fraction digits are more than a float holds.
constexpr int64_t kFractionKept = 100000000;

bool is_blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Adds a digit to a non-negative value that must stay within limit.
bool accumulate(int64_t& value, char digit, int64_t limit) {
  value = value * 10 + (digit - '0');
  return value <= limit;
}

// The shared scanner of str_to_int and str_to_float; fraction_allowed selects the latter.
int parse_number(const char* text, const char* routine, bool fraction_allowed, double* result) {
  if (!text) return -1;
  if (std::strlen(text) > kMaxNumberLength) {
    log_raw("Error - string supplied to %s is too long", routine);
    return -1;
  }
  while (*text && is_blank(*text)) ++text;
  if (!*text) return -1;
  char digits[kMaxNumberLength + 1];
  std::strcpy(digits, text);
  size_t length = std::strlen(digits);
  while (length > 0 && is_blank(digits[length - 1])) digits[--length] = '\0';

  const char locale_point = std::localeconv()->decimal_point[0];
  bool negative = false;
  bool after_point = false;
  int64_t whole = 0;
  int64_t numerator = 0;
  double denominator = 1.0;
  for (size_t i = 0; i < length; ++i) {
    const char c = digits[i];
    if (i == 0 && (c == '-' || c == '+')) {
      negative = c == '-';
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      if (!after_point) {
        const int64_t limit = (negative && !fraction_allowed) ? INT64_C(2147483648) : INT32_MAX;
        if (!accumulate(whole, c, limit)) return -1;
      } else if (numerator < kFractionKept) {
        // Only the whole part can overflow; fraction digits beyond what a
        // float holds are read and dropped.
        accumulate(numerator, c, INT64_MAX);
        denominator *= 10.0;
      }
    } else if (fraction_allowed && !after_point && (c == '.' || c == locale_point)) {
      after_point = true;
    } else {
      return -1;
    }
  }
  const double magnitude = static_cast<double>(whole) + static_cast<double>(numerator) / denominator;
  *result = negative ? -magnitude : magnitude;
  return 0;
}

}  // namespace

char* string_duplicate(const char* text) { return string_duplicate_as(text, "string_duplicate"); }

char* string_duplicate_as(const char* text, const char* block_name) {
  if (!text) return nullptr;
  return join(block_name, text, nullptr, nullptr);
}

char* string_concat(char* first, const char* second) {
  char* joined = join("string_concat", first, nullptr, second);
  if (joined) free_mem(first);
  return joined;
}

char* strcat_with_separator(const char* first, char separator, const char* second) {
  const size_t first_length = length_of(first);
  const bool needs_separator = first_length > 0 && first[first_length - 1] != separator;
  const char separator_text[2] = {needs_separator ? separator : '\0', '\0'};
  return join("strcat_with_separator", first, separator_text, second);
}

void str_to_upper(char* text) {
  if (!text) {
    log_raw("Error - str_to_upper is passed NULL pointer\n");
    return;
  }
  for (; *text; ++text) *text = static_cast<char>(std::toupper(static_cast<unsigned char>(*text)));
}

int str_to_int(const char* text, int* value) {
  double result = 0.0;
  if (parse_number(text, "str_to_int", false, &result) != 0) return -1;
  *value = static_cast<int>(result);
  return 0;
}

int str_to_float(const char* text, float* value) {
  double result = 0.0;
  if (parse_number(text, "str_to_float", true, &result) != 0) return -1;
  *value = static_cast<float>(result);
  return 0;
}
