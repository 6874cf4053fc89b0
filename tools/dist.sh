#!/usr/bin/env bash
# `make dist`: dist/Orvane2-<version>-win64.zip and -win32.zip, each with ZORKEL.EXE,
# ZORKEL.DAT, ZORKEL.HLP and README.TXT, both exes from the same sources; then each exe is
# started from its unpacked zip under Wine (the 32-bit one when 32-bit Wine is there).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
version=$(sed -n 's/^set(ORVANE_VERSION "\(.*\)")/\1/p' CMakeLists.txt)
mkdir -p dist
for arch in win64 win32; do
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j"$(nproc)" --target zorkel orvctl >/dev/null
  stage="build/dist-stage/$arch"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "build/$arch/dist/ZORKEL.EXE" resources/ZORKEL.DAT resources/ZORKEL.HLP "$stage/"
  bits=$([ "$arch" = win64 ] && echo "64-bit (x86_64)" || echo "32-bit (i686)")
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$bits/" resources/README.TXT.in |
    sed 's/$/\r/' >"$stage/README.TXT"
  # The same bytes from the same sources: fixed times, fixed order, no extra attributes.
  touch -d '2026-01-01 00:00:00 UTC' "$stage"/*
  zip="dist/Orvane2-$version-$arch.zip"
  rm -f "$zip"
  (cd "$stage" && zip -q -X -D "$top/$zip" ZORKEL.EXE ZORKEL.DAT ZORKEL.HLP README.TXT)
  echo "$zip: $(stat -c %s "$zip") bytes"
done
tools/setup.sh wine32 || echo "dist: no 32-bit Wine here; the win32 exe is not started" >&2
tools/wine-session.sh build/wine-prefix tools/dist-check.sh "$version"
