# A thin front over the CMake presets; the real work is in CMake and tools/.
.PHONY: all setup setup-wine32 build-win64 run test test-native test-rail test-fuzz test-win64 test-win32 fuzz bench dist screenshots clean

all: test

setup:
	@tools/setup.sh

build-win64: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j$$(nproc)

# Only what it runs: the exe with its files, and the driver that closes it headless.
run: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j$$(nproc) --target zorkel orvctl
	tools/run.sh

# 32-bit Wine goes in first, where this machine can run it, so that one prefix serves both
# builds.
test: setup setup-wine32 test-native test-rail test-fuzz test-win64 test-win32

# Installs 32-bit Wine only where this machine executes 32-bit programs; says so otherwise.
setup-wine32: setup
	@tools/setup.sh wine32 || echo "setup: i686 programs will not be run here" >&2

test-native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j$$(nproc)
	ctest --preset native -j$$(nproc)

# The rail's own scripts, both ways a machine can be: with and without 32-bit programs.
test-rail:
	tests/rail/rail_test.sh

# A short bounded run; `make fuzz` runs longer.
test-fuzz:
	tools/fuzz.sh 80

test-win64: build-win64
	tools/wine-session.sh build/wine-prefix ctest --preset win64 --repeat until-pass:2

# The i686 build always; its tests when 32-bit Wine can be installed.
test-win32: setup
	tools/test-win32.sh

dist: setup
	tools/dist.sh

screenshots: build-win64
	tools/screenshots.sh

clean:
	rm -rf build dist

bench: setup setup-wine32
	tools/bench.sh

FUZZ_SECONDS ?= 300
fuzz: setup
	tools/fuzz.sh $(FUZZ_SECONDS)
