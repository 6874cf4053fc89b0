#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each one for a bounded time, or a bounded number of
# executions.
# Usage: tools/fuzz.sh [SECONDS] [TARGET...]   (default 300 seconds, all targets)
#   SECONDS is the whole budget, shared evenly between the targets run (at least 5 s each).
#   FUZZ_RUNS=N runs each target for N executions instead of a time.
# Targets: city_file help_text field_text settings_value sntp_reply. Exits non-zero on any
# finding; the input that found it is kept in build/fuzz/ (crash-*, leak-*, timeout-*).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(city_file help_text field_text settings_value sntp_reply)
each=$((seconds / ${#targets[@]}))
[ "$each" -ge 5 ] || each=5
cd "$top"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null
status=0
for target in "${targets[@]}"; do
  # A working copy of the corpus, so that what the fuzzer finds does not touch the repository.
  work="$top/build/fuzz/corpus-$target"
  mkdir -p "$work"
  cp -n "fuzz/corpus/$target"/* "$work/" 2>/dev/null || true
  log="$top/build/fuzz/${target}_fuzz.log"
  if [ -n "${FUZZ_RUNS:-}" ]; then bound=(-runs="$FUZZ_RUNS"); else bound=(-max_total_time="$each"); fi
  if build/fuzz/fuzz/"${target}_fuzz" "${bound[@]}" -max_len=4096 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$top/build/fuzz/" "$work" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz $target: ${runs:-?} executions, clean"
  else
    echo "fuzz $target: FOUND A FAULT (log: $log)"
    tail -40 "$log"
    status=1
  fi
done
exit $status
