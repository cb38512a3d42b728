// The "Rotate Mirrortiles" command and the animation it runs on the host's
// timer, driven by the host's clock in ticks of 1/60 second.

#include "InteractionFixture.h"

namespace {

constexpr double kDefaultStep = 2 * kPi / 90;
constexpr int64_t kFirstStepTicks = 30;  // half a second
constexpr int64_t kDefaultStepTicks = 30;

class AnimationTest : public InteractionTest {
 protected:
  AIMenuItemHandle command() {
    for (size_t i = 0; i < host->menuItems().size(); ++i) {
      if (host->menuItems()[i].name == "Rotate Mirrortiles") return host->menuItemHandle(i);
    }
    ADD_FAILURE() << "no command";
    return nullptr;
  }
  void choose() { ASSERT_EQ(host->chooseMenuItem(command()), std::optional<AIErr>(kNoErr)); }
  bool checked() { return host->menuItem(command())->checked; }
  const hostapp::TimerRecord& timer() { return host->timers().at(0); }

  // An object made on another layer, which becomes the current one.
  AIArtHandle makeMirtilOnNewLayer(const char* title, AIRealPoint centre) {
    layer = addLayer(title);
    EXPECT_EQ(doc().setCurrentLayer(layer), kNoErr);
    return makeMirtil(centre, {centre.h + 20, centre.v});
  }
};

TEST_F(AnimationTest, TheCommandStartsStepsThatTurnEveryFreeObject) {
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  choose();
  EXPECT_TRUE(checked());
  EXPECT_TRUE(timer().active);
  EXPECT_EQ(timer().period, kFirstStepTicks);

  host->advanceClock(kFirstStepTicks - 1);
  EXPECT_EQ(angle(pig), 0);
  host->advanceClock(1);
  EXPECT_NEAR(angle(pig), kDefaultStep, 1e-6);
  EXPECT_EQ(timer().period, kDefaultStepTicks);

  host->advanceClock(2 * kDefaultStepTicks);
  EXPECT_NEAR(angle(pig), 3 * kDefaultStep, 1e-5);
  EXPECT_TRUE(checked());
}

TEST_F(AnimationTest, ObjectsTheUserWorksOnOrCannotSeeStandStill) {
  const AIArtHandle turning = makeMirtil({0, 0}, {20, 0});
  const AIArtHandle selected = makeMirtil({100, 0}, {120, 0});
  const AIArtHandle locked = makeMirtil({200, 0}, {220, 0});
  const AIArtHandle hidden = makeMirtil({300, 0}, {320, 0});
  const AIArtHandle onHiddenLayer = makeMirtilOnNewLayer("Hidden", {400, 0});
  const AILayerHandle hiddenLayer = layer;
  const AIArtHandle onLockedLayer = makeMirtilOnNewLayer("Locked", {500, 0});
  const AILayerHandle lockedLayer = layer;
  select(selected);
  setAttr(locked, kArtLocked, true);
  setAttr(hidden, kArtHidden, true);
  ASSERT_EQ(doc().setLayerVisible(hiddenLayer, false), kNoErr);
  ASSERT_EQ(doc().setLayerEditable(lockedLayer, false), kNoErr);

  choose();
  host->advanceClock(kFirstStepTicks);
  EXPECT_NEAR(angle(turning), kDefaultStep, 1e-6);
  for (AIArtHandle still : {selected, locked, hidden, onHiddenLayer, onLockedLayer}) {
    EXPECT_EQ(angle(still), 0);
  }

  // Deselected, it turns on from where it stood.
  select(selected, false);
  host->advanceClock(kDefaultStepTicks);
  EXPECT_NEAR(angle(selected), kDefaultStep, 1e-6);
  EXPECT_NEAR(angle(turning), 2 * kDefaultStep, 1e-6);
}

TEST_F(AnimationTest, TheAngleGrowsWithoutWrapping) {
  putPreference(kMirtilStepsPref, 4);
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  choose();
  host->advanceClock(kFirstStepTicks + 4 * kDefaultStepTicks);
  EXPECT_NEAR(angle(pig), 5 * kPi / 2, 1e-5);
}

TEST_F(AnimationTest, StepsAreSilent) {
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  ASSERT_EQ(doc().journal().undoDepth(), 1u);
  choose();
  host->advanceClock(kFirstStepTicks + kDefaultStepTicks);
  EXPECT_NEAR(angle(pig), 2 * kDefaultStep, 1e-6);
  EXPECT_EQ(doc().journal().undoDepth(), 1u);
}

TEST_F(AnimationTest, DelayIsInTenthsOfASecond) {
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  putPreference(kMirtilDelayPref, 1);
  choose();
  host->advanceClock(kFirstStepTicks);
  EXPECT_EQ(timer().period, 6);
  host->advanceClock(6);
  EXPECT_NEAR(angle(pig), 2 * kDefaultStep, 1e-6);

  putPreference(kMirtilDelayPref, 50);
  host->advanceClock(6);
  EXPECT_EQ(timer().period, 300);
}

TEST_F(AnimationTest, StepsOrDelayBelowOneTakeTheirDefaults) {
  putPreference(kMirtilStepsPref, 0);
  putPreference(kMirtilDelayPref, -3);
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  choose();
  host->advanceClock(kFirstStepTicks);
  EXPECT_NEAR(angle(pig), kDefaultStep, 1e-6);
  EXPECT_TRUE(timer().active);
  EXPECT_EQ(timer().period, kDefaultStepTicks);
}

TEST_F(AnimationTest, WithoutObjectsTheAnimationEndsButTheCommandStaysChecked) {
  choose();
  host->advanceClock(kFirstStepTicks);
  EXPECT_TRUE(checked());
  EXPECT_FALSE(timer().active);

  // The next choice only unchecks; the one after starts again.
  choose();
  EXPECT_FALSE(checked());
  EXPECT_FALSE(timer().active);
  choose();
  EXPECT_TRUE(checked());
  EXPECT_TRUE(timer().active);
}

TEST_F(AnimationTest, TheSecondChoiceStopsTheAnimation) {
  const AIArtHandle pig = makeMirtil({0, 0}, {20, 0});
  choose();
  host->advanceClock(kFirstStepTicks);
  choose();
  EXPECT_FALSE(checked());
  EXPECT_FALSE(timer().active);
  host->advanceClock(10 * kDefaultStepTicks);
  EXPECT_NEAR(angle(pig), kDefaultStep, 1e-6);
}

TEST_F(AnimationTest, ShutdownStopsTheTimer) {
  makeMirtil({0, 0}, {20, 0});
  choose();
  ASSERT_TRUE(timer().active);
  EXPECT_EQ(host->shutdown(), kNoErr);
  EXPECT_FALSE(timer().active);
}

TEST_F(AnimationTest, TheCommandIsDisabledWithoutADocument) {
  host->setDocumentOpen(false);
  EXPECT_EQ(host->chooseMenuItem(command()), std::nullopt);
  EXPECT_FALSE(checked());
}

}  // namespace
