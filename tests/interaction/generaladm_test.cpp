// The dialog helpers' string comparison, user alerts and assertion
// convention, with the host's alerts stood in for.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/support_test_helpers.h"
#include "framework/PluginSuites.h"
#include "plugingeneral/generaladm.h"

namespace {

struct Shown {
  std::string kind;
  std::string text;
};
std::vector<Shown> shown;
int32_t questionAnswer = 1;

void ErrorAlert(const char* text) { shown.push_back({"error", text}); }
void MessageAlert(const char* text) { shown.push_back({"message", text}); }
int32_t QuestionAlert(const char* text) {
  shown.push_back({"question", text});
  return questionAnswer;
}
const ADMBasicSuite kAlerts = {ErrorAlert, MessageAlert, QuestionAlert};

class GeneralAdmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    questionAnswer = 1;
    sADMBasic = &kAlerts;
  }
  void TearDown() override { sADMBasic = nullptr; }

  // Runs body, which must fail an assertion, and answers the log entries it wrote.
  template <typename Body>
  std::vector<std::string> expectAssertion(Body body) {
    LogCapture log;
    try {
      body();
      ADD_FAILURE() << "no assertion";
    } catch (const char* text) {
      EXPECT_STREQ(text, "Plugin assertion");
    }
    return log.entries();
  }
};

// The text of a log entry, without its level and function prefix.
std::string TextOf(const std::string& entry) {
  const std::size_t start = entry.find("(): ");
  std::string text = start == std::string::npos ? entry : entry.substr(start + 4);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

TEST_F(GeneralAdmTest, StringsEqualComparesWholeTexts) {
  EXPECT_TRUE(StringsEqual("ADM Frame Type", "ADM Frame Type"));
  EXPECT_FALSE(StringsEqual("ADM Frame Type", "ADM Text Static Type"));
  EXPECT_FALSE(StringsEqual("ADM Frame Type", "ADM Frame"));
}

TEST_F(GeneralAdmTest, ANullArgumentWritesFourLinesAndThrows) {
  const std::vector<std::string> entries = expectAssertion([] { StringsEqual("x", nullptr); });
  ASSERT_EQ(entries.size(), 4u) << ::testing::PrintToString(entries);
  EXPECT_EQ(TextOf(entries[0]), "***assertion failed***");
  EXPECT_NE(TextOf(entries[1]).find("generaladm.cpp"), std::string::npos);
  EXPECT_GT(std::stoi(TextOf(entries[2])), 0) << entries[2];
  EXPECT_EQ(TextOf(entries[3]), "b");
}

TEST_F(GeneralAdmTest, AlertsShowAndLogTheirText) {
  LogCapture log;
  UserADMAlert("Disk full");
  UserADMInfo("Done");
  EXPECT_TRUE(UserADMQuestion("Go on?"));
  questionAnswer = 0;
  EXPECT_FALSE(UserADMQuestion("Really?"));

  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].kind, "error");
  EXPECT_EQ(shown[0].text, "Disk full");
  EXPECT_EQ(shown[1].kind, "message");
  EXPECT_EQ(shown[2].kind, "question");
  // The error alert also asks the settings for "ADMLightweightAlert"; there
  // is no settings file, so the reader notes the empty file name.
  const std::vector<std::string> entries = log.entries();
  ASSERT_EQ(entries.size(), 6u) << ::testing::PrintToString(entries);
  EXPECT_EQ(TextOf(entries[0]), "UserADMAlert: Disk full");
  EXPECT_NE(entries[1].find("getini"), std::string::npos) << entries[1];
  EXPECT_EQ(TextOf(entries[1]), "invalid args");
  EXPECT_EQ(TextOf(entries[2]), "NULL for ADMLightweightAlert");
  EXPECT_EQ(TextOf(entries[3]), "UserADMInfo: Done");
  EXPECT_EQ(TextOf(entries[4]), "UserADMQuestion: Go on?: Answer:1");
  EXPECT_EQ(TextOf(entries[5]), "UserADMQuestion: Really?: Answer:0");
}

TEST_F(GeneralAdmTest, AnEmptyAlertShowsNothing) {
  const std::vector<std::string> entries = expectAssertion([] { UserADMAlert(""); });
  EXPECT_TRUE(shown.empty());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(TextOf(entries[3]), "!msg.IsEmpty()");
  expectAssertion([] { UserADMQuestion(""); });
  EXPECT_TRUE(shown.empty());
}

TEST_F(GeneralAdmTest, TrackersRefuseANullTracker) {
  const std::vector<std::string> entries =
      expectAssertion([] { AboutItemTrack(reinterpret_cast<ADMItemRef>(&shown), nullptr); });
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(TextOf(entries[3]), "inTracker");
}

}  // namespace
