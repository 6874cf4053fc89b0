#!/usr/bin/env bash
# The i686 build and its tests. The build is always made (with every warning an error, so
# the code stays 32-bit clean); the tests run under 32-bit Wine where this machine executes
# 32-bit programs and 32-bit Wine can be installed (Debian's wine32:i386), each in the same
# layers as the 64-bit run.
# With --decide it only says what it would do after the build (the rail's own tests use it).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
skip="i686 built; its tests were not run: this machine cannot execute 32-bit programs"
if [ "${1:-}" = --decide ]; then
  if tools/can-run-32bit.sh; then echo "i686 built; its tests run under 32-bit Wine"; else echo "$skip"; fi
  exit 0
fi
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
if ! tools/can-run-32bit.sh; then
  echo "$skip"
  exit 0
fi
if ! tools/setup.sh wine32; then
  echo "i686 built; its tests were not run: 32-bit Wine could not be installed" >&2
  exit 0
fi
tools/wine-session.sh build/wine-prefix ctest --preset win32 --repeat until-pass:2
