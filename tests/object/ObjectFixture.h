// The built module Mirtil.aip started in the stand-in host with an open
// document, and the builders and readers that the tests of the mirror-tile
// object and its result art share.
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

constexpr AIErr kNoArtErr = HOST_FOURCC('!', 'I', 'M', 'P');
constexpr double kThirdTurnDeg = 120.0;

inline double Distance(AIRealPoint a, AIRealPoint b) { return std::hypot(a.h - b.h, a.v - b.v); }

inline AIRealPoint Turned(AIRealPoint p, AIRealPoint about, double angle) {
  const double dh = p.h - about.h, dv = p.v - about.v;
  return {static_cast<AIReal>(about.h + dh * std::cos(angle) - dv * std::sin(angle)),
          static_cast<AIReal>(about.v + dh * std::sin(angle) + dv * std::cos(angle))};
}

// Signed distance of p from the line a->b, positive on its left.
inline double LeftOf(AIRealPoint a, AIRealPoint b, AIRealPoint p) {
  const double len = Distance(a, b);
  return ((b.h - a.h) * (p.v - a.v) - (b.v - a.v) * (p.h - a.h)) / len;
}

// Where p lies with respect to a convex polygon, eps being the width of
// its boundary: 1 inside, -1 outside, 0 on the boundary.
inline int Locate(const std::vector<AIRealPoint>& polygon, AIRealPoint p, double eps) {
  double area = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const AIRealPoint a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    area += a.h * b.v - b.h * a.v;
  }
  const double orientation = area > 0 ? 1 : -1;
  double nearest = 1e300;
  for (size_t i = 0; i < polygon.size(); ++i) {
    nearest = std::min(nearest, orientation * LeftOf(polygon[i], polygon[(i + 1) % polygon.size()], p));
  }
  return nearest > eps ? 1 : (nearest < -eps ? -1 : 0);
}

class ObjectTest : public ::testing::Test {
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
  std::vector<AIArtHandle> plugins(AILayerHandle on) {
    std::vector<AIArtHandle> kept;
    for (AIArtHandle art : children(layerGroup(on))) {
      if (typeOf(art) == kPluginArt) kept.push_back(art);
    }
    return kept;
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

  // A drag of the tool from centre to cnj; the object it made, or null.
  AIArtHandle drag(AIRealPoint centre, AIRealPoint cnj, AILayerHandle on = nullptr) {
    const size_t before = plugins(on ? on : layer).size();
    EXPECT_EQ(tool->dragFromTo(centre, {}, cnj).release, kNoErr);
    const std::vector<AIArtHandle> now = plugins(on ? on : layer);
    return now.size() == before + 1 ? now.front() : nullptr;
  }
  // An object made over a square of art at the centre.
  AIArtHandle makeMirtil(AIRealPoint centre, AIRealPoint cnj) {
    addSquare(layer, centre.h, centre.v, 5);
    AIArtHandle pig = drag(centre, cnj);
    EXPECT_NE(pig, nullptr);
    return pig;
  }

  AIErr sendUpdate(AIArtHandle pig) {
    AIPluginGroupMessage message{};
    message.art = pig;
    return host->sendMessage(kCallerAIPluginGroup, kSelectorAIUpdateArt, message.d);
  }

  std::vector<float> reals(AIArtHandle art, const char* key) {
    std::vector<float> values;
    const hostcore::DictValue* value = entry(art, key);
    if (const auto* array = value ? std::get_if<hostcore::ArrayValues>(value) : nullptr) {
      for (const hostcore::ArrayEntry& element : *array) values.push_back(element.real);
    }
    return values;
  }
  const hostcore::ArtCopy* storedArt(AIArtHandle art, const char* key) {
    const hostcore::DictValue* value = entry(art, key);
    const auto* copy = value ? std::get_if<std::shared_ptr<const hostcore::ArtCopy>>(value) : nullptr;
    return copy ? copy->get() : nullptr;
  }
  AIErr storeArt(AIArtHandle pig, const char* key, AIArtHandle art) {
    AIDictionaryRef dictionary = nullptr;
    EXPECT_EQ(doc().artDictionary(pig, &dictionary), kNoErr);
    uint32_t index = 0;
    EXPECT_EQ(host->core().findKey(host->core().key(key), &index), kNoErr);
    const AIErr err = doc().copyArtToEntry(dictionary, index, art);
    doc().releaseDictionary(dictionary);
    return err;
  }

  // ---- The result art ------------------------------------------------------
  AIArtHandle overall(AIArtHandle pig) {
    AIArtHandle result = nullptr;
    EXPECT_EQ(doc().resultGroup(pig, &result), kNoErr);
    const std::vector<AIArtHandle> list = children(result);
    return list.size() == 1 ? list[0] : nullptr;
  }
  // The clip path of a cell: its child path marked as clipping.
  AIArtHandle clipPath(AIArtHandle cell) {
    for (AIArtHandle child : children(cell)) {
      AIPathStyle style{};
      if (typeOf(child) == kPathArt && doc().pathStyle(child, &style) == kNoErr && style.clip) return child;
    }
    return nullptr;
  }
  // The six cells: `clip` first, then the copies in `reflgrp` as made.
  std::vector<AIArtHandle> cells(AIArtHandle pig) {
    const std::vector<AIArtHandle> top = children(overall(pig));
    if (top.size() != 2) return {};
    std::vector<AIArtHandle> list{top[1]};
    const std::vector<AIArtHandle> copies = children(top[0]);
    list.insert(list.end(), copies.rbegin(), copies.rend());
    return list;
  }
  std::vector<std::vector<AIRealPoint>> cellOutlines(AIArtHandle pig) {
    std::vector<std::vector<AIRealPoint>> outlines;
    for (AIArtHandle cell : cells(pig)) {
      AIArtHandle path = clipPath(cell);
      outlines.push_back(path ? anchors(path) : std::vector<AIRealPoint>{});
    }
    return outlines;
  }

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
