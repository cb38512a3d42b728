// The built module Mirtil.aip started in the stand-in host with an open
// document of one layer, and the builders and readers that the tests of
// the mirror-tile object and of what a person does with it share.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "MirtilNames.h"
#include "hostapp/HostApplication.h"
#include "hostapp/HostEdits.h"
#include "hostapp/ToolEvents.h"
#include "hostcore/Invariants.h"
#include "hostposix/DlopenModuleLoader.h"

constexpr double kPi = 3.14159265358979;

class ModuleFixture : public ::testing::Test {
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
    host->core().faults().clear();
    EXPECT_EQ(hostcore::checkDocument(doc()), std::vector<std::string>{});
    host->shutdown();
    host->unload();
    EXPECT_EQ(host->suitesHeld(), 0);
    EXPECT_EQ(host->liveBlocks(), 0u);
  }

  hostcore::Document& doc() { return host->document(); }
  hostcore::FaultInjector& faults() { return host->core().faults(); }

  // ---- Building a document --------------------------------------------------
  AILayerHandle addLayer(const char* title) {
    AILayerHandle made = nullptr;
    EXPECT_EQ(doc().addLayer(title, &made), kNoErr);
    return made;
  }
  AIArtHandle layerGroup(AILayerHandle of) {
    AIArtHandle group = nullptr;
    EXPECT_EQ(doc().firstArtOfLayer(of, &group), kNoErr);
    return group;
  }
  // A closed square path of half side `half` about (h, v), on top inside the group.
  AIArtHandle addSquareIn(AIArtHandle group, AIReal h, AIReal v, AIReal half) {
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
  AIArtHandle addSquare(AILayerHandle on, AIReal h, AIReal v, AIReal half) {
    return addSquareIn(layerGroup(on), h, v, half);
  }
  AIArtHandle addGroupIn(AIArtHandle parent) {
    AIArtHandle group = nullptr;
    EXPECT_EQ(doc().newArt(kGroupArt, kPlaceInsideOnTop, parent, &group), kNoErr);
    return group;
  }
  void setAttr(AIArtHandle art, AIArtUserAttr which, bool on) {
    ASSERT_EQ(doc().setUserAttr(art, which, on ? which : 0), kNoErr);
  }
  void select(AIArtHandle art, bool on = true) { setAttr(art, kArtSelected, on); }

  // ---- Reading the art tree -------------------------------------------------
  AIArtType typeOf(AIArtHandle art) {
    AIArtType type = kUnknownArt;
    EXPECT_EQ(doc().artType(art, &type), kNoErr);
    return type;
  }
  // The direct children of a group, top of the stacking order first.
  std::vector<AIArtHandle> children(AIArtHandle group) {
    std::vector<AIArtHandle> list;
    AIArtHandle child = nullptr;
    EXPECT_EQ(doc().firstChild(group, &child), kNoErr);
    while (child) {
      list.push_back(child);
      EXPECT_EQ(doc().sibling(child, &child), kNoErr);
    }
    return list;
  }
  std::vector<AIArtHandle> layerArt(AILayerHandle of) { return children(layerGroup(of)); }
  std::vector<AIArtHandle> layerArtOfType(AILayerHandle of, AIArtType type) {
    std::vector<AIArtHandle> kept;
    for (AIArtHandle art : layerArt(of)) {
      if (typeOf(art) == type) kept.push_back(art);
    }
    return kept;
  }
  // The plug-in objects at the top level of a layer (the first layer by default).
  std::vector<AIArtHandle> plugins(AILayerHandle on = nullptr) {
    return layerArtOfType(on ? on : layer, kPluginArt);
  }
  std::vector<AIRealPoint> anchors(AIArtHandle path) {
    int16_t count = 0;
    EXPECT_EQ(doc().segmentCount(path, &count), kNoErr);
    std::vector<AIPathSegment> segments(count);
    if (count > 0) {
      EXPECT_EQ(doc().segments(path, 0, count, segments.data()), kNoErr);
    }
    std::vector<AIRealPoint> points;
    for (const AIPathSegment& segment : segments) points.push_back(segment.p);
    return points;
  }
  // The two segments of a mirror-tile object's edit path.
  std::vector<AIPathSegment> editSegments(AIArtHandle art) {
    AIArtHandle editGroup = nullptr;
    AIArtHandle editPath = nullptr;
    EXPECT_EQ(doc().editGroup(art, &editGroup), kNoErr);
    EXPECT_EQ(doc().firstChild(editGroup, &editPath), kNoErr);
    std::vector<AIPathSegment> segments(2);
    EXPECT_EQ(doc().segments(editPath, 0, 2, segments.data()), kNoErr);
    return segments;
  }

  // ---- Dictionary entries, read back through the host -----------------------
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
    const std::vector<float> values = reals(art, kMirtilAngleKey);
    return values.empty() ? NAN : values[0];
  }
  const hostcore::DictValue* entry(AIArtHandle art, const char* key) {
    AIDictionaryRef dictionary = nullptr;
    if (doc().artDictionary(art, &dictionary) != kNoErr) return nullptr;
    uint32_t index = 0;
    const hostcore::DictValue* value = nullptr;
    if (host->core().findKey(host->core().key(key), &index) != kNoErr ||
        doc().entry(dictionary, index, &value) != kNoErr) {
      value = nullptr;
    }
    EXPECT_EQ(doc().releaseDictionary(dictionary), kNoErr);
    return value;
  }

  // ---- Using the tool ---------------------------------------------------------
  // A drag of the tool from centre to cnj; the object it made, or null.
  AIArtHandle drag(AIRealPoint centre, AIRealPoint cnj, AILayerHandle on = nullptr) {
    const size_t before = plugins(on).size();
    EXPECT_EQ(tool->dragFromTo(centre, {}, cnj).release, kNoErr);
    const std::vector<AIArtHandle> now = plugins(on);
    return now.size() == before + 1 ? now.front() : nullptr;
  }
  // An object made over a square of art at the centre; nothing selected afterwards.
  AIArtHandle makeMirtil(AIRealPoint centre, AIRealPoint cnj) {
    addSquare(layer, centre.h, centre.v, 5);
    AIArtHandle pig = drag(centre, cnj);
    EXPECT_NE(pig, nullptr);
    return pig;
  }

  hostposix::DlopenModuleLoader loader;
  std::unique_ptr<hostapp::HostApplication> host;
  std::unique_ptr<hostapp::ToolEvents> tool;
  std::unique_ptr<hostapp::HostEdits> edits;
  AILayerHandle layer = nullptr;
};
