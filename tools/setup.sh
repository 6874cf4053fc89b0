#!/usr/bin/env bash
# Installs what building and testing Orvane 2 needs on Debian 12, and nothing twice.
# Usage: tools/setup.sh [build|wine32]
#   build  - compilers, Wine, Xvfb and the test tools (default)
#   wine32 - the 32-bit Wine loader, for running the i686 programs; installed only where
#            this machine executes 32-bit programs at all, and exits 1 (saying why) where it
#            does not or the install fails, since the 64-bit work does not need it
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

want=(cmake make g++ g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xauth
      xdotool imagemagick x11-utils x11-apps fonts-wine fonts-liberation faketime googletest
      libbenchmark-dev clang zip unzip python3 python3-erfa tzdata)

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${1:-build}" = wine32 ]; then
  if ! "$here/can-run-32bit.sh"; then
    echo "setup: this machine cannot execute 32-bit programs; 32-bit Wine is not installed" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
  fi
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || missing+=(wine32:i386)
fi

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages: ${missing[*]} (run as root or install them)" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Package lists may be absent on a fresh machine, or stale after adding i386.
  if [ -n "${need_update:-}" ] || ! apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null 2>&1; then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi
