// The started module with an open document, and the geometry and result-art
// readers the tests of the mirror-tile object add to the shared fixture.
#pragma once

#include <algorithm>

#include "ModuleFixture.h"

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

class ObjectTest : public ModuleFixture {
 protected:
  AIErr sendUpdate(AIArtHandle pig) {
    AIPluginGroupMessage message{};
    message.art = pig;
    return host->sendMessage(kCallerAIPluginGroup, kSelectorAIUpdateArt, message.d);
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
    EXPECT_EQ(doc().releaseDictionary(dictionary), kNoErr);
    return err;
  }

  void putReals(AIArtHandle pig, const char* key, const std::vector<AIReal>& reals) {
    AIDictionaryRef dictionary = nullptr;
    ASSERT_EQ(doc().artDictionary(pig, &dictionary), kNoErr);
    uint32_t index = 0;
    ASSERT_EQ(host->core().findKey(host->core().key(key), &index), kNoErr);
    hostcore::ArrayValues values(reals.size());
    for (size_t i = 0; i < reals.size(); ++i) {
      values[i].kind = hostcore::ArrayEntryKind::Real;
      values[i].real = reals[i];
    }
    EXPECT_EQ(doc().setEntry(dictionary, index, values), kNoErr);
    EXPECT_EQ(doc().releaseDictionary(dictionary), kNoErr);
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
};
