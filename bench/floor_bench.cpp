// The floor of an update: the captured segments copied six times and every
// point of the copies put through one affine transformation. Once into
// buffers allocated and touched beforehand (memory bandwidth alone), once
// into fresh pages from the system, which fault on first touch.
#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "BenchHost.h"
#include "Benchmarks.h"

namespace bench {

namespace {

constexpr int kCopies = 6;

std::vector<AIPathSegment> SourceSegments(int64_t count) {
  std::vector<AIPathSegment> segments(static_cast<size_t>(count));
  for (size_t i = 0; i < segments.size(); ++i) {
    const AIRealPoint p{static_cast<AIReal>(i % 1000), static_cast<AIReal>(i / 1000)};
    segments[i] = AIPathSegment{p, p, p, true};
  }
  return segments;
}

AIRealPoint Transformed(const AIRealMatrix& m, AIRealPoint p) {
  return AIRealPoint{m.a * p.h + m.c * p.v + m.tx, m.b * p.h + m.d * p.v + m.ty};
}

void CopyAndTransform(const std::vector<AIPathSegment>& from, AIPathSegment* to, const AIRealMatrix& m) {
  std::copy(from.begin(), from.end(), to);
  for (size_t i = 0; i < from.size(); ++i) {
    to[i].p = Transformed(m, to[i].p);
    to[i].in = Transformed(m, to[i].in);
    to[i].out = Transformed(m, to[i].out);
  }
  benchmark::ClobberMemory();
}

const AIRealMatrix kTurn{std::cos(0.5f), std::sin(0.5f), -std::sin(0.5f), std::cos(0.5f), 3, 4};

void FloorTouched(benchmark::State& state) {
  const std::vector<AIPathSegment> source = SourceSegments(state.range(0));
  std::vector<std::vector<AIPathSegment>> copies(kCopies, source);
  for (auto _ : state) {
    Measured([&] {
      for (std::vector<AIPathSegment>& copy : copies) CopyAndTransform(source, copy.data(), kTurn);
    });
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void FloorFresh(benchmark::State& state) {
  const std::vector<AIPathSegment> source = SourceSegments(state.range(0));
  const size_t bytes = source.size() * sizeof(AIPathSegment);
  for (auto _ : state) {
    Measured([&] {
      void* pages[kCopies];
      for (void*& page : pages) {
        page = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (page == MAP_FAILED) throw std::bad_alloc();
        CopyAndTransform(source, static_cast<AIPathSegment*>(page), kTurn);
      }
      for (void* page : pages) munmap(page, bytes);
    });
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

void RegisterFloors() {
  for (int64_t n : UpdateSegmentCounts()) {
    RegisterEach("floor/touched", FloorTouched, {{n}}, {{n}});
    RegisterEach("floor/fresh", FloorFresh, {{n}}, {{n}});
  }
}

}  // namespace bench
