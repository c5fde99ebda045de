# make demo   - set up, build, and run the installer under Wine against the local demo server
# make test   - set up, build both builds, run every test
# make build  - build both builds without running anything
# make bench  - benchmarks (separate from the tests)
# make soak   - runs the Windows tests RUNS times in a row (default 10; LOAD=1 keeps the cores busy)
# make dist   - builds the release installer (size-optimised, stripped, debug file beside it)
# make format - rewrites the sources that drift from .clang-format
# make gallery - screenshots of the skinned controls at four DPIs into build/win64/gallery
SHELL := /bin/bash
BUILD ?= build
WIN := $(BUILD)/win64
NATIVE := $(BUILD)/native
JOBS ?= $(shell nproc)
RUNS ?= 10
LOAD ?= none

.PHONY: setup build build-win build-native test test-native test-win test-extra demo bench soak dist format gallery clean

setup:
	@bash scripts/setup.sh

$(WIN)/build.ninja:
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

$(NATIVE)/build.ninja:
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc

build-win: $(WIN)/build.ninja
	cmake --build $(WIN) -j $(JOBS)

build-native: $(NATIVE)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS)

build: build-win build-native

test-native: build-native
	cd $(NATIVE) && ctest --output-on-failure

test-win: build-win
	bash scripts/run-win-tests.sh $(WIN)

test-extra: build
	bash scripts/extra-tests.sh $(BUILD)

test: setup
	$(MAKE) build
	$(MAKE) test-native
	$(MAKE) test-win
	$(MAKE) test-extra

demo: setup
	$(MAKE) build-win
	bash scripts/demo.sh $(WIN)

gallery: setup
	$(MAKE) build-win
	bash scripts/gallery.sh $(WIN)

bench: setup
	$(MAKE) build
	bash scripts/bench.sh $(BUILD)

soak: build-win
	bash scripts/soak.sh $(WIN) $(RUNS) $(LOAD)

dist: setup
	JOBS=$(JOBS) bash scripts/dist.sh $(BUILD)/dist

format:
	bash scripts/test.d/format.sh --fix

clean:
	rm -rf $(BUILD)
