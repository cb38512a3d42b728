# Front door: `make test` builds everything and runs every test; `make demo`
# runs mirtil-host on its built-in sample.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
CMAKE_FLAGS ?=

ifeq ($(CI),true)
CMAKE_FLAGS += -DMIRTIL_WERROR=ON
endif

.PHONY: deps configure build test demo bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The main job on the built-in sample: out/demo.svg, out/demo.png and the
# animation out/demo-anim.svg.
demo: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target mirtil-host
	$(BUILD_DIR)/bin/mirtil-host demo --out out

# Benchmarks in a Release build of their own; writes bench/RESULTS.md.
BENCH_DIR ?= build-bench
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target mirtil_bench
	python3 bench/report.py --build $(BENCH_DIR) --out bench/RESULTS.md

clean:
	rm -rf $(BUILD_DIR)
