#ifndef TESTS_SUPPORT_SUPPORT_TEST_HELPERS_H
#define TESTS_SUPPORT_SUPPORT_TEST_HELPERS_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ovmem.h"
#include "platform/platform_host.h"

// Sends the log to the given mode (5 or 6) and collects what reaches the
// platform's output sink. The log is switched off again afterwards.
class LogCapture {
 public:
  struct Output {
    PlatformOutputKind kind;
    std::string text;
  };

  explicit LogCapture(int mode = 6, const char* tag = nullptr);
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::vector<Output>& outputs() const { return outputs_; }
  std::vector<std::string> texts() const;
  // The texts with their leading "dd/mm/yy hh:mm:ss" stamp removed; a text
  // without one is kept whole, so that a comparison shows it.
  std::vector<std::string> entries() const;
  // All texts run together, for searching a report that spans many lines.
  std::string joined() const;
  void clear() { outputs_.clear(); }

 private:
  static void Collect(PlatformOutputKind kind, const char* text, void* context);
  std::vector<Output> outputs_;
};

// What the log writes to standard error while the action runs.
std::string log_on_stderr(const std::function<void()>& action);

// A file name in a fresh temporary folder, removed with the folder afterwards.
class TempFile {
 public:
  explicit TempFile(const std::string& leaf = "file.txt");
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  void write(const std::string& contents) const;
  std::string read() const;

 private:
  std::string folder_;
  std::string path_;
};

// Tracking can only be switched on before the first allocation of the
// process, so tracked cases run in a fresh child process. The child's
// expectations decide its exit code; their messages appear in the output.
template <typename Body>
void run_in_fresh_process(bool tracked, Body body) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (tracked) switch_memory_tracking_on();
        body();
        std::exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

template <typename Body>
void run_tracked(Body body) {
  run_in_fresh_process(true, body);
}

#endif
