# Front door: `make test` builds everything and runs every test; `make demo`
# runs mirtil-host on its built-in sample.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
CMAKE_FLAGS ?=

ifeq ($(CI),true)
CMAKE_FLAGS += -DMIRTIL_WERROR=ON
endif

.PHONY: deps configure build test windows test-sanitize fuzz-smoke fuzz fuzz-campaign demo bench bench-peer web mutants clean

deps:
	@bash scripts/install-deps.sh

# The tests of this build also check the Windows builds' files and run them.
configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DMIRTIL_WEB_TESTS=ON $(CMAKE_FLAGS) \
		-DMIRTIL_WIN32_BUILD=$(abspath $(WIN32_DIR)) -DMIRTIL_WIN64_BUILD=$(abspath $(WIN64_DIR))

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Every test, the page's in the browser too.
test: build windows web
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Cross-built with mingw-w64: the module for 32-bit Windows, the plug-in's
# own platform, in $(WIN32_DIR)/bin/Mirtil.aip; and for 64-bit Windows the
# module, the stand-in host and mirtil-host.exe in $(WIN64_DIR)/bin, with
# their libraries in $(WIN64_DIR)/deps (libxml2 built from Debian's source).
WIN32_DIR ?= build-win32
WIN64_DIR ?= build-win64
WIN64_DEPS = $(abspath $(WIN64_DIR))/deps
WINDOWS_CONFIGURE = cmake -S . -DCMAKE_TOOLCHAIN_FILE=cmake/windows.toolchain.cmake -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
windows: deps
	$(WINDOWS_CONFIGURE) -B $(WIN32_DIR) -DMIRTIL_WINDOWS_TRIPLE=i686-w64-mingw32 -DMIRTIL_HOST=OFF
	cmake --build $(WIN32_DIR) -j $(JOBS)
	JOBS=$(JOBS) bash scripts/windows-deps.sh $(WIN64_DEPS) x86_64-w64-mingw32
	$(WINDOWS_CONFIGURE) -B $(WIN64_DIR) -DMIRTIL_WINDOWS_TRIPLE=x86_64-w64-mingw32 -DMIRTIL_WINDOWS_DEPS=$(WIN64_DEPS)
	cmake --build $(WIN64_DIR) -j $(JOBS) --target mirtil-host mirtil_module

# Every test again, built with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer in a build of its own; any report fails the test.
# Warnings are held to the plain build: the instrumented one draws false
# maybe-uninitialized warnings from the standard library's own headers.
SANITIZE_DIR ?= build-sanitize
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(abspath tests/lsan-suppressions.txt)
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DMIRTIL_SANITIZE=ON \
		$(filter-out -DMIRTIL_WERROR=ON,$(CMAKE_FLAGS)) -DMIRTIL_WERROR=OFF
	$(SANITIZER_ENV) cmake --build $(SANITIZE_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# The fuzz targets built with clang and libFuzzer (and the sanitizers);
# warnings are held to the gcc builds, not to clang's own set.
# fuzz-smoke runs each target with a fixed seed for a fixed number of
# executions, the same every time; fuzz searches each for FUZZ_SECONDS with
# a random seed, leaving what it finds in $(FUZZ_DIR)/fuzz/found and crashes
# (crash-*) in $(FUZZ_DIR)/fuzz. A find goes to fuzz/regressions/<target>/,
# which every build replays as a test.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_CONFIGURE = CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	-DMIRTIL_SANITIZE=ON -DMIRTIL_FUZZ=ON $(filter-out -DMIRTIL_WERROR=ON,$(CMAKE_FLAGS))
fuzz-smoke fuzz: deps
	$(FUZZ_CONFIGURE) -DMIRTIL_FUZZ_SECONDS=$(if $(filter fuzz-smoke,$@),0,$(FUZZ_SECONDS))
	$(SANITIZER_ENV) cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	$(SANITIZER_ENV) ctest --test-dir $(FUZZ_DIR) -L fuzz --output-on-failure -j $(JOBS)

# A campaign: each fuzz target until FUZZ_CAMPAIGN_RUNS executions or
# FUZZ_CAMPAIGN_SECONDS, JOBS at a time, growing a corpus of its own in
# $(FUZZ_DIR)/fuzz/campaign/<target> that the next campaign starts from;
# finds go to $(FUZZ_DIR)/fuzz/campaign/finds/<target>/. Writes the table of
# executions, exec/s, coverage and finds to fuzz/CAMPAIGN.md.
# FUZZ_CAMPAIGN_TARGETS=a,b runs only those.
FUZZ_CAMPAIGN_RUNS ?= 1000000
FUZZ_CAMPAIGN_SECONDS ?= 600
FUZZ_CAMPAIGN_TARGETS ?=
fuzz-campaign: deps
	$(FUZZ_CONFIGURE) -DMIRTIL_FUZZ_SECONDS=0
	$(SANITIZER_ENV) cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	$(SANITIZER_ENV) python3 fuzz/campaign.py --build $(FUZZ_DIR) --runs $(FUZZ_CAMPAIGN_RUNS) \
		--seconds $(FUZZ_CAMPAIGN_SECONDS) --jobs $(JOBS) --targets "$(FUZZ_CAMPAIGN_TARGETS)" --out fuzz/CAMPAIGN.md

# The main job on the built-in sample: out/demo.svg, out/demo.png and the
# animation out/demo-anim.svg.
demo: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target mirtil-host
	$(BUILD_DIR)/bin/mirtil-host demo --out out

# Benchmarks in a Release build of their own, and the page's figures;
# writes bench/RESULTS.md.
BENCH_DIR ?= build-bench
bench: deps web
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target mirtil_bench mirtil-host
	python3 bench/report.py --build $(BENCH_DIR) --out bench/RESULTS.md

# Inkscape's command line beside mirtil-host make on the same drawings;
# bench/peer.py installs Inkscape from Debian's archive for itself, as
# nothing else needs it. Not part of CI; writes its section of
# bench/RESULTS.md.
bench-peer: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target mirtil-host
	python3 bench/peer.py --build $(BENCH_DIR) --out bench/RESULTS.md

# Mirrortile in the browser: web/dist/ holds the page, its script, the wasm
# and the demo drawing it opens on, which comes from the native build.
WEB_BUILD_DIR ?= build-web
web: configure
	NODE_PATH=/usr/share/nodejs $(MAKE) --no-print-directory web-build

.PHONY: web-build
web-build:
	cmake --build $(BUILD_DIR) -j $(JOBS) --target mirtil-host
	emcmake cmake -S web -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEB_BUILD_DIR) -j $(JOBS) --target mirtil_web
	$(BUILD_DIR)/bin/mirtil-host demo --out $(WEB_BUILD_DIR)/demo --prefs $(WEB_BUILD_DIR)/demo/prefs > /dev/null
	mkdir -p web/dist
	cp web/page/* web/dist/
	cp $(WEB_BUILD_DIR)/demo/demo.svg web/dist/demo.svg

# Small changes to the plug-in's code (scripts/mutants.txt), one at a time,
# each built incrementally in a folder of its own and tested; prints the
# changes no test noticed. Slow, so not part of CI.
MUTANTS_DIR ?= build-mutants
mutants: deps
	python3 scripts/mutants.py --build $(MUTANTS_DIR) --jobs $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(WIN32_DIR) $(WIN64_DIR)
