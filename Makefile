# Every target installs what it needs first, then configures and builds with CMake.
BUILD_DIR ?= build
# Where `make install` puts the program; DESTDIR stages it below another root.
PREFIX ?= /usr/local
ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := fuzz_parse fuzz_readpath fuzz_parsetime fuzz_roundtrip fuzz_repair fuzz_userstate
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test test-asan fuzz bench clean

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

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer, leak
# detection on; any report fails the test that made it.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUEWRIGHT_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, from the seeds in fuzz/corpus/<target>, and the
# other formats' target once for each of FUZZ_FORMATS, from fuzz/corpus/fuzz_formats/<key>
# and the real files in tests/data/formats/<key>. New inputs go to $(FUZZ_BUILD_DIR)/corpus,
# crashes to $(FUZZ_BUILD_DIR)/<target>-crash-*. Every run is made; any finding fails at the end.
FUZZ_FORMATS ?= vtt ass ssa ttml microdvd subviewer mpl2
fuzz: deps
	@CC=clang-14 CXX=clang++-14 cmake -S fuzz -B $(FUZZ_BUILD_DIR) -G Ninja >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	@failed=""; \
	run() { binary=$$1; name=$$2; shift 2; mkdir -p $(FUZZ_BUILD_DIR)/corpus/$$name && echo "fuzz: $$name for $(FUZZ_SECONDS) s" && \
	  $(FUZZ_BUILD_DIR)/$$binary -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD_DIR)/$$name- $(FUZZ_BUILD_DIR)/corpus/$$name "$$@" || failed="$$failed $$name"; }; \
	for target in $(FUZZ_TARGETS); do run $$target $$target fuzz/corpus/$$target; done; \
	for format in $(FUZZ_FORMATS); do \
	  seeds=""; for d in fuzz/corpus/fuzz_formats/$$format tests/data/formats/$$format; do [ -d $$d ] && seeds="$$seeds $$d"; done; \
	  export CUEWRIGHT_FUZZ_FORMAT=$$format; run fuzz_formats fuzz_formats-$$format $$seeds; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz: findings in$$failed"; exit 1; fi

# Every benchmark in turn; BENCHES picks some (the waveform one first makes a one-hour
# film in /tmp, about 90 s once), and how soon a scrubbing grain starts. Then the whole
# program on a generated million-subtitle file: conversion against python3-srt, and
# opening it in the window, and checking it with --qc as one file and as files of 100;
# and aligning scripts to two generated films' speech, a few minutes (BENCH_FILES=no
# leaves these out).
BENCHES ?= cuewright-bench cuewright-bench-formats cuewright-bench-conversion cuewright-bench-list cuewright-bench-quality cuewright-bench-retiming cuewright-bench-search cuewright-bench-timeline cuewright-bench-sonogram cuewright-bench-waveform
BENCH_FILES ?= yes
bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks cuewright
	@for b in $(BENCHES); do echo "== $$b"; QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/$$b $(BENCH_ARGS) || exit 1; done
	@echo "== cuewright-measure-scrub" && QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/cuewright-measure-scrub
	@if [ "$(BENCH_FILES)" = yes ] && ! command -v python3 >/dev/null; then \
	  echo "== measure-conversion, measure-window-open, measure-qc, measure-align: skipped, they need python3"; \
	elif [ "$(BENCH_FILES)" = yes ]; then \
	  echo "== measure-conversion" && bench/measure-conversion $(BUILD_DIR)/src/cuewright && \
	  echo "== measure-window-open" && bench/measure-window-open $(BUILD_DIR)/src/cuewright && \
	  echo "== measure-qc" && bench/measure-qc $(BUILD_DIR)/src/cuewright && \
	  echo "== measure-align" && bench/measure-align $(BUILD_DIR)/src/cuewright; \
	fi

# Installs program, launcher, icons and translation: make install [PREFIX=/usr] [DESTDIR=/tmp/stage]
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# A Debian package of the same files (prefix /usr), written to $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Re-reads every tr() text of src/ into src/resources/translations/*.ts; new and changed
# texts come out unfinished until translated (open the .ts in Qt Linguist).
translations: configure
	@cmake --build $(BUILD_DIR) --target update_translations
	@scripts/check-translations

clean:
	rm -rf $(BUILD_DIR)
