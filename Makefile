# Builds of one tree are serialised (flock), so parallel callers never race
# inside one ninja tree.
# Front door: `make test` and `make demo` install what is missing, build both
# trees and run. Everything lands under build/ (trees, Wine prefix) and dist/.
SHELL := /bin/bash
NPROC := $(shell nproc)
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64
# Where the Wine tests run: the shipped 32-bit tree, or a 64-bit build of the
# same sources on machines that cannot execute 32-bit code.
WINE_ARCH := $(shell scripts/wine-arch)
ifeq ($(WINE_ARCH),win32)
WINE_TREE := $(WIN32)
WIN32_TESTS := ON
else
WINE_TREE := $(WIN64)
WIN32_TESTS := OFF
endif
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap configure build native win32 win64 screenshots test test-native test-win32 fuzz demo clean format

all: build

bootstrap:
	@scripts/bootstrap

$(NATIVE)/build.ninja:
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

$(WIN32)/build.ninja:
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DSTUB_WINE_TESTS=$(WIN32_TESTS)

$(WIN64)/build.ninja:
	cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake

native: $(NATIVE)/build.ninja
	@mkdir -p $(NATIVE)
	flock $(NATIVE)/.build-lock cmake --build $(NATIVE) -j $(NPROC)

win32: $(WIN32)/build.ninja
	@mkdir -p $(WIN32)
	flock $(WIN32)/.build-lock cmake --build $(WIN32) -j $(NPROC)

win64: $(WIN64)/build.ninja
	@mkdir -p $(WIN64)
	flock $(WIN64)/.build-lock cmake --build $(WIN64) -j $(NPROC)

build: native win32
ifeq ($(WINE_ARCH),win64)
build: win64
endif

test: bootstrap
	@$(MAKE) --no-print-directory build
	@$(MAKE) --no-print-directory test-native test-win32

test-native:
	ctest --test-dir $(NATIVE) --output-on-failure -j $(NPROC)

# The Wine tests share one prefix and the local HTTP test servers (127.0.0.1
# only); the servers and the prefix's wineserver are ended afterwards either way.
# They run one program at a time: programs in one prefix share its registry,
# desktop and debug-viewer windows, and would see each other's. A program that
# fails is run once more; its first failure stays in the log.
test-win32:
	scripts/wine-run cmd /c exit 0 >/dev/null
	testing/servers/start-all >/dev/null; \
	. build/http-servers/env; \
	ctest --test-dir $(WINE_TREE) --output-on-failure --repeat until-pass:2; rc=$$?; \
	testing/servers/stop-all >/dev/null 2>&1; scripts/wine-stop; exit $$rc

# Longer fuzzing: every fuzzer for FUZZ_SECONDS seconds.
fuzz: bootstrap native
	@for f in $(NATIVE)/tests/fuzz_*; do \
	    n=$$(basename $$f); s=$${n#fuzz_}; mkdir -p $(NATIVE)/fuzz-corpus/$$s tests/fuzz/corpus/$$s; \
	    echo "== $$n ($(FUZZ_SECONDS) s)"; \
	    $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
	        $(NATIVE)/fuzz-corpus/$$s tests/fuzz/corpus/$$s || exit 1; \
	done

# PNGs of the boxes and windows under Xvfb with Wine's X11 driver.
screenshots: bootstrap
	@$(MAKE) --no-print-directory build
	scripts/screenshots

demo: bootstrap
	@$(MAKE) --no-print-directory build
	@scripts/demo

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
