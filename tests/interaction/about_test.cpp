// The about box, run by the host as a modal dialog and closed by the first
// event that reaches it.

#include <algorithm>

#include "InteractionFixture.h"

namespace {

using hostapp::DialogStep;

constexpr int32_t kAboutTextItem = 3;

class AboutTest : public InteractionTest {
 protected:
  AIErr about() { return host->sendPlainMessage(kSPInterfaceCaller, kSPInterfaceAboutSelector); }
  const hostapp::DialogRecord& shown() { return host->dialogs().history().back(); }
};

TEST_F(AboutTest, ShowsNameVersionAndNoticeAndClosesOnTheFirstEvent) {
  host->dialogs().script({DialogStep::event(), DialogStep::event()});
  EXPECT_EQ(about(), kNoErr);
  const hostapp::DialogRecord& box = shown();
  EXPECT_EQ(box.resourceID, 16002);
  EXPECT_EQ(box.name, "");
  EXPECT_EQ(box.result, 1);
  // The second event found the box closed.
  EXPECT_EQ(box.ignoredSteps, 1);

  ASSERT_NE(box.item(kAboutTextItem), nullptr);
  const std::string text = box.item(kAboutTextItem)->text;
  EXPECT_EQ(text.rfind("Mirrortile\n\n\nVersion:3.0.0.quarn.316\n\n\n\n\n", 0), 0u) << text;
  // Two notice lines after the version.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
  EXPECT_NE(text.back(), '\n');

  // The frame round the picture, and only it, has style 2.
  for (const hostapp::DialogItemView& item : box.shown) {
    EXPECT_EQ(item.style, item.type == kADMFrameType ? 2 : 0) << item.type;
  }
  EXPECT_EQ(std::count_if(box.shown.begin(), box.shown.end(),
                          [](const hostapp::DialogItemView& item) { return item.type == kADMFrameType; }),
            1);
}

TEST_F(AboutTest, AnEventOnAnyItemClosesTheBox) {
  host->dialogs().script({DialogStep::event(kAboutTextItem)});
  EXPECT_EQ(about(), kNoErr);
  EXPECT_EQ(shown().result, 1);
  EXPECT_EQ(shown().ignoredSteps, 0);
}

TEST_F(AboutTest, ABoxThatCannotBeShownStillAnswersZero) {
  EXPECT_EQ(about(), kNoErr);
  EXPECT_TRUE(host->dialogs().history().empty());
  EXPECT_TRUE(plugins().empty());
}

TEST_F(AboutTest, AnEventWithoutItsRecordFailsTheAssertionAndTheHostHearsPARM) {
  host->dialogs().script({DialogStep::event(hostapp::kDialogAsTarget, false)});
  EXPECT_EQ(about(), kBadParameterErr);
  // The box is gone and the plug-in goes on answering.
  host->dialogs().script({DialogStep::event()});
  EXPECT_EQ(about(), kNoErr);
  EXPECT_EQ(shown().result, 1);
}

}  // namespace
