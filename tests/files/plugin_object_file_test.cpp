#include <cfloat>
#include <cstring>

#include "FilesFixture.h"

namespace {

using hostcore::ArrayEntry;
using hostcore::ArrayEntryKind;
using hostcore::ArrayValues;
using hostcore::ArtCopy;
using hostcore::DictValue;

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class PluginObjectFileTest : public FilesTest {
 protected:
  AIArtHandle object = nullptr;
  const std::vector<float> awkward{0.1f, 1.0f / 3, -0.0f, 1e-30f, FLT_MAX, FLT_TRUE_MIN, -123456.789f};

  uint32_t key(const char* text) {
    uint32_t index = 0;
    core.findKey(core.key(text), &index);
    return index;
  }

  AIArtHandle path(AIArtHandle into, std::vector<AIPathSegment> s, bool closed) {
    AIArtHandle art;
    EXPECT_EQ(doc().newArt(kPathArt, kPlaceInsideOnBottom, into, &art), kNoErr);
    EXPECT_EQ(doc().setSegments(art, 0, int16_t(s.size()), s.data()), kNoErr);
    EXPECT_EQ(doc().setPathClosed(art, closed), kNoErr);
    return art;
  }

  static AIPathSegment at(float h, float v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, 1}; }

  // A layer with a square, and a plug-in object whose dictionary holds
  // every kind of value and a copy of the square inside a clipping group.
  void SetUp() override {
    AILayerHandle layer;
    AIArtHandle layerGroup, square, clipGroup, edit, result;
    EXPECT_EQ(doc().addLayer("Art", &layer), kNoErr);
    EXPECT_EQ(doc().firstArtOfLayer(layer, &layerGroup), kNoErr);
    AIAddPluginGroupData data{1, 2, "test"};
    AIPluginGroupHandle group;
    ASSERT_EQ(core.addPluginGroup(nullptr, "ORVoMirtilPig", data, 0, &group), kNoErr);
    uint32_t groupIndex;
    core.findPluginGroup(group, &groupIndex);

    EXPECT_EQ(doc().newArt(kGroupArt, kPlaceInsideOnBottom, layerGroup, &clipGroup), kNoErr);
    square = path(clipGroup, {at(0, 0), at(0.1f, 0), at(0.1f, 1.0f / 3)}, true);
    AIPathStyle red = hostcore::Document::clearedPathStyle();
    red.fillPaint = 1;
    red.fill.color = AIColor{kRGBColor, 1, 0, 0, 0};
    EXPECT_EQ(doc().setPathStyle(square, red), kNoErr);
    AIArtHandle clip = path(clipGroup, {at(-1, -1), at(5, -1), at(5, 5)}, true);
    AIPathStyle clipping = hostcore::Document::clearedPathStyle();
    clipping.clip = 1;
    EXPECT_EQ(doc().setPathStyle(clip, clipping), kNoErr);
    EXPECT_EQ(doc().reorderArt(clip, kPlaceInsideOnTop, clipGroup), kNoErr);
    EXPECT_EQ(doc().setGroupClipped(clipGroup, 1), kNoErr);

    EXPECT_EQ(doc().newArt(kPluginArt, kPlaceInsideOnTop, layerGroup, &object), kNoErr);
    EXPECT_EQ(doc().attachPluginGroup(object, groupIndex, 1, 1), kNoErr);
    EXPECT_EQ(doc().editGroup(object, &edit), kNoErr);
    AIPathSegment odd{{12.5f, -7.25f}, {12.5f, -7.25f}, {12.5f, -7.25f}, 0};
    path(edit, {odd, odd}, false);
    EXPECT_EQ(doc().resultGroup(object, &result), kNoErr);
    path(result, {at(1, 1), at(2, 1), at(2, 2)}, true);
    EXPECT_EQ(doc().setUserAttr(object, kArtSelected, kArtSelected), kNoErr);

    AIDictionaryRef dict;
    EXPECT_EQ(doc().artDictionary(object, &dict), kNoErr);
    EXPECT_EQ(doc().setEntry(dict, key("Mir-Type"), DictValue(int32_t(-7))), kNoErr);
    EXPECT_EQ(doc().setEntry(dict, key("flag"), DictValue(true)), kNoErr);
    EXPECT_EQ(doc().setEntry(dict, key("single"), DictValue(AIReal(1.0f / 3))), kNoErr);
    ArrayValues reals;
    for (float f : awkward) reals.push_back(ArrayEntry{ArrayEntryKind::Real, 0, f});
    reals.push_back(ArrayEntry{ArrayEntryKind::Integer, 42, 0});
    reals.push_back(ArrayEntry{});
    EXPECT_EQ(doc().setEntry(dict, key("Mir-Cnj-XY"), DictValue(reals)), kNoErr);
    EXPECT_EQ(doc().copyArtToEntry(dict, key("Mir-Obj-000"), clipGroup), kNoErr);
    EXPECT_EQ(doc().releaseDictionary(dict), kNoErr);
  }

  const DictValue& entryOf(hostcore::HostCore& in, AIArtHandle art, const char* text) {
    AIDictionaryRef dict;
    const DictValue* value = nullptr;
    EXPECT_EQ(in.document().artDictionary(art, &dict), kNoErr);
    uint32_t index;
    in.findKey(in.key(text), &index);
    EXPECT_EQ(in.document().entry(dict, index, &value), kNoErr) << text;
    EXPECT_EQ(in.document().releaseDictionary(dict), kNoErr);
    return *value;
  }
};

TEST_F(PluginObjectFileTest, ObjectsComeBackExactlyAndDirtyAndSaveAgainToTheSameBytes) {
  const std::string text = hostfiles::writeSvg(core);
  hostcore::HostCore other;  // a new session: the plug-in has not registered its group yet
  ASSERT_TRUE(hostfiles::readSvg(other, text, "saved.svg").ok());
  EXPECT_EQ(hostfiles::writeSvg(other), text);
  // The result art is what viewers see; the rest sits in the host's own elements.
  EXPECT_NE(text.find("<mirtil:plugin group=\"ORVoMirtilPig\" version=\"1.1\">"), std::string::npos) << text;
  EXPECT_NE(text.find("<mirtil:entry key=\"Mir-Type\" type=\"integer\">-7</mirtil:entry>"), std::string::npos);
  hostcore::Document& d = other.document();
  std::string id;
  EXPECT_EQ(doc().artId(object, &id), kNoErr);
  AIArtHandle back = d.artById(id);
  ASSERT_NE(back, nullptr);

  int32_t major = 0, minor = 0;
  EXPECT_EQ(d.pluginVersion(back, &major, &minor), kNoErr);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 1);  // the recorded version, not the registered one
  uint32_t group;
  EXPECT_EQ(d.pluginGroupOf(back, &group), kNoErr);
  EXPECT_EQ(other.pluginGroups()[group].name, "ORVoMirtilPig");
  EXPECT_EQ(d.dirtyPluginArt(), std::vector<AIArtHandle>{back});
  AIArtUserAttr attr = 0;
  EXPECT_EQ(d.userAttr(back, kArtSelected, &attr), kNoErr);
  EXPECT_EQ(attr, kArtSelected);

  EXPECT_EQ(std::get<int32_t>(entryOf(other, back, "Mir-Type")), -7);
  EXPECT_TRUE(std::get<bool>(entryOf(other, back, "flag")));
  EXPECT_TRUE(sameBits(std::get<AIReal>(entryOf(other, back, "single")), 1.0f / 3));
  const auto& reals = std::get<ArrayValues>(entryOf(other, back, "Mir-Cnj-XY"));
  ASSERT_EQ(reals.size(), awkward.size() + 2);
  for (size_t i = 0; i < awkward.size(); ++i) {
    EXPECT_EQ(reals[i].kind, ArrayEntryKind::Real);
    EXPECT_TRUE(sameBits(reals[i].real, awkward[i])) << i;
  }
  EXPECT_EQ(reals[awkward.size()].integer, 42);
  EXPECT_EQ(reals.back().kind, ArrayEntryKind::Empty);

  // The stored art: the clipping group with its clip path on top and the red square.
  const auto& stored = *std::get<std::shared_ptr<const ArtCopy>>(entryOf(other, back, "Mir-Obj-000"));
  EXPECT_EQ(stored.type, kGroupArt);
  EXPECT_TRUE(stored.props.clipped);
  ASSERT_EQ(stored.children.size(), 2u);
  const ArtCopy& square = stored.children[1];
  ASSERT_EQ(square.path.segments.size(), 3u);
  EXPECT_TRUE(sameBits(square.path.segments[1].p.h, 0.1f));
  EXPECT_TRUE(sameBits(square.path.segments[2].p.v, 1.0f / 3));
  EXPECT_TRUE(square.path.closed);

  // Edit art keeps its coordinates and corner flags.
  AIArtHandle edit, editPath;
  EXPECT_EQ(d.editGroup(back, &edit), kNoErr);
  EXPECT_EQ(d.firstChild(edit, &editPath), kNoErr);
  AIPathSegment s[2];
  ASSERT_EQ(d.segments(editPath, 0, 2, s), kNoErr);
  EXPECT_FLOAT_EQ(s[1].p.h, 12.5f);
  EXPECT_FLOAT_EQ(s[1].p.v, -7.25f);
  EXPECT_FALSE(s[0].corner);

  // The plug-in, loading later, takes over the group the file named.
  AIPluginGroupHandle registered;
  AIAddPluginGroupData data{1, 2, "test"};
  ASSERT_EQ(other.addPluginGroup(reinterpret_cast<SPPluginRef>(&other), "ORVoMirtilPig", data, 0, &registered), kNoErr);
  uint32_t registeredIndex;
  other.findPluginGroup(registered, &registeredIndex);
  EXPECT_EQ(registeredIndex, group);
  EXPECT_EQ(other.addPluginGroup(nullptr, "ORVoMirtilPig", data, 0, &registered), kHostNotAllowedErr);
}

}  // namespace
