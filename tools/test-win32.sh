#!/usr/bin/env bash
# The i686 build and its tests. The build is always made (with every warning an error, so
# the code stays 32-bit clean); the tests run under 32-bit Wine when it can be installed
# (Debian's wine32:i386), each in the same layers as the 64-bit run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
if ! tools/setup.sh wine32; then
  echo "test-win32: 32-bit Wine could not be installed; the i686 build was made but not run" >&2
  exit 0
fi
tools/wine-session.sh build/wine-prefix ctest --preset win32
