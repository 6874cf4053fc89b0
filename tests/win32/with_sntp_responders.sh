#!/usr/bin/env bash
# Runs a command with the tests' SNTP responders listening on 127.0.0.1, one per way of
# answering, their ports in ORVANE_SNTP_RESPONDERS ("mode:port ..."). Each exits by itself
# after a while; all are stopped when the command ends.
# Usage: tests/win32/with_sntp_responders.sh SOURCE_DIR COMMAND...
set -euo pipefail
source_dir=$1
shift
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
list=""
for row in "answer|--offset 2.5" "late|--offset 2.5 --ignore 1" "kiss|--mode kiss:RATE" \
           "origin|--mode wrong-origin" "silent|--mode silent"; do
  mode=${row%%|*}
  # shellcheck disable=SC2086
  python3 "$source_dir/tools/sntp_responder.py" --seconds 120 ${row#*|} >"$work/$mode" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/$mode" ] && break; sleep 0.1; done
  port=$(sed -n 's/^port //p' "$work/$mode")
  [ -n "$port" ] || { echo "the $mode responder did not start" >&2; exit 1; }
  list="$list $mode:$port"
done
export ORVANE_SNTP_RESPONDERS="${list# }"
"$@"
