// The document's art limit: art that would pass it is refused as out of
// memory and nothing is made; copies and art kept for undo count.
#include "HostCoreFixture.h"

namespace {

class ArtLimitTest : public HostCoreTest {
 protected:
  void SetUp() override { layer = addLayer("Layer"); }

  // `depth` groups, each inside the one before, on the layer.
  AIArtHandle nestedGroups(int depth) {
    AIArtHandle outer = newArt(kGroupArt, kPlaceAboveAll, nullptr);
    AIArtHandle inner = outer;
    for (int i = 1; i < depth; ++i) inner = newArt(kGroupArt, kPlaceInsideOnTop, inner);
    return outer;
  }

  AILayerHandle layer = nullptr;
};

TEST_F(ArtLimitTest, ArtPastTheLimitIsRefusedAsOutOfMemoryAndNothingIsMade) {
  core_.setArtLimit(4);  // the layer's group and three paths
  for (int i = 0; i < 3; ++i) newArt(kPathArt, kPlaceAboveAll, nullptr);
  AIArtHandle refused = nullptr;
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &refused), kHostOutOfMemoryErr);
  EXPECT_EQ(refused, nullptr);
  AILayerHandle second = nullptr;
  EXPECT_EQ(document().addLayer("Second", &second), kHostOutOfMemoryErr);
  EXPECT_EQ(children(layerGroup(layer)).size(), 3u);
  int32_t count = 0;
  ASSERT_EQ(layers->CountLayers(&count), kNoErr);
  EXPECT_EQ(count, 1);
  expectSound();
}

TEST_F(ArtLimitTest, CopiesOfANestedChainCountItsWholeDepth) {
  const AIArtHandle chain = nestedGroups(20);
  core_.setArtLimit(41);  // the layer's group, the chain and one copy of it
  AIDictionaryRef d = nullptr;
  ASSERT_EQ(art->GetDictionary(chain, &d), kNoErr);
  const AIDictKey captured = dict->Key("captured");
  // A capture that could be placed back fits; once the copy is made no
  // second one does, nor can the capture be placed.
  ASSERT_EQ(dict->CopyArtToEntry(d, captured, chain), kNoErr);
  AIArtHandle copy = nullptr;
  ASSERT_EQ(art->DuplicateArt(chain, kPlaceAboveAll, nullptr, &copy), kNoErr);
  EXPECT_EQ(art->DuplicateArt(chain, kPlaceAboveAll, nullptr, &copy), kHostOutOfMemoryErr);
  EXPECT_EQ(dict->CopyArtToEntry(d, dict->Key("again"), chain), kHostOutOfMemoryErr);
  EXPECT_FALSE(dict->IsKnown(d, dict->Key("again")));
  AIArtHandle placed = nullptr;
  EXPECT_EQ(dict->CopyEntryToArt(d, captured, kPlaceAboveAll, nullptr, &placed), kHostOutOfMemoryErr);
  EXPECT_EQ(placed, nullptr);
  EXPECT_EQ(children(layerGroup(layer)).size(), 2u);
  ASSERT_EQ(dict->Release(d), kNoErr);
  expectSound();
}

TEST_F(ArtLimitTest, ArtKeptForUndoCountsUntilTheHistoryLetsItGo) {
  core_.setArtLimit(3);
  document().journal().beginStep();
  AIArtHandle first = newArt(kPathArt, kPlaceAboveAll, nullptr);
  newArt(kPathArt, kPlaceAboveAll, nullptr);
  ASSERT_EQ(art->DisposeArt(first), kNoErr);
  AIArtHandle made = nullptr;
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kHostOutOfMemoryErr);
  document().journal().endStep();
  document().journal().clear();
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kNoErr);
  expectSound();
}

TEST_F(ArtLimitTest, TheLimitHoldsForDocumentsMadeAfterIt) {
  core_.setArtLimit(7);
  core_.newDocument();
  EXPECT_EQ(document().artLimit(), 7u);
  core_.adoptDocument(std::make_unique<hostcore::Document>());
  EXPECT_EQ(document().artLimit(), 7u);
}

}  // namespace
