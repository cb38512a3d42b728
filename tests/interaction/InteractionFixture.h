// The built module Mirtil.aip started in the stand-in host with an open
// document of one layer, and small builders and readers for the tests of
// what a person does with the plug-in.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "hostapp/HostApplication.h"
#include "hostapp/HostEdits.h"
#include "hostapp/ToolEvents.h"
#include "hostcore/Invariants.h"
#include "hostposix/DlopenModuleLoader.h"

constexpr AIErr kCantErr = HOST_FOURCC('C', 'A', 'N', 'T');
constexpr AIErr kStopErr = HOST_FOURCC('S', 'T', 'O', 'P');
constexpr AIErr kParmErr = HOST_FOURCC('P', 'A', 'R', 'M');
constexpr double kPi = 3.14159265358979;

class InteractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<hostapp::HostApplication>(loader);
    ASSERT_TRUE(host->loadModule(MIRTIL_MODULE_PATH)) << host->loadError();
    ASSERT_EQ(host->startup(), kNoErr);
    host->setDocumentOpen(true);
    layer = addLayer("Layer 1");
    tool = std::make_unique<hostapp::ToolEvents>(*host);
    edits = std::make_unique<hostapp::HostEdits>(*host);
  }
  void TearDown() override {
    EXPECT_EQ(hostcore::checkDocument(doc()), std::vector<std::string>{});
    host->shutdown();
    host->unload();
    EXPECT_EQ(host->suitesHeld(), 0);
    EXPECT_EQ(host->liveBlocks(), 0u);
  }

  hostcore::Document& doc() { return host->document(); }

  AILayerHandle addLayer(const char* title) {
    AILayerHandle made = nullptr;
    EXPECT_EQ(doc().addLayer(title, &made), kNoErr);
    return made;
  }

  // A closed square path of the given half side about (h, v), on top of the layer.
  AIArtHandle addSquare(AILayerHandle on, AIReal h, AIReal v, AIReal half) {
    AIArtHandle group = nullptr;
    EXPECT_EQ(doc().firstArtOfLayer(on, &group), kNoErr);
    AIArtHandle path = nullptr;
    EXPECT_EQ(doc().newArt(kPathArt, kPlaceInsideOnTop, group, &path), kNoErr);
    const AIRealPoint corners[4] = {{h - half, v - half}, {h + half, v - half}, {h + half, v + half},
                                    {h - half, v + half}};
    AIPathSegment segments[4];
    for (int i = 0; i < 4; ++i) segments[i] = AIPathSegment{corners[i], corners[i], corners[i], true};
    EXPECT_EQ(doc().setSegments(path, 0, 4, segments), kNoErr);
    EXPECT_EQ(doc().setPathClosed(path, true), kNoErr);
    return path;
  }

  void setAttr(AIArtHandle art, AIArtUserAttr which, bool on) {
    ASSERT_EQ(doc().setUserAttr(art, which, on ? which : 0), kNoErr);
  }
  void select(AIArtHandle art, bool on = true) { setAttr(art, kArtSelected, on); }

  // The direct children of the layer's group, top first.
  std::vector<AIArtHandle> layerArt(AILayerHandle of) {
    AIArtHandle group = nullptr;
    EXPECT_EQ(doc().firstArtOfLayer(of, &group), kNoErr);
    std::vector<AIArtHandle> children;
    AIArtHandle child = nullptr;
    EXPECT_EQ(doc().firstChild(group, &child), kNoErr);
    while (child) {
      children.push_back(child);
      EXPECT_EQ(doc().sibling(child, &child), kNoErr);
    }
    return children;
  }
  std::vector<AIArtHandle> layerArtOfType(AILayerHandle of, AIArtType type) {
    std::vector<AIArtHandle> kept;
    for (AIArtHandle art : layerArt(of)) {
      AIArtType artType = kUnknownArt;
      EXPECT_EQ(doc().artType(art, &artType), kNoErr);
      if (artType == type) kept.push_back(art);
    }
    return kept;
  }
  std::vector<AIArtHandle> mirtils() { return layerArtOfType(layer, kPluginArt); }

  // The object's dictionary entries, read back through the host.
  std::vector<float> reals(AIArtHandle art, const char* key) {
    std::vector<float> values;
    const hostcore::DictValue* value = entry(art, key);
    if (const auto* array = value ? std::get_if<hostcore::ArrayValues>(value) : nullptr) {
      for (const hostcore::ArrayEntry& element : *array) values.push_back(element.real);
    }
    return values;
  }
  int integer(AIArtHandle art, const char* key) {
    const hostcore::DictValue* value = entry(art, key);
    const auto* number = value ? std::get_if<int32_t>(value) : nullptr;
    return number ? *number : -999;
  }
  bool known(AIArtHandle art, const char* key) { return entry(art, key) != nullptr; }
  float angle(AIArtHandle art) {
    const std::vector<float> values = reals(art, "Mir-Angle");
    return values.empty() ? NAN : values[0];
  }

  // The two segments of the object's edit path.
  std::vector<AIPathSegment> editSegments(AIArtHandle art) {
    AIArtHandle editGroup = nullptr;
    AIArtHandle editPath = nullptr;
    EXPECT_EQ(doc().editGroup(art, &editGroup), kNoErr);
    EXPECT_EQ(doc().firstChild(editGroup, &editPath), kNoErr);
    std::vector<AIPathSegment> segments(2);
    EXPECT_EQ(doc().segments(editPath, 0, 2, segments.data()), kNoErr);
    return segments;
  }

  // A mirror-tile object made with the tool by a drag from centre to cnj
  // over a square of art at the centre; nothing selected afterwards.
  AIArtHandle makeMirtil(AIRealPoint centre, AIRealPoint cnj) {
    addSquare(layer, centre.h, centre.v, 5);
    const size_t before = mirtils().size();
    tool->dragFromTo(centre, {}, cnj);
    const std::vector<AIArtHandle> made = mirtils();
    EXPECT_EQ(made.size(), before + 1);
    return made.empty() ? nullptr : made.front();
  }

  // The cursor the tool chose for the present selection.
  uint16_t trackedCursor() {
    EXPECT_EQ(tool->trackCursor({0, 0}), kNoErr);
    uint16_t id = 0;
    EXPECT_TRUE(host->currentCursor(id));
    return id;
  }

  void putPreference(const char* name, int32_t value) { host->preferences().put("Mirtil", name, value); }

  hostposix::DlopenModuleLoader loader;
  std::unique_ptr<hostapp::HostApplication> host;
  std::unique_ptr<hostapp::ToolEvents> tool;
  std::unique_ptr<hostapp::HostEdits> edits;
  AILayerHandle layer = nullptr;

 private:
  const hostcore::DictValue* entry(AIArtHandle art, const char* key) {
    AIDictionaryRef dictionary = nullptr;
    if (doc().artDictionary(art, &dictionary) != kNoErr) return nullptr;
    uint32_t index = 0;
    const hostcore::DictValue* value = nullptr;
    if (host->core().findKey(host->core().key(key), &index) != kNoErr ||
        doc().entry(dictionary, index, &value) != kNoErr) {
      value = nullptr;
    }
    doc().releaseDictionary(dictionary);
    return value;
  }
};
