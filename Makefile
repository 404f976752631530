# Every target installs what it needs first, then configures and builds with CMake.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/cuewright $(or $(ARGS),demo/demo.srt --video demo/demo.mp4)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	$(BUILD_DIR)/bench/cuewright-bench $(BENCH_ARGS)

clean:
	rm -rf $(BUILD_DIR)
