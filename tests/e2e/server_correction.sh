#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE with "Correct the Shown Time by the Server" on, against the
# tests' own time servers on 127.0.0.1 (tests/win32/with_sntp_responders.sh). One 2.5 s ahead:
# after the start-up measurement the caption says so, the shown UT is the server's to the
# second, and the shown second turns with the server's (an uncorrected tick would turn about
# 500 ms after it). One silent: the clock ticks on with the computer's own time, claims no
# correction, and closes cleanly in the middle of its question.
# Usage: with_sntp_responders.sh SOURCE-DIR server_correction.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
use_server() {  # use_server PORT: a clock showing UT, corrected by 127.0.0.1:PORT
  forget_settings
  local key='HKCU\Software\Corvanta\Orvane 2'
  wine reg add "$key\\Time" /ve /d 2 /f >/dev/null
  wine reg add "$key\\ServerCorrection" /ve /d 1 /f >/dev/null
  wine reg add "$key\\TimeServer" /ve /d "127.0.0.1:$1" /f >/dev/null
}
caption() { local c; c=$(ctl caption); echo "${c# }"; }
# shown_at OFFSET: fails unless the face's UT is the computer's UTC plus OFFSET seconds, to the
# second (the text is the last tick's: up to a few ms behind).
shown_at() {
  local before after name
  before=$(date +%s.%N)
  name=$(ctl accessible | sed -n 's/^name: //p')
  after=$(date +%s.%N)
  awk -v t="${name% *}" -v lo="$before" -v hi="$after" -v off="$1" 'BEGIN {
    split(t, f, ":"); s = f[1] * 3600 + f[2] * 60 + f[3]
    a = int((lo + off - 0.05) % 86400); b = int((hi + off) % 86400)
    exit !(a <= b ? s >= a && s <= b : s >= a || s <= b)
  }' || fail "shown '$name', not the computer's UTC plus $1 s"
  echo "ok: shown '$name' is the computer's UTC plus $1 s"
}

use_server "$ORVANE_SNTP_answer"
start_clock
for _ in $(seq 40); do [[ $(caption) == *corrected* ]] && break; sleep 0.25; done
expect_eq "caption" "$(caption)" "Orvane 2 (UT, corrected)"
shown_at 2.5
lag=$(ctl tick-lag 6 2.5)
echo "against the server: $lag"
median=$(sed -n 's/.*lag median \([0-9.]*\) ms.*/\1/p' <<<"$lag")
awk -v m="$median" 'BEGIN { exit !(m != "" && m < 100) }' ||
  fail "the shown second does not turn with the server's: $lag"
ctl show minimize
sleep 1.5
[[ $(caption) == *" UT*" ]] || fail "minimised caption '$(caption)' does not say corrected"
echo "ok: minimised '$(caption)'"
ctl close 20 || fail "the clock did not close"

use_server "$ORVANE_SNTP_silent"
start_clock
shown_at 0
first=$(ctl accessible | sed -n 's/^name: //p')
sleep 1.2
shown_at 0
[ "$(ctl accessible | sed -n 's/^name: //p')" != "$first" ] || fail "the clock stopped ticking"
expect_eq "caption while unanswered" "$(caption)" "Orvane 2 (UT)"
ctl close 20 || fail "the clock did not close in the middle of its question"
expect_eq "stored choice" "$(ctl setting ServerCorrection)" "1"
echo "end to end: server correction passed"
