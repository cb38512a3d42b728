// Drags with the "Mirrortile" tool: creating objects, the refusals and
// their alerts, the feedback while dragging, the cursors, and re-aligning.

#include <algorithm>
#include <cstdlib>

#include "InteractionFixture.h"

namespace {

using ToolTest = InteractionTest;

TEST_F(ToolTest, AClickCreatesNothingAndSaysNothing) {
  addSquare(layer, 0, 0, 5);
  const auto answers = tool->dragFromTo({0, 0}, {}, {0.5f, 0});
  EXPECT_EQ(answers.release, kNoErr);
  EXPECT_TRUE(plugins().empty());
  EXPECT_TRUE(host->alerts().empty());
  EXPECT_EQ(doc().journal().undoDepth(), 0u);
}

// Mirror lines up to 10 points long, in any direction, are refused.
TEST_F(ToolTest, AShortDragIsRefusedWithAnAlert) {
  addSquare(layer, 0, 0, 5);
  tool->dragFromTo({0, 0}, {{2, 0}}, {5, 0});
  tool->dragFromTo({0, 0}, {{2, 0}}, {6, 7.9f});
  EXPECT_TRUE(plugins().empty());
  EXPECT_EQ(host->alerts(), std::vector<std::string>(2, "Mirror lines are too short"));
  EXPECT_NE(drag({0, 0}, {7, 7.5f}), nullptr);
}

TEST_F(ToolTest, ADragOverArtCreatesOneObjectAsOneUndoStep) {
  addSquare(layer, 100, 200, 5);
  const auto answers = tool->dragFromTo({100, 200}, {{105, 200}, {110, 200}}, {120, 200});
  EXPECT_EQ(answers.press, kNoErr);
  EXPECT_EQ(answers.drag, kNoErr);
  EXPECT_EQ(answers.release, kNoErr);
  EXPECT_TRUE(host->alerts().empty());

  const std::vector<AIArtHandle> made = plugins();
  ASSERT_EQ(made.size(), 1u);
  const AIArtHandle pig = made[0];
  EXPECT_EQ(reals(pig, kMirtilCentreKey), (std::vector<float>{100, 200}));
  EXPECT_EQ(reals(pig, kMirtilCnjKey), (std::vector<float>{120, 200}));
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{0, 0}));
  EXPECT_EQ(reals(pig, kMirtilAngleKey), (std::vector<float>{0}));
  EXPECT_EQ(integer(pig, kMirtilTypeKey), 1);  // no stored preference: "Sweep"
  EXPECT_TRUE(known(pig, "Mir-Obj-000"));
  EXPECT_FALSE(known(pig, "Mir-Obj-001"));
  // "Sweep" turns about the centre: both edit points stand there.
  const std::vector<AIPathSegment> edit = editSegments(pig);
  EXPECT_EQ(edit[0].p.h, 100);
  EXPECT_EQ(edit[0].p.v, 200);
  EXPECT_EQ(edit[1].p.h, 100);
  EXPECT_EQ(edit[1].p.v, 200);
  // Only the object and the art it was made from remain: no feedback path.
  EXPECT_EQ(layerArt(layer).size(), 2u);

  EXPECT_EQ(doc().journal().undoDepth(), 1u);
  EXPECT_TRUE(edits->undo());
  EXPECT_TRUE(plugins().empty());
  EXPECT_EQ(layerArt(layer).size(), 1u);
}

TEST_F(ToolTest, TypeZeroPreferenceMakesInPlaceObjectsPivotingOnCnj) {
  putPreference(kMirtilTypePref, 0);
  addSquare(layer, 0, 0, 5);
  tool->dragFromTo({0, 0}, {}, {30, 0});
  ASSERT_EQ(plugins().size(), 1u);
  EXPECT_EQ(integer(plugins()[0], kMirtilTypeKey), 0);
  const std::vector<AIPathSegment> edit = editSegments(plugins()[0]);
  EXPECT_EQ(edit[0].p.h, 30);
  EXPECT_EQ(edit[1].p.h, 30);
}

TEST_F(ToolTest, ADragOverEmptySpaceAlertsAndLeavesTheDocumentAsItWas) {
  addSquare(layer, 500, 500, 5);
  tool->dragFromTo({0, 0}, {{10, 0}}, {20, 0});
  EXPECT_EQ(host->alerts(), std::vector<std::string>{"No art in region - no mirrortile created"});
  EXPECT_TRUE(plugins().empty());
  EXPECT_EQ(layerArt(layer).size(), 1u);
}

// Sizes in make test; MIRTIL_LIMIT_PATHS and MIRTIL_LIMIT_DEPTH ask for more.
std::size_t SizeAsked(const char* variable, std::size_t small) {
  const char* asked = std::getenv(variable);
  return asked && std::atol(asked) > 0 ? std::size_t(std::atol(asked)) : small;
}

// Many tiny paths and one deep chain of groups under one drag: the drawing
// fits the art limit, its capture would not, so the drag is refused as out
// of memory and changes nothing.
TEST_F(ToolTest, ADragOverMoreArtThanTheDocumentMayHoldIsRefusedAndChangesNothing) {
  const std::size_t paths = SizeAsked("MIRTIL_LIMIT_PATHS", 120);
  const std::size_t depth = SizeAsked("MIRTIL_LIMIT_DEPTH", 60);
  const AIArtHandle top = layerGroup(layer);
  AIArtHandle chain = top;
  for (std::size_t i = 0; i < depth; ++i) chain = addGroupIn(chain);
  addSquareIn(chain, 0, 0, 1);
  for (std::size_t i = 0; i < paths; ++i) addSquareIn(top, AIReal(i % 1000) / 100, AIReal(i / 1000) / 100, 0.004f);
  host->core().setArtLimit(std::min(hostcore::Document::kDefaultArtLimit, 2 * (paths + depth)));
  const std::size_t before = layerArt(layer).size();
  const auto answers = tool->dragFromTo({0, 0}, {{10, 0}}, {20, 0});
  EXPECT_EQ(answers.release, kOutOfMemoryErr);
  EXPECT_TRUE(plugins().empty());
  EXPECT_EQ(layerArt(layer).size(), before);
}

TEST_F(ToolTest, OnlyTheLastFeedbackRemainsDuringADrag) {
  addSquare(layer, 0, 0, 5);
  // "Sweep": a circle and a wedge.
  ASSERT_EQ(tool->press({0, 0}), kNoErr);
  for (AIReal h : {20.0f, 30.0f, 40.0f}) {
    ASSERT_EQ(tool->drag({h, 0}), kNoErr);
    EXPECT_EQ(layerArtOfType(layer, kPathArt).size(), 1u + 2u) << h;
  }
  ASSERT_EQ(tool->release({0.2f, 0}), kNoErr);  // back to a click
  EXPECT_EQ(layerArtOfType(layer, kPathArt).size(), 1u);

  // "InPlace": two sides of the triangle, one path.
  putPreference(kMirtilTypePref, 0);
  ASSERT_EQ(tool->press({0, 0}), kNoErr);
  for (AIReal h : {20.0f, 30.0f}) {
    ASSERT_EQ(tool->drag({h, 0}), kNoErr);
    EXPECT_EQ(layerArtOfType(layer, kPathArt).size(), 1u + 1u) << h;
  }
  ASSERT_EQ(tool->release({0.2f, 0}), kNoErr);
  EXPECT_EQ(layerArtOfType(layer, kPathArt).size(), 1u);
}

TEST_F(ToolTest, CursorShowsWhatADragWouldDo) {
  EXPECT_EQ(trackedCursor(), 119);  // nothing selected: create

  const AIArtHandle path = addSquare(layer, 300, 300, 5);
  select(path);
  EXPECT_EQ(trackedCursor(), 118);  // only ordinary art selected

  select(path, false);
  const AIArtHandle first = makeMirtil({0, 0}, {20, 0});
  select(first);
  select(path);
  EXPECT_EQ(trackedCursor(), 116);  // one object, other art beside it

  select(path, false);
  select(first, false);
  const AIArtHandle second = makeMirtil({100, 0}, {120, 0});
  select(first);
  select(second);
  EXPECT_EQ(trackedCursor(), 118);  // two objects

  select(first, false);
  select(second, false);
  ASSERT_EQ(doc().setLayerEditable(layer, false), kNoErr);
  EXPECT_EQ(trackedCursor(), 118);  // locked layer
}

TEST_F(ToolTest, RefusedDragsAlertAtThePressAndChangeNothing) {
  const AIArtHandle first = makeMirtil({0, 0}, {20, 0});
  const AIArtHandle second = makeMirtil({100, 0}, {120, 0});
  const AIArtHandle path = addSquare(layer, 300, 300, 5);
  const size_t artBefore = layerArt(layer).size();

  select(path);
  tool->dragFromTo({300, 300}, {{320, 300}}, {340, 300});
  select(path, false);
  select(first);
  select(second);
  tool->dragFromTo({0, 0}, {{0, 20}}, {0, 40});
  select(first, false);
  select(second, false);
  ASSERT_EQ(doc().setLayerVisible(layer, false), kNoErr);
  tool->dragFromTo({300, 300}, {{320, 300}}, {340, 300});

  EXPECT_EQ(host->alerts(), (std::vector<std::string>{"Non-mirrortile object selected",
                                                      "Too many mirrortile objects selected",
                                                      "Current layer either locked or hidden"}));
  EXPECT_EQ(layerArt(layer).size(), artBefore);
  EXPECT_EQ(angle(first), 0);
  EXPECT_EQ(angle(second), 0);
  EXPECT_EQ(doc().journal().undoDepth(), 0u);
}

// Plug-in art of a group with another name, however close, is ordinary
// art to the tool.
TEST_F(ToolTest, PluginArtOfAnotherGroupIsNoMirrortileObject) {
  const uint32_t otherGroup = host->core().documentPluginGroup("ORVoMirtilPigs");
  AIArtHandle other = nullptr;
  ASSERT_EQ(doc().newArt(kPluginArt, kPlaceInsideOnTop, layerGroup(layer), &other), kNoErr);
  ASSERT_EQ(doc().attachPluginGroup(other, otherGroup, 1, 2), kNoErr);
  select(other);
  EXPECT_EQ(trackedCursor(), 118);
  tool->dragFromTo({0, 0}, {{0, 20}}, {0, 40});
  EXPECT_EQ(host->alerts(), std::vector<std::string>{"Non-mirrortile object selected"});
  EXPECT_FALSE(known(other, "Mir-Angle"));
}

TEST_F(ToolTest, AQuarterTurnAboutThePivotReAlignsTheSelectedObject) {
  const AIArtHandle pig = makeMirtil({50, 50}, {80, 50});
  const AIArtHandle path = addSquare(layer, 300, 300, 5);
  select(pig);
  select(path);  // ordinary art beside the object does not matter

  // The pivot of "Sweep" is the centre; the drag's length plays no part.
  // From below the pivot round to its right, counter-clockwise.
  ASSERT_EQ(tool->press({50, 40}), kNoErr);
  ASSERT_EQ(tool->drag({70, 30}), kNoErr);
  // The feedback is one line from the pivot.
  EXPECT_EQ(layerArtOfType(layer, kPathArt).size(), 3u);
  ASSERT_EQ(tool->release({90, 50}), kNoErr);

  EXPECT_NEAR(angle(pig), kPi / 2, 1e-4);
  EXPECT_EQ(layerArtOfType(layer, kPathArt).size(), 2u);
  EXPECT_TRUE(host->alerts().empty());

  // Back the same way: the angle returns.
  tool->dragFromTo({60, 50}, {}, {50, 10});
  EXPECT_NEAR(angle(pig), 0, 1e-4);
  EXPECT_TRUE(edits->undo());
  EXPECT_NEAR(angle(pig), kPi / 2, 1e-4);
}

TEST_F(ToolTest, SelectingTheToolNeedsNothing) {
  AIToolMessage message{};
  message.tool = host->toolHandle(0);
  for (const char* selector : {kSelectorAISelectTool, kSelectorAIDeselectTool, kSelectorAIReselectTool}) {
    EXPECT_EQ(host->sendMessage(kCallerAITool, selector, message.d), kNoErr) << selector;
  }
}

}  // namespace
