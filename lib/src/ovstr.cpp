#include "ovstr/ovstr.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "ovlog.h"

namespace {

class BadAllocation : public std::bad_alloc {
 public:
  const char* what() const noexcept override { return "bad allocation"; }
};

OvStr::Statistics counters = {0, 0, 0, 0};
bool trace_on = false;

// The global allocator behind operator new answers null instead of throwing.
char* new_zeroed_chars(size_t size) {
  char* chars = new (std::nothrow) char[size];
  if (!chars) throw BadAllocation();
  std::memset(chars, 0, size);
  return chars;
}

char* new_counted_buffer(uint32_t length) {
  char* buffer = new_zeroed_chars(size_t{length} + 1);
  counters.strings_allocated += 1;
  counters.bytes_allocated += length + 1;
  return buffer;
}

uint32_t text_length(const char* text) { return text ? static_cast<uint32_t>(std::strlen(text)) : 0; }

constexpr int kFormatAttempts = 10;
constexpr size_t kFirstFormatSize = 100;

}  // namespace

OvStr::OvStr() : text_(nullptr), length_(0) {
  Adopt("", 0);
  if (trace_on) ReportStatistics("OvStr: Default Constructor called\n");
}

OvStr::OvStr(const char* text) : text_(nullptr), length_(0) { Adopt(text, text_length(text)); }

OvStr::OvStr(Formatted, const char* format, ...) : text_(nullptr), length_(0) {
  if (!format) {
    Adopt("", 0);
    return;
  }
  va_list arguments;
  va_start(arguments, format);
  std::unique_ptr<char[]> scratch;
  size_t size = 0;
  int result = -1;
  for (int attempt = 0; attempt < kFormatAttempts; ++attempt) {
    size = kFirstFormatSize << attempt;
    scratch.reset();
    try {
      scratch.reset(new_zeroed_chars(size));
    } catch (...) {
      va_end(arguments);
      throw;
    }
    va_list attempt_arguments;
    va_copy(attempt_arguments, arguments);
    result = std::vsnprintf(scratch.get(), size, format, attempt_arguments);
    va_end(attempt_arguments);
    // A text of exactly size - 1 characters counts as not fitting.
    if (result >= 0 && static_cast<size_t>(result) < size - 1) break;
  }
  va_end(arguments);
  if (result < 0 || static_cast<size_t>(result) >= size - 1) {
    throw "Buffer too small in varargs OvStr constructor";
  }
  Adopt(scratch.get(), static_cast<uint32_t>(result));
  if (trace_on) ReportStatistics("OvStr: fromVString Constructor called: <%s>\n", text_);
}

OvStr::OvStr(const OvStr& other) : text_(nullptr), length_(0) {
  Adopt(other.text_, other.length_);
  if (trace_on) ReportStatistics("OvStr: Copy Constructor called: <%s>\n", text_);
}

OvStr::OvStr(int value) : text_(nullptr), length_(0) {
  char digits[200];
  std::snprintf(digits, sizeof digits, "%d", value);
  Adopt(digits, text_length(digits));
  if (trace_on) ReportStatistics("OvStr: fromInt Constructor called: <%s>\n", text_);
}

OvStr::OvStr(long value) : text_(nullptr), length_(0) {
  char digits[200];
  std::snprintf(digits, sizeof digits, "%ld", value);
  Adopt(digits, text_length(digits));
  if (trace_on) ReportStatistics("OvStr: fromLong Constructor called: <%s>\n", text_);
}

OvStr::OvStr(Joined, const char* left, uint32_t left_length, const char* right, uint32_t right_length)
    : text_(new_counted_buffer(left_length + right_length)), length_(left_length + right_length) {
  std::memcpy(text_, left, left_length);
  std::memcpy(text_ + left_length, right, right_length);
}

OvStr::~OvStr() {
  if (trace_on) ReportStatistics("OvStr: Default Destructor called: <%s>\n", text_);
  Release();
}

OvStr& OvStr::operator=(const OvStr& other) {
  if (trace_on) ReportStatistics("OvStr: %s = %s operator= called\n", text_, other.text_);
  if (this == &other) return *this;
  // The new buffer is had before the old one goes, so a failure leaves *this intact.
  char* buffer = new_counted_buffer(other.length_);
  std::memcpy(buffer, other.text_, other.length_);
  Release();
  text_ = buffer;
  length_ = other.length_;
  return *this;
}

OvStr OvStr::operator+(const OvStr& right) const {
  if (trace_on) ReportStatistics("OvStr: %s + %s operator+ called\n", text_, right.text_);
  return OvStr(Joined{}, text_, length_, right.text_, right.length_);
}

OvStr& OvStr::operator+=(const OvStr& right) {
  if (trace_on) ReportStatistics("OvStr: %s += %s operator+= called\n", text_, right.text_);
  // Joined before the old buffer goes, so appending a string to itself works.
  OvStr joined(Joined{}, text_, length_, right.text_, right.length_);
  std::swap(text_, joined.text_);
  std::swap(length_, joined.length_);
  return *this;
}

bool OvStr::Split(char separator, std::vector<OvStr>& outlist) const {
  assert(outlist.empty());
  try {
    const std::string text(text_, length_);
    std::string::size_type start = text.find_first_not_of(separator);
    while (start != std::string::npos) {
      std::string::size_type end = text.find(separator, start);
      if (end == std::string::npos) end = text.size();
      outlist.emplace_back(text.substr(start, end - start).c_str());
      start = text.find_first_not_of(separator, end);
    }
    return true;
  } catch (...) {
    return false;
  }
}

void OvStr::SetTrace(bool on) { trace_on = on; }

OvStr::Statistics OvStr::GetStatistics() { return counters; }

void OvStr::ReportStatistics(const char* format, ...) {
  constexpr size_t kMessageSize = 102401;
  std::unique_ptr<char[]> message(new (std::nothrow) char[kMessageSize]);
  if (!message) return;
  message[0] = '\0';
  if (format) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message.get(), kMessageSize, format, arguments);
    va_end(arguments);
  }
  log_raw_line(
      "%s\nNum Strs Alloced: %d Num Strs Freed %d Strs Left %d\t\tNum Bytes Alloced %d Num Bytes "
      "Freed %d Bytes Left %d\n",
      message.get(), static_cast<int>(counters.strings_allocated),
      static_cast<int>(counters.strings_freed),
      static_cast<int>(counters.strings_allocated - counters.strings_freed),
      static_cast<int>(counters.bytes_allocated), static_cast<int>(counters.bytes_freed),
      static_cast<int>(counters.bytes_allocated - counters.bytes_freed));
}

void OvStr::Adopt(const char* text, uint32_t length) {
  text_ = new_counted_buffer(length);
  length_ = length;
  if (length > 0) std::memcpy(text_, text, length);
}

void OvStr::Release() {
  if (!text_) return;
  counters.strings_freed += 1;
  counters.bytes_freed += length_ + 1;
  delete[] text_;
  text_ = nullptr;
}
