// The benchmark program: the usual Google Benchmark flags, and --smoke,
// which runs every benchmark at its smallest size only.
#include <cstring>
#include <vector>

#include "BenchHost.h"
#include "Benchmarks.h"

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke") == 0) {
      bench::sizes().smoke = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  bench::RegisterUpdate();
  bench::RegisterFloors();
  bench::RegisterCreate();
  bench::RegisterAnimation();
  bench::RegisterMemory();
  bench::RegisterDocuments();
  bench::RegisterCorpus();
  bench::RegisterMake();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
