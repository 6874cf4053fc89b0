#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE with apparent GST and a DUT1 stored, on a computer whose
# clock is set into 2029 (faketime, a fixed offset from the real clock): the caption says
# GAST, the time a screen reader reads is ERFA's IAU 2006/2000A apparent sidereal time of
# that instant with that DUT1, to the second; and LST is named LAST in both captions.
# Usage: apparent_sidereal.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
for kv in Time=4 Apparent=1 DUT1=-800; do
  wine reg add "HKCU\\Software\\Corvanta\\Orvane 2\\${kv%%=*}" /ve /d "${kv#*=}" /f >/dev/null
done
offset=$(( $(date -u -d '2029-03-15 21:30:00' +%s) - $(date -u +%s) ))
(cd "$app" && TZ=UTC NO_FAKE_STAT=1 exec faketime -f "+$offset" wine ./ZORKEL.EXE) &
ctl wait 30 >/dev/null || fail "the clock did not open"
sleep 1.5
expect_eq "caption" "$(ctl caption)" "Orvane 2 (GAST)"
# Each read must show the second of gst06a at some moment of the 150 ms before it was read
# (the tick's lag, the question's way to the clock); read until one also tells DUT1 from none.
for i in 1 2 3 4 5 6 7 8; do
  out=$(ctl accessible) || fail "nothing read"
  name=$(sed -n 's/^name: //p' <<<"$out")
  [ "${name##* }" = GAST ] || fail "the screen reader's scale: got '$name'"
  verdict=$(/usr/bin/python3 - "${name% *}" "$(sed -n 's/^read at: //p' <<<"$out")" "$offset" <<'PY'
import math, sys
import erfa
h, m, s = (int(f) for f in sys.argv[1].split(":"))
utc = float(sys.argv[2]) + int(sys.argv[3])
def second(t, dut1_ms):  # UT1 = UTC + DUT1, TT = UTC + 69.184 s
    day = math.floor(t / 86400)
    d1, d2 = 2440587.5 + day, (t - day * 86400) / 86400
    gast = erfa.gst06a(d1, d2 + dut1_ms / 86400000, d1, d2 + 69.184 / 86400)
    return int(gast / (2 * math.pi) * 86400)
ok, plain = ({second(utc - 0.15, d), second(utc, d)} for d in (-800, 0))
print("bad" if h * 3600 + m * 60 + s not in ok else "same" if h * 3600 + m * 60 + s in plain
      else "told", sorted("%02d:%02d:%02d" % (v // 3600, v // 60 % 60, v % 60) for v in ok))
PY
)
  case "$verdict" in
    bad*) fail "shown '$name', gst06a with DUT1 -800 ms gives ${verdict#bad }" ;;
    told*) echo "ok: '$name' is gst06a's with DUT1 -800 ms, not without"; break ;;
  esac
  [ "$i" = 8 ] && fail "eight reads never told DUT1 -800 ms from none"
done
ctl key F8
sleep 0.5
expect_eq "caption of LST" "$(ctl caption)" "Orvane 2 (LAST)"
ctl show minimize
sleep 1.5
[[ "$(ctl caption)" =~ ^[\ 0-9][0-9]:[0-5][0-9]\ LAST$ ]] || fail "minimised: '$(ctl caption)'"
ctl close 20 || fail "the clock did not close"
echo "end to end: apparent sidereal time passed"
