# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE_DIR := build/release
TEST_DIR := build/asan
BIN := build/bin
DEMO := demo

.PHONY: all build test run deps configure-release configure-test clean format

all: build

deps:
	@scripts/install-deps

configure-release: deps
	@cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZEPA_TESTS=OFF -DZEPA_BIN_DIR=$(CURDIR)/$(BIN) >/dev/null

build: configure-release
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

configure-test: deps
	@cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DZEPA_SANITIZE=ON >/dev/null

test: configure-test
	@cmake --build $(TEST_DIR) -j $(JOBS)
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

$(DEMO)/ZEPAWIN:
	@$(BIN)/zepa_demo_data $(DEMO)

# The viewer on the demo installation; without a display, a picture of its chart instead.
run: build
	@$(MAKE) --no-print-directory $(DEMO)/ZEPAWIN
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the viewer cannot open;"; \
		echo "run: writing the chart of the first demo position to $(DEMO)/chart.png instead"; \
		$(BIN)/zepa_snapshot --root $(DEMO) $(DEMO)/chart.png && echo "run: wrote $(DEMO)/chart.png"; \
	else \
		cd $(DEMO) && ../$(BIN)/zepa_spw; \
	fi

# Speed: the benchmark suites in a Release tree of their own, on a large generated installation.
# BENCH_FORMAT=json prints JSON; BENCH_ARGS passes more Google Benchmark flags.
BENCH_DIR := build/bench
BENCH_FORMAT ?= console
BENCH_REPETITIONS ?= 5
BENCH_ARGS ?=
.PHONY: bench
bench: deps
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DZEPA_BENCH=ON -DZEPA_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target zepa_bench zepa_spw
	@$(BENCH_DIR)/bin/zepa_bench --benchmark_format=$(BENCH_FORMAT) \
		--benchmark_repetitions=$(BENCH_REPETITIONS) --benchmark_display_aggregates_only=true \
		$(BENCH_ARGS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
