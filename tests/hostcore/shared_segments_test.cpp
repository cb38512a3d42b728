// Copies of a path share its segments until one of them changes: every
// copy (duplicate, dictionary entry, undo state) keeps its own points.
#include "HostCoreFixture.h"

namespace {

using Point = std::pair<AIReal, AIReal>;

class SharedSegmentsTest : public HostCoreTest {
 protected:
  void SetUp() override {
    addLayer("Layer");
    source = newLine(kPlaceAboveAll, nullptr, {{0, 0}, {10, 0}, {10, 10}});
  }

  std::vector<Point> points(AIArtHandle a) {
    int16_t count = 0;
    EXPECT_EQ(path->GetPathSegmentCount(a, &count), kNoErr);
    std::vector<AIPathSegment> segments(static_cast<size_t>(count));
    if (count > 0) {
      EXPECT_EQ(path->GetPathSegments(a, 0, count, segments.data()), kNoErr);
    }
    std::vector<Point> found;
    for (const AIPathSegment& s : segments) found.emplace_back(s.p.h, s.p.v);
    return found;
  }

  void shift(AIArtHandle a, AIReal h) {
    AIRealMatrix m{1, 0, 0, 1, h, 0};
    ASSERT_EQ(transform->TransformArt(a, &m, 1, kTransformObjects), kNoErr);
  }

  AIArtHandle source = nullptr;
};

const std::vector<Point> kLine{{0, 0}, {10, 0}, {10, 10}};
const std::vector<Point> kShifted{{5, 0}, {15, 0}, {15, 10}};

TEST_F(SharedSegmentsTest, ADuplicateAndItsSourceChangeApart) {
  AIArtHandle copy = nullptr;
  ASSERT_EQ(art->DuplicateArt(source, kPlaceAbove, source, &copy), kNoErr);
  shift(copy, 5);
  EXPECT_EQ(points(copy), kShifted);
  EXPECT_EQ(points(source), kLine);

  AIArtHandle second = nullptr;
  ASSERT_EQ(art->DuplicateArt(source, kPlaceAbove, source, &second), kNoErr);
  const AIPathSegment moved{{1, 1}, {1, 1}, {1, 1}, true};
  ASSERT_EQ(path->SetPathSegments(source, 0, 1, &moved), kNoErr);
  ASSERT_EQ(path->SetPathSegmentCount(second, 2), kNoErr);
  EXPECT_EQ(points(source), (std::vector<Point>{{1, 1}, {10, 0}, {10, 10}}));
  EXPECT_EQ(points(second), (std::vector<Point>{{0, 0}, {10, 0}}));
}

TEST_F(SharedSegmentsTest, ADictionaryCopyKeepsThePointsItWasGiven) {
  AIArtHandle owner = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  AIDictionaryRef d = nullptr;
  ASSERT_EQ(art->GetDictionary(owner, &d), kNoErr);
  const AIDictKey key = dict->Key("stored");
  ASSERT_EQ(dict->CopyArtToEntry(d, key, source), kNoErr);
  shift(source, 5);
  AIArtHandle first = nullptr, second = nullptr;
  ASSERT_EQ(dict->CopyEntryToArt(d, key, kPlaceAboveAll, nullptr, &first), kNoErr);
  shift(first, 5);
  ASSERT_EQ(dict->CopyEntryToArt(d, key, kPlaceAboveAll, nullptr, &second), kNoErr);
  EXPECT_EQ(dict->Release(d), kNoErr);
  EXPECT_EQ(points(source), kShifted);
  EXPECT_EQ(points(first), kShifted);
  EXPECT_EQ(points(second), kLine);
}

TEST_F(SharedSegmentsTest, UndoAndRedoBringBackEachStatesOwnPoints) {
  document().journal().beginStep();
  AIArtHandle copy = nullptr;
  ASSERT_EQ(art->DuplicateArt(source, kPlaceAbove, source, &copy), kNoErr);
  shift(source, 5);
  document().journal().endStep();
  ASSERT_TRUE(document().journal().undo());
  EXPECT_EQ(points(source), kLine);
  ASSERT_TRUE(document().journal().redo());
  EXPECT_EQ(points(source), kShifted);
  EXPECT_EQ(points(copy), kLine);
  EXPECT_THAT(hostcore::checkDocument(document()), ::testing::IsEmpty());
}

}  // namespace
