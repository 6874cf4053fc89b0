#!/usr/bin/env bash
# Starts each packed ZORKEL.EXE from its unpacked zip, checks that its window opens showing
# the clock for London, and closes it. Runs inside tools/wine-session.sh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
version=$1
source "$top/tools/wine-env.sh"
for arch in win64 win32; do
  if [ "$arch" = win32 ] && ! orvane_can_run_i686; then
    echo "dist-check: $arch not started (no 32-bit Wine, or this machine cannot execute 32-bit programs)"
    continue
  fi
  dir=$(mktemp -d)
  unzip -q "$top/dist/Orvane2-$version-$arch.zip" -d "$dir"
  ctl="$top/build/$arch/orvctl.exe"
  wine reg delete 'HKCU\Software\Corvanta\Orvane 2' /f >/dev/null 2>&1 || true
  # At UTC London, the first city, agrees with the computer: no question at start-up.
  (cd "$dir" && TZ=UTC exec wine ./ZORKEL.EXE) &
  caption=$(wine "$ctl" wait 30 | tr -d '\r')
  wine "$ctl" close 20
  wait || true
  rm -rf "$dir"
  [ "$caption" = "Orvane 2 (LMT)" ] || { echo "dist-check: $arch did not start ('$caption')" >&2; exit 1; }
  echo "dist-check: $arch starts: '$caption'"
done
