// Dictionaries, keys, arrays and styles through their suites.
#include "HostCoreFixture.h"

using ::testing::ElementsAre;

namespace {

class DictionaryTest : public HostCoreTest {
 protected:
  void SetUp() override {
    layer = addLayer("Layer");
    owner = newArt(kPathArt, kPlaceAboveAll, nullptr);
    ASSERT_EQ(art->GetDictionary(owner, &d), kNoErr);
  }
  void TearDown() override {
    if (d != nullptr) {
      EXPECT_EQ(dict->Release(d), kNoErr);
    }
  }
  AILayerHandle layer = nullptr;
  AIArtHandle owner = nullptr;
  AIDictionaryRef d = nullptr;
};

TEST_F(DictionaryTest, KeysAreOnePerText) {
  AIDictKey k = dict->Key("Mir-Angle");
  EXPECT_NE(k, nullptr);
  EXPECT_EQ(dict->Key("Mir-Angle"), k);
  EXPECT_NE(dict->Key("Mir-Angle2"), k);
  EXPECT_STREQ(dict->GetKeyString(k), "Mir-Angle");
  EXPECT_EQ(dict->Key(nullptr), nullptr);
  EXPECT_EQ(dict->Key(""), nullptr);
  EXPECT_EQ(dict->GetKeyString(reinterpret_cast<AIDictKey>(owner)), nullptr);
}

TEST_F(DictionaryTest, ScalarEntriesReadBackAndKeepTheirKind) {
  AIDictKey i = dict->Key("int"), b = dict->Key("bool"), r = dict->Key("real");
  ASSERT_EQ(dict->SetIntegerEntry(d, i, -42), kNoErr);
  ASSERT_EQ(dict->SetBooleanEntry(d, b, 5), kNoErr);
  ASSERT_EQ(dict->SetRealEntry(d, r, 2.5f), kNoErr);
  int32_t iv = 0;
  AIBoolean bv = 0;
  AIReal rv = 0;
  ASSERT_EQ(dict->GetIntegerEntry(d, i, &iv), kNoErr);
  ASSERT_EQ(dict->GetBooleanEntry(d, b, &bv), kNoErr);
  ASSERT_EQ(dict->GetRealEntry(d, r, &rv), kNoErr);
  EXPECT_EQ(iv, -42);
  EXPECT_EQ(bv, 1);
  EXPECT_EQ(rv, 2.5f);
  EXPECT_EQ(dict->GetRealEntry(d, i, &rv), kHostEntryKindErr);
  EXPECT_EQ(dict->GetIntegerEntry(d, dict->Key("absent"), &iv), kHostNoSuchEntryErr);
  EXPECT_TRUE(dict->IsKnown(d, i));
  ASSERT_EQ(dict->DeleteEntry(d, i), kNoErr);
  EXPECT_FALSE(dict->IsKnown(d, i));
  EXPECT_EQ(dict->DeleteEntry(d, i), kHostNoSuchEntryErr);

  // The same dictionary is reached again through the art.
  AIDictionaryRef again = nullptr;
  ASSERT_EQ(art->GetDictionary(owner, &again), kNoErr);
  EXPECT_TRUE(dict->IsKnown(again, r));
  ASSERT_EQ(dict->Release(again), kNoErr);
}

TEST_F(DictionaryTest, ArrayEntriesAreStoredAsCopies) {
  AIArrayRef values = nullptr;
  ASSERT_EQ(array->CreateArray(&values), kNoErr);
  const AIReal written[3] = {1.5f, -2, 1e20f};
  for (int32_t i = 0; i < 3; ++i) {
    ASSERT_EQ(array->InsertEntry(values, i), kNoErr);
    ASSERT_EQ(array->SetRealEntry(values, i, written[i]), kNoErr);
  }
  AIDictKey k = dict->Key("Mir-Cnj-XY");
  ASSERT_EQ(dict->SetArrayEntry(d, k, values), kNoErr);
  ASSERT_EQ(array->SetRealEntry(values, 0, 99), kNoErr);  // the entry holds its own copy
  ASSERT_EQ(array->Release(values), kNoErr);

  AIArrayRef read = nullptr;
  ASSERT_EQ(dict->GetArrayEntry(d, k, &read), kNoErr);
  ASSERT_EQ(array->Size(read), 3);
  AIReal back[3];
  for (int32_t i = 0; i < 3; ++i) ASSERT_EQ(array->GetRealEntry(read, i, back + i), kNoErr);
  EXPECT_THAT(back, ElementsAre(1.5f, -2.0f, 1e20f));
  AIReal extra;
  EXPECT_EQ(array->GetRealEntry(read, 3, &extra), kHostIndexRangeErr);
  int32_t asInteger;
  EXPECT_EQ(array->GetIntegerEntry(read, 0, &asInteger), kHostEntryKindErr);
  ASSERT_EQ(array->Release(read), kNoErr);
  EXPECT_EQ(array->Size(read), -1);  // released for good
  EXPECT_EQ(array->Release(read), kHostStaleHandleErr);
}

TEST_F(DictionaryTest, ArraysCountReferencesAndEditEntries) {
  AIArrayRef a = nullptr;
  ASSERT_EQ(array->CreateArray(&a), kNoErr);
  ASSERT_EQ(array->AddRef(a), kNoErr);
  ASSERT_EQ(array->InsertEntry(a, 0), kNoErr);
  ASSERT_EQ(array->InsertEntry(a, 0), kNoErr);
  EXPECT_EQ(array->InsertEntry(a, 3), kHostIndexRangeErr);
  ASSERT_EQ(array->SetIntegerEntry(a, 0, 10), kNoErr);
  int32_t value = 0;
  EXPECT_EQ(array->GetIntegerEntry(a, 1, &value), kHostNoSuchEntryErr);  // inserted but never set
  ASSERT_EQ(array->DeleteEntry(a, 1), kNoErr);
  ASSERT_EQ(array->GetIntegerEntry(a, 0, &value), kNoErr);
  EXPECT_EQ(value, 10);
  ASSERT_EQ(array->Release(a), kNoErr);
  EXPECT_EQ(array->Size(a), 1);  // one reference left
  ASSERT_EQ(array->Release(a), kNoErr);
  EXPECT_EQ(array->Size(a), -1);
}

TEST_F(DictionaryTest, ArtEntriesSurviveTheirSourceAndComeBackWhereAsked) {
  AIArtHandle g = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  AIArtHandle pig = newArt(kPluginArt, kPlaceInsideOnTop, g);
  AIArtHandle edit = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &edit), kNoErr);
  newLine(kPlaceInsideOnTop, edit, {{7, 8}, {7, 8}});
  newLine(kPlaceInsideOnBottom, g, {{1, 2}, {3, 4}});
  AIDictKey k = dict->Key("Mir-Obj-000");
  ASSERT_EQ(dict->CopyArtToEntry(d, k, g), kNoErr);
  ASSERT_EQ(art->DisposeArt(g), kNoErr);
  expectSound();

  AIArtHandle target = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  AIArtHandle first = newArt(kPathArt, kPlaceInsideOnTop, target);
  AIArtHandle restored = nullptr;
  ASSERT_EQ(dict->CopyEntryToArt(d, k, kPlaceInsideOnBottom, target, &restored), kNoErr);
  EXPECT_THAT(children(target), ElementsAre(first, restored));
  const std::vector<AIArtHandle> inside = children(restored);
  ASSERT_EQ(inside.size(), 2u);
  EXPECT_EQ(typeOf(inside[0]), kPluginArt);
  AIArtHandle restoredEdit = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtEditArt(inside[0], &restoredEdit), kNoErr);
  EXPECT_EQ(children(restoredEdit).size(), 1u);

  // Copies again and again: the entry is untouched by what is done to the copies.
  ASSERT_EQ(art->DisposeArt(restored), kNoErr);
  ASSERT_EQ(dict->CopyEntryToArt(d, k, kPlaceInsideOnTop, target, &restored), kNoErr);
  EXPECT_EQ(children(restored).size(), 2u);
  EXPECT_EQ(dict->CopyEntryToArt(d, dict->Key("Mir-Obj-001"), kPlaceInsideOnTop, target, &restored),
            kHostNoSuchEntryErr);
  ASSERT_EQ(dict->SetIntegerEntry(d, dict->Key("n"), 1), kNoErr);
  EXPECT_EQ(dict->CopyEntryToArt(d, dict->Key("n"), kPlaceInsideOnTop, target, &restored), kHostEntryKindErr);
  expectSound();
}

TEST_F(DictionaryTest, ReleasedDictionariesOfDisposedArtGoAway) {
  AIArtHandle other = newArt(kPathArt, kPlaceAboveAll, nullptr);
  AIDictionaryRef od = nullptr;
  ASSERT_EQ(art->GetDictionary(other, &od), kNoErr);
  ASSERT_EQ(dict->AddRef(od), kNoErr);
  ASSERT_EQ(art->DisposeArt(other), kNoErr);
  // Still held twice: usable, though no longer the document's.
  ASSERT_EQ(dict->SetIntegerEntry(od, dict->Key("k"), 3), kNoErr);
  ASSERT_EQ(dict->Release(od), kNoErr);
  EXPECT_TRUE(dict->IsKnown(od, dict->Key("k")));
  ASSERT_EQ(dict->Release(od), kNoErr);
  EXPECT_EQ(dict->Release(od), kHostStaleHandleErr);
  EXPECT_FALSE(dict->IsKnown(od, dict->Key("k")));
}

TEST_F(DictionaryTest, StylesAreSharedAndArtWithoutOneReadsCleared) {
  EXPECT_TRUE(artStyle->ArtHasNoStyle(owner));
  AIArtStyleHandle none = reinterpret_cast<AIArtStyleHandle>(1);
  ASSERT_EQ(artStyle->GetArtStyle(owner, &none), kNoErr);
  EXPECT_EQ(none, nullptr);
  AIPathStyle style{};
  ASSERT_EQ(pathStyle->GetPathStyle(owner, &style), kNoErr);
  EXPECT_FALSE(style.fillPaint);
  EXPECT_FALSE(style.strokePaint);

  style.fillPaint = true;
  style.fill.color = AIColor{kRGBColor, 1, 0, 0, 0};
  const AIPathStyleMap map{1, 1, 1, 0, 0, 0};
  AIArtStyleHandle s1 = nullptr, s2 = nullptr;
  ASSERT_EQ(artStyle->NewStyle(&style, &map, 0, &s1), kNoErr);
  ASSERT_EQ(artStyle->NewStyle(&style, &map, 0, &s2), kNoErr);
  EXPECT_EQ(s1, s2);
  ASSERT_EQ(artStyle->SetArtStyle(owner, s1), kNoErr);
  EXPECT_FALSE(artStyle->ArtHasNoStyle(owner));
  AIPathStyle read{};
  AIPathStyleMap readMap{};
  AIArtStyleHandle got = nullptr;
  ASSERT_EQ(artStyle->GetArtStyle(owner, &got), kNoErr);
  ASSERT_EQ(artStyle->GetPaintAttributes(got, &read, &readMap), kNoErr);
  EXPECT_TRUE(read.fillPaint);
  EXPECT_EQ(read.fill.color.red, 1);
  EXPECT_FALSE(readMap.stroke);
  ASSERT_EQ(pathStyle->GetPathStyle(owner, &read), kNoErr);
  EXPECT_TRUE(read.fillPaint);
  EXPECT_EQ(artStyle->GetPaintAttributes(reinterpret_cast<AIArtStyleHandle>(owner), &read, &readMap),
            kHostStaleHandleErr);
}

}  // namespace
