// One update of one object: goUpdateResultArt rebuilding the six cells from
// the captured art, which lies in one layer of paths or in a thousand groups.
#include "BenchHost.h"
#include "Benchmarks.h"

namespace bench {

namespace {

constexpr int kGroups = 1000;

void RunUpdate(benchmark::State& state, bool grouped) {
  const int64_t segments = state.range(0);
  BenchHost bench;
  const AILayerHandle layer = bench.addLayer("Art");
  if (grouped) {
    bench.addGroups(layer, 0, 0, segments, kGroups);
  } else {
    bench.addPaths(bench.layerGroup(layer), 0, 0, segments);
  }
  const AIArtHandle pig = bench.makeMirtil({0, 0});
  // Each update frees the result of the one before the last.
  bench.doc().journal().setLimit(1);
  for (auto _ : state) {
    Measured([&] { bench.update(pig); });
  }
  const int64_t cells = bench.resultSegments(pig) - 6 * 3;  // without the six clip paths
  if (cells != 6 * segments) state.SkipWithError("the result does not hold six copies of the captured art");
  state.SetItemsProcessed(state.iterations() * segments);
  state.counters["segments"] = static_cast<double>(segments);
  state.counters["result_nodes"] = static_cast<double>(bench.resultNodes(pig));
}

void UpdatePathLayer(benchmark::State& state) { RunUpdate(state, false); }
void UpdateGroups(benchmark::State& state) { RunUpdate(state, true); }

}  // namespace

void RegisterUpdate() {
  for (int64_t n : UpdateSegmentCounts()) {
    RegisterEach("update/paths", UpdatePathLayer, {{n}}, {{n}});
    RegisterEach("update/groups", UpdateGroups, {{n}}, {{n}});
  }
}

}  // namespace bench
