#!/usr/bin/env bash
# Runs a command with the tests' SNTP responders listening on 127.0.0.1, one per way of
# answering, each one's port in ORVANE_SNTP_<mode>. They exit by themselves after a while,
# and are stopped when the command ends.
# Usage: tests/win32/with_sntp_responders.sh SOURCE_DIR COMMAND...
set -euo pipefail
source_dir=$1
shift
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
for row in "answer|--offset 2.5" "late|--offset 2.5 --ignore 1" "kiss|--mode kiss:RATE" \
           "origin|--mode wrong-origin" "silent|--mode silent"; do
  mode=${row%%|*}
  # shellcheck disable=SC2086
  python3 "$source_dir/tools/sntp_responder.py" --seconds 120 ${row#*|} >"$work/$mode" 2>/dev/null &
  for _ in $(seq 100); do grep -q '^port ' "$work/$mode" && break; sleep 0.1; done
  port=$(sed -n 's/^port //p' "$work/$mode")
  [ -n "$port" ] || { echo "the $mode responder did not start" >&2; exit 1; }
  export "ORVANE_SNTP_$mode=$port"
done
"$@"
