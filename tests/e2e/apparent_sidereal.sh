#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE with apparent sidereal time stored, on a computer whose
# clock is set into 2029 (faketime, a fixed offset from the real clock): the caption says
# GAST, and the time shown, as a screen reader reads it, is ERFA's IAU 2006/2000A Greenwich
# apparent sidereal time of that instant to the second, with no DUT1 and with a DUT1 stored;
# then LST is named LAST in both captions.
# Usage: apparent_sidereal.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
offset=$(( $(date -u -d '2029-03-15 21:30:00' +%s) - $(date -u +%s) ))
settings() {  # settings KEY=VALUE...: stored before the start
  local kv
  forget_settings
  for kv in "$@"; do
    wine reg add "HKCU\\Software\\Corvanta\\Orvane 2\\${kv%%=*}" /ve /d "${kv#*=}" /f >/dev/null
  done
}
start_2029() {  # London on a computer at UTC: no question at start
  (cd "$app" && TZ=UTC NO_FAKE_STAT=1 exec faketime -f "+$offset" wine ./ZORKEL.EXE) &
  ctl wait 30 >/dev/null || fail "the clock did not open"
  sleep 1.5
}
# gast_reads DUT1: reads the shown GAST until one read also tells this DUT1 from none (at most
# eight); each must be the second of gst06a at some moment of the 150 ms before its reading
# (the tick's lag and the question's way to the clock).
gast_reads() {
  local i out name at verdict
  for i in 1 2 3 4 5 6 7 8; do
    out=$(ctl accessible) || fail "nothing read"
    name=$(sed -n 's/^name: //p' <<<"$out")
    at=$(sed -n 's/^read at: //p' <<<"$out")
    [ "${name##* }" = GAST ] || fail "the screen reader's scale: got '$name'"
    verdict=$(/usr/bin/python3 - "${name% *}" "$at" "$offset" "$1" <<'PY'
import math, sys
import erfa
text, at, offset, dut1 = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
h, m, s = (int(f) for f in text.split(":"))
shown = h * 3600 + m * 60 + s
def second(utc, dut1_ms):  # the second of gst06a, UT1 = UTC + DUT1, TT = UTC + 69.184 s
    day = math.floor(utc / 86400)
    d1, d2 = 2440587.5 + day, (utc - day * 86400) / 86400
    gast = erfa.gst06a(d1, d2 + dut1_ms / 86400000, d1, d2 + 69.184 / 86400)
    return int(math.floor(gast / (2 * math.pi) * 86400))
def seconds(dut1_ms):
    return {second(at + offset - 0.15, dut1_ms), second(at + offset, dut1_ms)}
ok, plain = seconds(dut1), seconds(0)
print("bad" if shown not in ok else "told" if shown not in plain or dut1 == 0 else "same",
      sorted("%02d:%02d:%02d" % (v // 3600, v // 60 % 60, v % 60) for v in ok))
PY
)
    case "$verdict" in
      bad*) fail "DUT1 $1 ms: shown '$name', gst06a gives ${verdict#bad }" ;;
      told*) echo "ok: DUT1 $1 ms: '$name' is gst06a's ${verdict#told }"; return 0 ;;
    esac
  done
  fail "DUT1 $1 ms: eight reads never told it from none"
}

for dut1 in 0 -800; do
  settings Time=4 Apparent=1 "DUT1=$dut1"
  start_2029
  expect_eq "caption, DUT1 $dut1" "$(ctl caption)" "Orvane 2 (GAST)"
  gast_reads "$dut1"
  ctl close 20 || fail "the clock did not close"
done

start_2029
ctl key F8
sleep 0.5
expect_eq "caption of LST" "$(ctl caption)" "Orvane 2 (LAST)"
ctl show minimize
sleep 1.5
[[ "$(ctl caption)" =~ ^[\ 0-9][0-9]:[0-5][0-9]\ LAST$ ]] || fail "minimised: '$(ctl caption)'"
echo "ok: minimised, '$(ctl caption)'"
ctl close 20 || fail "the clock did not close"
echo "end to end: apparent sidereal time passed"
