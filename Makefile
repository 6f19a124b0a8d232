# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all setup configure build run test bench fuzz fuzz-smoke test-asan package package-check clean

all: build

setup:
	@bash tools/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/Velmora

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Benchmarks (Google Benchmark), in a Release build of their own.
bench: setup
	@bash tools/bench.sh

# Fuzz targets (libFuzzer with clang), at least a minute each.
fuzz: setup
	@bash tools/fuzz.sh 60

# The same fuzz targets for a few seconds each, as CI runs them.
fuzz-smoke: setup
	@bash tools/fuzz.sh 5

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: setup
	@bash tools/test-asan.sh

# The Debian package, built with CPack from a Release tree in build-package/.
package: setup
	@JOBS=$(JOBS) bash tools/package.sh

# Builds the package, then checks what it holds and starts the program from it unpacked.
package-check: setup
	@JOBS=$(JOBS) bash tools/package-check.sh

clean:
	rm -rf $(BUILD) build-bench build-fuzz build-asan build-package
