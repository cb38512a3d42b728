// The geometry of art and the general art helpers, called in this process
// on the stand-in host's suites.

#include "LibraryFixture.h"
#include "ovaiart.h"
#include "ovaimirtilpig.h"
#include "ovmem.h"
#include "plugingeneral/ovaigeneral.h"
#include "plugingeneral/ovaipathmanip.h"
#include "plugingeneral/ovaiselection.h"
#include "plugingeneral/ovaiuserdata.h"

namespace {

using GeometryTest = LibraryTest;

void ExpectPoint(AIRealPoint actual, double h, double v, double tolerance = 1e-3) {
  EXPECT_NEAR(actual.h, h, tolerance);
  EXPECT_NEAR(actual.v, v, tolerance);
}

TEST_F(GeometryTest, MirroringTwiceRestoresAndTheDiagonalSwapsCoordinates) {
  const AIArtHandle group = addGroupIn(layerGroup(layer));
  const AIArtHandle square = addSquareIn(group, 30, 10, 5);
  ASSERT_EQ(MirrorGroupInPlaceAtLine(group, 0, 0, 1, 1), kNoErr);
  ExpectPoint(anchors(square)[0], 5, 25);
  ExpectPoint(anchors(square)[1], 5, 35);
  ASSERT_EQ(MirrorGroupInPlaceAtLine(group, 0, 0, 1, 1), kNoErr);
  ExpectPoint(anchors(square)[0], 25, 5);

  ASSERT_EQ(MirrorGroupInPlaceAtLine(group, 3, -7, 11, 40), kNoErr);
  ASSERT_EQ(MirrorGroupInPlaceAtLine(group, 3, -7, 11, 40), kNoErr);
  ExpectPoint(anchors(square)[2], 35, 15);
}

TEST_F(GeometryTest, ThreeThirdTurnsBringArtBack) {
  const AIArtHandle group = addGroupIn(layerGroup(layer));
  const AIArtHandle square = addSquareIn(group, 30, 10, 5);
  ASSERT_EQ(RotateGroupAtPoint(group, 7, 3, 2.094395102), kNoErr);
  ExpectPoint(anchors(square)[0], Turned({25, 5}, {7, 3}, 2.094395102).h,
              Turned({25, 5}, {7, 3}, 2.094395102).v);
  ASSERT_EQ(RotateGroupAtPoint(group, 7, 3, 2.094395102), kNoErr);
  ASSERT_EQ(RotateGroupAtPoint(group, 7, 3, 2.094395102), kNoErr);
  ExpectPoint(anchors(square)[0], 25, 5);
  ASSERT_EQ(TranslateArt(group, {-25, -5}), kNoErr);
  ExpectPoint(anchors(square)[0], 0, 0);
  EXPECT_EQ(TransformArt(addGroupIn(layerGroup(layer)), AIRealMatrix{1, 0, 0, 1, 5, 5}), kNoErr);
}

// A matrix or point call that the host fails leaves its result as it was:
// the identity, the point itself.
TEST_F(GeometryTest, AFailedMatrixOrPointCallLeavesTheIdentityOrThePoint) {
  // The move to the pivot fails: the turn is about the origin, then moved by the pivot.
  const AIArtHandle group = addGroupIn(layerGroup(layer));
  const AIArtHandle square = addSquareIn(group, 30, 10, 5);
  faults().failCall(kAIRealMathSuite, "AIRealMatrixSetTranslate", 1);
  ASSERT_EQ(RotateGroupAtPoint(group, 7, 3, M_PI / 2), kNoErr);
  faults().clear();
  const AIRealPoint turned = Turned({25, 5}, {0, 0}, M_PI / 2);
  ExpectPoint(anchors(square)[0], turned.h + 7, turned.v + 3);

  // The turn of the first corner fails: it stays on cnj.
  AIArtHandle path = nullptr;
  ASSERT_EQ(TempPathObj(&path), kNoErr);
  faults().failCall(kAIRealMathSuite, "AIRealMatrixXformPoint", 1);
  ASSERT_TRUE(MakeTriangleSidesPath(path, 0, 0, 10, 0));
  faults().clear();
  const std::vector<AIRealPoint> corners = anchors(path);
  ASSERT_EQ(corners.size(), 3u);
  ExpectPoint(corners[0], 10, 0);
  ExpectPoint(corners[2], Turned({10, 0}, {0, 0}, 2 * M_PI / 3).h, Turned({10, 0}, {0, 0}, 2 * M_PI / 3).v);
}

TEST_F(GeometryTest, PointsTurnAboutAPointAndANullPointIsRefused) {
  AIRealPoint p{10, 0};
  ASSERT_EQ(RotatePointAroundPoint({0, 0}, &p, M_PI / 2), kNoErr);
  ExpectPoint(p, 0, 10);
  EXPECT_EQ(RotatePointAroundPoint({0, 0}, nullptr, 1.0), kBadParameterErr);
  EXPECT_TRUE(logged("Bad args to RotatePointAroundPoint"));
}

// The host's matrix calls answer nothing: a translation the host left
// unwritten moves nothing, rather than applying whatever memory held.
TEST_F(GeometryTest, ATranslationTheHostLeftUnwrittenMovesNothing) {
  const AIArtHandle group = addGroupIn(layerGroup(layer));
  const AIArtHandle square = addSquareIn(group, 30, 10, 5);
  faults().failCall(kAIRealMathSuite, "AIRealMatrixSetTranslate", 1, kBoom);
  EXPECT_EQ(TranslateArt(group, {10, 20}), kNoErr);
  ExpectPoint(anchors(square)[0], 25, 5);
  EXPECT_EQ(hostcore::checkDocument(doc()), std::vector<std::string>{});
}

TEST_F(GeometryTest, ConstructionPathsHaveTheirCorners) {
  AIArtHandle path = nullptr;
  ASSERT_EQ(TempPathObj(nullptr), kNoErr);
  ASSERT_EQ(TempPathObj(&path), kNoErr);
  EXPECT_EQ(children(layerGroup(layer)).size(), 2u);

  ASSERT_TRUE(MakeTriangleSidesPath(path, 1, 2, 11, 2));
  std::vector<AIRealPoint> corners = anchors(path);
  ASSERT_EQ(corners.size(), 3u);
  for (AIRealPoint corner : corners) EXPECT_NEAR(Distance(corner, {1, 2}), 10, 1e-3);
  ExpectPoint(corners[1], 11, 2);
  ExpectPoint(corners[2], Turned({11, 2}, {1, 2}, 2 * M_PI / 3).h, Turned({11, 2}, {1, 2}, 2 * M_PI / 3).v);
  AIBoolean closed = true;
  ASSERT_EQ(doc().pathClosed(path, &closed), kNoErr);
  EXPECT_FALSE(closed);

  ASSERT_TRUE(MakeWedgePath(path, 1, 2, 1, 12));
  corners = anchors(path);
  ASSERT_EQ(corners.size(), 3u);
  ExpectPoint(corners[1], 1, 2);
  EXPECT_NEAR(Distance(corners[0], {1, 2}), Distance(corners[2], {1, 2}), 1e-3);
  ExpectPoint(corners[2], Turned({1, 12}, {1, 2}, M_PI / 3).h, Turned({1, 12}, {1, 2}, M_PI / 3).v);

  ASSERT_TRUE(MakeLinePath(path, 4, 5, 6, 7));
  corners = anchors(path);
  ASSERT_EQ(corners.size(), 2u);
  ExpectPoint(corners[1], 6, 7);
}

TEST_F(GeometryTest, CirclesHaveFourBezierSegments) {
  AIArtHandle path = nullptr;
  ASSERT_EQ(TempPathObj(&path), kNoErr);
  ASSERT_TRUE(MakeCirclePath(path, {0, 0}, 10));
  std::vector<AIPathSegment> segments(4);
  ASSERT_EQ(doc().segments(path, 0, 4, segments.data()), kNoErr);
  ExpectPoint(segments[0].p, 10, 0);
  ExpectPoint(segments[1].p, 0, 10);
  ExpectPoint(segments[2].p, -10, 0);
  ExpectPoint(segments[3].p, 0, -10);
  ExpectPoint(segments[0].out, 10, 5.522847498);
  ExpectPoint(segments[1].in, 5.522847498, 10);

  ASSERT_TRUE(MakeCirclePathThrough(path, 3, 4, 3, 4));
  for (AIRealPoint p : anchors(path)) ExpectPoint(p, 3, 4);
  AIBoolean closed = false;
  ASSERT_EQ(doc().pathClosed(path, &closed), kNoErr);
  EXPECT_TRUE(closed);
}

TEST_F(GeometryTest, NewArtIsPlacedByItsReference) {
  const AIArtHandle top = layerGroup(layer);
  const AIArtHandle square = addSquare(layer, 0, 0, 1);
  const AIArtHandle group = CreateNewArt(kGroupArt, top);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(children(top).front(), group) << "inside the group, on top";
  const AIArtHandle path = CreateNewArt(kPathArt, square);
  ASSERT_EQ(children(top).size(), 3u);
  EXPECT_EQ(children(top)[1], path) << "just above the path";

  AIArtHandle copy = nullptr;
  ASSERT_EQ(DuplicateArt(square, group, &copy), kNoErr);
  EXPECT_EQ(children(group), std::vector<AIArtHandle>{copy});
  EXPECT_EQ(DuplicateArt(square, group, nullptr), kBadParameterErr);
  EXPECT_TRUE(logged("Bad copy for DuplicateArt"));
}

TEST_F(GeometryTest, DeletingGroupContentsEmptiesNestedGroups) {
  const AIArtHandle outer = addGroupIn(layerGroup(layer));
  const AIArtHandle inner = addGroupIn(outer);
  addSquareIn(inner, 0, 0, 1);
  addSquareIn(inner, 5, 0, 1);
  addSquareIn(outer, 9, 0, 1);
  ASSERT_EQ(DeleteGroupContents(outer), kNoErr);
  EXPECT_TRUE(children(outer).empty());
  EXPECT_EQ(children(layerGroup(layer)), std::vector<AIArtHandle>{outer});
}

TEST_F(GeometryTest, SelectionListsCountFilterAndHandOut) {
  AIArtHandle* list = reinterpret_cast<AIArtHandle*>(0x1);
  addSquare(layer, 0, 0, 1);
  EXPECT_EQ(GetSelectedArtOfType(kPathArt, &list), 0);
  EXPECT_EQ(list, reinterpret_cast<AIArtHandle*>(0x1)) << "untouched";

  const AIArtHandle first = makeMirtil({0, 0}, {100, 0});
  const AIArtHandle second = makeMirtil({300, 0}, {400, 0});
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(SelectedItems(kAnyArt, false, nullptr, nullptr), 7) << "three squares, two objects, two edit paths";
  ASSERT_EQ(GetAllMirtils(&list), 2);
  free_mem(list);

  ASSERT_EQ(doc().setUserAttr(first, kArtSelected, kArtSelected), kNoErr);
  AIArtHandle single = nullptr;
  ASSERT_EQ(GetSingleSelMirtil(&single), kNoErr);
  EXPECT_EQ(single, first);
  ASSERT_EQ(doc().setUserAttr(second, kArtSelected, kArtSelected), kNoErr);
  EXPECT_EQ(GetSingleSelMirtil(&single), HOST_FOURCC('C', 'A', 'N', 'T'));
  EXPECT_TRUE(logged("Too many selected in GetSingleSelMirtil"));
  ASSERT_EQ(GetSelectedMirtils(&list), 2);
  free_mem(list);
}

// The edit path of a variable-width object stands for that object and is
// never handed out as art of its own; other plug-in art's edit paths are.
TEST_F(GeometryTest, SelectionListsLeaveOutEditPathsOfVariableWidthObjects) {
  std::vector<AIArtHandle> editPaths;
  for (const char* name : {"OrvoSwellpenPIG", "OrvoSwellpenPIGs"}) {
    AIArtHandle object = nullptr;
    AIArtHandle edit = nullptr;
    ASSERT_EQ(doc().newArt(kPluginArt, kPlaceInsideOnTop, layerGroup(layer), &object), kNoErr);
    ASSERT_EQ(doc().attachPluginGroup(object, host->core().documentPluginGroup(name), 1, 0), kNoErr);
    ASSERT_EQ(doc().editGroup(object, &edit), kNoErr);
    editPaths.push_back(addSquareIn(edit, 0, 0, 1));
    select(editPaths.back());
  }
  const AIArtHandle path = addSquare(layer, 50, 50, 1);
  select(path);

  AIArtHandle* list = nullptr;
  ASSERT_EQ(GetSelectedArtOfType(kPathArt, &list), 2);
  std::vector<AIArtHandle> handedOut(list, list + 2);
  std::vector<AIArtHandle> expected{editPaths[1], path};
  std::sort(handedOut.begin(), handedOut.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(handedOut, expected);
  free_mem(list);
}

TEST_F(GeometryTest, RealArraysReadBackAndAShortArrayFailsOnItsMissingElement) {
  const AIArtHandle square = addSquare(layer, 0, 0, 1);
  AIDictionaryRef dict = nullptr;
  ASSERT_EQ(doc().artDictionary(square, &dict), kNoErr);
  const AIReal written[3] = {1.5f, -2, 3.25f};
  ASSERT_EQ(WriteFloatArrayToDict(dict, "Three", 3, written), kNoErr);
  AIReal read[4] = {0, 0, 0, 0};
  ASSERT_EQ(ReadFloatArrayFromDict(dict, "Three", 3, read), kNoErr);
  EXPECT_EQ(std::vector<AIReal>(read, read + 3), std::vector<AIReal>(written, written + 3));
  // Both the array made for the fetch and the stored one are given back:
  // a fault armed on the second release fires, one on the third does not.
  for (uint64_t nth : {2, 3}) {
    const uint64_t firedBefore = faults().faultsFired();
    faults().failCall(kAIArraySuite, "Release", nth);
    ASSERT_EQ(ReadFloatArrayFromDict(dict, "Three", 3, read), kNoErr);
    EXPECT_EQ(faults().faultsFired() - firedBefore, nth == 2 ? 1u : 0u) << nth;
    faults().clear();
  }
  EXPECT_NE(ReadFloatArrayFromDict(dict, "Three", 4, read), kNoErr);
  EXPECT_TRUE(reported("sAIArray->GetRealEntry(arrref,lp,array+lp)"));
  EXPECT_EQ(WriteFloatArrayToDict(dict, "None", 0, written), kBadParameterErr);
  EXPECT_TRUE(logged("Bad args to WriteRealArrayToDict"));

  ASSERT_EQ(WriteIntToDict(dict, "Int", -7), kNoErr);
  int value = 0;
  ASSERT_EQ(ReadIntFromDict(dict, "Int", &value), kNoErr);
  EXPECT_EQ(value, -7);
  EXPECT_EQ(ReadIntFromDict(nullptr, "Int", &value), kBadParameterErr);
  EXPECT_EQ(doc().releaseDictionary(dict), kNoErr);
}

TEST_F(GeometryTest, BooleansReadBackAndBadArgumentsAreRefused) {
  const AIArtHandle square = addSquare(layer, 0, 0, 1);
  AIDictionaryRef dict = nullptr;
  ASSERT_EQ(doc().artDictionary(square, &dict), kNoErr);
  for (const AIBoolean written : {AIBoolean(true), AIBoolean(false)}) {
    ASSERT_EQ(WriteBoolToDict(dict, "Flag", written), kNoErr);
    AIBoolean read = !written;
    ASSERT_EQ(ReadBoolFromDict(dict, "Flag", &read), kNoErr);
    EXPECT_EQ(read, written);
  }
  const hostcore::DictValue* stored = entry(square, "Flag");
  ASSERT_NE(stored, nullptr);
  ASSERT_TRUE(std::holds_alternative<bool>(*stored));
  EXPECT_FALSE(std::get<bool>(*stored));
  AIBoolean read = false;
  EXPECT_NE(ReadBoolFromDict(dict, "Absent", &read), kNoErr);
  EXPECT_EQ(WriteBoolToDict(nullptr, "Flag", true), kBadParameterErr);
  EXPECT_TRUE(logged("Bad args to WriteBoolToDict"));
  EXPECT_EQ(ReadBoolFromDict(dict, nullptr, &read), kBadParameterErr);
  EXPECT_TRUE(logged("Bad args to ReadBoolFromDict"));
  EXPECT_EQ(doc().releaseDictionary(dict), kNoErr);
}

}  // namespace
