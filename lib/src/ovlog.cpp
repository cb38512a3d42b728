#include "ovlog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/winapi.h"

namespace {

constexpr size_t kPieceSize = 1024;
constexpr size_t kNameSize = 260;

struct LogState {
  int mode = LOG_TO_DEBUGGER;
  char name[kNameSize] = "";
  std::FILE* kept_file = nullptr;
  char line[kPieceSize] = "";
  size_t line_length = 0;
};

LogState& state() {
  static LogState instance;
  return instance;
}

void write_to_file(const char* piece) {
  LogState& log = state();
  if (log.name[0] == '\0') return;
  if (log.mode == LOG_TO_FILE_EACH_TIME) {
    std::FILE* file = std::fopen(log.name, "a");
    if (!file) return;
    std::fputs(piece, file);
    std::fclose(file);
    return;
  }
  if (!log.kept_file) log.kept_file = std::fopen(log.name, "a");
  if (!log.kept_file) return;
  std::fputs(piece, log.kept_file);
  // A Fatal entry aborts, which would lose buffered text.
  std::fflush(log.kept_file);
}

void emit_line() {
  LogState& log = state();
  if (log.mode == LOG_TO_MESSAGE_BOX) {
    MessageBoxA(nullptr, log.line, "", MB_OK);
  } else {
    OutputDebugStringA(log.line);
  }
  log.line[0] = '\0';
  log.line_length = 0;
}

// Modes 5 and 6 show whole lines only, so pieces are collected until a newline.
void collect(const char* piece) {
  LogState& log = state();
  const size_t piece_length = std::strlen(piece);
  if (log.line_length + piece_length >= kPieceSize) emit_line();
  std::memcpy(log.line + log.line_length, piece, piece_length + 1);
  log.line_length += piece_length;
  if (log.line_length > 1 && log.line[log.line_length - 1] == '\n') emit_line();
}

void route(const char* piece) {
  switch (state().mode) {
    case LOG_TO_STDOUT:
      std::fputs(piece, stdout);
      break;
    case LOG_TO_STDERR:
      std::fputs(piece, stderr);
      break;
    case LOG_TO_FILE_EACH_TIME:
    case LOG_TO_FILE_KEPT_OPEN:
      write_to_file(piece);
      break;
    case LOG_TO_MESSAGE_BOX:
    case LOG_TO_DEBUGGER:
      collect(piece);
      break;
    default:
      break;
  }
}

void route_formatted(const char* format, va_list arguments) {
  char piece[kPieceSize];
  std::vsnprintf(piece, sizeof piece, format, arguments);
  route(piece);
}

const char* prefix_format(int level) {
  switch (level) {
    case LOG_FATAL: return "%s:** Fatal: ";
    case LOG_CONT: return "%s:** Cont: ";
    case LOG_WARNING: return "%s:-- Warning: ";
    case LOG_INFO: return "%s:-- Info: ";
    default: return "%s:** Undef: ";
  }
}

void write_entry_head(int level, const char* fn) {
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(stamp, sizeof stamp, "%d/%m/%y %H:%M:%S", local);
  }
  log_raw(prefix_format(level), stamp);
  if (state().mode == LOG_TO_DEBUGGER) log_raw(" [%s] ", state().name);
  if (fn) {
    log_raw("%s(): ", fn);
  } else {
    log_raw("Fn name not given: ");
  }
}

void write_entry_tail(int level) {
  log_raw("\n");
  if (level == LOG_FATAL) {
    print_stacktrace();
    std::fflush(nullptr);
    std::abort();
  }
}

}  // namespace

void log_message(int level, const char* fn, const char* format, ...) {
  write_entry_head(level, fn);
  va_list arguments;
  va_start(arguments, format);
  route_formatted(format, arguments);
  va_end(arguments);
  write_entry_tail(level);
}

void log_info(const char* text) { log_message(LOG_INFO, "", "%s", text); }

void log_raw(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  route_formatted(format, arguments);
  va_end(arguments);
}

void log_raw_line(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  route_formatted(format, arguments);
  va_end(arguments);
  log_raw("\n");
}

void set_log_output(int mode, const char* name) {
  LogState& log = state();
  // Text collected for the old output goes there, not to the next one.
  const bool collecting = log.mode == LOG_TO_MESSAGE_BOX || log.mode == LOG_TO_DEBUGGER;
  if (collecting && log.line_length > 0) emit_line();
  log.mode = mode;
  std::snprintf(log.name, sizeof log.name, "%s", name ? name : "");
  // The kept stream belongs to the previous setting; mode 4 reopens by the new name.
  if (log.kept_file) {
    std::fclose(log.kept_file);
    log.kept_file = nullptr;
  }
}

int print_stacktrace() {
  log_raw("stacktrace is not available in Windows\n");
  return 0;
}
