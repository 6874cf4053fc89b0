#!/usr/bin/env bash
# End to end: DUT1 entered in the Sidereal Time dialog of the real ZORKEL.EXE is stored, with
# the day it was entered, and moves the local sidereal time shown; the next start reads it
# back. The computer's clock stands still at one instant (faketime without a start mark;
# the monotonic clock runs on, so Wine's timers still fire), so that every reading is of the
# same instant and only DUT1 moves it.
# Usage: dut1.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
start_held() {
  (cd "$app" && TZ=UTC NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1 \
     exec faketime -f '2026-07-01 12:00:00' wine ./ZORKEL.EXE) &
  ctl wait 30 >/dev/null || fail "the clock did not open"
  sleep 1
}
lst() {  # the LST the face shows, in seconds of the day, from what a screen reader reads
  local name t
  name=$(ctl accessible | sed -n 's/^name: //p')
  case "$name" in *LST) ;; *) fail "not sidereal time: '$name'" ;; esac
  t=${name% *}
  echo $(( 10#${t%%:*} * 3600 + 10#$(cut -d: -f2 <<<"$t") * 60 + 10#${t##*:} ))
}
enter_dut1() {  # enter_dut1 SECONDS [RADIO-ID]: the dialog from the Time menu, then OK
  ctl command 156
  ctl dialog "Sidereal Time" rect >/dev/null || fail "Sidereal Time did not open"
  ctl dialog "Sidereal Time" set 404 "$1"
  if [ $# -gt 1 ]; then ctl dialog "Sidereal Time" click "$2"; fi
  ctl dialog "Sidereal Time" click 1
  sleep 0.8
}

start_held
ctl key F8
sleep 1.2
enter_dut1 -0.9
expect_eq "DUT1 stored" "$(ctl setting DUT1)" "-900"
expect_eq "DUT1's date" "$(ctl setting DUT1Date)" "20260701"
behind=$(lst)
enter_dut1 0.9
expect_eq "DUT1 stored" "$(ctl setting DUT1)" "900"
ahead=$(lst)
# 1.8 s of UT1 is 1.805 s of sidereal time: the shown second moves by one or two.
step=$(( (ahead - behind + 86400) % 86400 ))
[ "$step" -ge 1 ] && [ "$step" -le 2 ] ||
  fail "LST moved by $step s from -0.9 to +0.9 s of DUT1 (expected 1 or 2)"
echo "ok: LST moved by $step s with DUT1"
ctl close 20 || fail "the clock did not close"

# The next start puts the stored DUT1 in force before the first reading.
start_held
expect_eq "LST after a restart, in seconds" "$(lst)" "$ahead"
# Apparent chosen in the dialog is a saved choice too.
enter_dut1 0.9 402
expect_eq "apparent stored" "$(ctl setting Apparent)" "1"
ctl close 20 || fail "the clock did not close"
echo "end to end: DUT1 passed"
