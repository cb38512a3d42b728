// Capture of the source art when the tool makes an object: which layers
// give entries, what is copied and stripped, read-back in the result, and
// what a failing host leaves behind.

#include <cstdio>

#include "ObjectFixture.h"

namespace {

using CaptureTest = ObjectTest;

// The stored copy's children, top first, with their anchors' left edge.
std::vector<double> LeftEdges(const hostcore::ArtCopy& stored) {
  std::vector<double> edges;
  for (const hostcore::ArtCopy& child : stored.children) {
    double left = 1e30;
    for (const AIPathSegment& segment : child.path.segments) left = std::min<double>(left, segment.p.h);
    edges.push_back(left);
  }
  return edges;
}

TEST_F(CaptureTest, LayersWithArtInTheRegionGiveConsecutiveEntriesInLayerOrder) {
  const AILayerHandle second = addLayer("Layer 2");
  const AILayerHandle third = addLayer("Layer 3");
  addSquare(layer, 0, 0, 5);
  addSquare(second, 500, 500, 5);
  addSquare(third, 20, 0, 3);

  const AIArtHandle pig = drag({0, 0}, {50, 0});
  ASSERT_NE(pig, nullptr);
  const hostcore::ArtCopy* first = storedArt(pig, "Mir-Obj-000");
  const hostcore::ArtCopy* next = storedArt(pig, "Mir-Obj-001");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(storedArt(pig, "Mir-Obj-002"), nullptr);
  EXPECT_EQ(LeftEdges(*first), std::vector<double>{-5});
  EXPECT_EQ(LeftEdges(*next), std::vector<double>{17});

  // Read back into the first cell: the first layer's art above the third's.
  const std::vector<AIArtHandle> inClip = children(cells(pig)[0]);
  ASSERT_EQ(inClip.size(), 3u);
  EXPECT_EQ(anchors(children(inClip[1])[0])[0].h, -5);
  EXPECT_EQ(anchors(children(inClip[2])[0])[0].h, 17);
  EXPECT_EQ(children(layerGroup(third)).size(), 1u) << "no temporary group is left";
}

TEST_F(CaptureTest, ALayerWhoseOnlyArtInTheRegionIsAnObjectGivesNoEntry) {
  const AILayerHandle second = addLayer("Layer 2");
  ASSERT_EQ(doc().setCurrentLayer(second), kNoErr);
  addSquare(second, 200, 200, 5);
  ASSERT_NE(drag({200, 200}, {220, 200}, second), nullptr);

  ASSERT_EQ(doc().setCurrentLayer(layer), kNoErr);
  addSquare(layer, 170, 200, 2);
  const AIArtHandle pig = drag({170, 200}, {182, 200});
  ASSERT_NE(pig, nullptr);
  const hostcore::ArtCopy* stored = storedArt(pig, "Mir-Obj-000");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(stored->children.size(), 1u) << "the new object is not captured";
  EXPECT_EQ(stored->children[0].type, kPathArt);
  EXPECT_EQ(storedArt(pig, "Mir-Obj-001"), nullptr);
}

TEST_F(CaptureTest, AGroupMeetingTheRegionIsCapturedWhole) {
  const AIArtHandle group = addGroupIn(layerGroup(layer));
  addSquareIn(group, 0, 0, 2);
  addSquareIn(group, 300, 300, 2);
  addSquare(layer, 400, 0, 2);

  const AIArtHandle pig = drag({0, 0}, {20, 0});
  ASSERT_NE(pig, nullptr);
  const hostcore::ArtCopy* stored = storedArt(pig, "Mir-Obj-000");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(stored->children.size(), 1u) << "art outside the region stays behind";
  EXPECT_EQ(stored->children[0].type, kGroupArt);
  EXPECT_EQ(stored->children[0].children.size(), 2u);
}

TEST_F(CaptureTest, SublayersAreStoredAsPlainGroups) {
  AILayerHandle sublayer = nullptr;
  ASSERT_EQ(doc().addSublayer(layer, "Sub", &sublayer), kNoErr);
  addSquare(sublayer, 0, 0, 2);
  int32_t layersBefore = 0;
  ASSERT_EQ(doc().countLayers(&layersBefore), kNoErr);

  const AIArtHandle pig = drag({0, 0}, {20, 0});
  ASSERT_NE(pig, nullptr);
  const hostcore::ArtCopy* stored = storedArt(pig, "Mir-Obj-000");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(stored->children.size(), 1u);
  EXPECT_EQ(stored->children[0].type, kGroupArt);
  EXPECT_FALSE(stored->children[0].props.layer.has_value());
  EXPECT_EQ(stored->children[0].children.size(), 1u);
  int32_t layersAfter = 0;
  ASSERT_EQ(doc().countLayers(&layersAfter), kNoErr);
  EXPECT_EQ(layersAfter, layersBefore);
}

TEST_F(CaptureTest, ReadBackStopsAtTheFirstMissingEntry) {
  const AILayerHandle second = addLayer("Layer 2");
  addSquare(layer, 0, 0, 5);
  addSquare(second, 10, 0, 5);
  const AIArtHandle pig = drag({0, 0}, {50, 0});
  ASSERT_NE(pig, nullptr);
  const AIArtHandle far = addSquare(second, 600, 600, 1);

  ASSERT_EQ(storeArt(pig, "Mir-Obj-003", far), kNoErr);
  ASSERT_EQ(sendUpdate(pig), kNoErr);
  EXPECT_EQ(children(cells(pig)[0]).size(), 3u) << "clip path and entries 000, 001";

  ASSERT_EQ(storeArt(pig, "Mir-Obj-002", far), kNoErr);
  ASSERT_EQ(sendUpdate(pig), kNoErr);
  EXPECT_EQ(children(cells(pig)[0]).size(), 5u);
}

// Entries 000 to 998 are read back; entry 999 and beyond never are.
TEST_F(CaptureTest, ReadBackTakesAtMost999Entries) {
  const AIArtHandle pig = makeMirtil({0, 0}, {50, 0});
  ASSERT_NE(pig, nullptr);
  const AIArtHandle far = addSquare(layer, 600, 600, 1);
  for (int index = 1; index <= 1000; ++index) {
    char key[16];
    std::snprintf(key, sizeof key, "Mir-Obj-%03d", index);
    ASSERT_EQ(storeArt(pig, key, far), kNoErr) << key;
  }
  ASSERT_EQ(sendUpdate(pig), kNoErr);
  EXPECT_EQ(children(cells(pig)[0]).size(), 1u + 999u) << "clip path and entries 000 to 998";
}

// Art copied from one layer keeps its stacking order, in the entry and in
// the result.
TEST_F(CaptureTest, SeveralItemsOfOneLayerKeepTheirStackingOrder) {
  addSquare(layer, -10, 0, 2);
  addSquare(layer, 0, 0, 2);
  addSquare(layer, 10, 0, 2);

  const AIArtHandle pig = drag({0, 0}, {50, 0});
  ASSERT_NE(pig, nullptr);
  const hostcore::ArtCopy* stored = storedArt(pig, "Mir-Obj-000");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(LeftEdges(*stored), (std::vector<double>{8, -2, -12})) << "topmost first";

  const std::vector<AIArtHandle> inClip = children(cells(pig)[0]);
  ASSERT_EQ(inClip.size(), 2u);
  std::vector<double> shown;
  for (AIArtHandle art : children(inClip[1])) shown.push_back(anchors(art)[0].h);
  EXPECT_EQ(shown, (std::vector<double>{8, -2, -12}));
}

TEST_F(CaptureTest, AnEmptyRegionMakesNothingAndSaysSo) {
  addSquare(layer, 500, 500, 5);
  EXPECT_EQ(drag({0, 0}, {50, 0}), nullptr);
  EXPECT_EQ(host->alerts(), std::vector<std::string>{"No art in region - no mirrortile created"});
  EXPECT_EQ(children(layerGroup(layer)).size(), 1u);
}

// Whichever host call fails while the release makes the object, no object
// is left without its entries, and the document stays sound. The one
// temporary group that can stay is one whose own disposal the host refused.
TEST_F(CaptureTest, AFailingHostCallLeavesNoHalfMadeObject) {
  const AILayerHandle second = addLayer("Layer 2");
  addSquare(layer, 0, 0, 5);
  addSquare(second, 10, 0, 5);
  int refused = 0;
  int groupsLeft = 0;
  for (uint64_t k = 1; k < 5000; ++k) {
    const size_t undoBefore = doc().journal().undoDepth();
    ASSERT_EQ(tool->press({0, 0}), kNoErr);
    const uint64_t firedBefore = faults().faultsFired();
    faults().failHostCall(k);
    const AIErr answer = tool->release({50, 0});
    const bool fired = faults().faultsFired() > firedBefore;
    faults().clear();
    const std::vector<AIArtHandle> made = plugins(layer);
    if (!fired) {
      EXPECT_EQ(answer, kNoErr);
      EXPECT_EQ(made.size(), 1u);
      break;
    }
    if (made.empty()) {
      refused += answer != kNoErr;
    } else {
      ASSERT_EQ(made.size(), 1u) << "k=" << k;
      EXPECT_NE(storedArt(made[0], "Mir-Obj-000"), nullptr) << "k=" << k;
      EXPECT_EQ(reals(made[0], kMirtilAngleKey).size(), 1u) << "k=" << k;
    }
    for (AILayerHandle on : {layer, second}) {
      for (AIArtHandle art : children(layerGroup(on))) groupsLeft += typeOf(art) == kGroupArt;
    }
    ASSERT_EQ(hostcore::checkDocument(doc()), std::vector<std::string>{}) << "k=" << k;
    if (doc().journal().undoDepth() > undoBefore) {
      ASSERT_TRUE(edits->undo());
    }
  }
  EXPECT_GT(refused, 20);
  EXPECT_LE(groupsLeft, 2) << "one disposal per layer";
}

}  // namespace
