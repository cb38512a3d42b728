// The art tree through the art, path, group, layer and plugin group suites.
#include "HostCoreFixture.h"

using ::testing::ElementsAre;

namespace {

class ArtTreeTest : public HostCoreTest {
 protected:
  void SetUp() override {
    top = addLayer("Top");
    bottom = addLayer("Bottom");
    topGroup = layerGroup(top);
  }
  AILayerHandle top = nullptr;
  AILayerHandle bottom = nullptr;
  AIArtHandle topGroup = nullptr;
};

TEST_F(ArtTreeTest, PaintOrdersPlaceArtWhereTheyNameWithTheFirstChildOnTop) {
  AIArtHandle a = newArt(kPathArt, kPlaceAboveAll, nullptr);       // a
  AIArtHandle b = newArt(kPathArt, kPlaceAboveAll, nullptr);       // b a
  AIArtHandle c = newArt(kPathArt, kPlaceBelowAll, nullptr);       // b a c
  AIArtHandle d = newArt(kPathArt, kPlaceAbove, a);                // b d a c
  AIArtHandle e = newArt(kPathArt, kPlaceBelow, a);                // b d a e c
  AIArtHandle g = newArt(kGroupArt, kPlaceInsideOnTop, topGroup);  // g b d a e c
  AIArtHandle g1 = newArt(kPathArt, kPlaceInsideOnTop, g);
  AIArtHandle g2 = newArt(kPathArt, kPlaceInsideOnTop, g);
  AIArtHandle g3 = newArt(kPathArt, kPlaceInsideOnBottom, g);
  EXPECT_THAT(children(topGroup), ElementsAre(g, b, d, a, e, c));
  EXPECT_THAT(children(g), ElementsAre(g2, g1, g3));

  AIArtHandle prior = nullptr, parent = nullptr;
  ASSERT_EQ(art->GetArtPriorSibling(a, &prior), kNoErr);
  EXPECT_EQ(prior, d);
  ASSERT_EQ(art->GetArtParent(g1, &parent), kNoErr);
  EXPECT_EQ(parent, g);
  ASSERT_EQ(art->GetArtParent(topGroup, &parent), kNoErr);
  EXPECT_EQ(parent, nullptr);
  expectSound();
}

TEST_F(ArtTreeTest, NewArtGoesToTheCurrentLayerAndRefusesImpossiblePlaces) {
  ASSERT_EQ(layers->SetCurrentLayer(bottom), kNoErr);
  AIArtHandle a = newArt(kPathArt, kPlaceAboveAll, nullptr);
  AILayerHandle layerOfA = nullptr;
  ASSERT_EQ(art->GetLayerOfArt(a, &layerOfA), kNoErr);
  EXPECT_EQ(layerOfA, bottom);

  AIArtHandle made = nullptr;
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceInsideOnTop, a, &made), kHostCantPlaceErr);   // a path holds nothing
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAbove, topGroup, &made), kHostCantPlaceErr);  // beside a layer
  EXPECT_EQ(art->NewArt(kPathArt, 99, a, &made), kHostBadParameterErr);
  EXPECT_EQ(art->NewArt(kAnyArt, kPlaceAboveAll, nullptr, &made), kHostBadParameterErr);
  AIArtHandle compound = newArt(kCompoundPathArt, kPlaceAboveAll, nullptr);
  EXPECT_EQ(art->NewArt(kGroupArt, kPlaceInsideOnTop, compound, &made), kHostCantPlaceErr);
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceInsideOnTop, compound, &made), kNoErr);
  EXPECT_EQ(art->DisposeArt(topGroup), kHostNotAllowedErr);
  expectSound();
}

TEST_F(ArtTreeTest, ReorderMovesArtButNeverIntoItself) {
  AIArtHandle a = newArt(kPathArt, kPlaceAboveAll, nullptr);
  AIArtHandle g = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  AIArtHandle inner = newArt(kGroupArt, kPlaceInsideOnTop, g);
  ASSERT_EQ(art->ReorderArt(a, kPlaceInsideOnBottom, inner), kNoErr);
  EXPECT_THAT(children(topGroup), ElementsAre(g));
  EXPECT_THAT(children(inner), ElementsAre(a));
  EXPECT_EQ(art->ReorderArt(g, kPlaceInsideOnTop, inner), kHostCantPlaceErr);
  EXPECT_EQ(art->ReorderArt(g, kPlaceAbove, g), kNoErr);
  EXPECT_THAT(children(topGroup), ElementsAre(g));
  expectSound();
}

TEST_F(ArtTreeTest, DisposedAndForeignHandlesAreRefused) {
  AIArtHandle g = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  AIArtHandle inside = newArt(kPathArt, kPlaceInsideOnTop, g);
  ASSERT_EQ(art->DisposeArt(g), kNoErr);
  AIArtType type;
  EXPECT_EQ(art->GetArtType(g, &type), kHostStaleHandleErr);
  EXPECT_EQ(art->GetArtType(inside, &type), kHostStaleHandleErr);
  EXPECT_FALSE(art->ValidArt(inside));
  EXPECT_EQ(art->DisposeArt(g), kHostStaleHandleErr);

  // The slot is reused by new art; the old handle must still be refused.
  AIArtHandle reused = newArt(kPathArt, kPlaceAboveAll, nullptr);
  EXPECT_NE(reused, g);
  EXPECT_EQ(art->GetArtType(g, &type), kHostStaleHandleErr);

  EXPECT_EQ(art->GetArtType(reinterpret_cast<AIArtHandle>(top), &type), kHostStaleHandleErr);
  EXPECT_EQ(art->GetArtType(reinterpret_cast<AIArtHandle>(uintptr_t(0x1234)), &type), kHostStaleHandleErr);
  EXPECT_EQ(art->GetArtType(nullptr, &type), kHostBadParameterErr);
  AIBoolean visible;
  EXPECT_EQ(layers->GetLayerVisible(reinterpret_cast<AILayerHandle>(reused), &visible), kHostStaleHandleErr);
  expectSound();
}

TEST_F(ArtTreeTest, PathSegmentsGrowAndReadBack) {
  AIArtHandle p = newArt(kPathArt, kPlaceAboveAll, nullptr);
  const AIPathSegment s0{{1, 2}, {0, 2}, {2, 2}, true};
  const AIPathSegment s1{{5, 6}, {5, 5}, {5, 7}, false};
  ASSERT_EQ(path->SetPathSegments(p, 0, 1, &s0), kNoErr);
  ASSERT_EQ(path->SetPathSegments(p, 1, 1, &s1), kNoErr);  // past the count: grows
  int16_t count = 0;
  ASSERT_EQ(path->GetPathSegmentCount(p, &count), kNoErr);
  EXPECT_EQ(count, 2);
  AIPathSegment read[2];
  ASSERT_EQ(path->GetPathSegments(p, 0, 2, read), kNoErr);
  EXPECT_EQ(read[1].in.v, 5);
  EXPECT_TRUE(read[0].corner);
  EXPECT_EQ(path->GetPathSegments(p, 1, 2, read), kHostIndexRangeErr);
  EXPECT_EQ(path->SetPathSegments(p, 3, 1, &s0), kHostIndexRangeErr);  // would leave a gap
  ASSERT_EQ(path->SetPathSegmentCount(p, 0), kNoErr);
  ASSERT_EQ(path->GetPathSegmentCount(p, &count), kNoErr);
  EXPECT_EQ(count, 0);
  AIArtHandle g = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  EXPECT_EQ(path->GetPathSegmentCount(g, &count), kHostWrongArtTypeErr);
  EXPECT_EQ(group->SetGroupClipped(p, true), kHostWrongArtTypeErr);
}

TEST_F(ArtTreeTest, AttributesNamesAndLayerStates) {
  AIArtHandle a = newArt(kPathArt, kPlaceAboveAll, nullptr);
  ASSERT_EQ(art->SetArtUserAttr(a, kArtSelected | kArtHidden, kArtSelected | kArtLocked), kNoErr);
  AIArtUserAttr attr = -1;
  ASSERT_EQ(art->GetArtUserAttr(a, kArtSelected | kArtLocked | kArtHidden, &attr), kNoErr);
  EXPECT_EQ(attr, kArtSelected);  // locked was outside the mask

  char name[8];
  AIBoolean isDefault = false;
  ASSERT_EQ(art->GetArtName(a, name, sizeof name, &isDefault), kNoErr);
  EXPECT_STREQ(name, "<Path>");
  EXPECT_TRUE(isDefault);
  ASSERT_EQ(art->SetArtName(a, "Outline of things"), kNoErr);
  ASSERT_EQ(art->GetArtName(a, name, sizeof name, &isDefault), kNoErr);
  EXPECT_STREQ(name, "Outline");
  EXPECT_FALSE(isDefault);

  AILayerHandle sub = nullptr;
  ASSERT_EQ(document().addSublayer(top, "Sub", &sub), kNoErr);
  ASSERT_EQ(layers->SetLayerVisible(top, false), kNoErr);
  AIBoolean visible = true, editable = false;
  ASSERT_EQ(layers->GetLayerVisible(sub, &visible), kNoErr);
  EXPECT_FALSE(visible);  // hidden with the layer around it
  ASSERT_EQ(layers->GetLayerEditable(sub, &editable), kNoErr);
  EXPECT_TRUE(editable);
  char title[16];
  ASSERT_EQ(layers->GetLayerTitle(bottom, title, sizeof title), kNoErr);
  EXPECT_STREQ(title, "Bottom");
  int32_t count = 0;
  ASSERT_EQ(layers->CountLayers(&count), kNoErr);
  EXPECT_EQ(count, 2);
  EXPECT_THAT(document().layerGroups(), ElementsAre(topGroup, layerGroup(bottom)));  // Sub's group is in Top's
}

TEST_F(ArtTreeTest, SublayerGroupsTurnIntoPlainGroupsAndCopiesStaySublayers) {
  AILayerHandle sub = nullptr;
  ASSERT_EQ(document().addSublayer(top, "Sub", &sub), kNoErr);
  AIArtHandle subGroup = layerGroup(sub);
  newArt(kPathArt, kPlaceInsideOnTop, subGroup);
  AIArtHandle copy = nullptr;
  ASSERT_EQ(art->DuplicateArt(subGroup, kPlaceInsideOnTop, layerGroup(bottom), &copy), kNoErr);
  AIBoolean isLayer = false;
  ASSERT_EQ(art->IsArtLayerGroup(copy, &isLayer), kNoErr);
  EXPECT_TRUE(isLayer);

  ASSERT_EQ(layers->ChangeLayerToGroup(nullptr, copy), kNoErr);
  ASSERT_EQ(art->IsArtLayerGroup(copy, &isLayer), kNoErr);
  EXPECT_FALSE(isLayer);
  EXPECT_EQ(children(copy).size(), 1u);
  AILayerHandle layerOfCopy = nullptr;
  ASSERT_EQ(art->GetLayerOfArt(copy, &layerOfCopy), kNoErr);
  EXPECT_EQ(layerOfCopy, bottom);
  EXPECT_EQ(layers->ChangeLayerToGroup(top, nullptr), kHostNotAllowedErr);
  expectSound();
}

class PluginArtTest : public ArtTreeTest {
 protected:
  void SetUp() override {
    ArtTreeTest::SetUp();
    AIAddPluginGroupData data{1, 2, "Kaleidoscope"};
    ASSERT_EQ(pluginGroup->AddAIPluginGroup(nullptr, "TestPig", &data, kPluginGroupWantsNotifyEditsOption, &entry),
              kNoErr);
    ASSERT_EQ(pluginGroup->SetAIPluginGroupDefaultName(entry, "Tile"), kNoErr);
    pig = newArt(kPluginArt, kPlaceInsideOnTop, topGroup);
    ASSERT_EQ(pluginGroup->UseAIPluginGroup(pig, entry), kNoErr);
    ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &edit), kNoErr);
    ASSERT_EQ(pluginGroup->GetPluginArtResultArt(pig, &result), kNoErr);
  }
  AIPluginGroupHandle entry = nullptr;
  AIArtHandle pig = nullptr, edit = nullptr, result = nullptr;
};

TEST_F(PluginArtTest, PluginArtKnowsItsGroupVersionAndGroups) {
  EXPECT_EQ(typeOf(edit), kGroupArt);
  EXPECT_EQ(typeOf(result), kGroupArt);
  AIArtHandle parent = nullptr;
  ASSERT_EQ(art->GetArtParent(edit, &parent), kNoErr);
  EXPECT_EQ(parent, pig);
  const char* name = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtName(pig, &name), kNoErr);
  EXPECT_STREQ(name, "TestPig");
  int32_t major = 0, minor = 0;
  ASSERT_EQ(pluginGroup->GetPluginArtVersion(pig, &major, &minor), kNoErr);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 2);
  AIPluginGroupHandle back = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtPluginGroup(pig, &back), kNoErr);
  EXPECT_EQ(back, entry);
  char artName[16];
  ASSERT_EQ(art->GetArtName(pig, artName, sizeof artName, nullptr), kNoErr);
  EXPECT_STREQ(artName, "Tile");

  AIArtHandle loose = newArt(kPluginArt, kPlaceAboveAll, nullptr);
  EXPECT_EQ(pluginGroup->GetPluginArtName(loose, &name), kHostNotAttachedErr);
  AIArtHandle pathArt = newArt(kPathArt, kPlaceAboveAll, nullptr);
  EXPECT_EQ(pluginGroup->GetPluginArtEditArt(pathArt, &parent), kHostWrongArtTypeErr);
  EXPECT_EQ(art->DisposeArt(edit), kHostNotAllowedErr);
  AIAddPluginGroupData data{1, 0, ""};
  AIPluginGroupHandle again = nullptr;
  EXPECT_EQ(pluginGroup->AddAIPluginGroup(nullptr, "TestPig", &data, 0, &again), kHostNotAllowedErr);
}

// A group first named by a document read in is the plug-in's once it
// registers it: the same handle, and the name handed out before still good.
TEST_F(PluginArtTest, RegisteringAGroupKnownFromADocumentTakesItOver) {
  const char* const longName = "A plugin group named by a document read in";
  const AIPluginGroupHandle known = core_.pluginGroupHandle(core_.documentPluginGroup(longName));
  const char* nameBefore = nullptr;
  ASSERT_EQ(pluginGroup->GetAIPluginGroupName(known, &nameBefore), kNoErr);

  AIAddPluginGroupData data{3, 4, ""};
  AIPluginGroupHandle registered = nullptr;
  ASSERT_EQ(pluginGroup->AddAIPluginGroup(nullptr, longName, &data, 0, &registered), kNoErr);
  EXPECT_EQ(registered, known);
  const char* nameAfter = nullptr;
  ASSERT_EQ(pluginGroup->GetAIPluginGroupName(registered, &nameAfter), kNoErr);
  EXPECT_EQ(nameAfter, nameBefore);
  EXPECT_STREQ(nameBefore, longName);
  AIArtHandle adopted = newArt(kPluginArt, kPlaceAboveAll, nullptr);
  ASSERT_EQ(pluginGroup->UseAIPluginGroup(adopted, registered), kNoErr);
  int32_t major = 0, minor = 0;
  ASSERT_EQ(pluginGroup->GetPluginArtVersion(adopted, &major, &minor), kNoErr);
  EXPECT_EQ(major, 3);
  EXPECT_EQ(minor, 4);
  EXPECT_EQ(pluginGroup->AddAIPluginGroup(nullptr, longName, &data, 0, &registered), kHostNotAllowedErr);
}

TEST_F(PluginArtTest, DirtyPluginArtIsListedUntilCleared) {
  AIArtHandle other = newArt(kPluginArt, kPlaceAboveAll, nullptr);
  ASSERT_EQ(pluginGroup->MarkPluginArtDirty(other), kNoErr);
  ASSERT_EQ(pluginGroup->MarkPluginArtDirty(pig), kNoErr);
  ASSERT_EQ(pluginGroup->MarkPluginArtDirty(other), kNoErr);
  EXPECT_THAT(document().dirtyPluginArt(), ElementsAre(other, pig));
  ASSERT_EQ(document().clearDirty(other), kNoErr);
  ASSERT_EQ(art->DisposeArt(pig), kNoErr);
  EXPECT_THAT(document().dirtyPluginArt(), ::testing::IsEmpty());
  expectSound();
}

TEST_F(PluginArtTest, DuplicationCopiesEditResultAndDictionaryDeeply) {
  newLine(kPlaceInsideOnTop, edit, {{3, 4}, {3, 4}});
  AIArtHandle shown = newArt(kGroupArt, kPlaceInsideOnTop, result);
  newLine(kPlaceInsideOnTop, shown, {{0, 0}, {10, 10}});
  AIDictionaryRef d = nullptr;
  ASSERT_EQ(art->GetDictionary(pig, &d), kNoErr);
  ASSERT_EQ(dict->SetIntegerEntry(d, dict->Key("Mir-Type"), 1), kNoErr);
  ASSERT_EQ(dict->Release(d), kNoErr);
  const std::string before = dump();

  for (AIPaintOrder order :
       {kPlaceAbove, kPlaceBelow, kPlaceInsideOnTop, kPlaceInsideOnBottom, kPlaceAboveAll, kPlaceBelowAll}) {
    SCOPED_TRACE(order);
    AIArtHandle prep = (order == kPlaceInsideOnTop || order == kPlaceInsideOnBottom) ? topGroup : pig;
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art->DuplicateArt(pig, order, prep, &copy), kNoErr);
    EXPECT_EQ(typeOf(copy), kPluginArt);
    AIArtHandle copyEdit = nullptr, copyResult = nullptr;
    ASSERT_EQ(pluginGroup->GetPluginArtEditArt(copy, &copyEdit), kNoErr);
    ASSERT_EQ(pluginGroup->GetPluginArtResultArt(copy, &copyResult), kNoErr);
    EXPECT_NE(copyEdit, edit);
    EXPECT_EQ(children(copyEdit).size(), 1u);
    ASSERT_EQ(children(copyResult).size(), 1u);
    EXPECT_EQ(children(children(copyResult)[0]).size(), 1u);
    const char* name = nullptr;
    ASSERT_EQ(pluginGroup->GetPluginArtName(copy, &name), kNoErr);
    EXPECT_STREQ(name, "TestPig");

    AIDictionaryRef copyDict = nullptr;
    ASSERT_EQ(art->GetDictionary(copy, &copyDict), kNoErr);
    int32_t type = 0;
    ASSERT_EQ(dict->GetIntegerEntry(copyDict, dict->Key("Mir-Type"), &type), kNoErr);
    EXPECT_EQ(type, 1);
    // The copy's dictionary is its own.
    ASSERT_EQ(dict->SetIntegerEntry(copyDict, dict->Key("Mir-Type"), 7), kNoErr);
    ASSERT_EQ(dict->Release(copyDict), kNoErr);
    ASSERT_EQ(art->DisposeArt(copy), kNoErr);
    EXPECT_EQ(dump(), before);
  }
  ASSERT_EQ(art->GetDictionary(pig, &d), kNoErr);
  int32_t type = 0;
  ASSERT_EQ(dict->GetIntegerEntry(d, dict->Key("Mir-Type"), &type), kNoErr);
  EXPECT_EQ(type, 1);
  ASSERT_EQ(dict->Release(d), kNoErr);
  expectSound();
}

}  // namespace
