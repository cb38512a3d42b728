#include "BenchHost.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace bench {

Sizes& sizes() {
  static Sizes instance;
  return instance;
}

std::vector<int64_t> UpdateSegmentCounts() {
  return sizes().smoke ? std::vector<int64_t>{1000} : std::vector<int64_t>{1000, 10000, 100000, 1000000};
}

void RegisterEach(const char* name, void (*run)(benchmark::State&), const ArgLists& full, const ArgLists& smoke) {
  for (const std::vector<int64_t>& list : sizes().smoke ? smoke : full) {
    benchmark::RegisterBenchmark(name, run)->Args(list)->Unit(benchmark::kMillisecond);
  }
}

namespace {

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

}  // namespace

BenchHost::BenchHost() : host_(std::make_unique<hostapp::HostApplication>(loader_)) {
  Require(host_->loadModule(MIRTIL_MODULE_PATH), host_->loadError().c_str());
  Require(host_->startup() == kNoErr, "the module did not start");
  host_->setDocumentOpen(true);
  tool_ = std::make_unique<hostapp::ToolEvents>(*host_);
}

BenchHost::~BenchHost() {
  host_->shutdown();
  host_->unload();
}

AILayerHandle BenchHost::addLayer(const char* title) {
  AILayerHandle layer = nullptr;
  Require(doc().addLayer(title, &layer) == kNoErr, "no layer");
  return layer;
}

AIArtHandle BenchHost::layerGroup(AILayerHandle layer) {
  AIArtHandle group = nullptr;
  Require(doc().firstArtOfLayer(layer, &group) == kNoErr, "no layer group");
  return group;
}

AIArtHandle BenchHost::addPath(AIArtHandle container, AIReal h, AIReal v, AIReal radius, int segments) {
  AIArtHandle path = nullptr;
  Require(doc().newArt(kPathArt, kPlaceInsideOnTop, container, &path) == kNoErr, "no path");
  std::vector<AIPathSegment> points(static_cast<size_t>(segments));
  for (int i = 0; i < segments; ++i) {
    const double a = 2 * M_PI * i / segments;
    const AIRealPoint p{static_cast<AIReal>(h + radius * std::cos(a)), static_cast<AIReal>(v + radius * std::sin(a))};
    points[static_cast<size_t>(i)] = AIPathSegment{p, p, p, true};
  }
  Require(doc().setSegments(path, 0, static_cast<int16_t>(segments), points.data()) == kNoErr, "no segments");
  Require(doc().setPathClosed(path, true) == kNoErr, "not closed");
  return path;
}

void BenchHost::addPaths(AIArtHandle container, AIReal h, AIReal v, int64_t segments) {
  int index = 0;
  for (int64_t left = segments; left > 0; left -= kSegmentsPerPath, ++index) {
    const int count = static_cast<int>(std::min<int64_t>(left, kSegmentsPerPath));
    addPath(container, h, v, static_cast<AIReal>(10 + index % 80), count);
  }
}

void BenchHost::addGroups(AILayerHandle layer, AIReal h, AIReal v, int64_t segments, int groups) {
  const AIArtHandle top = layerGroup(layer);
  for (int g = 0; g < groups; ++g) {
    AIArtHandle group = nullptr;
    Require(doc().newArt(kGroupArt, kPlaceInsideOnTop, top, &group) == kNoErr, "no group");
    addPaths(group, h, v, segments / groups);
  }
}

AIArtHandle BenchHost::makeMirtil(AIRealPoint centre) {
  AIArtHandle top = nullptr;
  Require(doc().firstArtOfLayer(nullptr, &top) == kNoErr, "no current layer");
  tool_->dragFromTo(centre, {}, {centre.h + 100, centre.v});
  AIArtHandle pig = nullptr;
  Require(doc().firstChild(top, &pig) == kNoErr, "no art");
  AIArtType type = kUnknownArt;
  Require(doc().artType(pig, &type) == kNoErr && type == kPluginArt, "no object made");
  return pig;
}

void BenchHost::update(AIArtHandle pig) {
  doc().journal().beginStep();
  hostcore::require(doc().markDirty(pig), "markDirty");
  host_->updatePluginArt();
  doc().journal().endStep();
}

int64_t BenchHost::resultSegments(AIArtHandle pig) {
  AIArtHandle result = nullptr;
  Require(doc().resultGroup(pig, &result) == kNoErr, "no result group");
  return countBelow(result, true);
}

int64_t BenchHost::resultNodes(AIArtHandle pig) {
  AIArtHandle result = nullptr;
  Require(doc().resultGroup(pig, &result) == kNoErr, "no result group");
  return countBelow(result, false);
}

int64_t BenchHost::countBelow(AIArtHandle art, bool segments) {
  AIArtType type = kUnknownArt;
  hostcore::require(doc().artType(art, &type), "artType");
  if (type == kPathArt) {
    int16_t count = 0;
    hostcore::require(doc().segmentCount(art, &count), "segmentCount");
    return segments ? count : 1;
  }
  int64_t total = segments ? 0 : 1;
  AIArtHandle child = nullptr;
  hostcore::require(doc().firstChild(art, &child), "firstChild");
  while (child) {
    total += countBelow(child, segments);
    hostcore::require(doc().sibling(child, &child), "sibling");
  }
  return total;
}

}  // namespace bench
