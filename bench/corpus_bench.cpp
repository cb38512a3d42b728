// Real drawings: opening and saving each drawing of the test corpus (and
// the stock examples of a drawing program, where installed), beside
// librsvg drawing the same file at its own size.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchHost.h"
#include "Benchmarks.h"
#include "hostfiles/NativeFiles.h"
#include "hostfiles/SvgDocument.h"

namespace bench {

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Drawings() {
  std::vector<fs::path> found;
  for (const char* folder : {MIRTIL_CORPUS_PATH, "/usr/share/inkscape/examples"}) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".svg") found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  return found;
}

std::string Text(benchmark::State& state, const fs::path& path) {
  hostfiles::PosixFileStore files;
  std::string text, error;
  if (!files.read(path.string(), &text, &error)) state.SkipWithError(error.c_str());
  state.counters["bytes"] = static_cast<double>(text.size());
  return text;
}

void OpenSave(benchmark::State& state, const fs::path& path) {
  const std::string text = Text(state, path);
  BenchHost bench;
  for (auto _ : state) {
    Measured([&] {
      if (!hostfiles::readSvg(bench.host().core(), text, path.string())) state.SkipWithError("not read");
      benchmark::DoNotOptimize(hostfiles::writeSvg(bench.host().core()));
    });
  }
}

void Render(benchmark::State& state, const fs::path& path) {
  const std::string text = Text(state, path);
  hostfiles::RsvgRenderer renderer;
  for (auto _ : state) {
    std::string png, error;
    // A drawing librsvg cannot draw has no time to compare with.
    if (!renderer.renderPng(text, 1, &png, &error)) state.SkipWithError(error.c_str());
  }
}

}  // namespace

void RegisterCorpus() {
  std::vector<fs::path> drawings = Drawings();
  if (sizes().smoke && drawings.size() > 1) drawings.resize(1);
  for (const fs::path& path : drawings) {
    const std::string name = (fs::path(path).parent_path() == MIRTIL_CORPUS_PATH ? "own/" : "stock/") +
                             path.stem().string();
    benchmark::RegisterBenchmark(("corpus/opensave/" + name).c_str(), OpenSave, path)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("corpus/rsvg/" + name).c_str(), Render, path)->Unit(benchmark::kMillisecond);
  }
}

}  // namespace bench
