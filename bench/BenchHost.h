// The real module started in the stand-in host with an open document, the
// drawings the benchmarks work on, and the region callgrind counts.
#pragma once

#include <benchmark/benchmark.h>
#ifdef MIRTIL_HAVE_CALLGRIND_H
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_TOGGLE_COLLECT
#endif

#include <cstdint>
#include <memory>
#include <vector>

#include "hostapp/HostApplication.h"
#include "hostapp/ToolEvents.h"
#include "hostposix/DlopenModuleLoader.h"

namespace bench {

// Sizes are cut to the smallest with --smoke (set before registration).
struct Sizes {
  bool smoke = false;
};
Sizes& sizes();

// The segment counts of the update and of its floor: four, or one in smoke.
std::vector<int64_t> UpdateSegmentCounts();

using ArgLists = std::vector<std::vector<int64_t>>;
// Registers `run` under `name` once for each list of arguments (the smoke
// lists with --smoke), timed in milliseconds.
void RegisterEach(const char* name, void (*run)(benchmark::State&), const ArgLists& full, const ArgLists& smoke);

// Runs f as the measured work of one iteration. Under
// `valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no` only
// this region is counted; outside valgrind the markers cost nothing.
template <class F>
void Measured(F&& f) {
  CALLGRIND_START_INSTRUMENTATION;
  CALLGRIND_TOGGLE_COLLECT;
  f();
  CALLGRIND_TOGGLE_COLLECT;
  CALLGRIND_STOP_INSTRUMENTATION;
}

// Paths of the drawings: closed polygons of straight segments on a circle.
constexpr int kSegmentsPerPath = 100;

class BenchHost {
 public:
  BenchHost();
  ~BenchHost();

  hostapp::HostApplication& host() { return *host_; }
  hostcore::Document& doc() { return host_->document(); }
  hostapp::ToolEvents& tool() { return *tool_; }

  AILayerHandle addLayer(const char* title);
  AIArtHandle layerGroup(AILayerHandle layer);
  // A closed path of `segments` straight segments on the circle of the
  // given radius about (h, v), on top inside `container`.
  AIArtHandle addPath(AIArtHandle container, AIReal h, AIReal v, AIReal radius, int segments);
  // `segments` in all, as paths of kSegmentsPerPath, inside `container`
  // within radius 90 of (h, v).
  void addPaths(AIArtHandle container, AIReal h, AIReal v, int64_t segments);
  // `segments` in all, spread evenly over `groups` groups on the layer.
  void addGroups(AILayerHandle layer, AIReal h, AIReal v, int64_t segments, int groups);

  // A drag of the tool from `centre` to 100 points right of it: an object
  // capturing everything within 100 points, with its first result.
  AIArtHandle makeMirtil(AIRealPoint centre);
  // The host's update of one object, in an undo step of its own.
  void update(AIArtHandle pig);
  // The object's result art as a count of path segments, and of art.
  int64_t resultSegments(AIArtHandle pig);
  int64_t resultNodes(AIArtHandle pig);

 private:
  // Over the art and everything inside it: its segments, or 1 for each art.
  int64_t countBelow(AIArtHandle art, bool segments);

  hostposix::DlopenModuleLoader loader_;
  std::unique_ptr<hostapp::HostApplication> host_;
  std::unique_ptr<hostapp::ToolEvents> tool_;
};

}  // namespace bench
