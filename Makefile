# The README's two commands: `make demo` and `make test`. Both install what is missing first.
PYTHON := /usr/bin/python3
BUILD  ?= build
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test test-native test-python release demo bench test-asan fuzz clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DPython3_EXECUTABLE=$(PYTHON) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test-native: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# pytest against the build in $(1), with $(2) in front of the interpreter; any status but 0 fails,
# "no tests collected" included.
PYTEST = cd tests/python && VORNIX_BUILD=$(abspath $(1)) PYTHONPATH=$(abspath $(1))/python $(2) \
	  $(PYTHON) -m pytest -q -p no:cacheprovider

test-python: build
	@$(call PYTEST,$(BUILD),)

test: test-native test-python

# The optimised build that packagers make and the benchmarks are measured in, in a tree of its own.
RELEASE_BUILD ?= build-release

release: deps
	@cmake -S . -B $(RELEASE_BUILD) -DPython3_EXECUTABLE=$(PYTHON) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE_BUILD) -j $(JOBS)

demo: build
	@PYTHONPATH=$(abspath $(BUILD))/python $(PYTHON) examples/demo.py

# Every benchmark in the Release build, each printing its ratio table (bench/README.md): the
# headline table first, then each native program and each Python benchmark against its peer.
BENCH_PROGRAMS = engine_conversion_calls engine_call binding_polyline engine_polyline model_polygon engine_planar engine_geodesy
BENCH_SCRIPTS = operations_bench collections_bench polyline_bench veltjson_construction utils_conversions generalize_bench geodetic_area_bench ring_roles_bench cut_bench conversion_scale_bench attributes_bench
BENCH_ENV = VORNIX_BUILD=$(abspath $(RELEASE_BUILD)) PYTHONPATH=$(abspath $(RELEASE_BUILD))/python
bench: release
	@$(BENCH_ENV) $(PYTHON) bench/ratio_table.py
	@for p in $(BENCH_PROGRAMS); do echo; echo "== bench_$$p"; \
	  $(RELEASE_BUILD)/bench/bench_$$p --benchmark_min_time=0.2 || exit 1; done
	@for s in $(BENCH_SCRIPTS); do echo; echo "== $$s.py"; $(BENCH_ENV) $(PYTHON) bench/$$s.py || exit 1; done

# The same suites under AddressSanitizer and UBSan, in a build of their own. The interpreter is not
# instrumented, so the sanitizer runtime is preloaded; leaks are checked on the native test
# programs only (the interpreter's own allocations would drown them).
ASAN_BUILD ?= build-asan
ASAN_LOGS = $(abspath $(ASAN_BUILD))/sanitizer-logs
ASAN_PRELOAD = LD_PRELOAD="$$(g++ -print-file-name=libasan.so) $$(g++ -print-file-name=libstdc++.so)" \
	ASAN_OPTIONS=detect_leaks=0:log_path=$(ASAN_LOGS)/python UBSAN_OPTIONS=print_stacktrace=1:log_path=$(ASAN_LOGS)/python

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DPython3_EXECUTABLE=$(PYTHON) -DVORNIX_SANITIZE=ON -DVORNIX_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@rm -rf $(ASAN_LOGS) && mkdir -p $(ASAN_LOGS)
	@UBSAN_OPTIONS=print_stacktrace=1:log_path=$(ASAN_LOGS)/native ASAN_OPTIONS=log_path=$(ASAN_LOGS)/native \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)
	@$(call PYTEST,$(ASAN_BUILD),$(ASAN_PRELOAD))
	@if [ -n "$$(ls -A $(ASAN_LOGS))" ]; then cat $(ASAN_LOGS)/*; echo "sanitizer reports in $(ASAN_LOGS)"; exit 1; fi

# Every fuzz target (clang, ASan, UBSan), each for FUZZ_SECONDS; findings stop the run. Each
# target is <program>:<seed folder>, its dictionary fuzz/<seed folder>.dict where there is one.
FUZZ_SECONDS ?= 600
FUZZ_TARGETS = wkt_reader:wkt wkb_reader:wkb engine_json:engine_json engine_ops:engine_ops
fuzz: deps
	@cmake -S fuzz -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do p=$${t%%:*}; s=$${t##*:}; mkdir -p fuzz-corpus/$$s; \
	  $(BUILD)/fuzz/fuzz_$$p -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -print_final_stats=1 \
	    $$([ -f fuzz/$$s.dict ] && echo -dict=fuzz/$$s.dict) fuzz-corpus/$$s fuzz/seeds/$$s || exit 1; done

clean:
	rm -rf $(BUILD) $(RELEASE_BUILD) $(ASAN_BUILD)
