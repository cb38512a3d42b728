// Peak resident memory per captured source segment: the drawing, the
// object made from it and one further update, over the memory before.
#include "BenchHost.h"
#include "Benchmarks.h"
#include "MemoryProbe.h"

namespace bench {

namespace {

void PeakPerSegment(benchmark::State& state) {
  const int64_t segments = state.range(0);
  double perSegment = 0;
  for (auto _ : state) {
    StartPeakFromHere();
    const int64_t before = ResidentBytes();
    {
      BenchHost bench;
      const AILayerHandle layer = bench.addLayer("Art");
      bench.addPaths(bench.layerGroup(layer), 0, 0, segments);
      const AIArtHandle pig = bench.makeMirtil({0, 0});
      bench.update(pig);
      perSegment = static_cast<double>(PeakResidentBytes() - before) / static_cast<double>(segments);
    }
  }
  state.counters["peak_bytes_per_segment"] = perSegment;
}

}  // namespace

void RegisterMemory() {
  for (int64_t n : sizes().smoke ? std::vector<int64_t>{1000} : std::vector<int64_t>{100000, 1000000}) {
    benchmark::RegisterBenchmark("memory/peak", PeakPerSegment)->Arg(n)->Iterations(1)->Unit(benchmark::kMillisecond);
  }
}

}  // namespace bench
