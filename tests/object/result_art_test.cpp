// The result art of mirror-tile objects made with the tool: its structure,
// the hexagon its six cells fill for each type, turning and moving.

#include "ObjectFixture.h"

namespace {

constexpr double kTolerance = 1e-2;

// Every corner of every cell is either the hexagon's centre or one of its
// six corners at `radius` from it, one of which is `corner`.
void ExpectHexagonCorners(const std::vector<std::vector<AIRealPoint>>& outlines, AIRealPoint hexCentre,
                          double radius, AIRealPoint corner) {
  ASSERT_EQ(outlines.size(), 6u);
  std::vector<double> directions;
  bool sawCorner = false;
  for (const auto& outline : outlines) {
    ASSERT_EQ(outline.size(), 3u);
    for (AIRealPoint p : outline) {
      const double d = Distance(p, hexCentre);
      if (d < kTolerance) continue;
      EXPECT_NEAR(d, radius, kTolerance) << p.h << "," << p.v;
      const double turn = std::atan2(p.v - hexCentre.v, p.h - hexCentre.h) -
                          std::atan2(corner.v - hexCentre.v, corner.h - hexCentre.h);
      const double sixths = turn / (M_PI / 3);
      EXPECT_NEAR(sixths, std::round(sixths), 1e-4) << p.h << "," << p.v;
      sawCorner = sawCorner || Distance(p, corner) < kTolerance;
    }
  }
  EXPECT_TRUE(sawCorner);
}

// Grid points of the hexagon lie in exactly one cell; points outside it in none.
void ExpectCellsTileHexagon(const std::vector<std::vector<AIRealPoint>>& outlines, AIRealPoint hexCentre,
                            double radius, AIRealPoint corner) {
  std::vector<AIRealPoint> hexagon;
  for (int i = 0; i < 6; ++i) hexagon.push_back(Turned(corner, hexCentre, i * M_PI / 3));
  const double eps = 0.05;
  const double step = radius / 60;
  int inside = 0;
  for (double h = hexCentre.h - radius - 3 * step; h <= hexCentre.h + radius + 3 * step; h += step) {
    for (double v = hexCentre.v - radius - 3 * step; v <= hexCentre.v + radius + 3 * step; v += step) {
      const AIRealPoint p{static_cast<AIReal>(h), static_cast<AIReal>(v)};
      int holding = 0;
      bool onEdge = false;
      for (const auto& outline : outlines) {
        const int where = Locate(outline, p, eps);
        holding += where == 1;
        onEdge = onEdge || where == 0;
      }
      const int inHexagon = Locate(hexagon, p, eps);
      if (inHexagon == 1 && !onEdge) {
        EXPECT_EQ(holding, 1) << p.h << "," << p.v;
        ++inside;
      } else if (inHexagon == -1) {
        EXPECT_EQ(holding, 0) << p.h << "," << p.v;
      }
    }
  }
  EXPECT_GT(inside, 5000);
}

class ResultArtTest : public ObjectTest {
 protected:
  // The first corner of the square of art at the centre, as the first
  // cell shows it.
  void expectFirstCellSquareCornerAt(AIArtHandle pig, AIRealPoint corner) {
    const std::vector<AIArtHandle> inClip = children(cells(pig)[0]);
    ASSERT_EQ(inClip.size(), 2u);
    const std::vector<AIArtHandle> source = children(inClip[1]);
    ASSERT_EQ(source.size(), 1u);
    const std::vector<AIRealPoint> square = anchors(source[0]);
    ASSERT_EQ(square.size(), 4u);
    EXPECT_NEAR(square[0].h, corner.h, kTolerance);
    EXPECT_NEAR(square[0].v, corner.v, kTolerance);
  }
};

TEST_F(ResultArtTest, SweepFillsTheHexagonAboutTheCentreWithSixClippedCells) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);

  const AIArtHandle all = overall(pig);
  ASSERT_NE(all, nullptr);
  const std::vector<AIArtHandle> top = children(all);
  ASSERT_EQ(top.size(), 2u);
  AIBoolean clipped = false;
  ASSERT_EQ(doc().groupClipped(top[1], &clipped), kNoErr);
  EXPECT_TRUE(clipped) << "clip lies below reflgrp";
  const std::vector<AIArtHandle> copies = children(top[0]);
  ASSERT_EQ(copies.size(), 5u);
  for (AIArtHandle copy : copies) {
    EXPECT_EQ(typeOf(copy), kGroupArt);
    ASSERT_EQ(doc().groupClipped(copy, &clipped), kNoErr);
    EXPECT_TRUE(clipped);
    EXPECT_NE(clipPath(copy), nullptr);
  }

  const AIArtHandle path = clipPath(top[1]);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(children(top[1]).front(), path) << "the clip path is uppermost";
  AIPathStyle style{};
  ASSERT_EQ(doc().pathStyle(path, &style), kNoErr);
  EXPECT_FALSE(style.fillPaint);
  EXPECT_FALSE(style.strokePaint);
  AIBoolean closed = false;
  ASSERT_EQ(doc().pathClosed(path, &closed), kNoErr);
  EXPECT_TRUE(closed);
  const std::vector<AIRealPoint> wedge = anchors(path);
  ASSERT_EQ(wedge.size(), 3u);
  EXPECT_NEAR(wedge[0].h, 100, kTolerance);
  EXPECT_NEAR(wedge[1].h, 0, kTolerance);
  EXPECT_NEAR(wedge[2].h, 50, kTolerance);
  EXPECT_NEAR(wedge[2].v, 86.6025, kTolerance);

  ExpectHexagonCorners(cellOutlines(pig), {0, 0}, 100, {100, 0});
  ExpectCellsTileHexagon(cellOutlines(pig), {0, 0}, 100, {100, 0});
}

TEST_F(ResultArtTest, InPlaceFillsTheHexagonAboutCnjWithTriangles) {
  host->preferences().put(kMirtilPrefsSection, kMirtilTypePref, 0);
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);

  const std::vector<std::vector<AIRealPoint>> outlines = cellOutlines(pig);
  ASSERT_EQ(outlines.size(), 6u);
  const std::vector<AIRealPoint>& triangle = outlines[0];
  ASSERT_EQ(triangle.size(), 3u);
  const AIRealPoint expected[3] = {Turned({100, 0}, {0, 0}, -2 * M_PI / 3), {100, 0},
                                   Turned({100, 0}, {0, 0}, 2 * M_PI / 3)};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(triangle[i].h, expected[i].h, kTolerance) << i;
    EXPECT_NEAR(triangle[i].v, expected[i].v, kTolerance) << i;
  }
  const double side = 100 * std::sqrt(3.0);
  ExpectHexagonCorners(outlines, {100, 0}, side, expected[0]);
  ExpectCellsTileHexagon(outlines, {100, 0}, side, expected[0]);
}

TEST_F(ResultArtTest, ATurnedSweepKeepsItsOutlineAndTurnsTheArtBack) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  ASSERT_EQ(doc().setUserAttr(pig, kArtSelected, kArtSelected), kNoErr);
  EXPECT_EQ(tool->dragFromTo({100, 0}, {}, Turned({100, 0}, {0, 0}, 0.5)).release, kNoErr);
  ASSERT_EQ(reals(pig, kMirtilAngleKey).size(), 1u);
  // The drag crosses the direction where the angle of a line wraps, so the
  // stored turn may differ from 0.5 by a whole turn.
  EXPECT_NEAR(std::remainder(reals(pig, kMirtilAngleKey)[0] - 0.5, 2 * M_PI), 0, 1e-4);

  ExpectHexagonCorners(cellOutlines(pig), {0, 0}, 100, {100, 0});
  ExpectCellsTileHexagon(cellOutlines(pig), {0, 0}, 100, {100, 0});

  // The art turned back by -0.5.
  expectFirstCellSquareCornerAt(pig, Turned({-5, -5}, {0, 0}, -0.5));
}

// "InPlace" keeps its triangle where it is and turns the art behind it
// about the centre; the turned copies stay about cnj.
TEST_F(ResultArtTest, ATurnedInPlaceObjectTurnsItsArtAboutTheCentre) {
  host->preferences().put("Mirtil", "Type", 0);
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  putReals(pig, "Mir-Angle", {0.5f});
  ASSERT_EQ(sendUpdate(pig), kNoErr);

  const std::vector<std::vector<AIRealPoint>> outlines = cellOutlines(pig);
  ASSERT_EQ(outlines.size(), 6u);
  ASSERT_EQ(outlines[0].size(), 3u);
  EXPECT_NEAR(outlines[0][1].h, 100, kTolerance);
  EXPECT_NEAR(outlines[0][1].v, 0, kTolerance);
  ExpectHexagonCorners(outlines, {100, 0}, 100 * std::sqrt(3.0), Turned({100, 0}, {0, 0}, 2 * M_PI / 3));
  expectFirstCellSquareCornerAt(pig, Turned({-5, -5}, {0, 0}, 0.5));
}

// Objects of plugin-group version 1.1 keep an empty result; other versions draw.
TEST_F(ResultArtTest, VersionOnePointOneDrawsNothing) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  uint32_t group = 0;
  ASSERT_EQ(doc().pluginGroupOf(pig, &group), kNoErr);
  struct Version {
    int32_t major, minor;
    size_t cells;
  };
  for (const Version version : {Version{1, 1, 0}, Version{1, 2, 6}, Version{2, 1, 6}, Version{1, 1, 0}}) {
    SCOPED_TRACE(std::to_string(version.major) + "." + std::to_string(version.minor));
    ASSERT_EQ(doc().attachPluginGroup(pig, group, version.major, version.minor), kNoErr);
    EXPECT_EQ(sendUpdate(pig), kNoErr);
    AIArtHandle result = nullptr;
    ASSERT_EQ(doc().resultGroup(pig, &result), kNoErr);
    EXPECT_EQ(children(result).size(), version.cells ? 1u : 0u);
    if (version.cells) {
      EXPECT_EQ(cells(pig).size(), version.cells);
    }
  }
}

TEST_F(ResultArtTest, AMovedObjectStoresItsOffsetAndMovesItsResult) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  const std::vector<std::vector<AIRealPoint>> before = cellOutlines(pig);

  ASSERT_EQ(edits->move(pig, 10, 20), kNoErr);
  EXPECT_EQ(reals(pig, kMirtilOffsetKey), (std::vector<float>{10, 20}));
  EXPECT_EQ(reals(pig, kMirtilCentreKey), (std::vector<float>{0, 0}));
  EXPECT_EQ(reals(pig, kMirtilCnjKey), (std::vector<float>{100, 0}));

  const std::vector<std::vector<AIRealPoint>> after = cellOutlines(pig);
  ASSERT_EQ(after.size(), before.size());
  for (size_t cell = 0; cell < after.size(); ++cell) {
    ASSERT_EQ(after[cell].size(), before[cell].size());
    for (size_t i = 0; i < after[cell].size(); ++i) {
      EXPECT_NEAR(after[cell][i].h, before[cell][i].h + 10, kTolerance);
      EXPECT_NEAR(after[cell][i].v, before[cell][i].v + 20, kTolerance);
    }
  }
}

TEST_F(ResultArtTest, AnUpdateRebuildsTheSameResultFromScratch) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  const std::vector<std::vector<AIRealPoint>> before = cellOutlines(pig);
  EXPECT_EQ(sendUpdate(pig), kNoErr);
  AIArtHandle result = nullptr;
  ASSERT_EQ(doc().resultGroup(pig, &result), kNoErr);
  EXPECT_EQ(children(result).size(), 1u);
  const std::vector<std::vector<AIRealPoint>> after = cellOutlines(pig);
  ASSERT_EQ(after.size(), before.size());
  for (size_t cell = 0; cell < after.size(); ++cell) {
    for (size_t i = 0; i < after[cell].size(); ++i) {
      EXPECT_NEAR(after[cell][i].h, before[cell][i].h, 1e-4);
      EXPECT_NEAR(after[cell][i].v, before[cell][i].v, 1e-4);
    }
  }
}

// An entry out of all range (a document read in may hold one) is refused
// before anything is made: the object draws nothing, the document keeps
// no non-finite coordinate, and the other objects still update.
TEST_F(ResultArtTest, AnObjectOutOfRangeDrawsNothingAndOthersStillUpdate) {
  const AIReal outOfRange[] = {std::numeric_limits<AIReal>::quiet_NaN(), std::numeric_limits<AIReal>::infinity(),
                               -1e30f, 2e7f};
  for (const int type : {0, 1}) {
    host->preferences().put(kMirtilPrefsSection, kMirtilTypePref, type);
    const AIArtHandle good = makeMirtil({0, 0}, {40, 0});
    const AIArtHandle bad = makeMirtil({200, 0}, {240, 0});
    ASSERT_NE(good, nullptr);
    ASSERT_NE(bad, nullptr);
    for (const char* key : {kMirtilCentreKey, kMirtilCnjKey, kMirtilAngleKey}) {
      const std::vector<float> kept = reals(bad, key);
      for (const AIReal value : outOfRange) {
        SCOPED_TRACE(std::string(key) + " " + std::to_string(value) + " type " + std::to_string(type));
        std::vector<AIReal> changed(kept.begin(), kept.end());
        changed.back() = value;
        putReals(bad, key, changed);
        EXPECT_EQ(sendUpdate(bad), kBadParameterErr);
        AIArtHandle result = nullptr;
        ASSERT_EQ(doc().resultGroup(bad, &result), kNoErr);
        EXPECT_TRUE(children(result).empty());
        EXPECT_EQ(hostcore::checkDocument(doc()), std::vector<std::string>{});

        EXPECT_EQ(sendUpdate(good), kNoErr);
        EXPECT_EQ(cells(good).size(), 6u);
        putReals(bad, key, std::vector<AIReal>(kept.begin(), kept.end()));
      }
    }
    EXPECT_EQ(sendUpdate(bad), kNoErr);
    EXPECT_EQ(cells(bad).size(), 6u);
    ASSERT_EQ(doc().disposeArt(good), kNoErr);
    ASSERT_EQ(doc().disposeArt(bad), kNoErr);
  }
}

TEST_F(ResultArtTest, UpdatesOfOtherArtAreRefused) {
  const AIArtHandle square = addSquare(layer, 0, 0, 5);
  EXPECT_EQ(sendUpdate(square), HOST_FOURCC('P', 'A', 'R', 'M'));
  EXPECT_EQ(children(layerGroup(layer)).size(), 1u);
}

}  // namespace
