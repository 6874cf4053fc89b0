#!/usr/bin/env bash
# Builds the libFuzzer targets and runs the city-file fuzzer for a bounded time.
# Usage: tools/fuzz.sh [SECONDS]   (default 300). Exits non-zero on any finding.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
cd "$top"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null
# A working copy of the corpus, so that what the fuzzer finds does not touch the repository.
work="$top/build/fuzz/corpus-city_file"
mkdir -p "$work"
cp -n fuzz/corpus/city_file/* "$work/" 2>/dev/null || true
log="$top/build/fuzz/city_file_fuzz.log"
build/fuzz/fuzz/city_file_fuzz -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$top/build/fuzz/" "$work" >"$log" 2>&1 || { tail -40 "$log"; exit 1; }
grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$log" | tail -2
