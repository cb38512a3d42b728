// One step of the rotation animation: every object turned by one step and
// its result rebuilt, as one tick of the host's timer.
#include "BenchHost.h"
#include "Benchmarks.h"

namespace bench {

namespace {

constexpr int64_t kStepTicks = 30;  // the default delay, half a second

AIMenuItemHandle RotateCommand(hostapp::HostApplication& host) {
  for (size_t i = 0; i < host.menuItems().size(); ++i) {
    if (host.menuItems()[i].name == "Rotate Mirrortiles") return host.menuItemHandle(i);
  }
  return nullptr;
}

void AnimationStep(benchmark::State& state) {
  const int objects = static_cast<int>(state.range(0));
  const int64_t segments = state.range(1);
  BenchHost bench;
  const AILayerHandle layer = bench.addLayer("Art");
  const AIArtHandle source = bench.layerGroup(layer);
  bench.addPaths(source, 0, 0, segments);
  const AIArtHandle first = bench.makeMirtil({0, 0});
  // The others are copies of the first set side by side, as pasted: one
  // undo step of the user's, which the silent animation steps then join.
  bench.doc().journal().beginStep();
  for (int i = 1; i < objects; ++i) {
    AIArtHandle copy = nullptr;
    hostcore::require(bench.doc().duplicateArt(first, kPlaceAbove, first, &copy), "duplicateArt");
    const AIReal h = static_cast<AIReal>(250 * (i % 40)), v = static_cast<AIReal>(250 * (i / 40));
    hostcore::require(bench.doc().transformArt(copy, AIRealMatrix{1, 0, 0, 1, h, v}, 1, kTransformObjects), "transformArt");
    hostcore::require(bench.doc().markDirty(copy), "markDirty");
  }
  bench.host().updatePluginArt();
  bench.doc().journal().endStep();

  const AIMenuItemHandle command = RotateCommand(bench.host());
  if (!command || bench.host().chooseMenuItem(command) != std::optional<AIErr>(kNoErr)) {
    state.SkipWithError("the animation did not start");
    return;
  }
  bench.host().advanceClock(kStepTicks);  // the first step
  for (auto _ : state) {
    Measured([&] { bench.host().advanceClock(kStepTicks); });
  }
  state.SetItemsProcessed(state.iterations() * objects);
  state.counters["undo_steps"] = static_cast<double>(bench.doc().journal().undoDepth());
}

}  // namespace

void RegisterAnimation() {
  RegisterEach("animation/objects", AnimationStep, {{10, 1000}, {100, 1000}, {1000, 1000}}, {{10, 100}});
}

}  // namespace bench
