// A core made active for one test, with its suites acquired the way the
// plug-in acquires them, and small builders for documents.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "hostapi/HostSuites.h"
#include "hostcore/CoreSuites.h"
#include "hostcore/HostCore.h"
#include "hostcore/Invariants.h"

class HostCoreTest : public ::testing::Test {
 protected:
  HostCoreTest() : activation_(core_) {
    hostcore::registerCoreSuites(core_.suites());
    art = acquire<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
    path = acquire<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    group = acquire<AIGroupSuite>(kAIGroupSuite, kAIGroupSuiteVersion);
    layers = acquire<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
    dict = acquire<AIDictionarySuite>(kAIDictionarySuite, kAIDictionarySuiteVersion);
    array = acquire<AIArraySuite>(kAIArraySuite, kAIArraySuiteVersion);
    artSet = acquire<AIArtSetSuite>(kAIArtSetSuite, kAIArtSetSuiteVersion);
    pathStyle = acquire<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    artStyle = acquire<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
    pluginGroup = acquire<AIPluginGroupSuite>(kAIPluginGroupSuite, kAIPluginGroupSuiteVersion);
    transform = acquire<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    math = acquire<AIRealMathSuite>(kAIRealMathSuite, kAIRealMathSuiteVersion);
    undo = acquire<AIUndoSuite>(kAIUndoSuite, kAIUndoSuiteVersion);
  }

  template <class Suite>
  const Suite* acquire(const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(core_.acquireSuite(name, version, &table), kNoErr) << name;
    return static_cast<const Suite*>(table);
  }

  hostcore::Document& document() { return core_.document(); }

  AILayerHandle addLayer(const char* title) {
    AILayerHandle layer = nullptr;
    EXPECT_EQ(document().addLayer(title, &layer), kNoErr);
    return layer;
  }

  AIArtHandle layerGroup(AILayerHandle layer) {
    AIArtHandle found = nullptr;
    EXPECT_EQ(art->GetFirstArtOfLayer(layer, &found), kNoErr);
    return found;
  }

  AIArtHandle newArt(AIArtType type, AIPaintOrder order, AIArtHandle prep) {
    AIArtHandle made = nullptr;
    EXPECT_EQ(art->NewArt(type, order, prep, &made), kNoErr);
    return made;
  }

  // An open path of straight segments through the points (h, v pairs).
  AIArtHandle newLine(AIPaintOrder order, AIArtHandle prep, std::vector<AIRealPoint> points) {
    AIArtHandle made = newArt(kPathArt, order, prep);
    std::vector<AIPathSegment> segments;
    for (const AIRealPoint& p : points) segments.push_back(AIPathSegment{p, p, p, false});
    EXPECT_EQ(path->SetPathSegments(made, 0, int16_t(segments.size()), segments.data()), kNoErr);
    return made;
  }

  std::vector<AIArtHandle> children(AIArtHandle parent) {
    std::vector<AIArtHandle> found;
    AIArtHandle child = nullptr;
    EXPECT_EQ(art->GetArtFirstChild(parent, &child), kNoErr);
    while (child != nullptr) {
      found.push_back(child);
      EXPECT_EQ(art->GetArtSibling(child, &child), kNoErr);
    }
    return found;
  }

  AIArtType typeOf(AIArtHandle a) {
    AIArtType type = kUnknownArt;
    EXPECT_EQ(art->GetArtType(a, &type), kNoErr);
    return type;
  }

  // The document as text, read through the suites: every layer's tree
  // with types, attributes, names, clipping and path points.
  std::string dump() {
    std::ostringstream out;
    AILayerHandle layer = nullptr;
    layers->GetFirstLayer(&layer);
    while (layer != nullptr) {
      dumpArt(out, layerGroup(layer), 0);
      layers->GetNextLayer(layer, &layer);
    }
    return out.str();
  }

  void dumpArt(std::ostringstream& out, AIArtHandle a, int depth) {
    AIArtUserAttr attr = 0;
    art->GetArtUserAttr(a, kArtSelected | kArtLocked | kArtHidden, &attr);
    char name[64];
    art->GetArtName(a, name, sizeof name, nullptr);
    out << std::string(size_t(depth) * 2, ' ') << typeOf(a) << " attr " << attr << " '" << name << "'";
    AIBoolean clipped = false;
    if (group->GetGroupClipped(a, &clipped) == kNoErr && clipped) out << " clipped";
    int16_t count = 0;
    if (path->GetPathSegmentCount(a, &count) == kNoErr) {
      std::vector<AIPathSegment> segments(size_t(count) + 1);
      path->GetPathSegments(a, 0, count, segments.data());
      for (int16_t i = 0; i < count; ++i)
        out << " (" << segments[size_t(i)].p.h << "," << segments[size_t(i)].p.v << ")";
    }
    out << "\n";
    AIArtHandle edit = nullptr, result = nullptr;
    if (pluginGroup->GetPluginArtEditArt(a, &edit) == kNoErr) dumpArt(out, edit, depth + 1);
    if (pluginGroup->GetPluginArtResultArt(a, &result) == kNoErr) dumpArt(out, result, depth + 1);
    for (AIArtHandle child : children(a)) dumpArt(out, child, depth + 1);
  }

  void expectSound() { EXPECT_THAT(hostcore::checkDocument(document()), ::testing::IsEmpty()); }

  hostcore::HostCore core_;
  hostcore::HostCore::Activation activation_;
  const AIArtSuite* art = nullptr;
  const AIPathSuite* path = nullptr;
  const AIGroupSuite* group = nullptr;
  const AILayerSuite* layers = nullptr;
  const AIDictionarySuite* dict = nullptr;
  const AIArraySuite* array = nullptr;
  const AIArtSetSuite* artSet = nullptr;
  const AIPathStyleSuite* pathStyle = nullptr;
  const AIArtStyleSuite* artStyle = nullptr;
  const AIPluginGroupSuite* pluginGroup = nullptr;
  const AITransformArtSuite* transform = nullptr;
  const AIRealMathSuite* math = nullptr;
  const AIUndoSuite* undo = nullptr;
};
