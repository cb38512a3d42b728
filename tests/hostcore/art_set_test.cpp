// Matching art sets: document order and filtering by type and attributes.
#include "HostCoreFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ArtSetTest : public HostCoreTest {
 protected:
  std::vector<AIArtHandle> match(std::vector<AIArtSpec> specs) {
    AIArtSet set = nullptr;
    EXPECT_EQ(artSet->NewArtSet(&set), kNoErr);
    EXPECT_EQ(artSet->MatchingArtSet(specs.data(), int16_t(specs.size()), set), kNoErr);
    int32_t count = -1;
    EXPECT_EQ(artSet->CountArtSet(set, &count), kNoErr);
    std::vector<AIArtHandle> found;
    for (int32_t i = 0; i < count; ++i) {
      AIArtHandle a = nullptr;
      EXPECT_EQ(artSet->IndexArtSet(set, i, &a), kNoErr);
      found.push_back(a);
    }
    AIArtHandle beyond = nullptr;
    EXPECT_EQ(artSet->IndexArtSet(set, count, &beyond), kHostIndexRangeErr);
    EXPECT_EQ(artSet->DisposeArtSet(&set), kNoErr);
    EXPECT_EQ(set, nullptr);
    return found;
  }
};

TEST_F(ArtSetTest, LayerOrderDepthFirstFromTheTopIntoEditGroupsButNotResultsOrDictionaries) {
  AILayerHandle first = addLayer("First");
  AILayerHandle second = addLayer("Second");
  AILayerHandle sub = nullptr;
  ASSERT_EQ(document().addSublayer(first, "Sub", &sub), kNoErr);

  ASSERT_EQ(layers->SetCurrentLayer(second), kNoErr);
  AIArtHandle lowerLayerPath = newArt(kPathArt, kPlaceAboveAll, nullptr);
  AIArtHandle g = newArt(kGroupArt, kPlaceInsideOnBottom, layerGroup(first));
  AIArtHandle gTop = newArt(kPathArt, kPlaceInsideOnTop, g);
  AIArtHandle gBottom = newArt(kPathArt, kPlaceInsideOnBottom, g);
  AIArtHandle inSub = newArt(kPathArt, kPlaceInsideOnTop, layerGroup(sub));
  AIArtHandle pig = newArt(kPluginArt, kPlaceAbove, g);
  AIArtHandle edit = nullptr, result = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &edit), kNoErr);
  ASSERT_EQ(pluginGroup->GetPluginArtResultArt(pig, &result), kNoErr);
  AIArtHandle editPath = newArt(kPathArt, kPlaceInsideOnTop, edit);
  newArt(kPathArt, kPlaceInsideOnTop, result);
  AIDictionaryRef d = nullptr;
  ASSERT_EQ(art->GetDictionary(pig, &d), kNoErr);
  ASSERT_EQ(dict->CopyArtToEntry(d, dict->Key("Mir-Obj-000"), g), kNoErr);
  ASSERT_EQ(dict->Release(d), kNoErr);

  // First layer: sublayer (its group is no art of its own), plug-in art, group.
  EXPECT_THAT(match({{kAnyArt, 0, 0}}), ElementsAre(inSub, pig, editPath, g, gTop, gBottom, lowerLayerPath));
  EXPECT_THAT(match({{kPathArt, 0, 0}}), ElementsAre(inSub, editPath, gTop, gBottom, lowerLayerPath));
  EXPECT_THAT(match({{kPluginArt, 0, 0}, {kGroupArt, 0, 0}}), ElementsAre(pig, g));
}

TEST_F(ArtSetTest, AttributeMasksSelectWhatTheSpecsAskFor) {
  addLayer("Layer");
  AIArtHandle plain = newArt(kPathArt, kPlaceBelowAll, nullptr);
  AIArtHandle selected = newArt(kPathArt, kPlaceBelowAll, nullptr);
  AIArtHandle locked = newArt(kPathArt, kPlaceBelowAll, nullptr);
  AIArtHandle hiddenSelected = newArt(kPluginArt, kPlaceBelowAll, nullptr);
  ASSERT_EQ(art->SetArtUserAttr(selected, kArtSelected, kArtSelected), kNoErr);
  ASSERT_EQ(art->SetArtUserAttr(locked, kArtLocked, kArtLocked), kNoErr);
  ASSERT_EQ(art->SetArtUserAttr(hiddenSelected, kArtSelected | kArtHidden, kArtSelected | kArtHidden), kNoErr);

  EXPECT_THAT(match({{kPathArt, kArtSelected, kArtSelected}}), ElementsAre(selected));
  EXPECT_THAT(match({{kPluginArt, kArtSelected, kArtSelected}}), ElementsAre(hiddenSelected));
  EXPECT_THAT(match({{kAnyArt, kArtLocked | kArtHidden, 0}}), ElementsAre(plain, selected));
  EXPECT_THAT(match({{kTextFrameArt, 0, 0}}), IsEmpty());

  AIArtSet set = nullptr;
  ASSERT_EQ(artSet->NewArtSet(&set), kNoErr);
  AIArtSpec spec{kAnyArt, 0, 0};
  EXPECT_EQ(artSet->MatchingArtSet(&spec, 0, set), kHostBadParameterErr);
  ASSERT_EQ(artSet->DisposeArtSet(&set), kNoErr);
  AIArtSet stale = reinterpret_cast<AIArtSet>(plain);
  int32_t count;
  EXPECT_EQ(artSet->CountArtSet(stale, &count), kHostStaleHandleErr);
}

}  // namespace
