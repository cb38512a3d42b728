#include <gtest/gtest.h>

#include <string>

#include "ovlog.h"
#include "support_test_helpers.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

namespace {

using Lines = std::vector<std::string>;

// "dd/mm/yy hh:mm:ss" as the entries carry it.
const char* const kStampPattern = "[0-9][0-9]/[0-9][0-9]/[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]";

}  // namespace

TEST(LogEntryTest, DebuggerEntryCarriesStampLevelTagFunctionAndText) {
  LogCapture capture(LOG_TO_DEBUGGER, "abc");
  log_message(LOG_WARNING, "DoThing", "value %d of %s", 3, "four");

  ASSERT_EQ(capture.outputs().size(), 1u);
  EXPECT_EQ(capture.outputs()[0].kind, PLATFORM_DEBUGGER_LINE);
  EXPECT_TRUE(::testing::internal::RE::PartialMatch(capture.texts()[0],
                                                    std::string("^") + kStampPattern + ":-- Warning: "))
      << capture.texts()[0];
  EXPECT_EQ(capture.entries(), Lines{":-- Warning:  [abc] DoThing(): value 3 of four\n"});
}

TEST(LogEntryTest, EachLevelHasItsPrefix) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  log_message(LOG_CONT, "f", "x");
  log_message(LOG_WARNING, "f", "x");
  log_message(LOG_INFO, "f", "x");
  log_message(5, "f", "x");
  log_message(0, "f", "x");
  EXPECT_EQ(capture.entries(), (Lines{":** Cont:  [] f(): x\n", ":-- Warning:  [] f(): x\n",
                                      ":-- Info:  [] f(): x\n", ":** Undef:  [] f(): x\n",
                                      ":** Undef:  [] f(): x\n"}));
}

TEST(LogEntryTest, NullAndEmptyFunctionNamesAreTold) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  log_message(LOG_INFO, nullptr, "one");
  log_message(LOG_INFO, "", "two");
  EXPECT_EQ(capture.entries(),
            (Lines{":-- Info:  [] Fn name not given: one\n", ":-- Info:  [] (): two\n"}));
}

TEST(LogEntryTest, InfoWritesItsTextAsItStands) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  log_info("100% done, %s %d %n");
  EXPECT_EQ(capture.entries(), Lines{":-- Info:  [] (): 100% done, %s %d %n\n"});
}

TEST(LogEntryTest, StandardStreamsCarryNoTag) {
  set_log_output(LOG_TO_STDOUT, "abc");
  CaptureStdout();
  log_info("to stdout");
  const std::string out = GetCapturedStdout();

  set_log_output(LOG_TO_STDERR, "abc");
  CaptureStderr();
  log_message(LOG_CONT, "fn", "to stderr");
  const std::string err = GetCapturedStderr();
  set_log_output(LOG_TO_NOWHERE, nullptr);

  EXPECT_TRUE(::testing::internal::RE::FullMatch(out, std::string(kStampPattern) + ":-- Info: \\(\\): to stdout\n"))
      << out;
  EXPECT_TRUE(::testing::internal::RE::FullMatch(err, std::string(kStampPattern) + ":\\*\\* Cont: fn\\(\\): to stderr\n"))
      << err;
}

TEST(LogOutputTest, ModeZeroDropsEverything) {
  LogCapture capture(LOG_TO_NOWHERE, nullptr);
  CaptureStdout();
  CaptureStderr();
  log_message(LOG_CONT, "fn", "dropped");
  log_raw("dropped too\n");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_TRUE(capture.outputs().empty());
}

TEST(LogOutputTest, RawPieceIsCutAt1023Characters) {
  EXPECT_EQ(log_on_stderr([] { log_raw("%s", std::string(2000, 'x').c_str()); }), std::string(1023, 'x'));
}

TEST(LogOutputTest, FileModeAppendsEachPiece) {
  TempFile file("log.txt");
  file.write("before\n");
  set_log_output(LOG_TO_FILE_EACH_TIME, file.path().c_str());
  log_raw("one ");
  log_raw_line("two");
  set_log_output(LOG_TO_NOWHERE, nullptr);
  EXPECT_EQ(file.read(), "before\none two\n");
}

TEST(LogOutputTest, FileModesWithoutUsableFileWriteNothing) {
  TempFile file("missing_folder/log.txt");
  for (int mode : {LOG_TO_FILE_EACH_TIME, LOG_TO_FILE_KEPT_OPEN}) {
    set_log_output(mode, file.path().c_str());
    log_raw_line("lost");
    set_log_output(mode, "");
    log_raw_line("lost too");
  }
  set_log_output(LOG_TO_NOWHERE, nullptr);
  EXPECT_EQ(file.read(), "");
}

TEST(LogOutputTest, KeptOpenFileShowsEachPieceAndFollowsANewName) {
  TempFile first("first.txt");
  TempFile second("second.txt");
  set_log_output(LOG_TO_FILE_KEPT_OPEN, first.path().c_str());
  log_raw_line("alpha");
  const std::string first_seen = first.read();
  set_log_output(LOG_TO_FILE_KEPT_OPEN, second.path().c_str());
  log_raw_line("beta");
  set_log_output(LOG_TO_NOWHERE, nullptr);

  EXPECT_EQ(first_seen, "alpha\n");
  EXPECT_EQ(first.read(), "alpha\n");
  EXPECT_EQ(second.read(), "beta\n");
}

TEST(LogOutputTest, MessageBoxModeShowsOneBoxPerLine) {
  LogCapture capture(LOG_TO_MESSAGE_BOX, "ignored");
  log_info("first");
  log_raw("a");
  log_raw("b\n");
  ASSERT_EQ(capture.outputs().size(), 2u);
  EXPECT_EQ(capture.outputs()[0].kind, PLATFORM_MESSAGE_BOX);
  EXPECT_EQ(capture.entries()[0], ":-- Info: (): first\n");
  EXPECT_EQ(capture.texts()[1], "ab\n");
}

TEST(LogLineCollectionTest, PiecesAreCollectedUntilTheLineEnds) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  log_raw("ab");
  log_raw("cd");
  EXPECT_TRUE(capture.outputs().empty());
  log_raw("ef\ngh");
  log_raw("\n");
  log_raw_line("n=%d", 5);
  EXPECT_EQ(capture.texts(), (Lines{"abcdef\ngh\n", "n=5\n"}));
}

TEST(LogLineCollectionTest, LoneNewlineWaitsForMoreText) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  log_raw("\n");
  EXPECT_TRUE(capture.outputs().empty());
  log_raw("x\n");
  EXPECT_EQ(capture.texts(), Lines{"\nx\n"});
}

TEST(LogLineCollectionTest, TextBeyondTheBufferGoesOutAsAPartialLine) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  const std::string head(1000, 'h');
  const std::string tail(23, 't');
  log_raw("%s", head.c_str());
  log_raw("%s", tail.c_str());  // 1023 characters still fit
  EXPECT_TRUE(capture.outputs().empty());
  log_raw("\n");  // would make 1024
  EXPECT_EQ(capture.texts(), (Lines{head + tail}));
  log_raw("%s\n", tail.c_str());
  EXPECT_EQ(capture.texts(), (Lines{head + tail, "\n" + tail + "\n"}));
}

TEST(LogLineCollectionTest, LongMessageSplitsAcrossTwoDebuggerLines) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  const std::string text(1010, 'm');
  log_message(LOG_INFO, "fn", "%s", text.c_str());
  ASSERT_EQ(capture.outputs().size(), 2u);
  EXPECT_EQ(capture.entries()[0], ":-- Info:  [] fn(): ");
  EXPECT_EQ(capture.texts()[1], text + "\n");
}

TEST(LogLineCollectionTest, ChangingTheOutputSendsCollectedTextToTheOldOne) {
  Lines texts;
  {
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    log_raw("partial");
    set_log_output(LOG_TO_MESSAGE_BOX, nullptr);
    log_raw("boxed\n");
    ASSERT_EQ(capture.outputs().size(), 2u);
    EXPECT_EQ(capture.outputs()[0].kind, PLATFORM_DEBUGGER_LINE);
    EXPECT_EQ(capture.outputs()[1].kind, PLATFORM_MESSAGE_BOX);
    texts = capture.texts();
  }
  EXPECT_EQ(texts, (Lines{"partial", "boxed\n"}));
}

TEST(LogStacktraceTest, WritesItsLineAndAnswersZero) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  EXPECT_EQ(print_stacktrace(), 0);
  EXPECT_EQ(capture.texts(), Lines{"stacktrace is not available in Windows\n"});
}

TEST(LogFatalDeathTest, FatalEntryIsFollowedByTheStacktraceLineAndAnAbort) {
  EXPECT_DEATH(
      {
        set_log_output(LOG_TO_STDERR, nullptr);
        log_message(LOG_FATAL, "fn", "broken %d", 7);
      },
      ":\\*\\* Fatal: fn\\(\\): broken 7\nstacktrace is not available in Windows\n");
}

TEST(LogFatalDeathTest, FatalEndsTheProcessEvenWithOutputOff) {
  EXPECT_DEATH(
      {
        set_log_output(LOG_TO_NOWHERE, nullptr);
        log_message(LOG_FATAL, "fn", "quiet");
      },
      "");
}

TEST(LogFatalDeathTest, FatalEntryReachesAKeptOpenFileBeforeTheAbort) {
  TempFile file("fatal.txt");
  EXPECT_DEATH(
      {
        set_log_output(LOG_TO_FILE_KEPT_OPEN, file.path().c_str());
        log_message(LOG_FATAL, "fn", "last words");
      },
      "");
  const std::string written = file.read();
  EXPECT_NE(written.find(":** Fatal: fn(): last words\nstacktrace is not available in Windows\n"),
            std::string::npos)
      << written;
}
