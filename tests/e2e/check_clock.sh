#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE asks a time server of the test's own on 127.0.0.1, 1.5 s
# behind this machine's clock, and its dialog states that offset within 20 ms; then a
# server that never answers, and the clock closed while the dialog waits for it.
# Usage: check_clock.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
responder() {  # responder ARGS...: prints the port of a new responder on 127.0.0.1
  local out; out=$(mktemp)
  python3 "$source_dir/tools/sntp_responder.py" --seconds 60 "$@" >"$out" 2>/dev/null &
  for _ in $(seq 100); do grep -q '^port ' "$out" && break; sleep 0.1; done
  sed -n 's/^port //p' "$out"
}
answer=$(responder --offset -1.5)
silent=$(responder --mode silent)
[ -n "$answer" ] && [ -n "$silent" ] || fail "the responders did not start"
wine reg add 'HKCU\Software\Corvanta\Orvane 2\TimeServer' /ve /d "127.0.0.1:$answer" /f >/dev/null
start_clock
title="Check the Computer's Clock"
read_result() {  # the dialog's lines once they no longer say it is asking
  local text
  for _ in $(seq 150); do
    text=$(ctl dialog "$title" text 502)
    case "$text" in "Asking "*) sleep 0.1 ;; *) break ;; esac
  done
  echo "$text"
}
ctl command 157
ctl dialog "$title" rect >/dev/null || fail "the dialog did not open"
text=$(read_result)
echo "$text"
seconds=$(sed -n 's/^This computer.s clock is \([0-9.]*\) s ahead of 127\.0\.0\.1:[0-9]*$/\1/p' <<<"$text")
[ -n "$seconds" ] || fail "no offset ahead of the server in the dialog"
python3 -c "import sys; sys.exit(abs($seconds - 1.5) > 0.02)" ||
  fail "offset $seconds s, expected 1.5 s within 20 ms"
grep -q '^LST shown 1.5 s early$' <<<"$text" || fail "no LST line"
echo "ok: the dialog states the offset $seconds s"

ctl dialog "$title" set 501 "127.0.0.1:$silent"
ctl dialog "$title" click 504
sleep 0.5
shown() { ctl accessible | sed -n 's/^value: //p'; }
before=$(shown)
sleep 2.2
[ "$(shown)" != "$before" ] || fail "the clock stopped while the server was silent"
text=$(read_result)
expect_eq "no answer" "$text" "No answer from 127.0.0.1:$silent after three tries"
expect_eq "stored server" "$(ctl setting TimeServer)" "127.0.0.1:$silent"

ctl dialog "$title" click 504   # asking again, and the clock closed meanwhile
sleep 0.5
ctl close 20 || fail "the clock did not close in the middle of a check"
echo "end to end: checking the computer's clock passed"
