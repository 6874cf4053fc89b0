# A thin front over the CMake presets; the real work is in CMake and tools/.
.PHONY: all setup setup-wine32 build-win64 run test test-native test-fuzz test-win64 test-win32 fuzz bench dist screenshots clean

all: test

setup:
	@tools/setup.sh

build-win64: setup-wine32
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j$$(nproc)

run: build-win64
	tools/run.sh

test: setup test-native test-fuzz test-win64 test-win32

# 32-bit Wine goes in before the Wine prefix is made, so that one prefix serves both builds.
setup-wine32: setup
	@tools/setup.sh wine32 || echo "setup: 32-bit Wine could not be installed; i686 programs will not be run" >&2

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

bench: setup-wine32
	tools/bench.sh

FUZZ_SECONDS ?= 300
fuzz: setup
	tools/fuzz.sh $(FUZZ_SECONDS)
