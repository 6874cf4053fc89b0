#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE asks a time server of the test's own on 127.0.0.1, 1.5 s
# behind this machine's clock, and its dialog states that offset within 20 ms; then it is
# closed while the dialog waits for a server that never answers.
# Usage: check_clock.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
for mode in "answer --offset -1.5" "silent --mode silent"; do
  python3 "$source_dir/tools/sntp_responder.py" --seconds 60 ${mode#* } >"$app/${mode%% *}" 2>/dev/null &
done
sleep 1
port() { sed -n 's/^port //p' "$app/$1"; }
wine reg add 'HKCU\Software\Corvanta\Orvane 2\TimeServer' /ve /d "127.0.0.1:$(port answer)" /f >/dev/null
start_clock
title="Check the Computer's Clock"
ctl command 157
for _ in $(seq 100); do
  text=$(ctl dialog "$title" text 502) || fail "the dialog did not open"
  case "$text" in "Asking "*) sleep 0.1 ;; *) break ;; esac
done
echo "$text"
seconds=$(sed -n 's/^This computer.s clock is \([0-9.]*\) s ahead of 127\.0\.0\.1:[0-9]*$/\1/p' <<<"$text")
python3 -c "import sys; sys.exit(abs(float('0$seconds') - 1.5) > 0.02)" ||
  fail "the offset shown is '$seconds' s, not 1.5 s within 20 ms"
grep -q '^LST shown 1.5 s early$' <<<"$text" || fail "no LST line"
ctl dialog "$title" set 501 "127.0.0.1:$(port silent)"
ctl dialog "$title" click 504
sleep 0.5
ctl close 20 || fail "the clock did not close in the middle of a check"
echo "end to end: checking the computer's clock passed"
