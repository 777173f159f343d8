# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE_DIR := build/release
TEST_DIR := build/asan
BIN := build/bin
DEMO := demo

.PHONY: all build test run deps configure-release configure-test clean format fuzz soak

all: build

# Each target installs the Debian packages of its profile first (`scripts/install-deps --list
# PROFILE` prints them): run for make build and make run, and one named after each other target.
# `make deps` installs every profile's.
deps:
	@scripts/install-deps

# The Release tree serves make build and make run, and make package with its own profile (which
# holds run's).
RELEASE_PROFILE = run
package: RELEASE_PROFILE = package

# The Debian package's maintainer, "Name <address>" (make package MAINTAINER='...'): by default
# Debian's DEBFULLNAME and DEBEMAIL when DEBEMAIL is set, else the git identity of the clone,
# else the author of its newest commit (a clean clone without an identity still packages).
MAINTAINER ?= $(if $(DEBEMAIL),$(DEBFULLNAME) <$(DEBEMAIL)>,$(shell \
	n=$$(git config user.name 2>/dev/null) && e=$$(git config user.email 2>/dev/null) && echo "$$n <$$e>" \
	|| git log -1 --format='%an <%ae>' 2>/dev/null))

configure-release:
	@scripts/install-deps $(RELEASE_PROFILE)
	@cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZEPA_TESTS=OFF -DZEPA_BIN_DIR=$(CURDIR)/$(BIN) \
		-DZEPA_PACKAGE_MAINTAINER="$(strip $(MAINTAINER))" >/dev/null

build: configure-release
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

configure-test:
	@scripts/install-deps test
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
bench:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DZEPA_BENCH=ON -DZEPA_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target zepa_bench zepa_spw
	@$(BENCH_DIR)/bin/zepa_bench --benchmark_format=$(BENCH_FORMAT) \
		--benchmark_repetitions=$(BENCH_REPETITIONS) --benchmark_display_aggregates_only=true \
		$(BENCH_ARGS)

# Robustness: every libFuzzer target (or those in FUZZ_TARGETS) for FUZZ_SECONDS each (clang,
# ASan + UBSan); corpora are kept in build/fuzz/corpus, failing inputs in build/fuzz/crashes.
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	@CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEPA_FUZZ=ON -DZEPA_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) >$(FUZZ_DIR)/build.log 2>&1 || { cat $(FUZZ_DIR)/build.log; exit 1; }
	@fuzz/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Memory over a long run: automatic stepping through 5,000 positions for SOAK_SECONDS on the
# offscreen platform, in the benchmarks' Release tree.
SOAK_SECONDS ?= 600
soak:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DZEPA_BENCH=ON -DZEPA_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target zepa_soak
	@QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bin/zepa_soak --seconds $(SOAK_SECONDS)

# Windows: the same core, the Qt-free tools and the Win32 program cross-built with MinGW-w64 into
# build/windows/, the core's suites run under Wine (a Wine prefix kept in build/windows/); the
# release is a zip archive and a setup program (NSIS).
WINDOWS_DIR := build/windows
WINE_ENV := WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
.PHONY: windows windows-test windows-dist configure-windows
configure-windows:
	@scripts/install-deps windows
	@cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZEPA_BIN_DIR=$(CURDIR)/$(WINDOWS_DIR) >/dev/null
	@[ -f $(WINDOWS_DIR)/wineprefix/system.reg ] || $(WINE_ENV) wineboot -i >/dev/null 2>&1 || true

windows: configure-windows
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)

# A test whose Wine client lost its wineserver (it can end just as the test starts:
# "recvmsg: Connection reset by peer") runs again, up to twice; a test that fails on its own
# merits fails every time.
# The setup program's test installs it: it is built first.
windows-test: windows
	@cmake --build $(WINDOWS_DIR) --target zepa_windows_setup
	@cd $(WINDOWS_DIR) && ctest --output-on-failure -j $(JOBS) --repeat until-pass:3

windows-dist: windows
	@cmake --build $(WINDOWS_DIR) --target zepa_windows_dist
	@echo "windows-dist: wrote $(WINDOWS_DIR)/zepa-spw-windows.zip and $(WINDOWS_DIR)/zepa-spw-setup.exe"

# The Debian package of the Release build (CPack): build/release/package/zepa-spw_*.deb, then
# its checks (desktop entry, metainfo, lintian, the unpacked tools on a demo installation).
.PHONY: package
package: build
	@[ -n "$(strip $(MAINTAINER))" ] || { echo "package: no maintainer: give MAINTAINER='Name <address>'" \
		"(or set DEBFULLNAME and DEBEMAIL, or a git identity)" >&2; exit 1; }
	@cd $(RELEASE_DIR) && cpack -G DEB >/dev/null
	@packaging/check-package $(RELEASE_DIR)/package

format:
	@scripts/install-deps format
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
