# Entry points: `make demo` runs the main job, `make test` runs every test.
# Each first installs whatever Debian packages are missing.

# Every Debian package the build, the tests and the demo need, and what the
# fuzzer and the benchmarks add: the one place the lists are kept.
PACKAGES := make cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev clang-format \
            libopenexr-dev libpng-dev libbenchmark-dev libstb-dev pkgconf
FUZZ_PACKAGES := clang libclang-rt-14-dev
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64
# 32-bit programs: built with g++ -m32, run under qemu-i386 (and 32-bit Wine),
# with qemu's settings from cmake/qemu-i386.env in every recipe.
LINUX32_PACKAGES := g++-multilib qemu-user
include cmake/qemu-i386.env
export QEMU_RESERVED_VA
WINDOWS32_PACKAGES := wine32:i386
# Every Windows test runs in the project's own Wine prefix, made on first use.
WINE_PREFIX := $(CURDIR)/build-wine
BENCH_PACKAGES := time
FUZZ_SECONDS ?= 60

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps install build demo test test-release test-sanitize windows windows64 windows32 test-windows \
        test-windows32 bench fuzz linux32 test-linux32 setup-i386 format check-format clean

deps:
	@$(MAKE) --no-print-directory install LIST="$(PACKAGES)"

install:
	@missing=""; \
	for package in $(LIST); do \
	  dpkg-query -W -f='$${Status}\n' $$package 2>/dev/null | grep -q '^install ok installed$$' \
	    || missing="$$missing $$package"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset release
	cmake --build --preset release

demo: build
	bash examples/demo.sh build

test: test-release test-sanitize

test-release: build
	ctest --preset release -j $(JOBS)

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize -j $(JOBS)

# Installs what 32-bit programs need and has qemu-i386 run them (root).
setup-i386:
	$(SUDO) bash cmake/setup-i386.sh $(LINUX32_PACKAGES)

# Everything but the tools and benchmarks with 32-bit pointers and size_t,
# every test run under qemu-i386.
linux32: deps setup-i386
	cmake --preset linux32
	cmake --build --preset linux32

test-linux32: linux32
	ctest --preset linux32 -j $(JOBS)

# The Windows builds: 64-bit and 32-bit, both tested under Wine.
windows: windows64 windows32

windows64:
	@$(MAKE) --no-print-directory install LIST="$(WINDOWS_PACKAGES)"
	cmake --preset windows64
	cmake --build --preset windows64

# The DLLs, zqhost.exe and the programs their tests run.
windows32:
	@$(MAKE) --no-print-directory install LIST="$(WINDOWS_PACKAGES)"
	cmake --preset windows32
	cmake --build --preset windows32

# Every 64-bit Windows test under Wine, zqhost.exe end to end, and the export
# tables of both builds.
test-windows: windows
	bash cmake/wine-prefix.sh $(WINE_PREFIX)
	WINEPREFIX=$(WINE_PREFIX) ctest --preset windows64 -j $(JOBS)
	bash frame/tests/check-dll-exports.sh build-win32 i686-w64-mingw32-objdump
	bash frame/tests/check-module-symbols.sh windows build-win32 i686-w64-mingw32-objdump \
	  frame/tests/allowed-imports.txt

# The 32-bit DLLs under 32-bit Wine on qemu-i386: zqhost.exe end to end, the
# DLLs called with misaligned stacks, the export tables. Every 32-bit Windows
# process takes about a minute there. The Wine prefix is made first when it
# lacks its 32-bit half: minutes more.
test-windows32: windows32
	$(SUDO) bash cmake/setup-i386.sh $(LINUX32_PACKAGES) $(WINDOWS32_PACKAGES)
	bash cmake/wine-prefix.sh $(WINE_PREFIX) 32
	WINEPREFIX=$(WINE_PREFIX) ctest --preset windows32 -j $(JOBS)

# ReadFile throughput (repetitions in random turns, medians shown) on the
# generated images, then on the real samples where they are, the texture
# report at 10,000 and 100,000 textures, then zqhdr against the stb_image yardstick and its peak memory.
BENCH_FLAGS := --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
               --benchmark_display_aggregates_only=true
HDR_SAMPLES := $(wildcard ../shared/hdr-samples/*.hdr)
bench: build
	@$(MAKE) --no-print-directory install LIST="$(BENCH_PACKAGES)"
	build/bin/readfile_benchmark $(BENCH_FLAGS)
	$(if $(HDR_SAMPLES),build/bin/readfile_benchmark $(BENCH_FLAGS) $(HDR_SAMPLES))
	build/bin/texture_report_benchmark
	bash bench/zqhdr-bench.sh build

# Every fuzzer under ASan and UBSan, FUZZ_SECONDS in all; any finding fails.
fuzz:
	@$(MAKE) --no-print-directory install LIST="$(FUZZ_PACKAGES)"
	cmake --preset fuzz -DZQ_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz
	ctest --preset fuzz

format: deps
	git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-debug build-sanitize build-fuzz build-linux32 build-win64 build-win32 build-wine
