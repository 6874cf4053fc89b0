#!/usr/bin/env bash
# End to end: the real ZORKEL.EXE on a computer kept in Denver's zone (TZ and faketime) with
# Kolkata as its city. At start-up it asks whether to take Universal Time from Windows; Yes
# stores the choice, and then UT is the computer's own UTC, LST the sidereal time of that UT
# at Kolkata's longitude, and LMT still the computer's local clock.
# Usage: ut_from_windows.sh BUILD-DIR SOURCE-DIR
. "$(dirname "$0")/e2e_lib.sh"
new_app_folder
forget_settings
sed -i "1s/.*/Kolkata\r/" "$app/ZORKEL.DAT"
wine reg add 'HKCU\Software\Corvanta\Orvane 2\Time' /ve /d 2 /f >/dev/null
# 20:00 in Denver in December (UTC-7) is 03:00 UTC the next day; Kolkata's zone would say
# 14:30.
(cd "$app" && TZ=America/Denver NO_FAKE_STAT=1 exec faketime '2026-12-07 20:00:05' wine ./ZORKEL.EXE) &
ctl wait 30 >/dev/null || fail "the clock did not open"
ctl dialog 'Orvane 2' rect >/dev/null || fail "no question at start-up"
ctl dialog 'Orvane 2' click 6   # Yes
sleep 0.5
expect_eq "stored choice" "$(ctl setting UTFromWindows)" "1"
ctl show minimize
sleep 1.5
caption() { local c; c=$(ctl caption); echo "${c# }"; }
expect_eq "UT from Windows" "$(caption)" "3:00 UT"

ctl command 103   # LST (keys go to a window that is not minimised)
sleep 0.5
lst=$(caption)
# Mean sidereal time of 2026-12-08 03:00:10 UT (about when the caption was read) at
# 88 deg 22 min East, worked out here independently of the clock.
want=$(python3 -c '
jd = 2461382.5 + (3 + 10 / 3600) / 24
gmst = (18.697374558 + 24.06570982441908 * (jd - 2451545.0)) % 24
lst = (gmst + (88 + 22 / 60) / 15) % 24
print(int(lst * 60))')
got=${lst%% *}
got=$(( 10#${got%%:*} * 60 + 10#${got##*:} ))
diff=$(( (got - want + 1440) % 1440 ))
[ "$diff" -le 1 ] || [ "$diff" -ge 1439 ] ||
  fail "LST from Windows: got '$lst', expected $(printf '%d:%02d' $((want / 60)) $((want % 60))) within a minute"
echo "ok: LST from Windows = '$lst'"

ctl command 101   # LMT, 24-hour
sleep 0.5
expect_eq "LMT still the computer's clock" "$(caption)" "20:00 LMT"
ctl close 20 || fail "the clock did not close"
echo "end to end: UT from Windows passed"
