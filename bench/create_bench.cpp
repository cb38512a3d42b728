// The tool's press and release over a drawing of many layers: the capture
// of every layer's art into a new object, and that object's first result.
#include "BenchHost.h"
#include "Benchmarks.h"

namespace bench {

namespace {

void Create(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int64_t segments = state.range(1);
  BenchHost bench;
  for (int l = 0; l < layers; ++l) {
    const AILayerHandle layer = bench.addLayer("Art");
    bench.addPaths(bench.layerGroup(layer), 0, 0, segments / layers);
  }
  for (auto _ : state) {
    Measured([&] {
      bench.tool().press({0, 0});
      bench.tool().release({100, 0});
    });
    state.PauseTiming();
    if (!bench.doc().journal().undo()) state.SkipWithError("the drag made nothing");
    bench.doc().journal().clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * segments);
}

}  // namespace

void RegisterCreate() {
  RegisterEach("create/layers", Create, {{10, 100000}, {100, 100000}, {1000, 100000}}, {{10, 1000}});
}

}  // namespace bench
