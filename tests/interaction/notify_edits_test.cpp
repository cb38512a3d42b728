// The host's own edits of a mirror-tile object (moves, transformations,
// point edits, paint, free transformations) and the fix-ups the plug-in
// makes when it hears of them.

#include "InteractionFixture.h"

namespace {

constexpr AIErr kAfter = kWantsAfterMsgPluginGroupErr;
constexpr int32_t kPlug = kAIPluginArtChangeSubCode;

class NotifyEditsTest : public InteractionTest {
 protected:
  void SetUp() override {
    InteractionTest::SetUp();
    pig = makeMirtil({100, 100}, {130, 100});
  }

  AIErr notify(const char* time, const char* code, int32_t subCode) {
    AIPluginGroupMessage message{};
    message.art = pig;
    message.time = time;
    message.code = code;
    message.subCode = subCode;
    return host->sendMessage(kCallerAIPluginGroup, kSelectorAINotifyEdits, message.d);
  }

  AIArtHandle pig = nullptr;
};

TEST_F(NotifyEditsTest, AnswersEachTimeAndCodeAsTheTableSays) {
  struct Row {
    const char* time;
    const char* code;
    int32_t subCode;
    AIErr answer;
  };
  const Row rows[] = {
      {kAICheckOperationTime, kAIGeometryOperationCode, 0, kNoErr},
      {kAIBeforeOperationTime, kAIGeometryOperationCode, 0, kAfter},
      {kAIBeforeOperationTime, kAIStyleOperationCode, kPlug, kAfter},
      {kAIBeforeOperationTime, kAIChangeOperationCode, 0, kNoErr},
      {kAIAfterOperationTime, kAIChangeOperationCode, 0, kNoErr},
      {kAIAfterOperationTime, kAIChangeOperationCode, kPlug, kNoErr},
      {kAIAfterOperationTime, kAIChangeOperationCode, HOST_FOURCC('O', 'T', 'H', 'R'), kNoErr},
      {kAIAfterOperationTime, kAIGeometryOperationCode, 0, kNoErr},
      {kAIDuringOperationTime, kAIStyleOperationCode, 0, kNoErr},
      {"AI Sometime Operation Time", kAIGeometryOperationCode, 0, kCantErr},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(notify(row.time, row.code, row.subCode), row.answer) << row.time << " / " << row.code;
  }
}

TEST_F(NotifyEditsTest, OnlyTheChangeMessageWithSubCodeZeroJoinsTheEditPoints) {
  std::vector<AIPathSegment> edit = editSegments(pig);
  AIArtHandle editGroup = nullptr, editPath = nullptr;
  ASSERT_EQ(doc().editGroup(pig, &editGroup), kNoErr);
  ASSERT_EQ(doc().firstChild(editGroup, &editPath), kNoErr);
  edit[1].p = AIRealPoint{7, 8};
  ASSERT_EQ(doc().setSegments(editPath, 1, 1, &edit[1]), kNoErr);

  // Other sub-codes and times leave the path alone.
  EXPECT_EQ(notify(kAIAfterOperationTime, kAIGeometryOperationCode, 0), kNoErr);
  EXPECT_EQ(notify(kAIAfterOperationTime, kAIChangeOperationCode, HOST_FOURCC('O', 'T', 'H', 'R')), kNoErr);
  EXPECT_EQ(editSegments(pig)[1].p.h, 7);

  EXPECT_EQ(notify(kAIAfterOperationTime, kAIChangeOperationCode, 0), kNoErr);
  EXPECT_EQ(editSegments(pig)[1].p.h, 100);
  EXPECT_EQ(editSegments(pig)[1].p.v, 100);
}

TEST_F(NotifyEditsTest, MovingTheObjectStoresTheOffsetAndUndoBringsItBack) {
  ASSERT_EQ(edits->move(pig, 10, 20), kNoErr);
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{10, 20}));
  EXPECT_EQ(reals(pig, kMirtilCentreKey), (std::vector<float>{100, 100}));
  EXPECT_EQ(reals(pig, kMirtilCnjKey), (std::vector<float>{130, 100}));

  // The plug-in asked for the after-time message of the move.
  const std::vector<hostapp::NotifyEditsRecord>& sent = edits->notifications();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].time, kAIBeforeOperationTime);
  EXPECT_EQ(sent[0].code, kAIGeometryOperationCode);
  EXPECT_EQ(sent[0].answer, kAfter);
  EXPECT_EQ(sent[1].time, kAIAfterOperationTime);
  EXPECT_EQ(sent[1].code, kAIGeometryOperationCode);

  EXPECT_TRUE(edits->undo());
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{0, 0}));
  EXPECT_TRUE(edits->redo());
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{10, 20}));
}

TEST_F(NotifyEditsTest, MovingOneEditPointMovesTheOtherWithIt) {
  // Segment 0 leads: moving it takes segment 1 along and moves the object.
  ASSERT_EQ(edits->moveEditPoint(pig, 0, AIRealPoint{110, 90}), kNoErr);
  std::vector<AIPathSegment> edit = editSegments(pig);
  EXPECT_EQ(edit[1].p.h, 110);
  EXPECT_EQ(edit[1].p.v, 90);
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{10, -10}));

  // Segment 1 alone cannot move: it is put back on segment 0.
  ASSERT_EQ(edits->moveEditPoint(pig, 1, AIRealPoint{0, 0}), kNoErr);
  edit = editSegments(pig);
  EXPECT_EQ(edit[1].p.h, 110);
  EXPECT_EQ(edit[1].p.v, 90);
  EXPECT_EQ(edit[1].in.h, 110);
  EXPECT_EQ(edit[1].out.v, 90);

  const hostapp::NotifyEditsRecord& last = edits->notifications().back();
  EXPECT_EQ(last.code, kAIChangeOperationCode);
  EXPECT_EQ(last.subCode, 0);
}

TEST_F(NotifyEditsTest, PaintIsTakenOffTheObject) {
  AIPathStyle style = hostcore::Document::clearedPathStyle();
  style.fillPaint = true;
  style.fill.color = AIColor{kRGBColor, 1, 0, 0, 0};
  style.fill.opacity = 1;
  style.strokePaint = true;
  style.stroke.color = AIColor{kRGBColor, 0, 0, 1, 0};
  style.stroke.opacity = 1;
  style.stroke.width = 3;
  ASSERT_EQ(edits->paint(pig, style), kNoErr);

  EXPECT_EQ(edits->notifications().front().code, kAIStyleOperationCode);
  EXPECT_EQ(edits->notifications().front().answer, kAfter);
  AIPathStyle after{};
  ASSERT_EQ(doc().pathStyle(pig, &after), kNoErr);
  EXPECT_FALSE(after.fillPaint);
  EXPECT_FALSE(after.strokePaint);
}

TEST_F(NotifyEditsTest, ACollapsedFreeTransformationPutsTheEditPathBackWhereItWas) {
  ASSERT_EQ(edits->move(pig, 10, 20), kNoErr);
  const AIRealMatrix collapsed{NAN, 0, 0, INFINITY, 0, 0};
  ASSERT_EQ(edits->freeTransform(pig, collapsed), kNoErr);

  EXPECT_EQ(edits->notifications().back().subCode, kPlug);
  // "Sweep": the centre moved by the stored offset, in all six points.
  for (const AIPathSegment& segment : editSegments(pig)) {
    for (const AIRealPoint& point : {segment.p, segment.in, segment.out}) {
      EXPECT_EQ(point.h, 110);
      EXPECT_EQ(point.v, 120);
    }
  }
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{10, 20}));
}

// One coordinate that is not a number, in either segment, is enough for
// the whole edit path to go back to the pivot.
TEST_F(NotifyEditsTest, OneNonFiniteCoordinateOfTheEditPathPutsItBack) {
  AIArtHandle editGroup = nullptr, editPath = nullptr;
  ASSERT_EQ(doc().editGroup(pig, &editGroup), kNoErr);
  ASSERT_EQ(doc().firstChild(editGroup, &editPath), kNoErr);
  for (int index = 0; index < 2; ++index) {
    for (int coordinate = 0; coordinate < 6; ++coordinate) {
      SCOPED_TRACE("segment " + std::to_string(index) + " coordinate " + std::to_string(coordinate));
      // Elsewhere, so that the whole path is seen to move back.
      std::vector<AIPathSegment> edit(2, AIPathSegment{{7, 8}, {7, 8}, {7, 8}, true});
      AIRealPoint* points[3] = {&edit[index].p, &edit[index].in, &edit[index].out};
      AIReal& changed = coordinate % 2 ? points[coordinate / 2]->v : points[coordinate / 2]->h;
      changed = coordinate < 3 ? NAN : -INFINITY;
      ASSERT_EQ(doc().setSegments(editPath, 0, 2, edit.data()), kNoErr);

      EXPECT_EQ(notify(kAIAfterOperationTime, kAIChangeOperationCode, kPlug), kNoErr);
      for (const AIPathSegment& segment : editSegments(pig)) {
        for (const AIRealPoint& point : {segment.p, segment.in, segment.out}) {
          EXPECT_EQ(point.h, 100);
          EXPECT_EQ(point.v, 100);
        }
      }
    }
  }
}

TEST_F(NotifyEditsTest, AFiniteFreeTransformationKeepsTheEditPathWhereTheHostPutIt) {
  const AIRealMatrix shear{1, 0, 0.5f, 1, 5, 0};
  ASSERT_EQ(edits->freeTransform(pig, shear), kNoErr);
  const std::vector<AIPathSegment> edit = editSegments(pig);
  EXPECT_FLOAT_EQ(edit[0].p.h, 100 + 50 + 5);
  EXPECT_FLOAT_EQ(edit[0].p.v, 100);
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{55, 0}));
}

TEST_F(NotifyEditsTest, OrdinaryArtHearsNothing) {
  const AIArtHandle path = addSquare(layer, 400, 400, 5);
  ASSERT_EQ(edits->move(path, 1, 1), kNoErr);
  EXPECT_TRUE(edits->notifications().empty());
}

}  // namespace
