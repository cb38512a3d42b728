#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "ovlog.h"
#include "ovstr/ovstr.h"
#include "support_test_helpers.h"

namespace {

// Watches the nothrow array allocations through which OvStr gets its buffers,
// and can make them fail.
struct NothrowProbe {
  static inline bool recording = false;
  static inline std::vector<size_t> sizes;
  static inline int succeed_before_failing = -1;  // negative: never fail

  NothrowProbe(int successes = -1) {
    sizes.clear();
    succeed_before_failing = successes;
    recording = true;
  }
  ~NothrowProbe() { recording = false; }
};

std::vector<std::string> texts_of(const std::vector<OvStr>& strings) {
  std::vector<std::string> texts;
  for (const OvStr& s : strings) texts.emplace_back(s.CStr());
  return texts;
}

}  // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (NothrowProbe::recording) {
    NothrowProbe::recording = false;  // the vector below allocates too
    NothrowProbe::sizes.push_back(size);
    NothrowProbe::recording = true;
    if (NothrowProbe::succeed_before_failing == 0) return nullptr;
    if (NothrowProbe::succeed_before_failing > 0) --NothrowProbe::succeed_before_failing;
  }
  try {
    return ::operator new[](size);
  } catch (...) {
    return nullptr;
  }
}

TEST(OvStrConstructionTest, NullTextAndNullFormatGiveTheEmptyString) {
  const char* null_text = nullptr;
  const OvStr from_text(null_text);
  const OvStr from_format(null_text, 5);
  const OvStr by_default;
  for (const OvStr* s : {&from_text, &from_format, &by_default}) {
    EXPECT_TRUE(s->IsEmpty());
    EXPECT_FALSE(s->NotEmpty());
    EXPECT_EQ(s->Length(), 0u);
    ASSERT_NE(s->CStr(), nullptr);
    EXPECT_STREQ(s->CStr(), "");
  }
}

TEST(OvStrConstructionTest, SingleTextIsCopiedOthersAreFormatted) {
  const OvStr single("100%s %d");
  EXPECT_STREQ(single.CStr(), "100%s %d");
  EXPECT_EQ(single.Length(), 8u);
  EXPECT_TRUE(single.NotEmpty());

  const OvStr formatted("Error (%c%c) at <%d> in <%s>", '!', 'M', 42, "file.cpp");
  EXPECT_STREQ(formatted.CStr(), "Error (!M) at <42> in <file.cpp>");
  EXPECT_EQ(formatted.Length(), std::strlen(formatted.CStr()));

  EXPECT_STREQ(OvStr(-42).CStr(), "-42");
  EXPECT_STREQ(OvStr(INT_MIN).CStr(), std::to_string(INT_MIN).c_str());
  EXPECT_STREQ(OvStr(LONG_MAX).CStr(), std::to_string(LONG_MAX).c_str());
}

TEST(OvStrFormattingTest, TextOf99CharactersNoLongerFitsTheFirstScratchBuffer) {
  const struct {
    size_t length;
    std::vector<size_t> buffers;
  } cases[] = {{98, {100, 99}}, {99, {100, 200, 100}}};
  for (const auto& c : cases) {
    const std::string text(c.length, 'a');
    NothrowProbe probe;
    const OvStr s("%s", text.c_str());
    EXPECT_EQ(NothrowProbe::sizes, c.buffers) << c.length;
    EXPECT_EQ(s.CStr(), text);
  }
}

TEST(OvStrFormattingTest, LongestAcceptedTextIs51198Characters) {
  const std::string longest(51198, 'c');
  const OvStr s("%s", longest.c_str());
  EXPECT_EQ(s.Length(), 51198u);

  const std::string too_long(51199, 'd');
  NothrowProbe probe;
  try {
    const OvStr refused("%s", too_long.c_str());
    ADD_FAILURE() << "no exception for 51199 characters";
  } catch (const char* message) {
    EXPECT_STREQ(message, "Buffer too small in varargs OvStr constructor");
  }
  ASSERT_EQ(NothrowProbe::sizes.size(), 10u);
  EXPECT_EQ(NothrowProbe::sizes.front(), 100u);
  EXPECT_EQ(NothrowProbe::sizes.back(), 51200u);
}

TEST(OvStrFormattingTest, FailedAllocationThrowsBadAllocation) {
  for (int successes : {0, 1}) {  // the scratch buffer, then the string's own
    NothrowProbe probe(successes);
    try {
      const OvStr s("%d", 5);
      ADD_FAILURE() << "no exception after " << successes << " allocations";
    } catch (const std::bad_alloc& failure) {
      EXPECT_STREQ(failure.what(), "bad allocation");
    }
  }
  NothrowProbe probe(0);
  EXPECT_THROW(OvStr("plain"), std::bad_alloc);
}

TEST(OvStrOperatorTest, JoiningLeavesTheRightOperandAlone) {
  const OvStr ab("ab");
  const OvStr empty("");
  const OvStr joined = ab + empty;
  EXPECT_STREQ(joined.CStr(), "ab");
  EXPECT_EQ(joined.Length(), 2u);

  OvStr left("left-");
  const OvStr right("right");
  left += right;
  EXPECT_STREQ(left.CStr(), "left-right");
  EXPECT_EQ(left.Length(), 10u);
  EXPECT_STREQ(right.CStr(), "right");
}

TEST(OvStrOperatorTest, AppendingToItselfDoublesTheText) {
  OvStr s("xyz");
  s += s;
  EXPECT_STREQ(s.CStr(), "xyzxyz");
  EXPECT_EQ(s.Length(), 6u);
}

TEST(OvStrOperatorTest, CopiesAndAssignmentsOwnTheirText) {
  OvStr original("first");
  const OvStr copy(original);
  OvStr assigned("something longer");
  assigned = original;
  original = OvStr("changed");
  EXPECT_STREQ(copy.CStr(), "first");
  EXPECT_STREQ(assigned.CStr(), "first");
  EXPECT_EQ(assigned.Length(), 5u);

  OvStr& alias = assigned;
  assigned = alias;
  EXPECT_STREQ(assigned.CStr(), "first");
}

TEST(OvStrOperatorTest, FailedAssignmentKeepsTheOldText) {
  OvStr target("kept");
  const OvStr source("other");
  NothrowProbe probe(0);
  EXPECT_THROW(target = source, std::bad_alloc);
  EXPECT_STREQ(target.CStr(), "kept");
  EXPECT_EQ(target.Length(), 4u);
}

TEST(OvStrStatisticsTest, CountersFollowEveryBuffer) {
  const OvStr::Statistics before = OvStr::GetStatistics();
  {
    const OvStr four("abcd");
    const OvStr copy(four);
  }
  const OvStr::Statistics after = OvStr::GetStatistics();
  EXPECT_EQ(after.strings_allocated - before.strings_allocated, 2u);
  EXPECT_EQ(after.bytes_allocated - before.bytes_allocated, 10u);
  EXPECT_EQ(after.strings_freed - before.strings_freed, 2u);
  EXPECT_EQ(after.bytes_freed - before.bytes_freed, 10u);
}

TEST(OvStrStatisticsTest, ReportWritesMessageAndCounters) {
  const OvStr::Statistics now = OvStr::GetStatistics();
  const std::string written = log_on_stderr([] { OvStr::ReportStatistics("checkpoint %d", 3); });
  const std::string expected =
      "checkpoint 3\nNum Strs Alloced: " + std::to_string(now.strings_allocated) +
      " Num Strs Freed " + std::to_string(now.strings_freed) + " Strs Left " +
      std::to_string(now.strings_allocated - now.strings_freed) + "\t\tNum Bytes Alloced " +
      std::to_string(now.bytes_allocated) + " Num Bytes Freed " + std::to_string(now.bytes_freed) +
      " Bytes Left " + std::to_string(now.bytes_allocated - now.bytes_freed) + "\n\n";
  EXPECT_EQ(written, expected);
}

TEST(OvStrStatisticsTest, TraceNamesTheOperation) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  OvStr::SetTrace(true);
  {
    OvStr a("a");
    const OvStr b(a);
    a += b;
  }
  OvStr::SetTrace(false);
  const std::string written = capture.joined();
  for (const char* line : {"OvStr: Copy Constructor called: <a>\n\nNum Strs Alloced: ",
                           "OvStr: a += a operator+= called\n\nNum Strs Alloced: ",
                           "OvStr: Default Destructor called: <aa>\n\nNum Strs Alloced: "}) {
    EXPECT_NE(written.find(line), std::string::npos) << line;
  }
}

TEST(OvStrSplitTest, RunsOfSeparatorsCountAsOneAndEmptyPiecesAreDropped) {
  const struct {
    const char* text;
    char separator;
    std::vector<std::string> pieces;
  } cases[] = {{"\n\nab\n\ncd\n", '\n', {"ab", "cd"}},
               {"", '\n', {}},
               {",,,", ',', {}},
               {"a b\tc", '\n', {"a b\tc"}}};
  for (const auto& c : cases) {
    std::vector<OvStr> pieces;
    EXPECT_TRUE(OvStr(c.text).Split(c.separator, pieces)) << c.text;
    EXPECT_EQ(texts_of(pieces), c.pieces) << c.text;
  }
}

TEST(OvStrSplitTest, RunningOutOfStorageAnswersFalseWithThePiecesSoFar) {
  const OvStr text("one two three");
  std::vector<OvStr> pieces;
  NothrowProbe probe(1);
  EXPECT_FALSE(text.Split(' ', pieces));
  EXPECT_EQ(texts_of(pieces), std::vector<std::string>{"one"});
}
