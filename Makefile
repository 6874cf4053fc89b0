# A thin front over the CMake presets; the real work is in CMake and tools/.
.PHONY: all setup build-win64 run test test-native test-fuzz test-win64 test-win32 fuzz bench dist screenshots clean

all: test

setup:
	@tools/setup.sh

build-win64: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j$$(nproc)

run: build-win64
	tools/run.sh

test: setup test-native test-fuzz test-win64 test-win32

test-native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j$$(nproc)
	ctest --preset native -j$$(nproc)

# A short bounded run; `make fuzz` runs longer.
test-fuzz:
	tools/fuzz.sh 40

test-win64: build-win64
	tools/wine-session.sh build/wine-prefix ctest --preset win64

# The i686 build always; its tests when 32-bit Wine can be installed.
test-win32: setup
	tools/test-win32.sh

dist: setup
	tools/dist.sh

screenshots: build-win64
	tools/screenshots.sh

clean:
	rm -rf build dist

bench: setup
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j$$(nproc)
	build/bench/bench/core_bench --benchmark_min_time=0.2

FUZZ_SECONDS ?= 300
fuzz: setup
	tools/fuzz.sh $(FUZZ_SECONDS)
