#ifndef OVLOG_H
#define OVLOG_H

// Diagnostic log: time-stamped, levelled entries routed to one process-wide output.

#include "ovprintf.h"

enum LogLevel {
  LOG_FATAL = 1,    // ends the process after the entry
  LOG_CONT = 2,
  LOG_WARNING = 3,
  LOG_INFO = 4
};

enum LogOutputMode {
  LOG_TO_NOWHERE = 0,
  LOG_TO_STDOUT = 1,
  LOG_TO_STDERR = 2,
  LOG_TO_FILE_EACH_TIME = 3,  // opened for appending and closed for every piece
  LOG_TO_FILE_KEPT_OPEN = 4,
  LOG_TO_MESSAGE_BOX = 5,     // one box per completed line
  LOG_TO_DEBUGGER = 6         // one debugger line per completed line
};

// Writes one entry; fn may be null. Level LOG_FATAL ends the process.
void log_message(int level, const char* fn, const char* format, ...) OV_PRINTF_FORMAT(3, 4);
// An Info entry with an empty function name; text is written as it stands.
void log_info(const char* text);
// Routes one formatted piece, without prefix or newline (cut at 1023 characters).
void log_raw(const char* format, ...) OV_PRINTF_FORMAT(1, 2);
// log_raw of the formatted piece, then of a newline.
void log_raw_line(const char* format, ...) OV_PRINTF_FORMAT(1, 2);
// name is the file in modes 3 and 4, the tag in mode 6; null means empty.
void set_log_output(int mode, const char* name);
int print_stacktrace();

#endif
