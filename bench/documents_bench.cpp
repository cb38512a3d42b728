// Opening and saving SVG documents of 1 MB and 50 MB, beside the XML
// library parsing the same text.
#include <libxml/parser.h>

#include <string>

#include "BenchHost.h"
#include "Benchmarks.h"
#include "hostfiles/SvgDocument.h"

namespace bench {

namespace {

// The text of a document of paths in ten layers, about `bytes` long.
std::string DrawingText(int64_t bytes) {
  const int64_t probeSegments = 10000;
  const auto text = [](int64_t segments) {
    BenchHost bench;
    for (int l = 0; l < 10; ++l) {
      const AILayerHandle layer = bench.addLayer("Art");
      bench.addPaths(bench.layerGroup(layer), static_cast<AIReal>(200 * l), 0, segments / 10);
    }
    return hostfiles::writeSvg(bench.host().core());
  };
  const double perSegment = static_cast<double>(text(probeSegments).size()) / probeSegments;
  return text(static_cast<int64_t>(static_cast<double>(bytes) / perSegment));
}

void Open(benchmark::State& state) {
  const std::string svg = DrawingText(state.range(0));
  BenchHost bench;
  for (auto _ : state) {
    Measured([&] {
      if (!hostfiles::readSvg(bench.host().core(), svg, "drawing.svg")) state.SkipWithError("not read");
    });
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(svg.size()));
}

void Save(benchmark::State& state) {
  const std::string svg = DrawingText(state.range(0));
  BenchHost bench;
  if (!hostfiles::readSvg(bench.host().core(), svg, "drawing.svg")) state.SkipWithError("not read");
  for (auto _ : state) {
    Measured([&] { benchmark::DoNotOptimize(hostfiles::writeSvg(bench.host().core())); });
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(svg.size()));
}

// Without the library's limit on huge input, so that the floor of the
// largest file is measured even where the reader refuses it.
void ParseFloor(benchmark::State& state) {
  const std::string svg = DrawingText(state.range(0));
  for (auto _ : state) {
    Measured([&] {
      xmlDocPtr parsed = xmlReadMemory(svg.data(), static_cast<int>(svg.size()), "drawing.svg", nullptr,
                                       XML_PARSE_NONET | XML_PARSE_HUGE);
      if (!parsed) state.SkipWithError("not parsed");
      xmlFreeDoc(parsed);
    });
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(svg.size()));
}

}  // namespace

void RegisterDocuments() {
  const ArgLists sizesInBytes{{1 << 20}, {50 << 20}};
  const ArgLists smoke{{64 << 10}};
  RegisterEach("documents/open", Open, sizesInBytes, smoke);
  RegisterEach("documents/save", Save, sizesInBytes, smoke);
  RegisterEach("documents/xmlparse", ParseFloor, sizesInBytes, smoke);
}

}  // namespace bench
