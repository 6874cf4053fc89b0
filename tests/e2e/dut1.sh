#!/usr/bin/env bash
# End to end: DUT1 entered in the Sidereal Time dialog is stored with its date, moves the LST
# shown, and is in force again at the next start. The computer's clock is held at one instant
# (faketime -f; Wine's timers run on the monotonic clock): only DUT1 moves the reading.
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
lst() {  # the LST shown, as a screen reader reads it, in seconds of the day
  local t
  t=$(ctl accessible | sed -n 's/^name: \(.*\) LST$/\1/p')
  [ -n "$t" ] || fail "no sidereal time shown"
  echo $(( 10#${t%%:*} * 3600 + 10#$(cut -d: -f2 <<<"$t") * 60 + 10#${t##*:} ))
}
enter_dut1() {  # enter_dut1 SECONDS STORED: the dialog from the Time menu, then OK
  ctl command 156
  ctl dialog "Sidereal Time" set 404 "$1" || fail "Sidereal Time did not open"
  ctl dialog "Sidereal Time" click 1
  sleep 0.8
  expect_eq "DUT1 stored" "$(ctl setting DUT1)" "$2"
}

start_held
ctl key F8
enter_dut1 0.9 900
expect_eq "DUT1's date" "$(ctl setting DUT1Date)" "20260701"
ahead=$(lst)
enter_dut1 -0.9 -900
behind=$(lst)
# 1.8 s of UT1 is 1.805 s of sidereal time: the shown second moves by one or two.
step=$(( (ahead - behind + 86400) % 86400 ))
[ "$step" -ge 1 ] && [ "$step" -le 2 ] || fail "LST moved by $step s, not 1 or 2"
ctl close 20 || fail "the clock did not close"
start_held  # the negative value read back
expect_eq "LST after a restart, in seconds" "$(lst)" "$behind"
ctl close 20 || fail "the clock did not close"
echo "end to end: DUT1 passed"
