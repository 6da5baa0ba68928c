# The README's two commands: `make demo` and `make test`. Both install what is missing first.
PYTHON := /usr/bin/python3
BUILD  ?= build
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test test-native test-python demo bench test-asan fuzz clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DPython3_EXECUTABLE=$(PYTHON) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test-native: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-python: build
	@cd tests/python && VORNIX_BUILD=$(abspath $(BUILD)) PYTHONPATH=$(abspath $(BUILD))/python \
	  $(PYTHON) -m pytest -q -p no:cacheprovider

test: test-native test-python

demo: build
	@PYTHONPATH=$(abspath $(BUILD))/python $(PYTHON) examples/demo.py

# The reader fuzzers (clang, ASan, UBSan), each for FUZZ_SECONDS; findings stop the run.
FUZZ_SECONDS ?= 600
fuzz:
	@cmake -S fuzz -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)
	@for r in wkt wkb; do mkdir -p fuzz-corpus/$$r; \
	  $(BUILD)/fuzz/fuzz_$${r}_reader -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -print_final_stats=1 \
	    $$([ -f fuzz/$$r.dict ] && echo -dict=fuzz/$$r.dict) fuzz-corpus/$$r fuzz/seeds/$$r || exit 1; done

clean:
	rm -rf $(BUILD)
