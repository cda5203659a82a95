# make run  : install what is missing, build the program, start it (ARGS="file.kva")
# make test : install what is missing, build everything, run every test
# JOBS=n limits the parallel compile jobs (default: every core).
# WERROR=ON makes a warning in the project's own code fail the build (CI).
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=
WERROR ?= OFF
# The build's own makes need not name the folders they enter.
MAKEFLAGS += --no-print-directory

.PHONY: deps configure program build run test bench clean

deps:
	@scripts/install-deps

# Configuring also copies the language files beside the program.
configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DKORVA_WARNINGS_AS_ERRORS=$(WERROR) >/dev/null

# The program alone, without the tests and benchmarks.
program: configure
	@cmake --build $(BUILD) -j$(JOBS) --target korva

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: program
	$(BUILD)/korva $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -LE gl -j$(JOBS)
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -L gl

bench: build
	@$(BUILD)/bench/korva_bench
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD)
