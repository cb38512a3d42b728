// Bounds, matrices and transformation through the art, real math and
// transform art suites.
#include <cfloat>
#include <cmath>

#include "HostCoreFixture.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kKappa = 0.5522847498f;

class GeometryTest : public HostCoreTest {
 protected:
  void SetUp() override { addLayer("Layer"); }

  // A closed four-segment Bezier circle.
  AIArtHandle newCircle(AIPaintOrder order, AIArtHandle prep, float h, float v, float r) {
    const float k = kKappa * r;
    const AIPathSegment s[4] = {
        {{h + r, v}, {h + r, v - k}, {h + r, v + k}, false},
        {{h, v + r}, {h + k, v + r}, {h - k, v + r}, false},
        {{h - r, v}, {h - r, v + k}, {h - r, v - k}, false},
        {{h, v - r}, {h - k, v - r}, {h + k, v - r}, false},
    };
    AIArtHandle circle = newArt(kPathArt, order, prep);
    EXPECT_EQ(path->SetPathSegments(circle, 0, 4, s), kNoErr);
    EXPECT_EQ(path->SetPathClosed(circle, true), kNoErr);
    return circle;
  }

  AIRealRect boundsOf(AIArtHandle a) {
    AIRealRect r{};
    EXPECT_EQ(art->GetArtBounds(a, &r), kNoErr);
    return r;
  }

  AIRealPoint xform(const AIRealMatrix& m, AIRealPoint p) {
    AIRealPoint out{};
    math->AIRealMatrixXformPoint(&m, &p, &out);
    return out;
  }
};

void expectRect(const AIRealRect& r, float left, float top, float right, float bottom) {
  EXPECT_NEAR(r.left, left, 1e-3);
  EXPECT_NEAR(r.top, top, 1e-3);
  EXPECT_NEAR(r.right, right, 1e-3);
  EXPECT_NEAR(r.bottom, bottom, 1e-3);
}

TEST_F(GeometryTest, CurveBoundsAreTightNotTheControlPolygon) {
  AIArtHandle circle = newCircle(kPlaceAboveAll, nullptr, 10, 20, 5);
  expectRect(boundsOf(circle), 5, 25, 15, 15);

  // An arch whose controls rise to 100 peaks at 75.
  AIArtHandle arch = newArt(kPathArt, kPlaceAboveAll, nullptr);
  const AIPathSegment s[2] = {{{0, 0}, {0, -100}, {0, 100}, false}, {{10, 0}, {10, 100}, {10, -100}, false}};
  ASSERT_EQ(path->SetPathSegments(arch, 0, 2, s), kNoErr);
  expectRect(boundsOf(arch), 0, 75, 10, 0);

  // Closing the path adds the segment back to the start.
  ASSERT_EQ(path->SetPathClosed(arch, true), kNoErr);
  expectRect(boundsOf(arch), 0, 75, 10, -75);
}

TEST_F(GeometryTest, GroupBoundsUniteChildrenAndClipGroupsShowTheirClipPath) {
  AIArtHandle g = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  newLine(kPlaceInsideOnTop, g, {{0, 0}, {100, 50}});
  AIArtHandle clipPath = newLine(kPlaceInsideOnTop, g, {{10, 10}, {20, 10}, {20, 20}});
  expectRect(boundsOf(g), 0, 50, 100, 0);

  AIPathStyle style{};
  ASSERT_EQ(pathStyle->GetPathStyle(clipPath, &style), kNoErr);
  style.clip = true;
  ASSERT_EQ(pathStyle->SetPathStyle(clipPath, &style), kNoErr);
  ASSERT_EQ(group->SetGroupClipped(g, true), kNoErr);
  expectRect(boundsOf(g), 10, 20, 20, 10);

  AIArtHandle empty = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  const AIRealRect nothing = boundsOf(empty);
  EXPECT_GT(nothing.left, nothing.right);
  const AIRealRect everywhere{-FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX};
  EXPECT_FALSE(math->AIRealRectOverlap(&nothing, &everywhere));
}

TEST_F(GeometryTest, PluginArtBoundsAreItsResultGroups) {
  AIArtHandle pig = newArt(kPluginArt, kPlaceAboveAll, nullptr);
  AIArtHandle edit = nullptr, result = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &edit), kNoErr);
  ASSERT_EQ(pluginGroup->GetPluginArtResultArt(pig, &result), kNoErr);
  newLine(kPlaceInsideOnTop, edit, {{500, 500}, {500, 500}});
  newCircle(kPlaceInsideOnTop, result, 0, 0, 1);
  expectRect(boundsOf(pig), -1, 1, 1, -1);
}

TEST_F(GeometryTest, AppendedStepsActAfterTheStepsAlreadyInTheMatrix) {
  AIRealMatrix m;
  math->AIRealMatrixSetTranslate(&m, 10, 0);
  math->AIRealMatrixConcatRotate(&m, kPi / 2);  // translate first, then turn
  AIRealPoint p = xform(m, {1, 0});
  EXPECT_NEAR(p.h, 0, 1e-4);
  EXPECT_NEAR(p.v, 11, 1e-4);

  math->AIRealMatrixSetIdentity(&m);
  math->AIRealMatrixConcatRotate(&m, kPi / 2);
  math->AIRealMatrixConcatTranslate(&m, 10, 0);  // turn first, then translate
  math->AIRealMatrixConcatScale(&m, 2, 3);
  p = xform(m, {1, 0});
  EXPECT_NEAR(p.h, 20, 1e-4);
  EXPECT_NEAR(p.v, 3, 1e-4);
}

TEST_F(GeometryTest, PointAngleClosenessAndRectangleOverlap) {
  const AIRealPoint origin{0, 0}, up{0, 5}, left{-3, 0};
  EXPECT_NEAR(math->AIRealPointAngle(&origin, &up), kPi / 2, 1e-6);
  EXPECT_NEAR(math->AIRealPointAngle(&up, &origin), -kPi / 2, 1e-6);
  EXPECT_NEAR(math->AIRealPointAngle(&origin, &left), kPi, 1e-6);

  const AIRealPoint near{3, 4};
  EXPECT_TRUE(math->AIRealPointClose(&origin, &near, 5));
  EXPECT_FALSE(math->AIRealPointClose(&origin, &near, 4.9f));

  const AIRealRect a{0, 10, 10, 0}, touching{10, 10, 20, 0}, apart{10.5f, 10, 20, 0}, corner{10, 20, 20, 10};
  EXPECT_TRUE(math->AIRealRectOverlap(&a, &touching));
  EXPECT_TRUE(math->AIRealRectOverlap(&a, &corner));
  EXPECT_FALSE(math->AIRealRectOverlap(&a, &apart));
}

// The reflection the plug-in builds: across the line through p1 at angle theta.
AIRealMatrix reflection(const AIRealMathSuite* math, AIRealPoint p1, AIRealPoint p2) {
  const AIReal theta = math->AIRealPointAngle(&p1, &p2);
  AIRealMatrix m;
  math->AIRealMatrixSetTranslate(&m, -p1.h, -p1.v);
  math->AIRealMatrixConcatRotate(&m, -theta);
  math->AIRealMatrixConcatScale(&m, 1, -1);
  math->AIRealMatrixConcatRotate(&m, theta);
  math->AIRealMatrixConcatTranslate(&m, p1.h, p1.v);
  return m;
}

TEST_F(GeometryTest, ReflectingTwiceAcrossALineReturnsEveryPoint) {
  AIArtHandle line = newLine(kPlaceAboveAll, nullptr, {{3, 1}, {-2, 7}, {40, -5}});
  AIRealMatrix diagonal = reflection(math, {0, 0}, {1, 1});
  ASSERT_EQ(transform->TransformArt(line, &diagonal, 1, kTransformObjects), kNoErr);
  AIPathSegment s[3];
  ASSERT_EQ(path->GetPathSegments(line, 0, 3, s), kNoErr);
  EXPECT_NEAR(s[0].p.h, 1, 1e-4);  // h and v swap across the diagonal
  EXPECT_NEAR(s[0].p.v, 3, 1e-4);
  ASSERT_EQ(transform->TransformArt(line, &diagonal, 1, kTransformObjects), kNoErr);

  AIRealMatrix slanted = reflection(math, {5, -2}, {-1, 9});
  ASSERT_EQ(transform->TransformArt(line, &slanted, 1, kTransformObjects), kNoErr);
  ASSERT_EQ(transform->TransformArt(line, &slanted, 1, kTransformObjects), kNoErr);
  ASSERT_EQ(path->GetPathSegments(line, 0, 3, s), kNoErr);
  EXPECT_NEAR(s[0].p.h, 3, 1e-3);
  EXPECT_NEAR(s[0].p.v, 1, 1e-3);
  EXPECT_NEAR(s[2].p.h, 40, 1e-3);
  EXPECT_NEAR(s[2].p.v, -5, 1e-3);
}

TEST_F(GeometryTest, TransformMovesPathControlsLeafMatricesAndPluginGroups) {
  AIRealMatrix shift;
  math->AIRealMatrixSetTranslate(&shift, 5, -1);

  AIArtHandle curve = newArt(kPathArt, kPlaceAboveAll, nullptr);
  const AIPathSegment s{{1, 1}, {0, 1}, {2, 1}, false};
  ASSERT_EQ(path->SetPathSegments(curve, 0, 1, &s), kNoErr);
  ASSERT_EQ(transform->TransformArt(curve, &shift, 1, kTransformObjects), kNoErr);
  AIPathSegment moved;
  ASSERT_EQ(path->GetPathSegments(curve, 0, 1, &moved), kNoErr);
  EXPECT_EQ(moved.in.h, 5);
  EXPECT_EQ(moved.out.v, 0);

  AIArtHandle picture = newArt(kPlacedArt, kPlaceAboveAll, nullptr);
  hostcore::LeafData leaf;
  leaf.box = AIRealRect{0, 10, 20, 0};
  ASSERT_EQ(document().setLeafData(picture, leaf), kNoErr);
  ASSERT_EQ(transform->TransformArt(picture, &shift, 1, kTransformObjects), kNoErr);
  expectRect(boundsOf(picture), 5, 9, 25, -1);

  AIArtHandle pig = newArt(kPluginArt, kPlaceAboveAll, nullptr);
  AIArtHandle edit = nullptr, result = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &edit), kNoErr);
  ASSERT_EQ(pluginGroup->GetPluginArtResultArt(pig, &result), kNoErr);
  AIArtHandle editPath = newLine(kPlaceInsideOnTop, edit, {{0, 0}, {0, 0}});
  AIArtHandle resultPath = newLine(kPlaceInsideOnTop, result, {{1, 1}, {2, 2}});
  ASSERT_EQ(transform->TransformArt(pig, &shift, 1, kTransformObjects), kNoErr);
  AIPathSegment e, r;
  ASSERT_EQ(path->GetPathSegments(editPath, 0, 1, &e), kNoErr);
  ASSERT_EQ(path->GetPathSegments(resultPath, 0, 1, &r), kNoErr);
  EXPECT_EQ(e.p.h, 5);
  EXPECT_EQ(r.p.v, 0);

  // Without the objects flag nothing moves; line scaling scales strokes.
  AIPathStyle style{};
  ASSERT_EQ(pathStyle->GetPathStyle(curve, &style), kNoErr);
  style.strokePaint = true;
  style.stroke.width = 2;
  ASSERT_EQ(pathStyle->SetPathStyle(curve, &style), kNoErr);
  ASSERT_EQ(transform->TransformArt(curve, &shift, 3, kScaleLines), kNoErr);
  ASSERT_EQ(path->GetPathSegments(curve, 0, 1, &moved), kNoErr);
  EXPECT_EQ(moved.p.h, 6);
  ASSERT_EQ(pathStyle->GetPathStyle(curve, &style), kNoErr);
  EXPECT_EQ(style.stroke.width, 6);
  expectSound();
}

TEST_F(GeometryTest, NonFiniteCoordinatesAreTheCallersNotAFault) {
  AIArtHandle line = newLine(kPlaceAboveAll, nullptr, {{0, 0}, {1, 1}});
  const AIPathSegment bad{{NAN, 0}, {0, 0}, {0, INFINITY}, false};
  ASSERT_EQ(path->SetPathSegments(line, 1, 1, &bad), kNoErr);
  AIPathSegment back;
  ASSERT_EQ(path->GetPathSegments(line, 1, 1, &back), kNoErr);
  EXPECT_TRUE(std::isnan(back.p.h));
  expectSound();
}

}  // namespace
