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

clean:
	rm -rf $(BUILD)
