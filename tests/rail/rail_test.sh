#!/usr/bin/env bash
# The rail's scripts on both kinds of machine this project meets: one that executes 32-bit
# programs and one that cannot (the probe overridden), and with a `wine` on PATH that fails
# the way Debian's does there. Prints "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
passed=0 failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAILED $1: expected '$2', got '$3'"; fi
}

# The probe: its overrides, and a real answer of yes or no (never an error) without one.
for row in "yes 0" "no 1" "maybe 2"; do
  set -- $row
  ORVANE_32BIT=$1 tools/can-run-32bit.sh 2>/dev/null
  check "probe with ORVANE_32BIT=$1" "$2" "$?"
done
( unset ORVANE_32BIT; tools/can-run-32bit.sh ); rc=$?
check "probe answers yes or no" 1 "$([ $rc -le 1 ] && echo 1 || echo 0)"

# What the i686 step does on each kind of machine.
check "i686 step where 32-bit programs run" "i686 built; its tests run under 32-bit Wine" \
  "$(ORVANE_32BIT=yes tools/test-win32.sh --decide)"
check "i686 step where they cannot" \
  "i686 built; its tests were not run: this machine cannot execute 32-bit programs" \
  "$(ORVANE_32BIT=no tools/test-win32.sh --decide)"
# Where they cannot, nothing is installed for them: setup refuses before asking apt.
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
for cmd in apt-get dpkg; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/calls"\nexit 1\n' "$cmd" "$fake" >"$fake/$cmd"
  chmod +x "$fake/$cmd"
done
out=$(PATH="$fake:$PATH" ORVANE_32BIT=no tools/setup.sh wine32 2>&1); rc=$?
check "setup wine32 refuses where 32-bit programs cannot run" \
  "1 setup: this machine cannot execute 32-bit programs; 32-bit Wine is not installed" "$rc $out"
check "setup wine32 calls no package tool there" "" "$(cat "$fake/calls" 2>/dev/null)"

# Debian's `wine` (and the helpers that go through it) failing as on a machine without
# 32-bit support: every Windows program of the rail still starts through the 64-bit loader.
for cmd in wine wine-stable; do
  printf '#!/bin/sh\necho "%s: Exec format error" >&2\nexit 126\n' "$cmd" >"$fake/$cmd"
  chmod +x "$fake/$cmd"
done
for cmd in wine wineboot winepath; do
  check "$cmd resolves to the 64-bit loader's shim" "$top/tools/wine64/$cmd" \
    "$(PATH="$fake:$PATH" bash -c "source tools/wine-env.sh && command -v $cmd")"
done
check "wine runs the 64-bit loader" "$(/usr/lib/wine/wine64 --version 2>&1)" \
  "$(PATH="$fake:$PATH" bash -c 'source tools/wine-env.sh && wine --version' 2>&1)"
check "WINELOADER is the 64-bit loader" /usr/lib/wine/wine64 \
  "$(PATH="$fake:$PATH" WINELOADER= bash -c 'source tools/wine-env.sh && echo $WINELOADER')"

# A failing step says which command failed and why.
out=$(bash -c 'source tools/wine-env.sh && wine_step wine-prefix sh -c "echo no kernel32 >&2; exit 3"' 2>&1)
check "a failed step names itself" "wine-prefix: 'sh -c echo no kernel32 >&2; exit 3' failed with exit status 3" \
  "$(echo "$out" | head -1)"
check "a failed step shows its output" "    no kernel32" "$(echo "$out" | tail -1)"

echo "rail: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
