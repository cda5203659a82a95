# make run  : install what is missing, build, start the program (ARGS="file.kva")
# make test : install what is missing, build, run every test
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: deps configure build run test bench clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/korva $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -LE gl -j$(JOBS)
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -L gl

bench: build
	@$(BUILD)/bench/korva_bench
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD)
