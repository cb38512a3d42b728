#ifndef OVSTR_OVSTR_H
#define OVSTR_OVSTR_H

// The system's string of 8-bit characters. Buffers come from the global
// allocation operators; a failed allocation throws std::bad_alloc, and a
// formatted text longer than 51198 characters throws the const char* text
// "Buffer too small in varargs OvStr constructor".

#include <cstdint>
#include <vector>

#include "ovprintf.h"

class OvStr {
 public:
  struct Statistics {
    uint32_t strings_allocated;
    uint32_t bytes_allocated;
    uint32_t strings_freed;
    uint32_t bytes_freed;
  };

  OvStr();
  // Copies text as it stands (no formatting); null gives the empty string.
  OvStr(const char* text);
  // printf-style; chosen only when at least one argument follows the format.
  template <typename First, typename... Rest>
  OvStr(const char* format, First first, Rest... rest)
      : OvStr(kFormatted, format, first, rest...) {}
  OvStr(const OvStr& other);
  explicit OvStr(int value);
  explicit OvStr(long value);
  virtual ~OvStr();

  OvStr& operator=(const OvStr& other);
  OvStr operator+(const OvStr& right) const;
  OvStr& operator+=(const OvStr& right);

  const char* CStr() const { return text_; }
  uint32_t Length() const { return length_; }
  bool IsEmpty() const { return length_ == 0; }
  bool NotEmpty() const { return length_ != 0; }

  // Appends the non-empty pieces between separators to outlist, which must be
  // empty on entry. Answers false if storage ran out part way.
  bool Split(char separator, std::vector<OvStr>& outlist) const;

  // When on, every operation writes a trace line followed by the statistics.
  static void SetTrace(bool on);
  static Statistics GetStatistics();
  // Writes the formatted message (null: none) and the counters through the log.
  static void ReportStatistics(const char* format, ...) OV_PRINTF_FORMAT(1, 2);

 private:
  // An enumeration, not an empty struct: mingw-w64's x86-64 compiler passes
  // an empty struct before variable arguments where va_start does not look
  // for it, and every argument after the format is read one place off.
  enum Formatted { kFormatted };
  OvStr(Formatted, const char* format, ...) OV_PRINTF_FORMAT(3, 4);
  struct Joined {};
  OvStr(Joined, const char* left, uint32_t left_length, const char* right, uint32_t right_length);
  void Adopt(const char* text, uint32_t length);
  void Release();

  char* text_;
  uint32_t length_;
};

#endif
