#include <gtest/gtest.h>

#include "ovlog.h"
#include "platform/platform_host.h"
#include "support_test_helpers.h"

namespace {

constexpr unsigned short kToolCursor = 16000;

HINSTANCE fake_module(uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

int holds_tool_cursor(HINSTANCE, unsigned type, unsigned short id) {
  return type == PLATFORM_RESOURCE_CURSOR_GROUP && id == kToolCursor;
}

class PlatformCursorTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform_unregister_module(module_);
    SetCursor(nullptr);
  }
  const HINSTANCE module_ = fake_module(0x1000);
};

}  // namespace

TEST(PlatformOutputTest, SinkReceivesDebuggerLinesAndMessageBoxesWithTheirKind) {
  LogCapture capture(LOG_TO_NOWHERE);
  OutputDebugStringA("line one\n");
  EXPECT_EQ(MessageBoxA(nullptr, "box text", "", MB_OK), IDOK);

  ASSERT_EQ(capture.outputs().size(), 2u);
  EXPECT_EQ(capture.outputs()[0].kind, PLATFORM_DEBUGGER_LINE);
  EXPECT_EQ(capture.outputs()[1].kind, PLATFORM_MESSAGE_BOX);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"line one\n", "box text"}));
}

TEST(PlatformOutputTest, DefaultSinkWritesOneLineEachToStandardError) {
  ::testing::internal::CaptureStderr();
  OutputDebugStringA("with newline\n");
  OutputDebugStringA("without newline");
  MessageBoxA(nullptr, "a box", "caption", MB_OK);
  OutputDebugStringA(nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "with newline\nwithout newline\na box\n\n");
}

TEST_F(PlatformCursorTest, LoadsOnlyCursorsOfRegisteredModules) {
  EXPECT_EQ(LoadCursorA(module_, MAKEINTRESOURCEA(kToolCursor)), nullptr);

  platform_register_module(module_, holds_tool_cursor);
  const HCURSOR cursor = LoadCursorA(module_, MAKEINTRESOURCEA(kToolCursor));
  EXPECT_NE(cursor, nullptr);
  EXPECT_EQ(LoadCursorA(module_, MAKEINTRESOURCEA(kToolCursor)), cursor);
  EXPECT_EQ(LoadCursorA(module_, MAKEINTRESOURCEA(kToolCursor + 1)), nullptr);
  EXPECT_EQ(LoadCursorA(module_, "16000"), nullptr);
  EXPECT_EQ(LoadCursorA(fake_module(0x2000), MAKEINTRESOURCEA(kToolCursor)), nullptr);

  platform_unregister_module(module_);
  EXPECT_EQ(LoadCursorA(module_, MAKEINTRESOURCEA(kToolCursor)), nullptr);
}

TEST_F(PlatformCursorTest, SetCursorAnswersThePreviousOneAndIsReportedToTheHost) {
  platform_register_module(module_, holds_tool_cursor);
  const HCURSOR cursor = LoadCursorA(module_, MAKEINTRESOURCEA(kToolCursor));
  ASSERT_NE(cursor, nullptr);

  EXPECT_EQ(platform_current_cursor(nullptr, nullptr), 0);
  EXPECT_EQ(SetCursor(cursor), nullptr);
  unsigned short id = 0;
  HINSTANCE owner = nullptr;
  ASSERT_NE(platform_current_cursor(&id, &owner), 0);
  EXPECT_EQ(id, kToolCursor);
  EXPECT_EQ(owner, module_);

  EXPECT_EQ(SetCursor(nullptr), cursor);
  EXPECT_EQ(platform_current_cursor(&id, &owner), 0);
}
