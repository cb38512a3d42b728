// The validator over the real module at a smaller size, and the checks
// it is made of: they must find the faults they are there for.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <set>
#include <sstream>

#include "MirtilNames.h"
#include "hostcore/Invariants.h"
#include "hostposix/DlopenModuleLoader.h"
#include "hostvalidate/Interactions.h"
#include "hostvalidate/Random.h"
#include "hostvalidate/Validator.h"

namespace {

using namespace hostvalidate;

class ValidatorTest : public ::testing::Test {
 protected:
  static std::string failures(const CheckReport& report) {
    std::string text;
    for (const std::string& failure : report.failures) text += failure + "\n";
    return text;
  }
  // The figures go to the test log.
  static void expectPassed(const CheckReport& report) {
    EXPECT_TRUE(report.passed()) << failures(report);
    std::cout << report.name << ": " << report.figure << "\n";
  }

  hostposix::DlopenModuleLoader loader;
  ModuleSource module{loader, MIRTIL_MODULE_PATH};
};

TEST_F(ValidatorTest, CyclesKeepTheRegistrationsAndLeaveNothingBehind) {
  const CheckReport report = checkCycles(module, 3);
  expectPassed(report);
  EXPECT_NE(report.figure.find("3 cycles"), std::string::npos) << report.figure;
}

TEST_F(ValidatorTest, RandomSequencesSurvive) {
  const CheckReport report = checkRandomSequences(module, 1, 20, 200);
  expectPassed(report);
  EXPECT_NE(report.figure.find("20 sequences of 200 interactions from seed 1"), std::string::npos);
}

// Every host call and every block allocation of every scenario failing in
// turn; a failure the plug-in drops is named in the notes.
TEST_F(ValidatorTest, FaultSweepOfEveryScenario) {
  const CheckReport report = checkFaultSweep(module);
  expectPassed(report);
  EXPECT_NE(report.figure.find("over " + std::to_string(sweepScenarioNames().size()) + " scenarios"), std::string::npos)
      << report.figure;
  EXPECT_EQ(report.figure.find(" 0 block allocation points"), std::string::npos) << report.figure;
  EXPECT_NE(report.figure.find(" block allocation points (0 with an alert, 0 dropped silently"), std::string::npos)
      << report.figure;
  const auto noted = [&](const std::string& text) {
    return std::any_of(report.notes.begin(), report.notes.end(),
                       [&](const std::string& note) { return note.find(text) != std::string::npos; });
  };
  EXPECT_TRUE(noted("a failed AI Undo Suite/UndoChanges dropped silently at ")) << report.figure;
}

// An alert a failure brings must be one the plug-in shows for failures,
// unless the profile says the plug-in takes that call's failure for an
// answer; then the alert is listed instead.
TEST_F(ValidatorTest, AnAlertForAFailureIsCheckedAgainstTheProfile) {
  const CheckReport listed = checkFaultSweep(module, {"re-align"});
  expectPassed(listed);
  ASSERT_FALSE(listed.notes.empty());
  EXPECT_TRUE(std::any_of(listed.notes.begin(), listed.notes.end(), [](const std::string& note) {
    return note.find("AI Art Suite/GetArtType taken for an answer: \"Non-mirrortile object selected\"") !=
           std::string::npos;
  })) << listed.figure;

  PluginProfile strict = mirrortileProfile();
  strict.takenAsAnswers.clear();
  const ModuleSource strictModule{loader, MIRTIL_MODULE_PATH, strict};
  const CheckReport refused = checkFaultSweep(strictModule, {"re-align"});
  ASSERT_FALSE(refused.passed());
  EXPECT_NE(refused.failures[0].find("showed \"Non-mirrortile object selected\" for a failed "), std::string::npos)
      << refused.failures[0];
  EXPECT_NE(refused.failures[0].find("which is not one of the plug-in's failure alerts"), std::string::npos);
}

TEST_F(ValidatorTest, EachMissingSuiteFailsTheStartUp) {
  const CheckReport report = checkMissingSuites(module);
  expectPassed(report);
  // Five framework suites, 44 product suites and 78 text-engine suites.
  EXPECT_NE(report.figure.find("127 suites"), std::string::npos) << report.figure;
}

TEST_F(ValidatorTest, ASeedReplaysTheSameInteractions) {
  std::vector<std::string> first, second;
  for (std::vector<std::string>* run : {&first, &second}) {
    Trial trial(module);
    MessageLog log(trial.host(), false);
    SeededChoices choices(42);
    RandomInteractions random(trial, log, choices);
    for (int i = 0; i < 60; ++i) run->push_back(random.step());
  }
  EXPECT_EQ(first, second);
  EXPECT_NE(checkSequence(module, 42, 60).figure, checkSequence(module, 43, 60).figure);
}

// The generator is specified in full, so a seed means the same sequence on
// every system: these are SplitMix64's published first outputs for seed 0.
TEST(RandomTest, TheSequenceOfASeedIsFixed) {
  Random random(0);
  EXPECT_EQ(random.next(), 0xE220A8397B1DCDAFu);
  EXPECT_EQ(random.next(), 0x6E789E6AA1B965F4u);
  EXPECT_EQ(random.next(), 0x06C45D188009454Fu);
  Random limited(7);
  int counts[3] = {0, 0, 0};
  for (int i = 0; i < 3000; ++i) ++counts[limited.below(3)];
  for (int count : counts) EXPECT_NEAR(count, 1000, 100);
  EXPECT_EQ(Random(1).below(1), 0u);
}

TEST_F(ValidatorTest, ChecksHaveIdsDescriptionsAndStrictnessAndRunUpToTheOneAsked) {
  std::set<std::string> ids;
  for (const Check& check : checks()) {
    EXPECT_TRUE(ids.insert(check.id).second) << check.id;
    EXPECT_NE(std::string(check.description), "");
    EXPECT_GE(check.strictness, 1);
    EXPECT_LE(check.strictness, 10);
  }
  ValidationSize size;
  size.cycles = 1;
  size.strictness = 1;
  std::ostringstream out;
  EXPECT_TRUE(validate(module, 7, size, out));
  const std::string text = out.str();
  EXPECT_EQ(text.rfind("PASS cycles (", 0), 0u) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

TEST_F(ValidatorTest, ByteChoicesStayInRangeAndEndInZeros) {
  const uint8_t bytes[] = {0xFF, 0x03, 0x10, 0x20};
  ByteChoices choices(bytes, sizeof bytes);
  EXPECT_EQ(choices.below(10), 0xFFu % 10);
  EXPECT_EQ(choices.below(1000), ((0x03u << 8) | 0x10u) % 1000);
  EXPECT_FALSE(choices.exhausted());
  EXPECT_EQ(choices.below(7), 0x20u % 7);
  EXPECT_TRUE(choices.exhausted());
  EXPECT_EQ(choices.below(5), 0u);
}

// The checks after each message find what they look for.
class MessageLogTest : public ValidatorTest {
 protected:
  void SetUp() override {
    trial = std::make_unique<Trial>(module);
    ASSERT_EQ(trial->startupAnswer(), kNoErr);
    trial->addSquare({0, 0}, 5);
    trial->tool().dragFromTo({0, 0}, {}, {40, 0});
    ASSERT_EQ(trial->mirrortiles().size(), 1u);
  }
  void setAngle(AIReal angle) {
    hostcore::Document& doc = trial->document();
    AIDictionaryRef dictionary = nullptr;
    ASSERT_EQ(doc.artDictionary(trial->mirrortiles()[0], &dictionary), kNoErr);
    uint32_t key = 0;
    ASSERT_EQ(trial->host().core().findKey(trial->host().core().key(kMirtilAngleKey), &key), kNoErr);
    hostcore::ArrayValues values(1);
    values[0].kind = hostcore::ArrayEntryKind::Real;
    values[0].real = angle;
    ASSERT_EQ(doc.setEntry(dictionary, key, values), kNoErr);
    EXPECT_EQ(doc.releaseDictionary(dictionary), kNoErr);
  }
  std::unique_ptr<Trial> trial;
};

TEST_F(MessageLogTest, ANonFiniteEntryIsFoundUnlessTheInputHeldOne) {
  MessageLog log(trial->host(), true);
  setAngle(std::numeric_limits<AIReal>::quiet_NaN());
  trial->tool().trackCursor({0, 0});
  ASSERT_EQ(log.problems().size(), 1u);
  EXPECT_NE(log.problems()[0].find("non-finite Mir-Angle"), std::string::npos) << log.problems()[0];
  EXPECT_NE(log.problems()[0].find("AI Track Cursor"), std::string::npos);

  log.clear();
  log.inputWasNonFinite();
  trial->tool().trackCursor({0, 0});
  EXPECT_TRUE(log.problems().empty());
}

TEST_F(MessageLogTest, TheFaultIsPlacedInTheMessageItFiredIn) {
  MessageLog log(trial->host(), false);
  trial->host().faults().failCall(kAIArtSuite, "GetDictionary", 1, kInjectedErr);
  trial->edits().move(trial->mirrortiles()[0], 5, 5);
  int faulted = 0;
  for (const MessageRecord& message : log.messages()) {
    if (!message.faulted) continue;
    ++faulted;
    EXPECT_EQ(message.failedCall, std::string(kAIArtSuite) + "/GetDictionary");
  }
  EXPECT_EQ(faulted, 1);
}

TEST_F(MessageLogTest, HeldReferencesAreListedUntilGivenBack) {
  EXPECT_TRUE(trial->heldReferences().empty());
  hostcore::Document& doc = trial->document();
  AIDictionaryRef dictionary = nullptr;
  AIArtSet set = nullptr;
  ASSERT_EQ(doc.artDictionary(trial->mirrortiles()[0], &dictionary), kNoErr);
  ASSERT_EQ(doc.newArtSet(&set), kNoErr);
  EXPECT_EQ(trial->heldReferences().size(), 2u);
  EXPECT_EQ(doc.releaseDictionary(dictionary), kNoErr);
  EXPECT_EQ(doc.disposeArtSet(set), kNoErr);
  EXPECT_TRUE(trial->heldReferences().empty());
}

}  // namespace
