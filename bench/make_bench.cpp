// `mirtil-host make` as a whole, run in process on a drawing file of
// 100k and 1M segments, beside opening and saving the same drawing
// (`mirtil-host run` of an empty script): time, and peak resident memory
// over the memory before. The file `make` writes holds the art eight
// times (the layer, the object's edit group and its six-fold result).
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "BenchHost.h"
#include "Benchmarks.h"
#include "MemoryProbe.h"
#include "hostfiles/NativeFiles.h"
#include "hostfiles/SvgDocument.h"
#include "mirtilcli/Program.h"

namespace bench {

namespace {

namespace fs = std::filesystem;

// Where the drawings and the files written go, removed at the end.
struct Folder {
  fs::path path = fs::temp_directory_path() / ("mirtil-make-bench-" + std::to_string(::getpid()));
  Folder() { fs::create_directories(path); }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

Folder& folder() {
  static Folder instance;
  return instance;
}

// The drawing of `segments` in one layer, written once: paths within 90
// points of the file's origin, which a Sweep hexagon of radius 100 about
// the origin captures.
std::string Drawing(int64_t segments) {
  static std::map<int64_t, std::string> written;
  std::string& path = written[segments];
  if (path.empty()) {
    path = (folder().path / ("drawing-" + std::to_string(segments) + ".svg")).string();
    BenchHost bench;
    bench.addPaths(bench.layerGroup(bench.addLayer("Art")), 0, 0, segments);
    hostfiles::PosixFileStore files;
    if (!hostfiles::saveSvg(bench.host().core(), files, path)) throw std::runtime_error("drawing not written");
  }
  return path;
}

struct NoOutput : std::streambuf {
  int overflow(int c) override { return c; }
};

void Run(benchmark::State& state, const std::vector<std::string>& words) {
  hostposix::DlopenModuleLoader loader;
  hostfiles::PosixFileStore files;
  hostfiles::RsvgRenderer renderer;
  NoOutput nothing;
  std::ostream silent(&nothing);
  mirtilcli::Machine machine{loader, files,  renderer, [](const std::string&, std::string*) { return true; },
                             silent, silent, false};
  const mirtilcli::ProgramDefaults defaults{MIRTIL_MODULE_PATH, (folder().path / "prefs").string()};
  if (mirtilcli::runProgram(words, machine, defaults) != 0) state.SkipWithError("mirtil-host failed");
}

// Time of one run, and its peak memory over the memory before.
void Measure(benchmark::State& state, const std::vector<std::string>& words) {
  for (auto _ : state) {
    StartPeakFromHere();
    const int64_t before = ResidentBytes();
    Run(state, words);
    state.counters["peak_bytes"] = static_cast<double>(PeakResidentBytes() - before);
  }
  state.counters["segments"] = static_cast<double>(state.range(0));
}

void OpenSave(benchmark::State& state) {
  const std::string in = Drawing(state.range(0));
  const std::string script = (folder().path / "nothing.mirtil").string();
  std::ofstream{script};
  Measure(state, {"run", script, "--open", in, "--save", (folder().path / "saved.svg").string()});
}

void Make(benchmark::State& state) {
  const std::string in = Drawing(state.range(0));
  Measure(state, {"make", in, (folder().path / "made.svg").string(), "--press", "0,0", "--release", "100,0", "--type",
                  "sweep"});
}

}  // namespace

void RegisterMake() {
  for (int64_t n : sizes().smoke ? std::vector<int64_t>{1000} : std::vector<int64_t>{100000, 1000000}) {
    benchmark::RegisterBenchmark("make/opensave", OpenSave)->Arg(n)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("make/make", Make)->Arg(n)->Iterations(1)->Unit(benchmark::kMillisecond);
  }
}

}  // namespace bench
